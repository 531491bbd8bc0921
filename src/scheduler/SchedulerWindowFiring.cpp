// SchedulerWindow, firing: the once-a-second tick, which seconds it examines, and
// what each kind of event does to the player windows.
#include "scheduler/SchedulerWindow.h"

#include "insert/InsertWindow.h"
#include "platform/AppServices.h"
#include "platform/Clock.h"
#include "platform/TimerService.h"
#include "playback/PlayerWindow.h"
#include "playlist/PlaylistModel.h"

#include <cmath>

namespace tavlo {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// A tick that comes later than this has not been late: the clock leapt.
constexpr std::int64_t kLongestCatchUp = 60;
// The clock set back further than this was wrong before, not corrected now:
// start over from the new time instead of waiting for the old one.
constexpr std::int64_t kLongestWaitForOldTime = kSecondsPerDay;

std::int64_t secondOfDay(std::int64_t second) { return ((second % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay; }

QTime timeOfDay(std::int64_t second) { return QTime::fromMSecsSinceStartOfDay(static_cast<int>(secondOfDay(second) * 1000)); }

}  // namespace

std::int64_t SchedulerWindow::localSecond(const QDateTime& t)
{
    return t.date().toJulianDay() * kSecondsPerDay + t.time().msecsSinceStartOfDay() / 1000;
}

// Rounded as the insert window rounds its countdown (halves to even), so a
// break fired this many seconds early starts on its event's second.
int SchedulerWindow::preloadSeconds() const { return static_cast<int>(std::nearbyint(m_preloadTime)); }

void SchedulerWindow::alignToNextSecond()
{
    // On the start of the next second; a tick that comes a little early
    // finds its second already examined and simply aligns again.
    const int ms = m_services.clock.now().time().msec();
    m_secondTimer->setInterval(1000 - ms);
}

void SchedulerWindow::onSecondTick()
{
    const QDateTime now = m_services.clock.now();
    showClock();
    const std::int64_t second = localSecond(now);
    if (!m_lastExamined || second < *m_lastExamined - kLongestWaitForOldTime) {
        examineSecond(second);
        m_lastExamined = second;
    } else if (second - *m_lastExamined > kLongestCatchUp) {
        logMissed(*m_lastExamined + 1, second - 1);
        m_lastExamined = second;
        examineSecond(second);
    } else {
        // Every second not yet examined, in order. A "Timing" event changes
        // the list for the seconds after its own.
        while (*m_lastExamined < second) {
            m_lastExamined = *m_lastExamined + 1;
            examineSecond(*m_lastExamined);
        }
    }
    alignToNextSecond();
}

void SchedulerWindow::examineSecond(std::int64_t second)
{
    const QString target = m_times.format(timeOfDay(second + preloadSeconds()), timeFormat());
    const int row = eventList->findTextStartingWith(target);
    if (row > 0)
        fire(row);
}

void SchedulerWindow::fire(int row)
{
    eventList->setMultiSelect(false);
    eventList->selectOnly(row);
    eventList->setMultiSelect(true);

    const QString window = eventList->text(row, EvWindow);
    const QString playlist = eventList->text(row, EvPlaylist);
    Q_EMIT eventFired(eventList->text(row, EvTime), playlist, window);
    if (window == QLatin1String("Ads")) {
        // The break counts down this preload time, read back through the
        // insert window's link, so it starts on the event's own second.
        m_insert.prepareBreak(playlist);
    } else if (window == QLatin1String("Music")) {
        m_music.switchToList(playlist);
    } else if (window == QLatin1String("Timing")) {
        openEventList(playlist);
    }
}

void SchedulerWindow::logMissed(std::int64_t first, std::int64_t last)
{
    if (last < first)
        return;
    const std::int64_t span = last - first;
    for (int n = 1; n <= eventList->count(); ++n) {
        const auto t = m_times.parse(eventList->text(n, Ev24hs));
        if (!t)
            continue;
        // The clock second at which the event would have fired.
        const std::int64_t due = secondOfDay(t->msecsSinceStartOfDay() / 1000 - preloadSeconds());
        if (secondOfDay(due - first) > span)
            continue;
        m_music.writeLog(0, QStringLiteral("**MISSED**"),
                         QLatin1Char(' ') + eventList->text(n, EvTime) + QLatin1Char(';') + eventList->text(n, EvPlaylist)
                             + QLatin1Char(';') + eventList->text(n, EvWindow));
    }
}

}  // namespace tavlo
