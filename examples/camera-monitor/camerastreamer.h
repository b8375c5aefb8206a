// The streaming thread: finds the camera, opens it and counts its frames.
#ifndef CAMERAMONITOR_CAMERASTREAMER_H
#define CAMERAMONITOR_CAMERASTREAMER_H

#include "cameradescription.h"

#include <QThread>

#include <atomic>

class StreamFigures;

/**
 * Runs one connection to one camera: discovery, opening, streaming until
 * stopped or until the camera goes away. Frames feed a StreamFigures object;
 * faults are reported through the library's show... functions, at most one
 * report per fault and kind every two seconds, so a burst of bad frames
 * cannot flood the GUI. For another connection the owner starts a new streamer.
 */
class CameraStreamer : public QThread
{
    Q_OBJECT

public:
    enum EndReason {
        Stopped, ///< requestStop() was called
        NoCamera, ///< discovery found no camera that matches
        OpenFailed, ///< the camera was found but could not be opened or started
        ConnectionLost ///< the camera stopped answering while streaming
    };
    Q_ENUM(EndReason)

    struct Request
    {
        QString cameraName; ///< id, address, MAC or serial; empty: the simulated camera or the first found
        double frameRate = 0.0; ///< frames per second asked of the camera; 0 keeps its setting
        bool reportConnectFailure = true; ///< false for quiet automatic retries
    };

    CameraStreamer(const Request& request, StreamFigures* figures, QObject* parent = nullptr);
    /** Stops the stream and waits for the thread. */
    ~CameraStreamer() override;

    /** Asks the thread to stop; returns at once. Thread-safe. */
    void requestStop();

Q_SIGNALS:
    void camerasDiscovered(const QList<CameraDescription>& cameras);
    void streamingStarted(const CameraDescription& camera);
    void streamingEnded(CameraStreamer::EndReason reason, const QString& message);

protected:
    void run() override;

private:
    EndReason connectAndStream(QString* message);
    void end(EndReason reason, const QString& message);

    const Request m_request;
    StreamFigures* const m_figures;
    std::atomic<bool> m_stopRequested { false };
};

#endif
