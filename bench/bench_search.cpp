// Search-window figures, printed as `key: value` lines:
//   bench_search [MEDIA_DIR]   (the files are made once and kept there)
// - search_100k_ms, find_100k_ms, search_100k_vs_find: "*.mp3" searched from
//   the top of 100,000 small MP3s in 1,000 folders three levels deep,
//   against `find TOP -iname '*.mp3'` on the same tree in the same run;
// - search_tags_100k_ms, search_tags_floor_100k_ms, search_tags_100k_vs_floor:
//   the same search with "Read MP3 Tags", against a plain loop that opens
//   each found file and reads its last 128 bytes;
// - search_type_100k_ms: one find-as-you-type keystroke over the 100,000
//   tagged rows that matches none of them (every row and column compared);
// - search_100k_mb: growth of the peak resident size during the tagged search;
// - search_gap_max_ms: the longest the interface waited for its turn during
//   those searches; search_flat_gap_max_ms the same in one folder of 100,000
//   files (search_flat_100k_ms its search).
// Medians of 5 runs, warm caches, searches and find interleaved.
#include "BenchMedia.h"
#include "BenchMemory.h"
#include "BenchWindow.h"
#include "playlist/PlaylistModel.h"
#include "search/DirentFolderReader.h"
#include "search/SearchWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace tavlo;

