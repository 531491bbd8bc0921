// Decoding figures for the formats beside MP3, printed as `key: value` lines:
//   bench_formats SCRATCH_DIR SONG.flac SONG.ogg SONG.opus SONG.m4a
// For each song (any of them may be left out): the engine opening (and so
// scanning) it, decoding and mixing it to the end through the WAV writer,
// against the format's own reference decoder writing a WAV of the same file;
// median of 5 runs each, interleaved, in wall and in CPU seconds.
#include "BenchDecode.h"

#include <QFileInfo>
#include <QString>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using namespace tavlo;
using namespace tavlo::bench;

namespace {

constexpr int kRuns = 5;

struct Reference {
    const char* suffix;  // of the song's file name, and the figures' key
    const char* program;
    // The program's arguments for one song and one output file.
    std::vector<std::string> (*arguments)(const std::string& song, const std::string& wav);
};

const Reference kReferences[] = {
    {"flac", "flac", [](const std::string& song, const std::string& wav) -> std::vector<std::string> {
         return {"flac", "-d", "-s", "-f", "-o", wav, song};
     }},
    {"ogg", "oggdec", [](const std::string& song, const std::string& wav) -> std::vector<std::string> {
         return {"oggdec", "-Q", "-o", wav, song};
     }},
    {"opus", "opusdec", [](const std::string& song, const std::string& wav) -> std::vector<std::string> {
         return {"opusdec", "--quiet", song, wav};
     }},
    // One thread: the engine decodes each song on one thread too.
    {"m4a", "ffmpeg", [](const std::string& song, const std::string& wav) -> std::vector<std::string> {
         return {"ffmpeg", "-v", "error", "-y", "-threads", "1", "-i", song, wav};
     }},
};

double timeReference(const Reference& ref, const std::string& song, const std::string& wav, double* cpu)
{
    // As for the engine: removing the last run's file is not this run's work.
    std::remove(wav.c_str());
    const std::vector<std::string> args = ref.arguments(song, wav);
    std::vector<const char*> argv;
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    argv.push_back(nullptr);
    return timeCommand(argv, cpu);
}

void compare(const Reference& ref, const QString& song, const QString& scratch)
{
    const std::string songPath = song.toStdString();
    const QString ourWav = scratch + QStringLiteral("/bench-formats-engine.wav");
    const std::string refWav = (scratch + QStringLiteral("/bench-formats-ref.wav")).toStdString();
    std::vector<double> refWall, ourWall, refCpu, ourCpu;
    for (int i = 0; i < kRuns; ++i) {
        double cpu = 0;
        refWall.push_back(timeReference(ref, songPath, refWav, &cpu));
        refCpu.push_back(cpu);
        ourWall.push_back(timeEngine(song, ourWav, &cpu));
        ourCpu.push_back(cpu);
    }
    std::remove(qPrintable(ourWav));
    std::remove(refWav.c_str());
    const std::string key = std::string("decode_") + ref.suffix;
    const double theirs = medianOf(refWall), ours = medianOf(ourWall);
    std::printf("%s_%s_seconds: %.3f\n", key.c_str(), ref.program, theirs);
    std::printf("%s_engine_seconds: %.3f\n", key.c_str(), ours);
    std::printf("%s_vs_%s: %.2f\n", key.c_str(), ref.program, ours / theirs);
    std::printf("%s_vs_%s_cpu: %.2f\n", key.c_str(), ref.program, medianOf(ourCpu) / medianOf(refCpu));
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_formats SCRATCH_DIR SONG.flac SONG.ogg SONG.opus SONG.m4a\n");
        return 2;
    }
    const QString scratch = QString::fromLocal8Bit(argv[1]);
    for (int a = 2; a < argc; ++a) {
        const QString song = QString::fromLocal8Bit(argv[a]);
        const QString suffix = QFileInfo(song).suffix().toLower();
        const Reference* ref = nullptr;
        for (const Reference& r : kReferences) {
            if (suffix == QLatin1String(r.suffix))
                ref = &r;
        }
        if (!ref) {
            std::fprintf(stderr, "bench_formats: no reference decoder for %s\n", argv[a]);
            continue;
        }
        compare(*ref, song, scratch);
    }
    return 0;
}
