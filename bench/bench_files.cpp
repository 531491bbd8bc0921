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
#include "BenchWindow.h"
#include "playlist/M3uReader.h"
#include "playlist/M3uWriter.h"
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

constexpr int kFiles = 100000;
constexpr int kPerFolder = 1000;
constexpr int kRuns = 5;

using WallClock = std::chrono::steady_clock;

double msSince(WallClock::time_point start) { return std::chrono::duration<double, std::milli>(WallClock::now() - start).count(); }

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

QString filePath(const QString& dir, int i)
{
    return QStringLiteral("%1/%2/Track %3 - Artist %4.mp3")
        .arg(dir)
        .arg(i / kPerFolder, 3, 10, QLatin1Char('0'))
        .arg(i, 6, 10, QLatin1Char('0'))
        .arg(i % 997);
}

void putText(char* at, size_t size, const std::string& text) { std::memcpy(at, text.data(), std::min(size, text.size())); }

// A few hundred bytes of frame-like filler, then an ID3v1 record.
std::vector<char> fileBytes(int i)
{
    std::vector<char> bytes(static_cast<size_t>(160 + (i % 5) * 48), '\0');
    for (size_t b = 0; b + 1 < bytes.size(); b += 4) {
        bytes[b] = '\xff';
        bytes[b + 1] = '\xfb';
    }
    std::array<char, 128> tag{};
    std::memcpy(tag.data(), "TAG", 3);
    putText(tag.data() + 3, 30, "Track " + std::to_string(i));
    putText(tag.data() + 33, 30, "Artist " + std::to_string(i % 997));
    putText(tag.data() + 63, 30, "Album " + std::to_string(i % 3001));
    putText(tag.data() + 93, 4, std::to_string(1965 + i % 60));
    putText(tag.data() + 97, 30, "files bench");
    tag[127] = static_cast<char>(i % 148);
    bytes.insert(bytes.end(), tag.begin(), tag.end());
    return bytes;
}

// Makes the files unless an earlier run finished making them.
QStringList ensureFiles(const QString& dir)
{
    QStringList paths;
    paths.reserve(kFiles);
    for (int i = 0; i < kFiles; ++i)
        paths.append(filePath(dir, i));
    const QString done = dir + QStringLiteral("/complete-%1").arg(kFiles);
    if (QFile::exists(done))
        return paths;
    std::fprintf(stderr, "making %d tagged files in %s\n", kFiles, qPrintable(dir));
    for (int f = 0; f * kPerFolder < kFiles; ++f)
        QDir().mkpath(QStringLiteral("%1/%2").arg(dir).arg(f, 3, 10, QLatin1Char('0')));
    for (int i = 0; i < kFiles; ++i) {
        const std::vector<char> bytes = fileBytes(i);
        const int fd = ::open(QFile::encodeName(paths[i]).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
            std::fprintf(stderr, "bench_files: cannot write %s\n", qPrintable(paths[i]));
            std::exit(1);
        }
        ::close(fd);
    }
    QFile marker(done);
    if (!marker.open(QIODevice::WriteOnly))
        std::exit(1);
    return paths;
}

double floorLoop(const std::vector<QByteArray>& paths)
{
    char record[128];
    long tags = 0;
    const auto start = WallClock::now();
    for (const QByteArray& p : paths) {
        const int fd = ::open(p.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (::lseek(fd, -128, SEEK_END) >= 0 && ::read(fd, record, sizeof record) == 128 && record[0] == 'T')
            ++tags;
        ::close(fd);
    }
    const double ms = msSince(start);
    if (tags != static_cast<long>(paths.size()))
        std::fprintf(stderr, "bench_files: floor loop found %ld tags of %zu\n", tags, paths.size());
    return ms;
}

double parse(const QString& playlist)
{
    const auto start = WallClock::now();
    const auto result = M3uReader::read(
        playlist, [](const QString&) { return true; }, [](const M3uProgress&) {});
    const double ms = msSince(start);
    if (result.entries != kFiles || !result.complete)
        std::fprintf(stderr, "bench_files: read %lld entries of %d\n", static_cast<long long>(result.entries), kFiles);
    return ms;
}

// "Calculate Total" once; false when the count is not the whole list.
double calculateTotal(frmPlayer& w)
{
    const auto start = WallClock::now();
    w.cmdCalculate->press();
    const double ms = msSince(start);
    if (w.lblCantDeTemas->text() != QString::number(w.lstClipList->count()))
        std::fprintf(stderr, "bench_files: the total counted %s rows of %d\n", qPrintable(w.lblCantDeTemas->text()),
                     w.lstClipList->count());
    return ms;
}

void windowFigures(const QString& playlist, double floorMs, const QString& openedDir)
{
    bench::BenchWindow bench;
    frmPlayer& w = bench.w;
    std::vector<double> loadMs;
    for (int run = 0; run < kRuns; ++run) {
        w.mnuClear_Click();
        const auto start = WallClock::now();
        w.OpenFile(playlist);
        loadMs.push_back(msSince(start));
        if (w.lstClipList->count() != kFiles || w.lstClipList->text(kFiles, ColArtist).isEmpty())
            std::fprintf(stderr, "bench_files: the window holds %d rows\n", w.lstClipList->count());
    }

    // A song in play in the middle, so each click also finds it again.
    w.ItemPlaying = kFiles / 2;
    std::vector<double> sortMs;
    for (int run = 0; run < kRuns; ++run) {
        const QString inPlay = w.lstClipList->text(w.ItemPlaying, ColLocation);
        const auto start = WallClock::now();
        w.lstClipList->onColumnClick(run % 2 == 0 ? 1 : 3);
        sortMs.push_back(msSince(start));
        if (w.lstClipList->text(w.ItemPlaying, ColLocation) != inPlay)
            std::fprintf(stderr, "bench_files: the sort lost the song in play\n");
    }
    w.ItemPlaying = 0;

    std::vector<QString> lengths;
    lengths.reserve(kFiles);
    for (int i = 0; i < kFiles; ++i)
        lengths.push_back(QString::number(120 + i % 300));
    w.lstClipList->setColumnTexts(ColTotLength, lengths);
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
    w.mnuClear_Click();
    for (const QString& name : mp3s)
        w.AddFileToList(openedDir + QLatin1Char('/') + name, 0, *w.lstClipList);
    std::vector<double> openedMs;
    int fewestOpened = kFiles;
    for (int run = 0; run < 3; ++run) {
        w.lstClipList->setColumnTexts(ColTotLength, std::vector<QString>(mp3s.size()));
        openedMs.push_back(calculateTotal(w));
        // A file the engine would not open counts 0 s: the figure is only
        // worth something when every file was really opened.
        int opened = 0;
        for (int n = 1; n <= w.lstClipList->count(); ++n)
            opened += w.lstClipList->text(n, ColTotLength).toInt() > 0 ? 1 : 0;
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
    const QStringList paths = ensureFiles(dir);
    std::vector<QByteArray> encoded;
    encoded.reserve(paths.size());
    for (const QString& p : paths)
        encoded.push_back(QFile::encodeName(p));
    const QString playlist = dir + QStringLiteral("/all.m3u");

    floorLoop(encoded);  // warms the caches
    M3uWriter writer;
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
