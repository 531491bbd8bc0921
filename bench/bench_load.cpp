// Audio under load, printed as `key: value` lines:
//   bench_load SONG.mp3 SECONDS      plays on the null output in real time
//   bench_load --burn SECONDS        keeps every core busy (run it alongside)
// The station's on-air pattern for SECONDS: a song playing while the next is
// opened and crossfaded in with an 85-step fader law every 15 s, all through
// the null output's real-time path. Counts the blocks the output mixed late
// (a sound card would have clicked) or never (a stall), from the sink's own
// count, and how far the songs' positions drifted from the wall clock.
#include "engine/AudioEngine.h"

#include <QString>

#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

using namespace tavlo;
using Clock = std::chrono::steady_clock;

namespace {

// Busy and total jiffies of every core, from /proc/stat's first line.
std::pair<double, double> cpuJiffies()
{
    std::FILE* f = std::fopen("/proc/stat", "r");
    unsigned long long v[8] = {};
    if (f) {
        if (std::fscanf(f, "cpu %llu %llu %llu %llu %llu %llu %llu %llu", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5],
                        &v[6], &v[7]) != 8)
            v[0] = 0;
        std::fclose(f);
    }
    double total = 0;
    for (unsigned long long x : v)
        total += double(x);
    return {total - double(v[3] + v[4]), total};
}

double seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

// Busy work that does not optimise away: one spinning thread per core.
int burn(double duration)
{
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (unsigned i = 0; i < cores; ++i)
        threads.emplace_back([&stop] {
            volatile double x = 1.0;
            while (!stop.load(std::memory_order_relaxed))
                for (int k = 0; k < 100000; ++k)
                    x = x * 1.0000001 + 1e-9;
        });
    const auto start = Clock::now();
    while (seconds(start) < duration)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    stop = true;
    for (auto& t : threads)
        t.join();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double cpu = double(usage.ru_utime.tv_sec) + double(usage.ru_utime.tv_usec) / 1e6;
    std::printf("load_burner_cores_busy: %.2f\n", cpu / seconds(start));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--burn") == 0)
        return burn(std::atof(argv[2]));
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_load SONG.mp3 SECONDS | bench_load --burn SECONDS\n");
        return 2;
    }
    const QString song = QString::fromLocal8Bit(argv[1]);
    const double duration = std::atof(argv[2]);

    AudioEngine::Options o;
    o.output = AudioEngine::OutputKind::Null;
    AudioEngine engine(o);
    std::unique_ptr<MediaStream> playing = engine.open(song).stream;
    if (!playing)
        return 1;
    playing->run();
    const auto start = Clock::now();
    const auto [busy0, total0] = cpuJiffies();
    double heard = 0;  // seconds of songs played before the current one
    double from = 0;   // where the current one started
    for (int change = 1; 15.0 * change < duration; ++change) {
        std::this_thread::sleep_until(start + std::chrono::seconds(15 * change - 7));
        std::unique_ptr<MediaStream> next = engine.open(song).stream;
        if (!next)
            return 1;
        next->setVolume(-7225);
        next->setPosition(20.0 * change);
        std::this_thread::sleep_until(start + std::chrono::seconds(15 * change));
        next->run();
        const double nextFrom = next->position();
        for (int step = 1; step <= 85; ++step) {
            playing->setVolume(-(step * step));
            next->setVolume(-((85 - step) * (85 - step)));
            std::this_thread::sleep_until(start + std::chrono::seconds(15 * change) + std::chrono::milliseconds(35 * step));
        }
        heard += playing->position() - from;
        playing = std::move(next);
        from = nextFrom;
    }
    std::this_thread::sleep_until(start + std::chrono::duration<double>(duration));
    const double wall = seconds(start);
    const auto [busy1, total1] = cpuJiffies();
    heard += playing->position() - from;
    // The crossfades overlap two songs for 3 s each: their first song's share
    // of the overlap is played but not on the clock.
    const double onClock = heard - 85 * 0.035 * std::floor((duration - 1e-9) / 15.0);
    const OutputCounts c = engine.outputCounts();
    std::printf("load_seconds: %.1f\n", wall);
    std::printf("load_machine_busy_percent: %.0f\n", 100.0 * (busy1 - busy0) / std::max(1.0, total1 - total0));
    std::printf("load_output_realtime_priority: %s\n", engine.outputRealtime() ? "yes" : "no");
    std::printf("load_output_buffer_ms: %d\n", NullSink::kBufferMs);
    std::printf("load_blocks: %lld\n", static_cast<long long>(c.blocks));
    std::printf("load_late_blocks: %lld\n", static_cast<long long>(c.late));
    std::printf("load_missed_blocks: %lld\n", static_cast<long long>(c.missed));
    std::printf("load_worst_wake_ms: %.2f\n", double(c.worstWakeUs) / 1000.0);
    std::printf("load_position_drift_ms: %.1f\n", 1000.0 * (onClock - wall));
    return 0;
}
