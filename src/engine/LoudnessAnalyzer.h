#pragma once

#include "platform/Loudness.h"
#include "engine/LoudnessCache.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace tavlo {

// The loudness service on libebur128 (integrated loudness and true peak),
// decoding each file once with the engine's own decoders, and remembering
// every measurement in a cache file between runs.
//
// Background: a worker thread at the lowest priority measures the paths
// asked for, most recent request first; a lookup never waits. OnDemand (the
// offline render): nothing runs in the background, and a lookup of a file
// not measured yet measures it there and then, so every render of the same
// station hears the same songs at the same level.
//
// Threading: measure, lookup and the counters from the UI thread; the worker
// shares the queue and the cache with it under one mutex, never held while
// a file is decoded.
class LoudnessAnalyzer : public LoudnessService {
public:
    enum class Mode { Background, OnDemand };

    // cacheFile empty: nothing is kept between runs.
    LoudnessAnalyzer(const QString& cacheFile, Mode mode);
    ~LoudnessAnalyzer() override;
    LoudnessAnalyzer(const LoudnessAnalyzer&) = delete;
    LoudnessAnalyzer& operator=(const LoudnessAnalyzer&) = delete;

    void measure(const QStringList& paths) override;
    LoudnessMeasurement lookup(const QString& path) override;

    // Files decoded to be measured since this analyzer was made; a file
    // found in the cache is not counted.
    int filesDecoded() const { return m_decoded.load(std::memory_order_relaxed); }
    // Seconds of audio those files held.
    double secondsMeasured() const;
    // Waits until every path asked for is done; false on timeout.
    bool waitUntilIdle(int timeoutMs);

    // One file, start to end. `cancel` is looked at between blocks.
    static LoudnessMeasurement measureFile(const QString& path, double* seconds = nullptr,
                                           const std::atomic<bool>* cancel = nullptr);
    // <XDG cache>/tavlo/loudness.tsv
    static QString defaultCacheFile();

private:
    void run();
    // Measures path unless the cache knows it; returns what it has.
    LoudnessMeasurement measureUncached(const QString& path, const LoudnessCache::Key& key);

    const Mode m_mode;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<QString> m_queue;  // front is most urgent
    bool m_busy = false;
    LoudnessCache m_cache;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_decoded{0};
    double m_seconds = 0;  // under m_mutex
    std::thread m_thread;
};

}  // namespace tavlo
