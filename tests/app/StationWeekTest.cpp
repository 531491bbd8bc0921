// A week of a station run by its scheduler, both player windows on fake media:
// a break every hour in each of its three shapes, every ramp type in both
// windows, the music list changed morning and evening, the event list swapped
// at midnight, lists with rows that cannot be played, and both as-run logs on.
#include "scheduler/SchedulerRig.h"
#include "fakes/TestText.h"

#include "fakes/StartWatcher.h"

#include <QDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <unistd.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {


// The longest time a condition held; a stretch with an excuse in it does not count.
struct Longest {
    std::int64_t since = -1, most = 0;
    bool excused = false;
    void see(bool on, std::int64_t now, bool excuse = false)
    {
        if (on && since < 0)
            std::tie(since, excused) = std::pair(now, false);
        excused = excused || (on && excuse);
        most = since >= 0 && !excused ? std::max(most, now - since) : most;
        since = on ? since : -1;
    }
};

}  // namespace

TEST(StationWeek, SevenDaysOnAirLeaveNothingStuckSilentOrGrowing)
{
    // With TZ unset glibc stats /etc/localtime on every local-time conversion,
    // which made a simulated week take minutes; naming the file keeps the zone.
    if (!std::getenv("TZ") && setenv("TZ", ":/etc/localtime", 1) == 0)
        tzset();
    const QTime start(23, 59);  // on Sunday: the first event is Monday's midnight swap
    SchedulerRig g(QDateTime(QDate(2026, 1, 4), start));
    g.use24hs();
    const auto residentKb = [] { return readFile(s("/proc/self/statm")).split(' ').value(1).toLong() * sysconf(_SC_PAGESIZE) / 1024; };

    // Lists with rows no fake stream opens: missing files and folders ("ads" in
    // a name sends its entries to the insert window's log).
    const auto list = [&](const char* name, int count, double seconds, QList<std::pair<int, const char*>> bad) {
        const QString m3u = g.playlist(s(name), count, seconds);
        QByteArrayList rows = readFile(m3u).split('\n');
        for (const auto& [row, file] : bad) {
            if (QByteArray(file).contains("folder"))
                QDir().mkpath(g.dir.filePath(s(file)));
            rows.insert(row, g.dir.filePath(s(file)).toLatin1() + '\r');
        }
        return writeFile(m3u, rows.join('\n'));
    };
    const QString morning = list("morning", 20, 240, {{0, "folder.mp3"}});
    const QString evening = list("evening", 20, 180, {{9, "gone.mp3"}});
    const QString day1 = g.dir.filePath(s("day1.tmg")), day2 = g.dir.filePath(s("day2.tmg"));
    // The "MO-" list plays over the music, so the two days alternate.
    writeFile(day1, SchedulerRig::stationDay(day2, morning, evening, list("ads", 3, 30, {{1, "ads-gone.mp3"}})));
    writeFile(day2, SchedulerRig::stationDay(day1, morning, evening, list("MO-ads", 3, 30, {{0, "ads-folder.mp3"}})));
    const QString logs[2] = {g.dir.filePath(s("music/")), g.dir.filePath(s("insert/"))};
    PlayerWindow* windows[2] = {&g.music(), &g.insert()};
    for (int i = 0; i < 2; ++i) {
        windows[i]->setLogFolder(logs[i]);
        QDir().mkpath(logs[i]);
        windows[i]->setLogSwitch(true);
        windows[i]->transitionTimeSpinner->setValue(3 - i);
    }
    g.music().openFile(list("night", 20, 200, {{4, "gone.mp3"}, {12, "folder.mp3"}}));
    g.music().play();
    ASSERT_TRUE(g.t().openEventList(day1));

    // What each log must say: the songs heard starting, the rows that failed
    // to open, and after a break over the music the song in play named again.
    StartWatcher watcher(g.r->media);
    QStringList expected[2];
    int started = 0, errors = 0, fired = 0, hour = 0, going = 0;
    const auto expect = [&](const QString& entry, int& count) {
        expected[entry.section(QLatin1Char('/'), -1).contains(s("ads"))] << entry;
        ++count;
    };
    // The hour's break, counted down, after the song, at once: {preload, wait for song}.
    const std::pair<const char*, int> shapes[3] = {{"5", 0}, {"5", 1}, {"0", 0}};
    const Timer* ramps[4] = {&g.music().rampTimer(), &g.insert().rampTimer(), &g.insert().insertInRampTimer(),
                             &g.insert().backToMusicRampTimer()};
    Longest silence, waiting, countDown, ramp[4];
    // What could grow: streams, list rows, events, log files beyond one a day per window, objects.
    const auto sizes = [&](int day) {
        const auto files = [](const QString& f) { return QDir(f).entryList(QDir::Files).size(); };
        const auto objects = [](const QObject& o) { return o.findChildren<QObject*>().size(); };
        return std::vector<qsizetype>{qsizetype(g.r->media.streams().size()), g.music().clipList->count(),
                                      g.insert().clipList->count(), g.t().eventList->count(),
                                      files(logs[0]) + files(logs[1]) - 2 * day,
                                      objects(g.music()) + objects(g.insert()) + objects(g.t())};
    };
    std::vector<qsizetype> grown[2];  // on days 1 and 7
    long resident[2] = {};
    constexpr std::int64_t kHour = 3600000;
    for (int day = 1; day <= 7; ++day) {
        SCOPED_TRACE(day);
        while (g.r->time.elapsedMs() < day * 24 * kHour - 60000) {  // to 23:58, the last break long over
            g.r->time.advance(100);
            const std::int64_t now = g.r->time.elapsedMs();
            if ((start.msecsSinceStartOfDay() + now) % kHour == 10 * 60000) {
                g.t().optionsDialog->preloadBox->setText(s(shapes[hour % 3].first));
                g.insert().waitForSongCheck->setValue(shapes[hour % 3].second);
                g.music().transitionButtons[static_cast<size_t>(hour % 5)]->setValue(1);
                g.insert().transitionButtons[static_cast<size_t>(hour / 3 % 5)]->setValue(1);
                ++hour;
            }
            const bool badFile = !g.r->media.failedOpens.isEmpty();
            for (const QString& path : std::exchange(g.r->media.failedOpens, {}))
                expect(s("**ERROR** ") + path, errors);
            for (const QString& path : watcher.look())
                expect(path, started);
            // The fake counts a fader at the bottom (-72 dB) as audible; a listener would not.
            const auto& st = g.r->media.streams();
            const bool heard = std::any_of(st.begin(), st.end(), [](FakeStream* f) { return f->audible() && f->volume() > -85 * 85; });
            silence.see(!heard, now, badFile);
            waiting.see(g.insert().insertState() == InsertState::WaitingForSong, now);
            countDown.see(g.insert().countDownTimer().isEnabled(), now);
            for (int i = 0; i < 4; ++i)
                ramp[i].see(ramps[i]->isEnabled(), now);
            if (going == 1 && g.insert().goingBackToMusic() == false && g.insert().playsOverMusic() == true)
                expected[0] << g.r->pathInPlay();
            going = g.insert().goingBackToMusic();
        }
        // Nothing stuck: the break is over and the music plays.
        EXPECT_EQ(std::tuple(g.insert().insertState(), g.insert().goingBackToMusic(), g.insert().status(),
                             g.music().status(), g.insert().countDownTimer().isEnabled(), ramps[1]->isEnabled(),
                             ramps[2]->isEnabled(), ramps[3]->isEnabled()),
                  std::tuple(InsertState::Idle, false, DeckStatus::Stopped, DeckStatus::Playing, false, false, false, false));
        // Every event once: midnight's swap, the two music changes, 24 breaks.
        QStringList seen, events{s("00:00:00 Timing"), s("06:00:00 Music"), s("18:00:00 Music")};
        for (int h = 0; h < 24; ++h)
            events << QStringLiteral("%1:20:00 Ads").arg(h, 2, 10, QLatin1Char('0'));
        for (const SchedulerRig::Fired& f : std::exchange(g.fired, {}))
            seen << f.time + QLatin1Char(' ') + f.window;
        seen.sort();
        events.sort();
        EXPECT_EQ(seen, events);
        fired += static_cast<int>(seen.size());
        // The rig's records and the loudness requests are the test's own, emptied daily.
        for (QStringList* l : {&g.musicLog, &g.insertLog, &g.musicStarts, &g.insertStarts})
            l->clear();
        g.r->loudness.requests.clear();
        if (day == 1 || day == 7)
            std::tie(grown[day == 7], resident[day == 7]) = std::pair(sizes(day), residentKb());
    }
    // Every timed state ended within its time (a ramp of 3 s and a second), and both waiting shapes happened.
    for (const Longest& l : {silence, ramp[0], ramp[1], ramp[2], ramp[3]})
        EXPECT_LE(l.most, 4000);
    EXPECT_TRUE(0 < countDown.most && countDown.most <= 6000) << countDown.most;
    EXPECT_TRUE(0 < waiting.most && waiting.most <= 240000) << waiting.most;  // the longest song

    // The logs say exactly what was heard, to the last line.
    g.r->time.advance(1000);
    for (const QString& path : watcher.look())
        expect(path, started);
    for (int i = 0; i < 2; ++i) {
        QStringList entries;
        for (const QString& name : QDir(logs[i]).entryList({s("*.log")}, QDir::Files, QDir::Name))
            entries << logPaths(logs[i] + name);
        EXPECT_EQ(entries, expected[i]);
    }
    // Memory flat: the same sizes on the last day as on the first, and resident memory within 4 MB.
    EXPECT_EQ(grown[1], grown[0]);
#if !defined(__SANITIZE_ADDRESS__)
    // Under AddressSanitizer freed memory waits in quarantine; LeakSanitizer checks leaks there.
    EXPECT_LT(resident[1] - resident[0], 4096);
#endif
    std::printf("[week] events fired %d, songs started %d, errors %d, log lines %lld, resident memory day 1 %ld kB, day 7 %ld kB\n",
                fired, started, errors, static_cast<long long>(expected[0].size() + expected[1].size()), resident[0],
                resident[1]);
}
