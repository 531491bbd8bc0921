#include "platform/SimulatedTime.h"

#include <algorithm>

namespace tavlo {

class SimulatedTime::SimTimer : public Timer {
public:
    SimTimer(SimulatedTime& time, std::uint64_t order) : m_time(&time), m_order(order) {}
    ~SimTimer() override
    {
        if (m_time) {
            auto& v = m_time->m_timers;
            v.erase(std::remove(v.begin(), v.end(), this), v.end());
        }
    }

    void setInterval(int ms) override
    {
        m_interval = ms;
        restart();
    }
    int interval() const override { return m_interval; }
    void setEnabled(bool on) override
    {
        if (on == m_enabled)
            return;
        m_enabled = on;
        restart();
    }
    bool isEnabled() const override { return m_enabled; }

    bool armed() const { return m_enabled && m_interval > 0; }
    std::int64_t due() const { return m_due; }
    std::uint64_t order() const { return m_order; }

    void tick()
    {
        // A timer that fired late does not fire again to catch up: like a
        // window timer, it goes on one interval after now.
        m_due += m_interval;
        if (m_time && m_due <= m_time->m_nowMs)
            m_due = m_time->m_nowMs + m_interval;
        fire();
    }
    void detach() { m_time = nullptr; }

private:
    void restart()
    {
        if (m_time)
            m_due = m_time->m_nowMs + m_interval;
    }

    SimulatedTime* m_time;
    std::uint64_t m_order;
    int m_interval = 0;
    bool m_enabled = false;
    std::int64_t m_due = 0;
};

SimulatedTime::SimulatedTime(QDateTime start) : m_start(std::move(start)) {}

SimulatedTime::~SimulatedTime()
{
    for (auto* t : m_timers)
        t->detach();
}

QDateTime SimulatedTime::now() const { return m_start.addMSecs(m_nowMs); }

std::unique_ptr<Timer> SimulatedTime::createTimer()
{
    auto t = std::make_unique<SimTimer>(*this, m_sequence++);
    m_timers.push_back(t.get());
    return t;
}

SimulatedTime::SimTimer* SimulatedTime::nextDue(std::int64_t untilMs) const
{
    SimTimer* best = nullptr;
    for (auto* t : m_timers) {
        if (!t->armed() || t->due() > untilMs)
            continue;
        if (!best || t->due() < best->due() || (t->due() == best->due() && t->order() < best->order()))
            best = t;
    }
    return best;
}

void SimulatedTime::moveTo(std::int64_t ms)
{
    if (ms <= m_nowMs)
        return;
    m_nowMs = ms;
}

bool SimulatedTime::step(std::int64_t limitMs)
{
    SimTimer* t = nextDue(m_nowMs + limitMs);
    if (!t)
        return false;
    moveTo(t->due());
    t->tick();
    return true;
}

void SimulatedTime::stall(std::int64_t ms) { moveTo(m_nowMs + ms); }

void SimulatedTime::advance(std::int64_t ms)
{
    const std::int64_t target = m_nowMs + ms;
    while (SimTimer* t = nextDue(target)) {
        moveTo(t->due());
        t->tick();
    }
    moveTo(target);
}

}  // namespace tavlo
