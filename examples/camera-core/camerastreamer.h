// SPDX-FileCopyrightText: 2026 TavixQtBase contributors
//
// SPDX-License-Identifier: BSD-3-Clause

// The streaming thread: finds the camera, opens it and counts its frames.
#ifndef CAMERACORE_CAMERASTREAMER_H
#define CAMERACORE_CAMERASTREAMER_H

#include "cameradescription.h"
#include "camerasettings.h"

#include <QDeadlineTimer>
#include <QMutex>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

class LatestFrame;
class StreamFigures;

/**
 * Runs one connection to one camera: discovery, opening, streaming until
 * stopped or until the camera goes away. Frames feed a StreamFigures object
 * and, as far as it wants them, a LatestFrame with their images; settings
 * asked for with changeSettings() reach the camera between two frames;
 * faults are reported through the library's show... functions, at most one
 * report per fault and kind every two seconds, so a burst of bad frames
 * cannot flood the GUI. For another connection the owner starts a new streamer.
 *
 * A camera can keep the thread inside an Aravis call for minutes (a slow
 * camera's GenICam download cannot be cancelled), so the owner never waits
 * for it: it hands the streamer to release(), which stops it and deletes it
 * once the thread has ended. The thread touches only the streamer and the
 * shared figures, so nothing it uses is destroyed under it.
 */
class CameraStreamer : public QThread
{
    Q_OBJECT

public:
    enum EndReason {
        Stopped, ///< release() was called
        NoCamera, ///< discovery found no camera that matches
        OpenFailed, ///< the camera was found but could not be opened or started
        ConnectionLost ///< the camera stopped answering while streaming
    };
    Q_ENUM(EndReason)

    struct Request
    {
        QString cameraName; ///< id, address, MAC or serial; empty: the simulated camera or the first found
        QByteArray cameraId; ///< Aravis's device id; when set, it selects the camera instead of cameraName
        double frameRate = 0.0; ///< frames per second asked of the camera; 0 keeps its setting
        bool reportConnectFailure = true; ///< false for quiet automatic retries
    };

    /** A streamer without parent: its lifetime ends through release(). */
    CameraStreamer(const Request& request, std::shared_ptr<StreamFigures> figures, std::shared_ptr<LatestFrame> frame);
    ~CameraStreamer() override;

    /**
     * Asks for new settings, applied by the streaming thread before its next
     * frame; settingsRead() tells what the camera took. Any thread.
     */
    void changeSettings(const SettingsChange& change);

    /**
     * Stops @p streamer without waiting for it: it reports and emits nothing more
     * and is deleted in the GUI thread once its thread has ended. Returns at once.
     * GUI thread only.
     */
    static void release(CameraStreamer* streamer);
    /**
     * Waits until @p deadline for the released streamers to end and deletes
     * those that did; for the end of the program, after the event loop.
     * Returns true when none is left; the others stay stuck in a camera call
     * and must not be waited for. GUI thread only.
     */
    static bool finishReleased(QDeadlineTimer deadline);

Q_SIGNALS:
    void camerasDiscovered(const QList<CameraDescription>& cameras);
    void streamingStarted(const CameraDescription& camera);
    /** The camera's settings, after opening it and after each change. */
    void settingsRead(const CameraSettings& settings);
    /** The LatestFrame holds an image that its reader has not taken; once until it takes one. */
    void imageReady();
    void streamingEnded(CameraStreamer::EndReason reason, const QString& message);

protected:
    void run() override;

private:
    EndReason connectAndStream(QString* message);
    void end(EndReason reason, const QString& message);
    SettingsChange takeSettingsChange();
    /** Waits a little, or until a change of settings or a stop is asked for. */
    void waitForRequest();

    const Request m_request;
    const std::shared_ptr<StreamFigures> m_figures;
    const std::shared_ptr<LatestFrame> m_frame;
    std::mutex m_changeMutex; ///< guards m_change and the waits for m_requested
    std::condition_variable m_requested;
    SettingsChange m_change;
    std::atomic<bool> m_changePending { false };
    std::atomic<bool> m_stopRequested { false };
};

#endif
