#pragma once

#include <QString>

namespace tavlo {

// Where the station's stream goes: an Icecast server's address, the source
// login and the MP3 bitrate.
struct StreamTarget {
    QString host;
    int port = 8000;
    QString mount = QStringLiteral("/live");
    QString user = QStringLiteral("source");
    QString password;
    int bitrate = 128;  // kbit/s

    bool operator==(const StreamTarget&) const = default;

    // "icecast://user@host:port/mount" (user, port and mount optional; a
    // password in the address is refused, it belongs in the settings or
    // the environment). Empty when the address is good, else what is wrong.
    static QString fromUrl(const QString& url, StreamTarget& target);
    // The target as the operator may see it: never the password.
    QString displayText() const;
};

enum class StreamState { Off, Connecting, Connected, Reconnecting };

struct StreamStatus {
    StreamState state = StreamState::Off;
    // "Streaming: connected to host:port/mount", "Streaming: reconnecting in
    // 4 s (login refused ...)", "Streaming: off". Never holds the password.
    QString text;
    // Counts every change, so a poller sees a change even back to the same text.
    int serial = 0;
};

// Sends the station's mixed output to a streaming server and keeps the
// stream's title. The connection lives on a thread of its own: losing the
// server never touches the local output, and the service reconnects by
// itself with growing pauses.
// Threading: every member from the UI thread; status() is cheap enough to poll.
class Streamer {
public:
    virtual ~Streamer() = default;
    // Starts streaming to `target`, or restarts with it when already on.
    virtual void start(const StreamTarget& target) = 0;
    virtual void stop() = 0;
    // The stream's title ("Artist - Title"); kept and sent again after each reconnect.
    virtual void setTitle(const QString& title) = 0;
    virtual StreamStatus status() const = 0;
};

// A station without streaming.
class NoStreamer : public Streamer {
public:
    void start(const StreamTarget&) override {}
    void stop() override {}
    void setTitle(const QString&) override {}
    StreamStatus status() const override { return {StreamState::Off, QStringLiteral("Streaming: off"), 0}; }
};

inline Streamer& noStreamer()
{
    static NoStreamer none;
    return none;
}

}  // namespace tavlo
