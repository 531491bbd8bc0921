#include "platform/SystemTime.h"

#include <QTimer>

namespace tavlo {

namespace {

class QtWindowTimer : public Timer {
public:
    QtWindowTimer()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { fire(); });
    }
    void setInterval(int ms) override
    {
        m_interval = ms;
        apply();
    }
    int interval() const override { return m_interval; }
    void setEnabled(bool on) override
    {
        if (on == m_enabled)
            return;
        m_enabled = on;
        apply();
    }
    bool isEnabled() const override { return m_enabled; }

private:
    void apply()
    {
        if (m_enabled && m_interval > 0)
            m_timer.start(m_interval);
        else
            m_timer.stop();
    }
    QTimer m_timer;
    int m_interval = 0;
    bool m_enabled = false;
};

}  // namespace

QDateTime SystemTime::now() const { return QDateTime::currentDateTime(); }

std::unique_ptr<Timer> SystemTime::createTimer() { return std::make_unique<QtWindowTimer>(); }

ClockSeededRandom::ClockSeededRandom(const Clock& clock) : m_clock(clock) { reseed(); }

void ClockSeededRandom::reseed()
{
    // Two re-seeds within one millisecond must still give different sequences.
    m_engine.seed(static_cast<std::uint64_t>(m_clock.now().toMSecsSinceEpoch()) ^ (++m_reseeds * 0x9E3779B97F4A7C15ull));
}

double ClockSeededRandom::next() { return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine); }

}  // namespace tavlo
