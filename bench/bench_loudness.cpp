// Loudness figures, printed as `key: value` lines:
//   bench_loudness SONG.mp3 SHORT.mp3 SCRATCH_DIR
// - seconds of audio measured (decoded and run through libebur128, true peak
//   included) per second of CPU, against decoding alone on the same file;
// - a station run: the music window plays a list of distinct songs of
//   SHORT.mp3 through the offline engine, paced at 20x real time, with the
//   measuring thread in the background as live play has it; how many songs
//   started before their measurement was ready.
#include "BenchWindow.h"
#include "engine/Decoder.h"
#include "engine/LoudnessAnalyzer.h"
#include "playback/SongLoudness.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

using namespace tavlo;
using namespace tavlo::bench;

namespace {

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double medianOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Seconds of audio per CPU second, median of three.
double decodeOnlyRate(const QString& song)
{
    std::vector<double> rates;
    for (int i = 0; i < 3; ++i) {
        const double cpu0 = threadCpuSeconds();
        int error = 0;
        auto decoder = Decoder::open(song, &error);
        if (!decoder)
            return 0;
        std::vector<StereoFrame> block(16384);
        std::int64_t frames = 0;
        for (int n; (n = decoder->read(block.data(), static_cast<int>(block.size()))) > 0;)
            frames += n;
        rates.push_back(static_cast<double>(frames) / decoder->sampleRate() / (threadCpuSeconds() - cpu0));
    }
    return medianOf(rates);
}

double measureRate(const QString& song)
{
    std::vector<double> rates;
    for (int i = 0; i < 3; ++i) {
        double seconds = 0;
        const double cpu0 = threadCpuSeconds();
        LoudnessAnalyzer::measureFile(song, &seconds);
        rates.push_back(seconds / (threadCpuSeconds() - cpu0));
    }
    return medianOf(rates);
}

struct RunResult {
    int songs = 0;
    int notReady = 0;
};

RunResult stationRun(const QString& shortSong, const QString& scratch, int songs, double pace)
{
    QDir(scratch).removeRecursively();
    QDir().mkpath(scratch);
    QFile list(scratch + QStringLiteral("/list.m3u"));
    if (!list.open(QIODevice::WriteOnly))
        return {};
    for (int i = 0; i < songs; ++i) {
        const QString copy = scratch + QStringLiteral("/song-%1.mp3").arg(i, 2, 10, QLatin1Char('0'));
        QFile::copy(shortSong, copy);
        list.write(copy.toUtf8() + '\n');
    }
    list.close();

    AudioEngine::Options output;
    output.output = AudioEngine::OutputKind::Offline;
    output.wavPath = scratch + QStringLiteral("/render.wav");
    AudioEngine engine(output);
    SimulatedTime time;
    ClockSeededRandom random(time);
    MemorySettings settings;
    SilentDialogs dialogs;
    NullMixerDevice mixer;
    LoudnessAnalyzer analyzer(scratch + QStringLiteral("/loudness.tsv"), LoudnessAnalyzer::Mode::Background);
    AppServices services{engine, time, time, random, settings, dialogs, mixer,
                         noUiEvents(), noScreen(), noShell(), analyzer};
    NoHttpClient http;
    DirentFolderReader folders;
    Station station(services, http, folders);
    MusicWindow& w = station.music();
    station.setProgramFolder(scratch);
    w.loudness().force(-18);
    station.start();
    int started = 0;
    QObject::connect(&w, &PlayerWindow::songStarted, &w, [&started](const QString&) { ++started; });
    w.openFile(list.fileName());
    w.play();

    const int rate = engine.sampleRate();
    const auto wallStart = std::chrono::steady_clock::now();
    while (started < songs) {
        engine.renderOffline(rate / 100);
        time.advance(10);
        const auto due = wallStart + std::chrono::duration<double>(time.elapsedMs() / 1000.0 / pace);
        std::this_thread::sleep_until(due);
    }
    QDir(scratch).removeRecursively();
    return {started, w.loudness().startsNotReady()};
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench_loudness SONG.mp3 SHORT.mp3 SCRATCH_DIR\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    const QString song = QString::fromLocal8Bit(argv[1]);
    const QString shortSong = QString::fromLocal8Bit(argv[2]);
    const QString scratch = QString::fromLocal8Bit(argv[3]) + QStringLiteral("/loudness-run");

    const double measured = measureRate(song);
    const double decoded = decodeOnlyRate(song);
    // One decode measures the loudness and finds the cue points together.
    std::printf("analysis_x_realtime: %.0f (goal > 200)\n", measured);
    std::printf("loudness_x_realtime: %.0f\n", measured);
    std::printf("loudness_decode_only_x_realtime: %.0f\n", decoded);
    std::printf("loudness_vs_decode_only: %.2f\n", decoded > 0 ? measured / decoded : 0.0);
    std::fflush(stdout);

    constexpr int kSongs = 10;
    constexpr double kPace = 20;
    const RunResult run = stationRun(shortSong, scratch, kSongs, kPace);
    std::printf("loudness_run_songs_started: %d (at %.0fx real time)\n", run.songs, kPace);
    std::printf("loudness_not_ready_starts: %d\n", run.notReady);
    return 0;
}
