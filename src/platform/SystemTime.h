#pragma once

#include "platform/Clock.h"
#include "platform/Random.h"
#include "platform/TimerService.h"

#include <random>

namespace tavlo {

// The wall clock and QTimer-backed window timers of a running program.
class SystemTime : public Clock, public TimerService {
public:
    QDateTime now() const override;
    std::unique_ptr<Timer> createTimer() override;
};

// Mersenne twister, re-seeded from the clock it is given.
class ClockSeededRandom : public Random {
public:
    explicit ClockSeededRandom(const Clock& clock);
    void reseed() override;
    double next() override;

private:
    const Clock& m_clock;
    std::mt19937_64 m_engine;
    std::uint64_t m_reseeds = 0;
};

}  // namespace tavlo
