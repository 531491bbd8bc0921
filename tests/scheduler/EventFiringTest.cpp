// The scheduler's firing against the clock: on the second less the preload,
// one event a second, what each kind of event does to the player windows,
// and a clock that ticks late, goes back or leaps forward.
#include "scheduler/SchedulerRig.h"
#include "fakes/TestText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

using namespace tavlo;
using namespace tavlo::test;

namespace {

QDateTime at(int h, int m, int s, QDate day = QDate(2026, 1, 5)) { return QDateTime(day, QTime(h, m, s)); }

}  // namespace

TEST(EventFiring, AdsFireThePreloadAheadSoTheInsertStartsOnTheEventsSecond)
{
    for (const int preload : {0, 5}) {
        SchedulerRig g(at(11, 59, 40));
        g.use24hs();
        g.t().optionsDialog->preloadBox->setText(QString::number(preload));
        g.music().openFile(g.playlist(s("m"), 3, 300));
        g.music().play();
        g.add(s("12:00:00"), g.playlist(s("ad"), 1, 30), s("Ads"));

        g.runTo(QTime(12, 0, 0));
        // Fired the preload ahead; the break starts on the event's second, whatever the preload.
        EXPECT_EQ(g.firedAt(), QStringList{(preload ? s("11:59:55") : s("12:00:00")) + s(" 12:00:00 Ads")});
        EXPECT_EQ(std::pair(g.insertStarts.size(), g.insert().status()), std::pair(qsizetype(1), DeckStatus::Playing)) << preload;
    }

    // Across midnight: 00:00:03 with a preload of 10 fires at 23:59:53 the day before.
    SchedulerRig g(at(23, 59, 30));
    g.t().optionsDialog->preloadBox->setText(s("10"));
    g.add(s("12:00:03 AM"), g.playlist(s("ad"), 1, 30), s("Ads"));
    g.runTo(QTime(0, 0, 10));
    EXPECT_EQ(g.firedAt(), QStringList{s("23:59:53 12:00:03 AM Ads")});
}

TEST(EventFiring, OneEventASecondAndAnOpenedListWaitsForTheNextSecond)
{
    SchedulerRig g(at(11, 59, 50));
    g.use24hs();
    const QString next = g.eventFile(s("next.tmg"), "12:00:00;/x/same-second.m3u;Music\r\n"
                                                    "12:00:01;/x/one-later.m3u;Elsewhere\r\n");
    g.add(s("12:00:00"), next, s("Timing"));
    g.add(s("12:00:00"), s("/x/second-row.m3u"), s("Music"));
    g.runTo(QTime(12, 0, 10));

    // Of two rows at one time the first fires; the list it opens is looked
    // at from the next second on.
    EXPECT_EQ(g.firedAt(), (QStringList{s("12:00:00 12:00:00 Timing"), s("12:00:01 12:00:01 Elsewhere")}));
    EXPECT_EQ(std::pair(g.t().eventList->count(), g.music().clipList->count()), std::pair(2, 0));

    // A window name in another case is selected and does nothing.
    SchedulerRig h(at(11, 59, 50));
    h.add(s("12:00:05 PM"), s("/x/hand-edited.m3u"), s("ads"));
    h.runTo(QTime(12, 0, 10));
    ASSERT_EQ(h.fired.size(), 1u);
    EXPECT_EQ(std::tuple(h.t().eventList->firstSelected(), h.insert().clipList->count(), h.insert().insertState()),
              std::tuple(1, 0, InsertState::Idle));
}

TEST(EventFiring, MusicReplacesTheListAfterTheSongInPlay)
{
    SchedulerRig g(at(11, 59, 0));
    const QString day = g.playlist(s("day"), 3, 120);
    const QString evening = g.playlist(s("evening"), 3, 120);
    g.music().openFile(day);
    g.music().play();
    g.add(s("12:00:00 PM"), evening, s("Music"));
    g.runTo(QTime(12, 0, 30));
    // The song in play goes on; the new list follows it from its first row.
    EXPECT_EQ(g.music().clipList->text(1, ColLocation), g.dir.filePath(s("evening1.mp3")));
    EXPECT_EQ(g.musicStarts, QStringList{g.dir.filePath(s("day1.mp3"))});
    g.runTo(QTime(12, 1, 30));
    EXPECT_EQ(g.musicStarts.last(), g.dir.filePath(s("evening1.mp3")));
}

