#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

namespace tavlo {

class Mixer;

// What an output did: blocks mixed, blocks mixed after a sound card would
// have needed them (an underrun a listener hears), and blocks never mixed
// because the machine stalled so long that the output started afresh.
struct OutputCounts {
    std::int64_t blocks = 0;
    std::int64_t late = 0;
    std::int64_t missed = 0;
    // The longest the output waited past its wake-up time, in microseconds.
    std::int64_t worstWakeUs = 0;
};

// An output that plays to nowhere at the pace of a sound card: a virtual
// card plays frames on the monotonic clock, and the sink's own thread keeps
// kBufferMs of mixed blocks ahead of it, topping up every kWakeMs. A wake-up
// up to kBufferMs - kWakeMs late is absorbed; later than that, blocks come
// late and are counted, as a real card would click.
// (ALSA's null device accepts data as fast as it comes, which would run the
// songs at full CPU speed.)
// Threading: constructed and destroyed on the UI thread; the mixer runs on
// the sink's thread; counts() from any thread.
class NullSink {
public:
    // Nobody listens, so latency costs nothing audible; it only puts the
    // reported position up to that far ahead of the virtual card. Less one
    // wake, it absorbs wake-ups about 177 ms late, twice the worst seen
    // without real-time priority on a machine saturated by other work.
    static constexpr int kWakeMs = 20;
    static constexpr int kBufferMs = 200;

    NullSink(Mixer& mixer, int sampleRate, int blockFrames);
    ~NullSink();
    NullSink(const NullSink&) = delete;
    NullSink& operator=(const NullSink&) = delete;

    OutputCounts counts() const;
    // Whether the thread runs with real-time priority (the system allowed it).
    bool realtime() const { return m_realtime.load(std::memory_order_relaxed); }

private:
    void run();

    Mixer& m_mixer;
    const int m_sampleRate;
    const int m_blockFrames;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_realtime{false};
    std::atomic<std::int64_t> m_blocks{0}, m_late{0}, m_missed{0}, m_worstWakeUs{0};
    std::thread m_thread;
};

}  // namespace tavlo
