// Six hours of a station in simulated time: a break every ten minutes, going
// through the five ramp types with and without "Play Ads Over Music" and
// "Wait for current song to end". Nothing may stay stuck, the music must come
// back after every break, and each window's as-run log must name exactly the
// songs a listener heard start.
#include "insert/InsertRig.h"

#include "fakes/StartWatcher.h"
#include "log/AsRunLog.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

TEST(InsertSoak, SixHoursOfBreaksEveryTenMinutes)
{
    BreakRig b(0);
    for (int i = 5; i <= 14; ++i)
        b.music << b.r.add(QStringLiteral("m%1").arg(i), 150 + 13 * i);
    for (int i = 1; i <= 3; ++i)
        b.ads << b.r.addInsert(QStringLiteral("ad%1").arg(i), 15 + 10 * i);
    QTemporaryDir dir;
    const QString musicLogs = dir.path() + QStringLiteral("/music/");
    const QString insertLogs = dir.path() + QStringLiteral("/insert/");
    for (const QString& folder : {musicLogs, insertLogs})
        QDir().mkpath(folder);
    b.m().strLogPath = musicLogs;
    b.in().strLogPath = insertLogs;
    b.m().setLogSwitch(true);
    b.in().setLogSwitch(true);
    b.in().spinTransitionTime->setValue(2);
    b.r.tim->PreLoadTime = 3;

    // What each window's log must hold: the songs heard starting, in order,
    // and, after a break played over the music, the music's song in play
    // named again when the music "comes back".
    StartWatcher watcher(b.r.media);
    QStringList expectedMusic;
    QStringList expectedInserts;
    int over = 0;
    int returns = 0;
    int going = 0;
    auto run = [&](std::int64_t ms) {
        for (std::int64_t t = 0; t < ms; t += 100) {
            b.r.time.advance(100);
            for (const QString& path : watcher.look())
                (path.startsWith(QLatin1String("/ads/")) ? expectedInserts : expectedMusic) << path;
            if (going == 1 && b.in().GoingBackToMusic == 0) {
                ++returns;
                if (over)
                    expectedMusic << b.r.pathInPlay();
            }
            going = b.in().GoingBackToMusic;
        }
    };

    b.m().btnPlay_Click();
    run(60000);
    constexpr int kBreaks = 36;  // six hours
    for (int i = 0; i < kBreaks; ++i) {
        const int type = i % 5;
        over = (i / 5) % 2;
        const int wait = (i / 10) % 2;
        SCOPED_TRACE(QStringLiteral("break %1: type %2, over %3, wait %4").arg(i).arg(type).arg(over).arg(wait).toStdString());
        b.in().optTransition[static_cast<size_t>(type)]->setValue(1);
        b.in().chkPlayOverMusic->setValue(over);
        b.in().chkWaitForSong->setValue(wait);
        b.in().cmdPrepareInsert->press();

        // The break ends by itself once its list is exhausted, well within ten minutes.
        run(570000);
        EXPECT_EQ(std::tuple(returns, b.in().InsertReady, b.in().GoingBackToMusic, b.in().CurrentStatus, b.m().CurrentStatus),
                  std::tuple(i + 1, 0, 0, 0, 1));
        EXPECT_FALSE(b.in().tmrTransition2().isEnabled() || b.in().tmrTransition3().isEnabled() ||
                     b.in().tmrCountDown().isEnabled());
        EXPECT_TRUE(b.audible(b.m()));
        run(30000);
    }

    const QDate today = b.r.time.now().date();
    EXPECT_EQ(expectedInserts.size(), kBreaks * 3);  // every break played its whole list
    auto text = [](const QStringList& l) { return l.join(QLatin1Char('\n')).toStdString(); };
    EXPECT_EQ(text(logPaths(AsRunLog::fileName(insertLogs, today))), text(expectedInserts));
    EXPECT_EQ(text(logPaths(AsRunLog::fileName(musicLogs, today))), text(expectedMusic));
}
