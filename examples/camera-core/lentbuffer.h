// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// Stream buffers that outlive the handler they were handed to.
#ifndef CAMERACORE_LENTBUFFER_H
#define CAMERACORE_LENTBUFFER_H

#include "aravis_p.h"

#include <QMutex>

#include <memory>

/**
 * Takes the buffers of one stream back from any thread: into the stream while
 * it lives, or frees them once it is closed, since an image on a buffer's bytes
 * may be shown after its stream has stopped. Thread-safe.
 */
class BufferReturn
{
public:
    explicit BufferReturn(ArvStream* stream)
        : m_stream(stream)
    {
    }
    BufferReturn(const BufferReturn&) = delete;
    BufferReturn& operator=(const BufferReturn&) = delete;

    /**
     * Gives @p buffer back to the stream, marked so that it tells whether a frame
     * fills it again; frees it once the stream is closed.
     */
    void giveBack(ArvBuffer* buffer);
    /** Frees the buffers given back from now on; called before the stream is destroyed. */
    void close();

private:
    QMutex m_mutex;
    ArvStream* m_stream; ///< guarded by m_mutex; null once closed
};

/**
 * A buffer that a stream hands its handler. It goes back to the stream when
 * the handler returns, unless the handler keeps it for an image on its bytes.
 */
class LentBuffer
{
public:
    LentBuffer(ArvBuffer* buffer, std::shared_ptr<BufferReturn> giveBackTo)
        : m_buffer(buffer)
        , m_return(std::move(giveBackTo))
    {
    }
    LentBuffer(const LentBuffer&) = delete;
    LentBuffer& operator=(const LentBuffer&) = delete;
    /** Gives the buffer back unless it is kept. */
    ~LentBuffer();

    ArvBuffer* get() const { return m_buffer; }

    /**
     * Keeps the buffer out of the stream until release() is called with what
     * this returns, from any thread: the cleanup function and its argument of
     * a QImage on the buffer's bytes. At most once per buffer.
     */
    void* keep();
    static void release(void* kept);

private:
    ArvBuffer* m_buffer;
    std::shared_ptr<BufferReturn> m_return; ///< null once kept
};

#endif
