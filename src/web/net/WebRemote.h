#pragma once

#include "web/WebAddress.h"
#include "web/WebApi.h"
#include "web/net/WebServer.h"

#include <QString>

#include <memory>

namespace tavlo {

class Clock;
class Timer;
class TimerService;

// The web remote: the page, the API and its event stream, served from the
// UI thread on the windows the station made. It owns the server and the
// API; every 100 ms of the station's timers it pushes what changed to the
// open event streams (the meter every 200 ms), so a page follows the
// station within 200 ms. Nothing here touches the audio thread: the windows
// read the engine's atomics as their own ticks do.
// UI thread only.
class WebRemote {
public:
    static constexpr int kPushIntervalMs = 100;

    WebRemote(MusicWindow& music, InsertWindow& insert, SchedulerWindow& scheduler, const Clock& clock,
              TimerService& timers, WebServerLimits limits = {});
    ~WebRemote();

    // Listens at `address` with `token` for commands; false, with the reason
    // in `why`, when the address cannot be had (the station plays on without).
    bool start(const WebAddress& address, const QString& token, const QString& allowedOrigin, QString* why);
    void stop();
    bool isListening() const { return m_server.isListening(); }
    // Where it listens, the port being the one bound.
    WebAddress address() const;
    // "http://127.0.0.1:8091/"
    QString url() const;

    // The old token's event streams are closed; the page reconnects with the new one.
    void setToken(const QString& token)
    {
        m_api.setToken(token);
        m_server.closeEventStreams();
    }
    WebApi& api() { return m_api; }
    const WebApi& api() const { return m_api; }
    WebServer& server() { return m_server; }

private:
    void onPushTick();

    const Clock& m_clock;
    WebApi m_api;
    WebServer m_server;
    std::unique_ptr<Timer> m_pushTimer;
    WebAddress m_address;
    int m_tick = 0;
};

}  // namespace tavlo
