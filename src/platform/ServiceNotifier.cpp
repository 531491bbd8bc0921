#include "platform/ServiceNotifier.h"

#include "platform/ServiceManager.h"
#include "platform/TimerService.h"

#include <algorithm>
#include <limits>

namespace tavlo {

ServiceNotifier::ServiceNotifier(ServiceManager& manager, TimerService& timers,
                                 std::function<std::int64_t()> audioClock)
    : m_manager(manager), m_audioClock(std::move(audioClock)), m_listening(manager.listening())
{
    if (!m_listening)
        return;
    const std::int64_t usec = m_manager.watchdogUsec();
    if (usec <= 0 || !m_audioClock)
        return;
    // Half the interval, so one late tick still arrives in time.
    const std::int64_t ms = std::clamp<std::int64_t>(usec / 2000, 1, std::numeric_limits<int>::max());
    m_lastFrames = m_audioClock();
    m_watchdog = timers.createTimer();
    m_watchdog->setHandler([this] { onWatchdogTick(); });
    m_watchdog->setInterval(static_cast<int>(ms));
    m_watchdog->setEnabled(true);
}

ServiceNotifier::~ServiceNotifier() = default;

void ServiceNotifier::songStarted(const QString& title) { tell(QStringLiteral("On air: ") + title); }

void ServiceNotifier::startupEnded(const QString& status)
{
    if (!m_ready)
        tell(status);
}

void ServiceNotifier::tell(const QString& status)
{
    if (!m_listening)
        return;
    // One line per key: a line break in a title would start a key of its own.
    QString line = status;
    line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    QByteArray message;
    if (!m_ready)
        message = "READY=1\n";
    message += "STATUS=" + line.toUtf8();
    m_manager.notify(message);
    m_ready = true;
}

void ServiceNotifier::onWatchdogTick()
{
    const std::int64_t frames = m_audioClock();
    if (frames == m_lastFrames)
        return;
    m_lastFrames = frames;
    m_manager.notify(QByteArrayLiteral("WATCHDOG=1"));
}

}  // namespace tavlo
