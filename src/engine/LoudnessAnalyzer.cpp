#include "engine/LoudnessAnalyzer.h"

#include "engine/CueFinder.h"
#include "engine/Decoder.h"

#include <QStandardPaths>

#include <ebur128.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace tavlo {

namespace {

using State = LoudnessMeasurement::State;

struct Ebur128Free {
    void operator()(ebur128_state* s) const { ebur128_destroy(&s); }
};

}  // namespace

LoudnessAnalyzer::LoudnessAnalyzer(const QString& cacheFile, Mode mode) : m_mode(mode), m_cache(cacheFile) {}

LoudnessAnalyzer::~LoudnessAnalyzer()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

QString LoudnessAnalyzer::defaultCacheFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
           + QStringLiteral("/tavlo/loudness.tsv");
}

double LoudnessAnalyzer::secondsMeasured() const
{
    std::lock_guard lock(m_mutex);
    return m_seconds;
}

void LoudnessAnalyzer::measure(const QStringList& paths)
{
    if (m_mode == Mode::OnDemand || paths.isEmpty())
        return;
    {
        std::lock_guard lock(m_mutex);
        // The newest request is the most urgent: it names the songs about to play.
        for (const QString& p : paths)
            m_queue.erase(std::remove(m_queue.begin(), m_queue.end(), p), m_queue.end());
        m_queue.insert(m_queue.begin(), paths.begin(), paths.end());
        if (!m_thread.joinable())
            m_thread = std::thread([this] { run(); });
    }
    m_wake.notify_one();
}

LoudnessMeasurement LoudnessAnalyzer::lookup(const QString& path)
{
    const auto key = LoudnessCache::keyOf(path);
    if (!key)
        return {State::Unmeasurable};
    {
        std::lock_guard lock(m_mutex);
        if (const auto known = m_cache.find(path, *key))
            return *known;
    }
    if (m_mode == Mode::OnDemand)
        return measureUncached(path, *key);
    return {};
}

bool LoudnessAnalyzer::waitUntilIdle(int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    return m_idle.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return m_queue.empty() && !m_busy; });
}

LoudnessMeasurement LoudnessAnalyzer::measureUncached(const QString& path, const LoudnessCache::Key& key)
{
    double seconds = 0;
    const LoudnessMeasurement m = measureFile(path, &seconds, &m_stop);
    if (m_stop)
        return {};
    m_decoded.fetch_add(1, std::memory_order_relaxed);
    std::lock_guard lock(m_mutex);
    m_seconds += seconds;
    m_cache.insert(path, key, m);
    return m;
}

void LoudnessAnalyzer::run()
{
    // Measuring is never urgent next to decoding for the sound card or the
    // interface: this thread takes what CPU is left over.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
    for (;;) {
        QString path;
        {
            std::unique_lock lock(m_mutex);
            m_busy = false;
            if (m_queue.empty())
                m_idle.notify_all();
            m_wake.wait(lock, [this] { return m_stop || !m_queue.empty(); });
            if (m_stop)
                return;
            path = m_queue.front();
            m_queue.pop_front();
            m_busy = true;
        }
        const auto key = LoudnessCache::keyOf(path);
        if (!key)
            continue;  // gone; looking it up says so
        bool known = false;
        {
            std::lock_guard lock(m_mutex);
            known = m_cache.find(path, *key).has_value();
        }
        if (!known)
            measureUncached(path, *key);
    }
}

LoudnessMeasurement LoudnessAnalyzer::measureFile(const QString& path, double* seconds,
                                                  const std::atomic<bool>* cancel)
{
    int error = 0;
    const std::unique_ptr<Decoder> decoder = Decoder::open(path, &error);
    if (!decoder)
        return {State::Unmeasurable};
    // Measured as the engine plays it: two channels, a mono file on both.
    std::unique_ptr<ebur128_state, Ebur128Free> meter(
        ebur128_init(2, static_cast<unsigned long>(decoder->sampleRate()), EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK));
    if (!meter)
        return {State::Unmeasurable};
    std::vector<StereoFrame> block(16384);
    std::int64_t frames = 0;
    CueFinder cueFinder(decoder->sampleRate());
    for (;;) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return {};
        const int n = decoder->read(block.data(), static_cast<int>(block.size()));
        if (n <= 0)
            break;
        ebur128_add_frames_float(meter.get(), &block[0].left, static_cast<size_t>(n));
        cueFinder.add(block.data(), n);
        frames += n;
    }
    if (seconds)
        *seconds = static_cast<double>(frames) / decoder->sampleRate();

    double integrated = -HUGE_VAL;
    double peak[2] = {0.0, 0.0};
    if (ebur128_loudness_global(meter.get(), &integrated) != EBUR128_SUCCESS
        || ebur128_true_peak(meter.get(), 0, &peak[0]) != EBUR128_SUCCESS
        || ebur128_true_peak(meter.get(), 1, &peak[1]) != EBUR128_SUCCESS)
        return {State::Unmeasurable};
    const double truePeak = std::max(peak[0], peak[1]);
    // Silence (or all of it below the absolute gate) has no loudness to correct.
    if (!std::isfinite(integrated) || !(truePeak > 0.0))
        return {State::Unmeasurable};
    LoudnessMeasurement measured{State::Measured, integrated, 20.0 * std::log10(truePeak)};
    measured.cues = cueFinder.points(integrated);
    return measured;
}

}  // namespace tavlo