TEST(EventFiring, LateTicksStillFireEverySkippedSecondOnce)
{
    for (const int lateMs : {1500, 40000}) {
        SchedulerRig g(at(11, 59, 58));
        g.use24hs();
        QStringList due;
        for (int sec = 0; sec <= 42; sec += 3) {
            const QString time = QTime(12, 0, sec).toString(s("HH:mm:ss"));
            g.add(time, s("/x/none.m3u"), s("Nowhere"));
            due << time;
        }
        g.runTo(QTime(11, 59, 59));
        g.r->time.advance(500);
        g.r->time.stall(lateMs);  // the UI thread busy: no tick in these seconds
        g.runTo(QTime(12, 0, 45));
        QStringList firedTimes;
        for (const auto& f : g.fired)
            firedTimes << f.time;
        EXPECT_EQ(firedTimes, due) << lateMs;
    }
}

TEST(EventFiring, AClockSetBackFiresNothingTwiceAndALeapLogsWhatItSkipped)
{
    SchedulerRig g(at(11, 59, 0));
    g.use24hs();
    g.add(s("12:00:05"), s("/x/a.m3u"), s("Nowhere"));
    g.add(s("12:30:00"), s("/x/b.m3u"), s("Nowhere"));
    g.runTo(QTime(12, 0, 30));
    ASSERT_EQ(g.fired.size(), 1u);
    g.r->time.jumpClock(-3600 * 1000);
    g.r->time.advance(3600 * 1000);  // back at 12:00:30, past 12:00:05 a second time
    EXPECT_EQ(g.fired.size(), 1u);
    g.runTo(QTime(12, 30, 1));
    EXPECT_EQ(g.fired.size(), 2u);

    // Forward two hours: the events in the gap are logged, none fires, and
    // the ones after it fire as ever.
    g.add(s("13:00:00"), s("/x/c.m3u"), s("Music"));
    g.add(s("14:00:00"), s("/x/d.m3u"), s("Ads"));
    g.add(s("14:31:00"), s("/x/e.m3u"), s("Nowhere"));
    g.r->time.jumpClock(2 * 3600 * 1000);
    g.r->time.advance(5000);
    EXPECT_EQ(g.fired.size(), 2u);
    EXPECT_EQ(g.musicLog, (QStringList{s("**MISSED** 13:00:00;/x/c.m3u;Music"), s("**MISSED** 14:00:00;/x/d.m3u;Ads")}));
    g.runTo(QTime(14, 31, 1));
    EXPECT_EQ(g.fired.back().time, s("14:31:00"));
}

TEST(EventFiring, DaylightSavingChangesInTheLocalTimeZone)
{
    const QByteArray oldTz = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    ::tzset();
    {
        // Spring: 02:00 CET becomes 03:00 CEST; the hour between never comes.
        SchedulerRig g(at(1, 59, 0, QDate(2026, 3, 29)));
        g.use24hs();
        g.add(s("01:59:59"), s("/x/a.m3u"), s("Nowhere"));
        g.add(s("02:30:00"), s("/x/b.m3u"), s("Nowhere"));
        g.add(s("03:00:01"), s("/x/c.m3u"), s("Nowhere"));
        g.r->time.advance(3 * 60 * 1000);
        EXPECT_EQ(g.firedAt(), (QStringList{s("01:59:59 01:59:59 Nowhere"), s("03:00:01 03:00:01 Nowhere")}));
        EXPECT_EQ(g.musicLog, QStringList{s("**MISSED** 02:30:00;/x/b.m3u;Nowhere")});
    }
    {
        // Autumn: 03:00 CEST becomes 02:00 CET; the hour between comes twice
        // and its events fire the first time only.
        SchedulerRig g(at(1, 59, 0, QDate(2026, 10, 25)));
        g.use24hs();
        g.add(s("02:30:00"), s("/x/a.m3u"), s("Nowhere"));
        g.add(s("02:59:59"), s("/x/b.m3u"), s("Nowhere"));
        g.add(s("03:00:05"), s("/x/c.m3u"), s("Nowhere"));
        g.r->time.advance((2 * 3600 + 2 * 60) * 1000);
        EXPECT_EQ(g.r->time.now().time().hour(), 3);
        EXPECT_EQ(g.firedAt(), (QStringList{s("02:30:00 02:30:00 Nowhere"), s("02:59:59 02:59:59 Nowhere"),
                                            s("03:00:05 03:00:05 Nowhere")}));
        EXPECT_TRUE(g.musicLog.isEmpty());
    }
    if (oldTz.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", oldTz);
    ::tzset();
}
