#pragma once

#include <atomic>
#include <thread>

namespace tavlo {

class Mixer;

// An output that plays to nowhere at the pace of a sound card: its own
// thread mixes about 20 ms of blocks, then sleeps until their absolute
// deadline on the monotonic clock, so timing does not drift with the work
// done per block.
// (ALSA's null device accepts data as fast as it comes, which would run the
// songs at full CPU speed.)
// Threading: constructed and destroyed on the UI thread; the mixer runs on
// the sink's thread.
class NullSink {
public:
    NullSink(Mixer& mixer, int sampleRate, int blockFrames);
    ~NullSink();
    NullSink(const NullSink&) = delete;
    NullSink& operator=(const NullSink&) = delete;

private:
    void run();

    Mixer& m_mixer;
    const int m_sampleRate;
    const int m_blockFrames;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

}  // namespace tavlo
