// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

#include "lentbuffer.h"

#include <QMutexLocker>

#include <utility>

namespace {

/** A kept buffer and where it goes back. */
struct KeptBuffer
{
    ArvBuffer* buffer;
    std::shared_ptr<BufferReturn> giveBackTo;
};

} // namespace

void BufferReturn::giveBack(ArvBuffer* buffer)
{
    QMutexLocker locker(&m_mutex);
    if (!m_stream) {
        g_object_unref(buffer);
        return;
    }
    // Aravis stamps a buffer with the system time when the leader of a frame arrives in it.
    arv_buffer_set_system_timestamp(buffer, 0);
    arv_stream_push_buffer(m_stream, buffer);
}

void BufferReturn::close()
{
    QMutexLocker locker(&m_mutex);
    m_stream = nullptr;
}

LentBuffer::~LentBuffer()
{
    if (m_return) {
        m_return->giveBack(m_buffer);
    }
}

void* LentBuffer::keep()
{
    Q_ASSERT(m_return);
    return new KeptBuffer { m_buffer, std::exchange(m_return, nullptr) };
}

void LentBuffer::release(void* kept)
{
    const std::unique_ptr<KeptBuffer> buffer(static_cast<KeptBuffer*>(kept));
    buffer->giveBackTo->giveBack(buffer->buffer);
}