namespace {

using namespace tavlo::bench;
constexpr int kFiles = 100000;
constexpr int kRuns = 5;

void writeOrDie(const QString& path, const std::vector<char>& bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        std::fprintf(stderr, "bench_search: cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    ::close(fd);
}

// 10 x 10 x 10 folders of 100 tagged files each, and one flat folder of
// 100,000 empty ones; made once.
void ensureTrees(const QString& media, const QString& tree, const QString& flat)
{
    const QString done = media + QStringLiteral("/complete-v2-%1").arg(kFiles);
    if (QFile::exists(done))
        return;
    std::fprintf(stderr, "making %d tagged files in %s and %d empty ones in %s\n", kFiles, qPrintable(tree), kFiles,
                 qPrintable(flat));
    QDir(tree).removeRecursively();
    QDir(flat).removeRecursively();
    QDir().mkpath(flat);
    for (int i = 0; i < kFiles; ++i) {
        const int folder = i / 100;
        const QString dir = QStringLiteral("%1/Genre %2/Artist %3/Album %4")
                                .arg(tree)
                                .arg(folder / 100)
                                .arg(folder / 10 % 10)
                                .arg(folder % 10);
        if (i % 100 == 0)
            QDir().mkpath(dir);
        writeOrDie(QStringLiteral("%1/Track %2 - Song %3.mp3").arg(dir).arg(i % 100 + 1).arg(i), taggedFileBytes(i));
        writeOrDie(QStringLiteral("%1/song %2.mp3").arg(flat).arg(i), {});
    }
    QFile marker(done);
    if (!marker.open(QIODevice::WriteOnly))
        std::exit(1);
}

double runFind(const QString& top)
{
    const QByteArray dir = QFile::encodeName(top);
    char find[] = "find", iname[] = "-iname", pattern[] = "*.mp3";
    char* argv[] = {find, const_cast<char*>(dir.constData()), iname, pattern, nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = WallClock::now();
    pid_t pid = 0;
    int status = 0;
    if (posix_spawnp(&pid, "find", &actions, nullptr, argv, environ) != 0 || ::waitpid(pid, &status, 0) != pid
        || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "bench_search: find failed\n");
    const double ms = msSince(start);
    posix_spawn_file_actions_destroy(&actions);
    return ms;
}

// The interface's turns during a search: the longest wait between two.
class GapMeter : public UiEvents {
public:
    void processPending() override
    {
        if (m_since.isValid())
            longestMs = std::max(longestMs, m_since.nsecsElapsed() / 1e6);
        m_since.start();
    }
    void restart()
    {
        m_since.invalidate();
        longestMs = 0;
    }
    double longestMs = 0;

private:
    QElapsedTimer m_since;
};

struct SearchBench {
    GapMeter gaps;
    BenchWindow bench{gaps};
    SearchWindow& seek = bench.station.search();

    SearchBench() { seek.link().showAt(0, 0); }

    // One search from `top`; its time. The results stay until back().
    double search(const QString& top, bool tags, int expect)
    {
        seek.readTagsCheck->setValue(tags ? 1 : 0);
        seek.folderList->setPath(top);
        gaps.restart();
        const auto start = WallClock::now();
        seek.searchButton->press();
        const double ms = msSince(start);
        const int found = tags ? seek.foundRows->count() : seek.foundFiles->listCount();
        if (found != expect || (tags && seek.foundRows->text(found, ColArtist).isEmpty()))
            std::fprintf(stderr, "bench_search: found %d of %d\n", found, expect);
        return ms;
    }
    void back() { seek.searchButton->press(); }
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString media = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                   : QCoreApplication::applicationDirPath() + QStringLiteral("/bench-media/search");
    const QString tree = QDir(media).absoluteFilePath(QStringLiteral("tree"));
    const QString flat = QDir(media).absoluteFilePath(QStringLiteral("flat"));
    ensureTrees(media, tree, flat);

    SearchBench s;
    // Warms the file system caches for everyone.
    runFind(tree);
    s.search(tree, false, kFiles);
    std::vector<QByteArray> found;
    found.reserve(kFiles);
    for (const QString& p : s.seek.foundFiles->items())
        found.push_back(QFile::encodeName(p));
    s.back();
    floorLoop(found);

    std::vector<double> findMs, searchMs, tagsMs, floorMs, flatMs;
    double gapMax = 0, flatGapMax = 0, searchMb = 0;
    for (int run = 0; run < kRuns; ++run) {
        findMs.push_back(runFind(tree));
        searchMs.push_back(s.search(tree, false, kFiles));
        gapMax = std::max(gapMax, s.gaps.longestMs);
        s.back();
        floorMs.push_back(floorLoop(found));
        const bool peakReset = run == 0 && resetPeakRss();
        const long before = statusKb("VmRSS");
        tagsMs.push_back(s.search(tree, true, kFiles));
        if (run == 0)
            searchMb = (statusKb(peakReset ? "VmHWM" : "VmRSS") - before) / 1024.0;
        gapMax = std::max(gapMax, s.gaps.longestMs);
        s.back();
        flatMs.push_back(s.search(flat, false, kFiles));
        flatGapMax = std::max(flatGapMax, s.gaps.longestMs);
        s.back();
    }

    // Keystrokes over the tagged rows that match nothing: every row, every column.
    s.search(tree, true, kFiles);
    s.seek.titlesOnlyCheck->setValue(0);
    std::vector<double> typeMs;
    for (const char* typed : {"q", "qz", "x", "xy", "zq", "zz", "~", "~a", "@"}) {
        const auto start = WallClock::now();
        s.seek.findBox->setText(QString::fromLatin1(typed));
        typeMs.push_back(msSince(start));
    }
    if (s.seek.foundRows->firstSelected() != 0)
        std::fprintf(stderr, "bench_search: a keystroke found a row it should not\n");

    const double search = median(searchMs), find = median(findMs), tags = median(tagsMs), floor = median(floorMs);
    std::printf("search_100k_ms: %.1f\n", search);
    std::printf("find_100k_ms: %.1f\n", find);
    std::printf("search_100k_vs_find: %.2f\n", find > 0 ? search / find : 0.0);
    std::printf("search_tags_100k_ms: %.1f\n", tags);
    std::printf("search_tags_floor_100k_ms: %.1f\n", floor);
    std::printf("search_tags_100k_vs_floor: %.2f\n", floor > 0 ? tags / floor : 0.0);
    std::printf("search_type_100k_ms: %.2f\n", median(typeMs));
    std::printf("search_100k_mb: %.1f\n", searchMb);
    std::printf("search_gap_max_ms: %.1f\n", gapMax);
    std::printf("search_flat_100k_ms: %.1f\n", median(flatMs));
    std::printf("search_flat_gap_max_ms: %.1f\n", flatGapMax);
    return 0;
}
