// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// One open camera with a running stream, for the streaming thread.
#ifndef CAMERACORE_STREAMSESSION_H
#define CAMERACORE_STREAMSESSION_H

#include "aravis_p.h"
#include "cameradescription.h"
#include "camerasettings.h"
#include "lentbuffer.h"

#include <QCoreApplication>

#include <atomic>
#include <functional>
#include <memory>
#include <utility>

/**
 * Opens one camera, starts its stream and closes both on destruction; reads
 * and changes the camera's settings and hands each filled buffer to a handler.
 * Used by the one thread that created it; only the control-lost flag is set
 * from Aravis's heartbeat thread, and the handler runs in Aravis's receiving
 * thread.
 */
class StreamSession
{
    Q_DECLARE_TR_FUNCTIONS(StreamSession)

public:
    /**
     * Called in Aravis's receiving thread with each buffer the stream is done with, which goes back to
     * the stream when the handler returns, unless the handler keeps it for an image: no other thread
     * wakes for a frame, and no frame waits for a free buffer while another thread is late. Some
     * buffers hold no frame: see holdsFrame(). The flag is true for the first buffer of each stream (a
     * new region or pixel format starts a new one), whose frame ids may start anew.
     */
    using BufferHandler = std::function<void(LentBuffer& buffer, bool firstOfStream)>;

    /** A session whose streams hand their buffers to @p handler. */
    explicit StreamSession(BufferHandler handler)
        : m_bufferHandler(std::move(handler))
    {
    }
    StreamSession(const StreamSession&) = delete;
    StreamSession& operator=(const StreamSession&) = delete;
    ~StreamSession();

    /**
     * Whether GigE Vision streams are received through packet sockets, which keep
     * every frame of a fast camera on a busy machine, rather than plain sockets.
     */
    static bool receivesWithPacketSockets();

    /** Opens the camera and starts streaming; on failure returns false and sets @p message. */
    bool open(const CameraDescription& camera, double frameRate, QString* message);
    /** The camera's acquisition settings as it reports them now. */
    CameraSettings readSettings();
    /**
     * Applies @p change; a new pixel format, region or binning restarts the
     * stream with buffers of the new size. Returns false with @p message set when the camera refused
     * a setting or the stream could not restart.
     */
    bool apply(const SettingsChange& change, QString* message);

    bool acquiring() const { return m_acquiring; }
    bool controlLost() const { return m_controlLost; }
    /** The GigE Vision "current IP configuration" bits read when opening; -1 when unknown. */
    long long ipConfiguration() const { return m_ipConfiguration; }
    /**
     * False for a buffer handed to the handler with no frame received into it since it was handed back: Aravis hands a
     * buffer back untouched, with the status and frame id of the frame it held before, when the first
     * packet of a new frame id is not one whose frame it can size (a leader of another payload type than
     * image, chunk or multipart data, or a packet of an unknown kind, which anybody may send to the
     * stream's port).
     */
    static bool holdsFrame(ArvBuffer* buffer);

private:
    bool createStream(ArvError& error);
    /** Destroys the stream once no handler runs any more. */
    void closeStream();
    /**
     * Buffers for the frames of bufferedSeconds at the camera's frame rate, at least minBufferCount,
     * at most as many frames as Aravis's packet ring holds. Aravis's receiving thread holds a buffer
     * from the first packet of its frame until the frame is whole or given up; frames that lost packets
     * on a busy machine hold theirs while Aravis waits for the rest, and a frame that finds no free
     * buffer is lost. But buffers beyond what such a stall needs cost time, since each comes round again
     * only after all the others, when the processor's caches no longer hold it.
     */
    guint wantedBufferCount() const;
    /** Adds buffers to the stream up to wantedBufferCount(); a stream never loses buffers. */
    void provideBuffers();
    /** Sets the pixel format, binning and region @p change asks for, with the stream stopped. */
    void applyFrameLayout(const SettingsChange& change, QStringList* refused);
    static void onControlLost(ArvDevice* device, gpointer session);
    static void onNewBuffer(ArvStream* stream, gpointer session);

    GObjectPtr<ArvCamera> m_camera;
    GObjectPtr<ArvStream> m_stream;
    std::shared_ptr<BufferReturn> m_bufferReturn; ///< of m_stream
    const BufferHandler m_bufferHandler;
    bool m_streamFresh = false; ///< no buffer of the stream handled yet; the receiving thread's once it streams
    gulong m_controlLostHandler = 0;
    guint m_payload = 0; ///< bytes of a frame of the stream
    guint m_bufferCount = 0; ///< buffers given to the stream
    bool m_acquiring = false;
    std::atomic<bool> m_controlLost { false };
    long long m_ipConfiguration = -1;
};

#endif
