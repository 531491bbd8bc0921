// Playlist-file figures, printed as `key: value` lines:
//   bench_files [MEDIA_DIR [OPENED_DIR]]   (the files are made once and kept there)
// - m3u_load_100k_floor_ms: the least any playlist load can cost, a plain
//   loop opening each of 100,000 files and reading its last 128 bytes (the
//   reference the window's own load figure is held against);
// - m3u_parse_100k_ms: reading a 100,000-entry playlist, handing every entry
//   and every progress step to handlers that do nothing;
// - m3u_save_100k_ms: saving that list back, temporary file and rename included;
// - m3u_load_100k_ms and _vs_floor: the music window opening that playlist
//   (every entry's tag read, the progress shown, the interface fed), and its
//   ratio to the floor;
// - sort_100k_ms: a column-header click on those 100,000 rows, the song in
//   play tracked;
// - total_100k_ms: "Calculate Total" over them, every length already known;
// - total_1000_opened_ms_per_file: "Calculate Total" over the 1,000 MP3s in
//   OPENED_DIR, each opened by the engine to learn its length, and how many
//   of them it did open (the fewest of the runs).
// Medians of 5 runs (3 for the opened files), warm caches.
#include "BenchMedia.h"
#include "BenchWindow.h"
#include "playlist/PlaylistReader.h"
#include "playlist/PlaylistWriter.h"
#include "playlist/PlaylistModel.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

using namespace tavlo;

namespace {

using namespace tavlo::bench;
constexpr int kFiles = kTaggedFiles;
constexpr int kRuns = 5;

double parse(const QString& playlist)
{
    const auto start = WallClock::now();
    const auto result = PlaylistReader::read(
        playlist, [](const PlaylistEntry&) { return true; }, [](const PlaylistProgress&) {});
    const double ms = msSince(start);
    if (result.entries != kFiles || !result.complete)
        std::fprintf(stderr, "bench_files: read %lld entries of %d\n", static_cast<long long>(result.entries), kFiles);
    return ms;
}

// "Calculate Total" once; false when the count is not the whole list.
double calculateTotal(MusicWindow& w)
{
    const auto start = WallClock::now();
    w.calculateButton->press();
    const double ms = msSince(start);
    if (w.songCountLabel->text() != QString::number(w.clipList->count()))
        std::fprintf(stderr, "bench_files: the total counted %s rows of %d\n", qPrintable(w.songCountLabel->text()),
                     w.clipList->count());
    return ms;
}

void windowFigures(const QString& playlist, double floorMs, const QString& openedDir)
{
    bench::BenchWindow bench;
    MusicWindow& w = bench.w;
    std::vector<double> loadMs;
    for (int run = 0; run < kRuns; ++run) {
        w.clearList();
        const auto start = WallClock::now();
        w.openFile(playlist);
        loadMs.push_back(msSince(start));
        if (w.clipList->count() != kFiles || w.clipList->text(kFiles, ColArtist).isEmpty())
            std::fprintf(stderr, "bench_files: the window holds %d rows\n", w.clipList->count());
    }

    // A song in play in the middle, so each click also finds it again.
    w.setRowInPlay(kFiles / 2);
    std::vector<double> sortMs;
    for (int run = 0; run < kRuns; ++run) {
        const QString inPlay = w.clipList->text(w.rowInPlay(), ColLocation);
        const auto start = WallClock::now();
        w.clipList->onColumnClick(run % 2 == 0 ? 1 : 3);
        sortMs.push_back(msSince(start));
        if (w.clipList->text(w.rowInPlay(), ColLocation) != inPlay)
            std::fprintf(stderr, "bench_files: the sort lost the song in play\n");
    }
    w.setRowInPlay(0);

    std::vector<QString> lengths;
    lengths.reserve(kFiles);
    for (int i = 0; i < kFiles; ++i)
        lengths.push_back(QString::number(120 + i % 300));
    w.clipList->setColumnTexts(ColPlaySeconds, lengths);
    std::vector<double> totalMs;
    for (int run = 0; run < kRuns; ++run)
        totalMs.push_back(calculateTotal(w));

    const double load = median(loadMs);
    std::printf("m3u_load_100k_ms: %.1f\n", load);
    std::printf("m3u_load_100k_vs_floor: %.2f\n", floorMs > 0 ? load / floorMs : 0.0);
    std::printf("sort_100k_ms: %.1f\n", median(sortMs));
    std::printf("total_100k_ms: %.1f\n", median(totalMs));

    const QStringList mp3s = openedDir.isEmpty() ? QStringList()
                                                 : QDir(openedDir).entryList({QStringLiteral("*.mp3")}, QDir::Files,
                                                                             QDir::Name);
    if (mp3s.isEmpty()) {
        std::fprintf(stderr, "bench_files: no MP3s to open in '%s'; total_1000_opened skipped\n", qPrintable(openedDir));
        return;
    }
    w.clearList();
    for (const QString& name : mp3s)
        w.addFileToList(openedDir + QLatin1Char('/') + name, 0, *w.clipList);
    std::vector<double> openedMs;
    int fewestOpened = kFiles;
    for (int run = 0; run < 3; ++run) {
        w.clipList->setColumnTexts(ColPlaySeconds, std::vector<QString>(mp3s.size()));
        openedMs.push_back(calculateTotal(w));
        // A file the engine would not open counts 0 s: the figure is only
        // worth something when every file was really opened.
        int opened = 0;
        for (int n = 1; n <= w.clipList->count(); ++n)
            opened += w.clipList->text(n, ColPlaySeconds).toInt() > 0 ? 1 : 0;
        fewestOpened = std::min(fewestOpened, opened);
    }
    std::printf("total_1000_opened_ms_per_file: %.3f\n", median(openedMs) / mp3s.size());
    std::printf("total_1000_opened_files_opened: %d\n", fewestOpened);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString dir = QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("bench-media/files")).absolutePath();
    const QStringList paths = ensureTaggedFiles(dir);
    std::vector<QByteArray> encoded;
    encoded.reserve(paths.size());
    for (const QString& p : paths)
        encoded.push_back(QFile::encodeName(p));
    const QString playlist = dir + QStringLiteral("/all.m3u");

    floorLoop(encoded);  // warms the caches
    PlaylistWriter writer;
    std::vector<double> floorMs, parseMs, saveMs;
    for (int run = 0; run < kRuns; ++run) {
        floorMs.push_back(floorLoop(encoded));
        const auto start = WallClock::now();
        const auto saved = writer.save(playlist, paths);
        saveMs.push_back(msSince(start));
        if (!saved.ok) {
            std::fprintf(stderr, "bench_files: cannot save %s: %s\n", qPrintable(playlist), qPrintable(saved.error));
            return 1;
        }
        parseMs.push_back(parse(playlist));
    }
    std::printf("m3u_load_100k_floor_ms: %.1f\n", median(floorMs));
    std::printf("m3u_parse_100k_ms: %.1f\n", median(parseMs));
    std::printf("m3u_save_100k_ms: %.1f\n", median(saveMs));
    std::fflush(stdout);
    windowFigures(playlist, median(floorMs), argc > 2 ? QDir(QString::fromLocal8Bit(argv[2])).absolutePath() : QString());
    return 0;
}
