// Engine figures, printed as `key: value` lines:
//   bench_engine SONG.mp3 SCRATCH_DIR
// - the engine decoding and mixing one song through the WAV writer, against
//   `mpg123 -q -t` on the same file (median of 5 each);
// - four voices mixed offline, as a multiple of real time;
// - CPU per second of real-time play of two crossfading voices on the null
//   output, in percent of one core.
#include "platform/audio/AudioEngine.h"

#include <QString>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

extern char** environ;

using namespace tavlo;
using Clock = std::chrono::steady_clock;

namespace {

double seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double cpuSeconds(int who)
{
    rusage u{};
    getrusage(who, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Wall time; *cpu gets user+sys, which a busy machine disturbs less.
double timeMpg123(const char* song, double* cpu)
{
    const double cpuStart = cpuSeconds(RUSAGE_CHILDREN);
    const char* argv[] = {"mpg123", "-q", "-t", song, nullptr};
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, "mpg123", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
        std::fprintf(stderr, "bench_engine: cannot run mpg123\n");
        return NAN;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const double wall = seconds(start);
    *cpu = cpuSeconds(RUSAGE_CHILDREN) - cpuStart;
    return wall;
}

AudioEngine::Options offline(const QString& wav)
{
    AudioEngine::Options o;
    o.output = AudioEngine::OutputKind::Offline;
    o.wavPath = wav;
    return o;
}

// Opens (and so scans), plays to the end and closes: all the work a song costs.
double timeEngine(const QString& song, const QString& wav, double* cpu)
{
    // The last run's file goes first, outside the timing: freeing its pages
    // is not work this run does.
    std::remove(qPrintable(wav));
    const double cpuStart = cpuSeconds(RUSAGE_SELF);
    const auto start = Clock::now();
    {
        AudioEngine engine(offline(wav));
        OpenResult r = engine.open(song);
        if (!r.stream)
            return NAN;
        r.stream->run();
        engine.renderOffline(static_cast<int>(std::ceil(r.stream->duration() * engine.sampleRate())));
    }
    const double wall = seconds(start);
    *cpu = cpuSeconds(RUSAGE_SELF) - cpuStart;
    return wall;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_engine SONG.mp3 SCRATCH_DIR\n");
        return 2;
    }
    const QString song = QString::fromLocal8Bit(argv[1]);
    const QString wav = QString::fromLocal8Bit(argv[2]) + QStringLiteral("/bench-out.wav");

    // One song, offline, against the reference decoder.
    std::vector<double> ref;
    std::vector<double> ours;
    std::vector<double> refCpu;
    std::vector<double> ourCpu;
    for (int i = 0; i < 5; ++i) {
        double cpu = 0;
        ref.push_back(timeMpg123(argv[1], &cpu));
        refCpu.push_back(cpu);
        ours.push_back(timeEngine(song, wav, &cpu));
        ourCpu.push_back(cpu);
    }
    const double refTime = median(ref);
    const double ourTime = median(ours);
    std::printf("mpg123_seconds: %.3f\n", refTime);
    std::printf("engine_offline_seconds: %.3f\n", ourTime);
    std::printf("engine_vs_mpg123: %.2f\n", ourTime / refTime);
    std::printf("engine_vs_mpg123_cpu: %.2f\n", median(ourCpu) / median(refCpu));

    // Four voices at once, as an insert over a crossfade would have.
    for (bool varispeed : {false, true}) {
        AudioEngine engine(offline(wav));
        std::vector<std::unique_ptr<MediaStream>> voices;
        double shortest = 1e9;
        for (int i = 0; i < 4; ++i) {
            OpenResult r = engine.open(song);
            if (!r.stream)
                return 1;
            r.stream->setPosition(5.0 * i);
            r.stream->setVolume(-600 * i);
            r.stream->setBalance(i % 2 ? 2000 : -2000);
            if (varispeed)
                r.stream->setRate(0.85 + 0.1 * i);
            r.stream->run();
            shortest = std::min(shortest, (r.stream->duration() - 5.0 * i) / r.stream->rate());
            voices.push_back(std::move(r.stream));
        }
        const double audio = std::floor(shortest) - 1.0;
        const auto start = Clock::now();
        engine.renderOffline(static_cast<int>(audio * engine.sampleRate()));
        const double x = audio / seconds(start);
        std::printf(varispeed ? "engine_4voices_varispeed_x_realtime: %.1f\n" : "engine_4voices_x_realtime: %.1f\n", x);
    }

    // Two voices crossfading on the null output, paced in real time: an
    // 85-step fader law, one step every 78 ms, then both playing on.
    {
        AudioEngine::Options o;
        o.output = AudioEngine::OutputKind::Null;
        AudioEngine engine(o);
        OpenResult a = engine.open(song);
        OpenResult b = engine.open(song);
        if (!a.stream || !b.stream)
            return 1;
        b.stream->setVolume(-7225);
        b.stream->setPosition(60.0);
        a.stream->run();
        b.stream->run();
        std::this_thread::sleep_for(std::chrono::milliseconds(500));  // settle: both rings full
        const double cpuStart = cpuSeconds(RUSAGE_SELF);
        const auto start = Clock::now();
        const double positionAtStart = b.stream->position();
        for (int step = 1; step <= 85; ++step) {
            a.stream->setVolume(-(step * step));
            b.stream->setVolume(-((85 - step) * (85 - step)));
            std::this_thread::sleep_until(start + std::chrono::milliseconds(78 * step));
        }
        std::this_thread::sleep_until(start + std::chrono::seconds(20));
        const double wall = seconds(start);
        const double cpu = cpuSeconds(RUSAGE_SELF) - cpuStart;
        std::printf("engine_null_cpu_percent: %.2f\n", 100.0 * cpu / wall);
        std::printf("engine_null_seconds_played: %.2f\n", b.stream->position() - positionAtStart);
        std::printf("engine_null_wall_seconds: %.2f\n", wall);
    }
    std::remove(qPrintable(wav));
    return 0;
}
