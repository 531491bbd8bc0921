#pragma once

#include "platform/Clock.h"
#include "platform/TimerService.h"

#include <QDateTime>

#include <cstdint>
#include <functional>
#include <vector>

namespace tavlo {

// A clock and timers that move only when told to. Tests use it to run hours of
// automation in moments; the offline renderer advances it by each block of
// samples it writes, so the program's timers follow audio time.
// One thread only.
class SimulatedTime : public Clock, public TimerService {
public:
    explicit SimulatedTime(QDateTime start = QDateTime(QDate(2026, 1, 5), QTime(12, 0)));
    ~SimulatedTime() override;

    QDateTime now() const override;
    std::unique_ptr<Timer> createTimer() override;

    // Milliseconds since construction.
    std::int64_t elapsedMs() const { return m_nowMs; }

    // Moves time forward, firing every timer that falls due, in order of due
    // time (timers due at the same moment fire in the order they were made).
    void advance(std::int64_t ms);
    // Time passes with the UI thread busy: nothing fires now, and every timer
    // that fell due in the meantime fires once, late, when time next moves.
    void stall(std::int64_t ms);
    // The wall clock is set forward (or back, with a negative value) while
    // the timers' own time runs on: a clock correction, a daylight-saving
    // change of a clock that keeps local time, a machine waking from sleep.
    void jumpClock(std::int64_t ms) { m_start = m_start.addMSecs(ms); }

    // Moves to the next due timer (at most `limitMs` ahead) and fires it.
    // Returns false when nothing was due within the limit.
    bool step(std::int64_t limitMs);

private:
    class SimTimer;
    friend class SimTimer;
    SimTimer* nextDue(std::int64_t untilMs) const;
    void moveTo(std::int64_t ms);

    QDateTime m_start;
    std::int64_t m_nowMs = 0;
    std::uint64_t m_sequence = 0;
    std::vector<SimTimer*> m_timers;
};

}  // namespace tavlo
