#pragma once

#include "app/Station.h"
#include "fakes/FakeLoudness.h"
#include "fakes/FakeMediaService.h"
#include "fakes/FakeServices.h"
#include "fakes/TestFolderReader.h"
#include "platform/AppServices.h"
#include "platform/MixerDevice.h"
#include "platform/TimerService.h"
#include "playlist/PlaylistModel.h"

#include <vector>

namespace tavlo::test {

// A list's texts in that column, top down.
inline QStringList columnOf(const PlaylistModel& list, int col)
{
    QStringList out;
    for (int n = 1; n <= list.count(); ++n)
        out << list.text(n, col);
    return out;
}

// The station on simulated time and fake media, wired and started as the
// program starts it (first-start settings, no command line) unless told not
// to. w, ins, tim and seek are its windows.
struct WindowRig {
    SimulatedTime time;
    FakeMediaService media{time};
    FakeRandom random;
    MemorySettingsStore settings;
    FakeDialogs dialogs;
    NullMixerDevice mixer;
    FakeUiEvents uiEvents;
    FixedScreen screen;  // 1024 x 768 pixels
    FakeShell shell;
    FakeLoudness loudness;
    FakeAutostart autostart;
    AppServices services{media, time, time, random, settings, dialogs, mixer, uiEvents, screen, shell, loudness,
                         noStreamer(), autostart};
    FakeHttpClient http;
    TestFolderReader reader;
    Station station;
    MusicWindow* const w = &station.music();
    InsertWindow* const ins = &station.insert();
    SchedulerWindow* const tim = &station.scheduler();
    SearchWindow* const seek = &station.search();
    LogFolderDialog& logFolderWindow = station.logFolder();
    AboutBox& about = station.about();

    static QDateTime defaultStart() { return QDateTime(QDate(2026, 1, 5), QTime(12, 0)); }
    explicit WindowRig(bool load = true) : WindowRig(defaultStart(), load) {}
    // Started at a time of day of the test's choosing (the log's dates).
    explicit WindowRig(const QDateTime& start, bool load = true, int searchCapacity = SearchWindow::kListCapacity)
        : time(start), station(services, http, reader, options(searchCapacity))
    {
        setUp(load);
    }
    // The windows on the test's own sound-card mixer.
    explicit WindowRig(MixerDevice& device)
        : time(defaultStart()),
          services{media, time, time, random, settings, dialogs, device, uiEvents, screen, shell, loudness, noStreamer(),
                   autostart},
          station(services, http, reader, options(SearchWindow::kListCapacity))
    {
        setUp(true);
    }
    // The playing-now report sent through `client` to `reportAddress`.
    WindowRig(HttpClient& client, const QUrl& reportAddress)
        : time(defaultStart()), station(services, client, reader, options(SearchWindow::kListCapacity, reportAddress))
    {
        setUp(true);
    }
    void setUp(bool load)
    {
        station.setProgramFolder(QStringLiteral("/opt/tavlo"));
        if (load)
            station.start();
    }
    // The C locale's designators, whatever the machine's language.
    static Station::Options options(int searchCapacity, const QUrl& reportAddress = NowPlayingReport::serviceAddress())
    {
        Station::Options o;
        o.locale = QLocale::c();
        o.searchCapacity = searchCapacity;
        o.reportAddress = reportAddress;
        return o;
    }
    // A playable file of that length, appended to the music list.
    QString add(const QString& name, double seconds)
    {
        const QString path = QStringLiteral("/music/") + name + QStringLiteral(".mp3");
        media.addFile(path, seconds);
        w->addFileToList(path, 0, *w->clipList);
        return path;
    }
    // The same for the insert list.
    QString addInsert(const QString& name, double seconds)
    {
        const QString path = QStringLiteral("/ads/") + name + QStringLiteral(".mp3");
        media.addFile(path, seconds);
        ins->addFileToList(path, 0, *ins->clipList);
        return path;
    }
    FakeStream* stream(const QString& path) const  // the newest on that path
    {
        FakeStream* found = nullptr;
        for (FakeStream* s : media.streams())
            found = s->path() == path ? s : found;
        return found;
    }
    // The song in play in that window, the music window unless told.
    QString pathInPlay(const PlayerWindow* pw = nullptr) const
    {
        pw = pw ? pw : w;
        Player* p = pw->playerIn(static_cast<size_t>(pw->channelInPlay()));
        return p ? p->fileName() : QString();
    }
    QStringList column(int col) const { return columnOf(*w->clipList, col); }
    int fader(int channel) const { return w->channelFaders[static_cast<size_t>(channel)]->value(); }
    int outgoing() const { return 1 - w->channelInPlay(); }

    template <typename Pred>
    bool runUntil(Pred done, std::int64_t limitMs = 600000)
    {
        const std::int64_t end = time.elapsedMs() + limitMs;
        while (!done())
            if (time.elapsedMs() >= end || !time.step(end - time.elapsedMs()))
                return false;
        return true;
    }

    // What `sample` makes of each ramp tick of `pw` (each change of its
    // DoingTransition from `last`), up to the end tick (0), within 60 s of `from`.
    template <typename Sample>
    auto recordTicks(const PlayerWindow& pw, int last, std::int64_t from, Sample sample)
    {
        std::vector<decltype(sample(0))> ticks;
        while (time.elapsedMs() - from < 60000 && time.step(1000)) {
            if (pw.rampStep() == last)
                continue;
            last = pw.rampStep();
            ticks.push_back(sample(last));
            if (last == 0)
                break;
        }
        return ticks;
    }
    // The music window's change: S, the incoming and outgoing faders, ms after `from`.
    struct RampTick {
        int S, in, out;
        std::int64_t ms;
    };
    std::vector<RampTick> recordRamp(std::int64_t from)
    {
        return recordTicks(*w, 0, from, [&](int S) {
            return RampTick{S, fader(w->channelInPlay()), fader(outgoing()), time.elapsedMs() - from};
        });
    }
};

}  // namespace tavlo::test
