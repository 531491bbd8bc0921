#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tavlo {

class Mixer;
class Voice;

// Holds every live voice and decodes ahead for them, so the audio callback
// only ever reads memory. In the background mode a thread makes a round
// every 50 ms, at once when woken (every 2 ms while a seek waits on the mixer); in the
// synchronous mode the caller makes each round itself (offline rendering,
// where the caller is also the audio thread).
// Voices the mixer has let go of are freed here, off the audio thread.
// Threading: add, count and wake from the UI thread; prepare and
// collectRetired only from the thread that owns the rounds (the reader
// thread, or in synchronous mode the rendering thread).
class Reader {
public:
    explicit Reader(Mixer& mixer);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    void start();
    void add(std::shared_ptr<Voice> voice);
    int count() const;
    void wake();

    // One synchronous round: free retired voices, then for each voice finish
    // any seek and fill its ring. Only in the synchronous mode.
    void prepare();
    void collectRetired();

private:
    void run();

    Mixer& m_mixer;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<std::shared_ptr<Voice>> m_voices;
    bool m_stop = false;
    bool m_woken = false;
    std::thread m_thread;
};

}  // namespace tavlo
