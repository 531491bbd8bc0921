#pragma once

// What the decoding benchmarks share: a song played to the end by the engine
// through the WAV writer, and a reference program run on the same file, each
// timed in wall and CPU seconds.

#include "engine/AudioEngine.h"

#include <QString>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

extern char** environ;

namespace tavlo::bench {

using DecodeClock = std::chrono::steady_clock;

inline double secondsSince(DecodeClock::time_point from)
{
    return std::chrono::duration<double>(DecodeClock::now() - from).count();
}

inline double medianOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// User+sys seconds of RUSAGE_SELF (every thread) or RUSAGE_CHILDREN.
inline double cpuSeconds(int who)
{
    rusage u{};
    getrusage(who, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Runs argv (null-terminated, argv[0] looked up in PATH) to its end. Wall
// time; *cpu gets user+sys, which a busy machine disturbs less. NaN when the
// program cannot be run or fails: a figure from a failed run means nothing.
inline double timeCommand(const std::vector<const char*>& argv, double* cpu)
{
    const double cpuStart = cpuSeconds(RUSAGE_CHILDREN);
    const auto start = DecodeClock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, const_cast<char**>(argv.data()), environ) != 0) {
        std::fprintf(stderr, "cannot run %s\n", argv[0]);
        return NAN;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    const double wall = secondsSince(start);
    *cpu = cpuSeconds(RUSAGE_CHILDREN) - cpuStart;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed (status %d)\n", argv[0], status);
        return NAN;
    }
    return wall;
}

inline AudioEngine::Options offlineTo(const QString& wav)
{
    AudioEngine::Options o;
    o.output = AudioEngine::OutputKind::Offline;
    o.wavPath = wav;
    return o;
}

// Opens (and so scans), plays to the end and closes: all the work a song costs.
inline double timeEngine(const QString& song, const QString& wav, double* cpu)
{
    // The last run's file goes first, outside the timing: freeing its pages
    // is not work this run does.
    std::remove(qPrintable(wav));
    const double cpuStart = cpuSeconds(RUSAGE_SELF);
    const auto start = DecodeClock::now();
    {
        AudioEngine engine(offlineTo(wav));
        OpenResult r = engine.open(song);
        if (!r.stream) {
            std::fprintf(stderr, "the engine cannot open %s\n", qPrintable(song));
            return NAN;
        }
        r.stream->run();
        engine.renderOffline(static_cast<int>(std::ceil(r.stream->duration() * engine.sampleRate())));
    }
    const double wall = secondsSince(start);
    *cpu = cpuSeconds(RUSAGE_SELF) - cpuStart;
    return wall;
}

}  // namespace tavlo::bench
