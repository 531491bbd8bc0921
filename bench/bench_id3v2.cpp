// List figures for files whose tags are ID3v2.3, printed as `key: value` lines:
//   bench_id3v2 MEDIA_DIR   (the files are made once and kept there)
// - list_add_100k_id3v2_ms: 100,000 small MP3s, each an ID3v2.3 tag (title,
//   artist, album, year, genre, comment; every third in UTF-16) and a few
//   silent frames, opened one by one into the music window's list, as "Open"
//   adds them;
// - list_id3v2_floor_100k_ms: the least any loader of such files can do, a
//   plain loop that opens each file, reads its first 4 KiB and closes it;
//   list_add_100k_id3v2_vs_floor is the ratio;
// - list_100k_id3v2_mb: growth of the peak resident size while the rows go in.
// Medians of 3 runs, warm caches: the floor runs once first to warm them.
#include "BenchMedia.h"
#include "BenchMemory.h"
#include "BenchWindow.h"
#include "playlist/PlaylistModel.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <string>
#include <vector>

using namespace tavlo;

namespace {

using namespace tavlo::bench;
constexpr int kFiles = kTaggedFiles;
constexpr int kRuns = 3;

double openAll(const QStringList& paths, MusicWindow& w)
{
    const auto start = WallClock::now();
    for (const QString& p : paths)
        w.openFile(p, false, 0);
    return msSince(start);
}

// The figures mean something only if the rows show what the ID3v2 tags say;
// a row titled from its file name would mean the tags were not read.
bool rowsShowTags(const PlaylistModel& list)
{
    if (list.count() != kFiles) {
        std::fprintf(stderr, "bench_id3v2: the list holds %d rows of %d\n", list.count(), kFiles);
        return false;
    }
    bool ok = true;
    for (int i : {0, kFiles / 2, kFiles / 2 + 1, kFiles - 1}) {
        const int row = i + 1;
        const std::pair<int, std::string> expected[] = {
            {ColTitle, id3v2Title(i)},
            {ColArtist, "Artist " + std::to_string(i % 997)},
            {ColCd, "Album " + std::to_string(i % 3001)},
            {ColYear, std::to_string(1965 + i % 60)},
            {ColGenre, id3v2Genre(i)},
            {ColComment, id3v2Comment()},
        };
        for (const auto& [column, text] : expected) {
            const QString shown = list.text(row, column);
            if (shown != QString::fromStdString(text)) {
                std::fprintf(stderr, "bench_id3v2: row %d column %d shows '%s', its tag says '%s'\n", row, column,
                             qPrintable(shown), text.c_str());
                ok = false;
            }
        }
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString dir = QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("bench-media/id3v2"))
                            .absolutePath();
    const QStringList paths = ensureTaggedFiles(dir, id3v2FileBytes);
    std::vector<QByteArray> encoded;
    encoded.reserve(paths.size());
    for (const QString& p : paths)
        encoded.push_back(QFile::encodeName(p));

    headFloorLoop(encoded);  // warms the file system caches for both loops

    BenchWindow bench;
    MusicWindow& w = bench.w;
    std::vector<double> floorMs, addMs;
    double listMb = 0;
    for (int run = 0; run < kRuns; ++run) {
        floorMs.push_back(headFloorLoop(encoded));
        w.clearList();
        const bool peakReset = run == 0 && resetPeakRss();
        const long rssBefore = statusKb("VmRSS");
        addMs.push_back(openAll(paths, w));
        if (run == 0) {
            listMb = (statusKb(peakReset ? "VmHWM" : "VmRSS") - rssBefore) / 1024.0;
            rowsShowTags(*w.clipList);
        }
    }

    const double add = median(addMs), floor = median(floorMs);
    std::printf("list_add_100k_id3v2_ms: %.1f\n", add);
    std::printf("list_id3v2_floor_100k_ms: %.1f\n", floor);
    std::printf("list_add_100k_id3v2_vs_floor: %.2f\n", floor > 0 ? add / floor : 0.0);
    std::printf("list_100k_id3v2_mb: %.1f\n", listMb);
    return 0;
}
