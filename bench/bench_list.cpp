// Figures for long lists: adding 100,000 tagged files the way a window does
// (one AddFileToList per file, appended), against a plain loop that only opens
// each file and reads its last 128 bytes; then the two re-orderings and the
// memory the list takes; last, the music window's 100 ms position tick while
// the middle row of such a list plays (position_tick_ms).
//   bench_list [MEDIA_DIR [SONG.mp3]]   (the files are made once and kept there)
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

constexpr int kFiles = 100000;
constexpr int kPerFolder = 1000;
constexpr int kRuns = 3;

using WallClock = std::chrono::steady_clock;

double msSince(WallClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(WallClock::now() - start).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

class BenchRandom : public Random {
public:
    void reseed() override { m_engine.seed(std::random_device{}()); }
    double next() override { return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine); }

private:
    std::mt19937_64 m_engine{42};
};

// kB from a line of /proc/self/status.
long statusKb(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const size_t len = std::strlen(field);
    while (std::getline(in, line)) {
        if (line.compare(0, len, field) == 0 && line.size() > len && line[len] == ':')
            return std::stol(line.substr(len + 1));
    }
    return -1;
}

// Lets VmHWM start again from the current size (Linux 4.0 and later).
bool resetPeakRss()
{
    std::ofstream out("/proc/self/clear_refs");
    out << "5";
    out.flush();
    return static_cast<bool>(out);
}

QString filePath(const QString& dir, int i)
{
    return QStringLiteral("%1/%2/song-%3.mp3")
        .arg(dir)
        .arg(i / kPerFolder, 3, 10, QLatin1Char('0'))
        .arg(i, 6, 10, QLatin1Char('0'));
}

void putText(char* at, int size, const std::string& text)
{
    std::memcpy(at, text.data(), std::min<size_t>(static_cast<size_t>(size), text.size()));
}

// A few hundred bytes of frame-like filler and an ID3v1 record.
std::vector<char> fileBytes(int i)
{
    std::vector<char> bytes(200 + (i % 7) * 40, '\0');
    for (size_t b = 0; b < bytes.size(); b += 4) {
        bytes[b] = '\xff';
        bytes[b + 1] = '\xfb';
    }
    std::array<char, 128> tag{};
    std::memcpy(tag.data(), "TAG", 3);
    putText(tag.data() + 3, 30, "Song " + std::to_string(i) + " of the night");
    putText(tag.data() + 33, 30, "Artist " + std::to_string(i % 997));
    putText(tag.data() + 63, 30, "Album " + std::to_string(i % 4001));
    putText(tag.data() + 93, 4, std::to_string(1960 + i % 60));
    putText(tag.data() + 97, 30, "bench");
    tag[127] = static_cast<char>(i % 150);
    bytes.insert(bytes.end(), tag.begin(), tag.end());
    return bytes;
}

// Makes the files unless a finished earlier run left them.
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
            std::fprintf(stderr, "cannot write %s\n", qPrintable(paths[i]));
            std::exit(1);
        }
        ::close(fd);
    }
    QFile marker(done);
    if (!marker.open(QIODevice::WriteOnly))
        std::exit(1);
    return paths;
}

// The least any list loader must do: open each file, read its last 128 bytes.
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
        std::fprintf(stderr, "floor loop found %ld tags of %zu\n", tags, paths.size());
    return ms;
}

double addAll(const QStringList& paths, PlaylistModel& list)
{
    const auto start = WallClock::now();
    for (const QString& p : paths)
        AddFileToList(p, 0, list);
    return msSince(start);
}

// The mean cost of one position tick of the music window with 100,000 rows
// added through it, put in random order, row 50,000 playing `song`.
double positionTick(const QStringList& paths, const QString& song)
{
    bench::BenchWindow bench;
    frmPlayer& w = bench.w;
    for (const QString& p : paths)
        w.AddFileToList(p, 0, *w.lstClipList);
    w.mnuRandomOrder_Click();
    const int row = kFiles / 2;
    w.lstClipList->setText(row, ColLocation, song);
    w.lstClipList->setSelected(row, true);
    w.mnuPlaySelectedItem_Click();
    Player* player = w.Players[static_cast<size_t>(w.ChannelPlaying)].get();
    if (w.CurrentStatus != 1 || !player || !player->isOpen()) {
        std::fprintf(stderr, "bench_list: %s does not play\n", qPrintable(song));
        return -1;
    }
    constexpr int kWarmUp = 200;
    constexpr int kTicks = 20000;
    for (int i = 0; i < kWarmUp; ++i)
        w.tmrPosition_Timer();
    const auto start = WallClock::now();
    for (int i = 0; i < kTicks; ++i)
        w.tmrPosition_Timer();
    const double ms = msSince(start) / kTicks;
    if (w.ItemPlaying != row)
        std::fprintf(stderr, "bench_list: the song changed during the ticks\n");
    return ms;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                 : QCoreApplication::applicationDirPath() + QStringLiteral("/bench-media/list");
    const QStringList paths = ensureFiles(QDir(dir).absolutePath());
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
    std::printf("sort_100k_ms: %.1f\n", median(sortMs));
    std::fflush(stdout);

    if (argc > 2)
        std::printf("position_tick_ms: %.4f\n", positionTick(paths, QDir(QString::fromLocal8Bit(argv[2])).absolutePath()));
    else
        std::fprintf(stderr, "bench_list: no song given; position_tick_ms skipped\n");
    return 0;
}
