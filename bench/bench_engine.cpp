// Engine figures, printed as `key: value` lines:
//   bench_engine SONG.mp3 SCRATCH_DIR
// - the engine decoding and mixing one song through the WAV writer, against
//   `mpg123 -q -t` on the same file (median of 5 each);
// - four voices mixed offline, as a multiple of real time;
// - CPU per second of real-time play of two crossfading voices on the null
//   output, in percent of one core.
#include "BenchDecode.h"
#include "engine/AudioEngine.h"

#include <QString>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

using namespace tavlo;
using namespace tavlo::bench;
using Clock = DecodeClock;

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
        ref.push_back(timeCommand({"mpg123", "-q", "-t", argv[1], nullptr}, &cpu));
        refCpu.push_back(cpu);
        ours.push_back(timeEngine(song, wav, &cpu));
        ourCpu.push_back(cpu);
    }
    const double refTime = medianOf(ref);
    const double ourTime = medianOf(ours);
    std::printf("mpg123_seconds: %.3f\n", refTime);
    std::printf("engine_offline_seconds: %.3f\n", ourTime);
    std::printf("engine_vs_mpg123: %.2f\n", ourTime / refTime);
    std::printf("engine_vs_mpg123_cpu: %.2f\n", medianOf(ourCpu) / medianOf(refCpu));

    // Four voices at once, as an insert over a crossfade would have.
    for (bool varispeed : {false, true}) {
        AudioEngine engine(offlineTo(wav));
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
        const double x = audio / secondsSince(start);
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
        const double wall = secondsSince(start);
        const double cpu = cpuSeconds(RUSAGE_SELF) - cpuStart;
        std::printf("engine_null_cpu_percent: %.2f\n", 100.0 * cpu / wall);
        std::printf("engine_null_seconds_played: %.2f\n", b.stream->position() - positionAtStart);
        std::printf("engine_null_wall_seconds: %.2f\n", wall);
    }
    std::remove(qPrintable(wav));
    return 0;
}
