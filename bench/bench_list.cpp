// Figures for long lists: adding 100,000 tagged files the way a window does
// (one addFileRow per file, appended), against a plain loop that only opens
// each file and reads its last 128 bytes; then the two re-orderings and the
// memory the list takes; last, the music window's 100 ms position tick while
// the middle row of such a list plays (position_tick_ms).
//   bench_list [MEDIA_DIR [SONG.mp3]]   (the files are made once and kept there)
#include "BenchMedia.h"
#include "BenchMemory.h"
#include "BenchWindow.h"
#include "platform/Random.h"
#include "playlist/PlaylistEdits.h"
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
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

using namespace tavlo;

namespace {

using namespace tavlo::bench;
constexpr int kFiles = kTaggedFiles;
constexpr int kRuns = 3;

class BenchRandom : public Random {
public:
    void reseed() override { m_engine.seed(std::random_device{}()); }
    double next() override { return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine); }

private:
    std::mt19937_64 m_engine{42};
};

double addAll(const QStringList& paths, PlaylistModel& list)
{
    const auto start = WallClock::now();
    for (const QString& p : paths)
        addFileRow(p, 0, list);
    return msSince(start);
}

// The mean cost of one position tick of the music window with 100,000 rows
// added through it, put in random order, row 50,000 playing `song`.
double positionTick(const QStringList& paths, const QString& song)
{
    bench::BenchWindow bench;
    MusicWindow& w = bench.w;
    for (const QString& p : paths)
        w.addFileToList(p, 0, *w.clipList);
    w.shuffleList();
    const int row = kFiles / 2;
    w.clipList->setText(row, ColLocation, song);
    w.clipList->setSelected(row, true);
    w.playSelected();
    Player* player = w.playerIn(static_cast<size_t>(w.channelInPlay()));
    if (w.status() != DeckStatus::Playing || !player || !player->isOpen()) {
        std::fprintf(stderr, "bench_list: %s does not play\n", qPrintable(song));
        return -1;
    }
    constexpr int kWarmUp = 200;
    constexpr int kTicks = 20000;
    for (int i = 0; i < kWarmUp; ++i)
        w.onPositionTick();
    const auto start = WallClock::now();
    for (int i = 0; i < kTicks; ++i)
        w.onPositionTick();
    const double ms = msSince(start) / kTicks;
    if (w.rowInPlay() != row)
        std::fprintf(stderr, "bench_list: the song changed during the ticks\n");
    return ms;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                 : QCoreApplication::applicationDirPath() + QStringLiteral("/bench-media/list");
    const QStringList paths = ensureTaggedFiles(QDir(dir).absolutePath());
    std::vector<QByteArray> encoded;
    encoded.reserve(paths.size());
    for (const QString& p : paths)
        encoded.push_back(QFile::encodeName(p));

    floorLoop(encoded);  // warms the file system caches for both loops

    std::vector<double> floorMs, addMs;
    double listMb = 0;
    for (int run = 0; run < kRuns; ++run) {
        floorMs.push_back(floorLoop(encoded));
        const bool peakReset = run == 0 && resetPeakRss();
        const long rssBefore = statusKb("VmRSS");
        {
            PlaylistModel list;
            addMs.push_back(addAll(paths, list));
            if (list.count() != kFiles || list.text(kFiles, ColArtist).isEmpty())
                std::fprintf(stderr, "list holds %d rows\n", list.count());
            if (run == 0)
                listMb = (statusKb(peakReset ? "VmHWM" : "VmRSS") - rssBefore) / 1024.0;
        }
    }

    PlaylistModel list;
    addAll(paths, list);
    BenchRandom random;
    std::vector<double> randomMs, sortMs;
    int playing = kFiles / 2;
    for (int run = 0; run < kRuns; ++run) {
        const QString inPlay = list.text(playing, ColLocation);
        auto start = WallClock::now();
        playing = randomOrder(list, playing, random);
        randomMs.push_back(msSince(start));
        start = WallClock::now();
        playing = sortTrackingInPlay(list, playing, ColTitle + 1, run % 2 == 1);
        sortMs.push_back(msSince(start));
        if (list.text(playing, ColLocation) != inPlay)
            std::fprintf(stderr, "the song in play was lost\n");
    }

    const double add = median(addMs), floor = median(floorMs);
    std::printf("list_add_100k_ms: %.1f\n", add);
    std::printf("list_floor_100k_ms: %.1f\n", floor);
    std::printf("list_add_100k_vs_floor: %.2f\n", floor > 0 ? add / floor : 0.0);
    std::printf("random_order_100k_ms: %.1f\n", median(randomMs));
    std::printf("list_100k_mb: %.1f\n", listMb);
    std::printf("list_model_sort_100k_ms: %.1f\n", median(sortMs));
    std::fflush(stdout);

    if (argc > 2)
        std::printf("position_tick_ms: %.4f\n", positionTick(paths, QDir(QString::fromLocal8Bit(argv[2])).absolutePath()));
    else
        std::fprintf(stderr, "bench_list: no song given; position_tick_ms skipped\n");
    return 0;
}
