#include "engine/NullSink.h"

#include "engine/Mixer.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <vector>

namespace tavlo {

namespace {

std::int64_t nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

// Beyond this much lateness (a stalled machine) the virtual card starts
// afresh instead of the sink racing through the missed blocks.
constexpr std::int64_t kMaxLateNs = 250'000'000;

// The lowest real-time priority is enough to run before every ordinary
// thread of a busy machine; most desktops allow it to their users
// (rtkit, limits.conf), and where they do not the sink runs as it is.
bool tryRealtime()
{
    sched_param param{};
    param.sched_priority = sched_get_priority_min(SCHED_FIFO);
    return pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0;
}

}  // namespace

NullSink::NullSink(Mixer& mixer, int sampleRate, int blockFrames)
    : m_mixer(mixer), m_sampleRate(sampleRate), m_blockFrames(blockFrames), m_thread([this] { run(); })
{
}

NullSink::~NullSink()
{
    m_stop.store(true, std::memory_order_relaxed);
    m_thread.join();
}

OutputCounts NullSink::counts() const
{
    OutputCounts c;
    c.blocks = m_blocks.load(std::memory_order_relaxed);
    c.late = m_late.load(std::memory_order_relaxed);
    c.missed = m_missed.load(std::memory_order_relaxed);
    c.worstWakeUs = m_worstWakeUs.load(std::memory_order_relaxed);
    return c;
}

void NullSink::run()
{
    m_realtime.store(tryRealtime(), std::memory_order_relaxed);
    std::vector<float> buffer(2 * static_cast<std::size_t>(m_blockFrames));
    const auto frames = [this](std::int64_t ms) { return ms * m_sampleRate / 1000; };
    // Whole blocks: the buffer never holds less than one wake's worth.
    const std::int64_t wakeFrames =
        std::max<std::int64_t>(1, (frames(kWakeMs) + m_blockFrames / 2) / m_blockFrames) * m_blockFrames;
    const std::int64_t bufferFrames = std::max(wakeFrames + m_blockFrames, frames(kBufferMs));
    std::int64_t start = nowNs();
    std::int64_t mixed = 0;  // frames handed to the virtual card since start
    std::int64_t due = start;
    // The card's play position; times come from frame counts, not from
    // adding block lengths, so rounding never accumulates.
    const auto played = [&](std::int64_t now) { return (now - start) * m_sampleRate / 1000000000; };
    while (!m_stop.load(std::memory_order_relaxed)) {
        const std::int64_t now = nowNs();
        m_worstWakeUs.store(std::max(m_worstWakeUs.load(std::memory_order_relaxed), (now - due) / 1000),
                            std::memory_order_relaxed);
        if (played(now) - mixed > frames(kMaxLateNs / 1000000)) {
            m_missed.fetch_add((played(now) - mixed) / m_blockFrames, std::memory_order_relaxed);
            start = now;
            mixed = 0;
        }
        // The target is fixed at the wake-up: where mixing is slower than
        // real time (a sanitizer, a starved machine) the loop still comes
        // back to the stop flag and the stall reset.
        for (const std::int64_t target = played(now) + bufferFrames; mixed < target;) {
            if (mixed < played(nowNs()))
                m_late.fetch_add(1, std::memory_order_relaxed);
            m_mixer.process(buffer.data(), m_blockFrames);
            mixed += m_blockFrames;
            m_blocks.fetch_add(1, std::memory_order_relaxed);
        }
        // Wake when the card has played one wake's worth of what is buffered.
        due = start + (mixed - bufferFrames + wakeFrames) * 1000000000 / m_sampleRate;
        timespec deadline{static_cast<time_t>(due / 1000000000), static_cast<long>(due % 1000000000)};
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
        }
    }
}

}  // namespace tavlo
