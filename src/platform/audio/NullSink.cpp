#include "platform/audio/NullSink.h"

#include "platform/audio/Mixer.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
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

// Beyond this much lateness (a stalled machine) the sink starts counting
// afresh instead of racing through the missed blocks.
constexpr std::int64_t kMaxLateNs = 250'000'000;

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

void NullSink::run()
{
    std::vector<float> buffer(2 * static_cast<std::size_t>(m_blockFrames));
    // Nobody listens, so there is no latency to keep low: waking for about
    // 20 ms of blocks at a time halves the wake-ups of a 512-frame block.
    const int blocksPerWake = std::max(1, static_cast<int>(std::lround(0.02 * m_sampleRate / m_blockFrames)));
    std::int64_t start = nowNs();
    std::int64_t frames = 0;
    while (!m_stop.load(std::memory_order_relaxed)) {
        for (int i = 0; i < blocksPerWake; ++i)
            m_mixer.process(buffer.data(), m_blockFrames);
        frames += static_cast<std::int64_t>(m_blockFrames) * blocksPerWake;
        // Deadlines come from the frame count, not from adding block lengths,
        // so rounding never accumulates.
        std::int64_t due = start + frames * 1000000000 / m_sampleRate;
        const std::int64_t now = nowNs();
        if (now - due > kMaxLateNs) {
            start = now;
            frames = 0;
            due = now;
        }
        timespec deadline{static_cast<time_t>(due / 1000000000), static_cast<long>(due % 1000000000)};
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
        }
    }
}

}  // namespace tavlo
