// The web remote under a website's polling: another process asks
// GET /api/now-playing 1,000 times a second for 10 s while the station plays
// on the null output, at a sound card's pace, on the wall clock.
//   bench_web SONG           the station; starts the load itself
//   bench_web --load PORT    the load (the process the station starts)
// Prints web_p50_ms, web_p99_ms (goal <= 10), web_errors (0) and
// web_late_blocks (blocks mixed late meanwhile, 0).
#include "BenchWindow.h"
#include "platform/SystemTime.h"
#include "web/WebLoad.h"
#include "web/net/WebRemote.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>

#include <cstdio>

using namespace tavlo;

namespace {

constexpr int kRate = 1000;
constexpr double kSeconds = 10;

int runLoad(int port)
{
    const test::WebLoadResult r = test::runWebLoad(port, kRate, kSeconds);
    std::printf("%zu %d %.3f %.3f\n", r.latenciesMs.size(), r.errors, r.percentileMs(50), r.percentileMs(99));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--load")
        return runLoad(QByteArray(argv[2]).toInt());
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_web SONG\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    AudioEngine engine(bench::nullOutput());
    SystemTime time;
    ClockSeededRandom random{time};
    bench::MemorySettings settings;
    bench::SilentDialogs dialogs;
    NullMixerDevice mixer;
    QtUiEvents events;
    AppServices services{engine, time, time, random, settings, dialogs, mixer, events};
    bench::NoHttpClient http;
    DirentFolderReader folders;
    Station station(services, http, folders);
    station.setProgramFolder(QStringLiteral("/tmp"));
    station.start();
    for (int i = 0; i < 4; ++i)
        station.music().addFileToList(QString::fromLocal8Bit(argv[1]), 0, *station.music().clipList);
    station.music().play();

    WebRemote remote(station.music(), station.insert(), station.scheduler(), time, time);
    QString why;
    if (!remote.start(WebAddress{QStringLiteral("127.0.0.1"), 0}, QStringLiteral("bench"), QString(), &why)) {
        std::fprintf(stderr, "bench_web: %s\n", qPrintable(why));
        return 1;
    }
    QProcess load;
    QEventLoop loop;
    QObject::connect(&load, &QProcess::finished, &loop, &QEventLoop::quit);
    const std::int64_t lateBefore = engine.outputCounts().late;
    load.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--load"), QString::number(remote.address().port)});
    loop.exec();
    const std::int64_t late = engine.outputCounts().late - lateBefore;

    const QList<QByteArray> f = load.readAllStandardOutput().trimmed().split(' ');
    if (f.size() != 4) {
        std::fprintf(stderr, "bench_web: the load process said nothing usable\n");
        return 1;
    }
    std::printf("web_requests: %s (%d/s for %.0f s)\n", f[0].constData(), kRate, kSeconds);
    std::printf("web_p50_ms: %s\n", f[2].constData());
    std::printf("web_p99_ms: %s\n", f[3].constData());
    std::printf("web_errors: %s\n", f[1].constData());
    std::printf("web_late_blocks: %lld\n", static_cast<long long>(late));
    return 0;
}
