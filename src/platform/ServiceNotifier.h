#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace tavlo {

class ServiceManager;
class Timer;
class TimerService;

// Keeps the service manager told about an unattended station: ready once a
// song is on air (or once start-up ends with the deck waiting on purpose, so
// the manager does not give up on a station that waits), the song on air as
// its status, and a sign of life at half the watchdog's interval for as long
// as the audio clock moves. A hung engine stops the clock; the signs stop
// with it and the manager restarts the program. The UI thread merely being
// alive is no proof that anybody hears anything.
// Without a manager listening it does nothing at all.
// UI thread only.
class ServiceNotifier {
public:
    // `audioClock` counts the frames the engine has put out (silence too).
    ServiceNotifier(ServiceManager& manager, TimerService& timers, std::function<std::int64_t()> audioClock);
    ~ServiceNotifier();
    ServiceNotifier(const ServiceNotifier&) = delete;
    ServiceNotifier& operator=(const ServiceNotifier&) = delete;

    // A song went on air; `title` is what the station calls it ("Artist - Title").
    void songStarted(const QString& title);
    // Start-up is over; when no song has gone on air yet, the program is ready
    // all the same and `status` says why it waits.
    void startupEnded(const QString& status);
    bool isReady() const { return m_ready; }

private:
    void tell(const QString& status);
    void onWatchdogTick();

    ServiceManager& m_manager;
    std::function<std::int64_t()> m_audioClock;
    std::unique_ptr<Timer> m_watchdog;
    std::int64_t m_lastFrames = 0;
    bool m_listening = false;
    bool m_ready = false;
};

}  // namespace tavlo
