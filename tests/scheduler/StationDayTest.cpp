// A whole day of a station run by its scheduler, both player windows on fake
// media: a break every hour, the music list changed morning and evening, and
// the event list swapped at midnight.
#include "scheduler/SchedulerRig.h"
#include "fakes/TestText.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {
}  // namespace

TEST(StationDay, EveryEventFiresOnceOnItsSecondAndTheMusicAlwaysComesBack)
{
    SchedulerRig g(QDateTime(QDate(2026, 1, 5), QTime(23, 59, 0)));
    g.use24hs();
    g.t().optionsDialog->preloadBox->setText(s("5"));
    const QString night = g.playlist(s("night"), 20, 200);
    const QString morning = g.playlist(s("morning"), 20, 240);
    const QString evening = g.playlist(s("evening"), 20, 180);
    const QString adsA = g.playlist(s("adsA"), 2, 30);
    const QString adsB = g.playlist(s("adsB"), 2, 30);
    const QString day1 = g.dir.filePath(s("day1.tmg"));
    const QString day2 = g.dir.filePath(s("day2.tmg"));
    writeFile(day1, SchedulerRig::stationDay(day2, morning, evening, adsA));
    writeFile(day2, SchedulerRig::stationDay(day1, morning, evening, adsB));
    g.music().openFile(night);
    g.music().play();
    ASSERT_TRUE(g.t().openEventList(day1));

    // Second by second: something always on air, each break handed back two minutes after its event.
    const QDateTime end(QDate(2026, 1, 7), QTime(0, 0, 30));
    int silentSeconds = 0;
    QStringList breaksNotBack;
    // The music's songs as they went on air (one cued in a break starts when the music is back).
    QStringList musicHeard;
    const Player* lastPlayer = nullptr;
    while (g.r->time.now() < end) {
        g.r->time.advance(1000);
        bool onAir = false;
        for (FakeStream* st : g.r->media.streams())
            onAir = onAir || st->audible();
        silentSeconds += onAir ? 0 : 1;
        const Player* player = g.music().playerIn(static_cast<size_t>(g.music().channelInPlay()));
        if (g.music().status() == DeckStatus::Playing
            && (player != lastPlayer || musicHeard.isEmpty() || musicHeard.last() != g.r->pathInPlay())) {
            musicHeard << g.r->pathInPlay();
            lastPlayer = player;
        }
        const QTime now = g.r->time.now().time();
        if (now.minute() == 22 && now.second() == 0
            && !(g.music().status() == DeckStatus::Playing && g.insert().insertState() == InsertState::Idle && g.insert().status() == DeckStatus::Stopped))
            breaksNotBack << g.clock();
    }
    EXPECT_EQ(silentSeconds, 0);
    EXPECT_EQ(breaksNotBack, QStringList{});

    // Once each, preload seconds ahead: midnight's swap, then the second
    // list's day, then its swap back.
    QStringList expected{s("23:59:55 00:00:00 Timing")};
    for (int h = 0; h < 24; ++h) {
        if (h == 6 || h == 18)
            expected << QStringLiteral("%1:59:55 %2:00:00 Music").arg(h - 1, 2, 10, QLatin1Char('0')).arg(h, 2, 10, QLatin1Char('0'));
        expected << QStringLiteral("%1:19:55 %1:20:00 Ads").arg(h, 2, 10, QLatin1Char('0'));
    }
    expected << s("23:59:55 00:00:00 Timing");
    EXPECT_EQ(g.firedAt(), expected);

    // The logs say what started, and nothing else: every break played its
    // two inserts.
    EXPECT_EQ(g.musicLog, musicHeard);
    EXPECT_EQ(g.insertLog, g.insertStarts);
    EXPECT_EQ(g.insertStarts.size(), 48);
}
