#pragma once

#include "platform/Streamer.h"
#include "engine/StreamTap.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace tavlo {

// The real Streamer: takes the mixed output from the engine's StreamTap,
// encodes it to MP3 with libmp3lame and sends it to an Icecast server with
// libshout, on a thread of its own.
//
// The connection is non-blocking, so stop() never waits on a dead network
// longer than one poll. A lost or refused connection is retried after 1 s,
// then 2, 4, 8 ... up to 30 s between tries (reset once connected); while no
// server takes the stream the tap stays closed and the audio thread writes
// nothing. The title is sent after every connect and on every change.
//
// Give the engine tap() when making it (AudioEngine::Options::streamTap);
// the streamer must outlive the engine.
// Threading: public members from the UI thread; status() from any thread.
class IcecastStreamer : public Streamer {
public:
    struct Options {
        int sampleRate = 44100;
        std::chrono::milliseconds firstRetry{1000};
        std::chrono::milliseconds longestRetry{30000};
        // How long a server may leave the stream unread before it counts as lost.
        std::chrono::milliseconds stallLimit{15000};
    };

    explicit IcecastStreamer(Options options);
    IcecastStreamer() : IcecastStreamer(Options{}) {}
    ~IcecastStreamer() override;
    IcecastStreamer(const IcecastStreamer&) = delete;
    IcecastStreamer& operator=(const IcecastStreamer&) = delete;

    StreamTap& tap() { return m_tap; }

    void start(const StreamTarget& target) override;
    void stop() override;
    void setTitle(const QString& title) override;
    StreamStatus status() const override;

private:
    struct Session;
    void run(StreamTarget target);
    // Connected until the server is lost or stop(); returns why it ended.
    QString pump(Session& session);
    void setStatus(StreamState state, const QString& text);
    // Sleeps up to `duration`; false when stop() came meanwhile.
    bool pause(std::chrono::milliseconds duration);

    const Options m_options;
    StreamTap m_tap;
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    StreamStatus m_status;
    QString m_title;
    int m_titleSerial = 0;
};

}  // namespace tavlo
