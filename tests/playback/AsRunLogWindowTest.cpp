// The as-run log as a station reads it: what the music window writes when it
// starts songs, fails to open one and is switched on and off, and where
// (the folder window that sets "where" is tested with its view).
#include "playback/WindowRig.h"

#include "fakes/TestFiles.h"
#include "log/AsRunLog.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

TEST(AsRunLogWindow, SongsErrorsAndSwitchingAcrossMidnight)
{
    WindowRig r(QDateTime(QDate(2026, 3, 7), QTime(23, 58, 30)));
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    r.w->setLogFolder(folder);
    const AsRunLog format(r.time);
    auto line = [&](const QDateTime& when, int activation, const char* error, const QString& path) {
        return (format.lineText(when, activation, QLatin1String(error), path) + QStringLiteral("\r\n")).toLatin1();
    };

    r.add(QStringLiteral("a"), 60);
    r.w->addFileToList(QStringLiteral("/music/gone.mp3"), 0, *r.w->clipList);  // cannot be opened
    const QString b = r.add(QStringLiteral("b"), 60);
    const QString c = r.add(QStringLiteral("c"), 60);
    QList<QPair<QDateTime, QString>> started;
    QObject::connect(r.w, &PlayerWindow::songStarted, [&](const QString& p) { started.append({r.time.now(), p}); });

    // Off: a song start writes nothing.
    r.w->play();
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
    const QDateTime on = r.time.now();
    r.w->writeLogItem->click();
    ASSERT_TRUE(r.runUntil([&] { return r.pathInPlay() == c; }));
    r.time.advance(1000);
    const QDateTime off = r.time.now();
    r.w->writeLogItem->click();
    EXPECT_FALSE(r.w->logSwitch());

    // The file that will not open is logged with its path and passed over.
    ASSERT_EQ(started.size(), 3);
    EXPECT_EQ(started[1].second, b);
    ASSERT_LT(started[1].first.date(), started[2].first.date());  // b before midnight, c after
    EXPECT_EQ(readFile(folder + QStringLiteral("20260307.log")),
              line(on, AsRunLog::LogStart, "", QString()) +
                  line(started[1].first, 0, "**ERROR**", QStringLiteral(" /music/gone.mp3")) +
                  line(started[1].first, 0, "", b));
    EXPECT_EQ(readFile(folder + QStringLiteral("20260308.log")),
              line(started[2].first, 0, "", c) + line(off, AsRunLog::LogEnd, "", QString()));

    // A folder that cannot be written costs no song.
    r.w->writeLogItem->click();
    r.w->setLogFolder(dir.filePath(QStringLiteral("gone/")));
    ASSERT_TRUE(r.runUntil([&] { return started.size() == 5; }));
    EXPECT_TRUE(r.w->status() == DeckStatus::Playing && !QDir(dir.filePath(QStringLiteral("gone"))).exists());
}

// A log folder that cannot be written, as an unattended station meets it:
// the operator is told once, the lines wait in memory and reach their day's
// file in order, before newer ones, a minute after the last failure at the
// soonest; a retry each minute finds the folder once it is back.
TEST(AsRunLogWindow, AFolderThatCannotBeWrittenKeepsItsLinesAndIsTriedEveryMinute)
{
    WindowRig r(QDateTime(QDate(2026, 3, 7), QTime(23, 58, 0)));
    QTemporaryDir dir;
    // A plain file where the folder should be: nothing is written under it, not even by root.
    const QString logDir = dir.filePath(QStringLiteral("log"));
    writeFile(logDir, "in the way");
    const QString folder = logDir + QLatin1Char('/');
    const QString day7 = folder + QStringLiteral("20260307.log");
    const QString day8 = folder + QStringLiteral("20260308.log");
    r.w->setLogFolder(folder);
    QStringList told;
    QObject::connect(r.w, &PlayerWindow::notice, [&](const QString& text) { told << text; });
    const AsRunLog format(r.time);
    // Writes an entry now, through the window; returns the line its file should get.
    auto entry = [&](const QString& path) {
        const QDateTime when = r.time.now();
        r.w->writeLog(0, QString(), path);
        return (format.lineText(when, 0, QString(), path) + QStringLiteral("\r\n")).toLatin1();
    };
    auto seconds = [&](int s) { r.time.advance(s * 1000LL); };

    QByteArray want7 = (format.lineText(r.time.now(), AsRunLog::LogStart, QString(), QString()) +
                        QStringLiteral("\r\n")).toLatin1();
    r.w->writeLogItem->click();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith(QStringLiteral("The log folder %1 cannot be written: ").arg(logDir)));
    EXPECT_TRUE(told[0].endsWith(QStringLiteral("Tavlo keeps the lines and tries again every minute.")));
    EXPECT_EQ(r.w->statusBar->panelText(1), told[0]);
    seconds(20);
    want7 += entry(QStringLiteral("/music/a.mp3"));
    seconds(10);
    ASSERT_TRUE(QFile::remove(logDir) && QDir().mkdir(logDir));  // the folder is back
    seconds(20);
    // Within the minute a line is kept without a try: the folder stays untouched.
    want7 += entry(QStringLiteral("/music/b.mp3"));
    EXPECT_FALSE(QFile::exists(day7));
    seconds(10);
    EXPECT_EQ(readFile(day7), want7);
    EXPECT_EQ(told, (QStringList{told[0], QStringLiteral("The log folder %1 is written again.").arg(logDir)}));
    seconds(10);
    want7 += entry(QStringLiteral("/music/c.mp3"));
    EXPECT_EQ(readFile(day7), want7);

    // Removed at 23:59:20 and back at 00:03:40: a song every 10 s meanwhile.
    // The new outage is said once more; the retries fail quietly each minute.
    seconds(10);
    ASSERT_TRUE(QDir().rename(logDir, logDir + QStringLiteral(".away")));
    const QByteArray before = want7;
    QByteArray want8;
    int n = 0;
    for (; r.time.now().time() != QTime(0, 3, 50); seconds(10)) {
        const QByteArray line = entry(QStringLiteral("/music/%1.mp3").arg(++n));
        (r.time.now().date().day() == 7 ? want7 : want8) += line;
        if (r.time.now().time() == QTime(0, 3, 40)) {
            ASSERT_TRUE(QDir().rename(logDir + QStringLiteral(".away"), logDir));
        }
    }
    EXPECT_EQ(told.size(), 3);
    EXPECT_EQ(readFile(day7), before);
    EXPECT_FALSE(QFile::exists(day8));  // the retry at 00:03:20 found nothing, the next is at 00:04:20
    want8 += entry(QStringLiteral("/music/%1.mp3").arg(++n));
    seconds(40);
    EXPECT_EQ(readFile(day7), want7);
    EXPECT_EQ(readFile(day8), want8);
    EXPECT_EQ(told.size(), 4);

    // A long outage keeps the newest lines that fit and says how many older ones went.
    ASSERT_TRUE(QDir().rename(logDir, logDir + QStringLiteral(".away")));
    QByteArray kept;
    for (int i = 1; i <= AsRunLog::kKeptLines + 5; ++i) {
        const QByteArray line = entry(QStringLiteral("/music/long %1.mp3").arg(i));
        if (i > 5)
            kept += line;
    }
    ASSERT_TRUE(QDir().rename(logDir + QStringLiteral(".away"), logDir));
    seconds(60);
    EXPECT_EQ(readFile(day8), want8 + kept);
    ASSERT_EQ(told.size(), 6);
    EXPECT_TRUE(told[5].endsWith(QStringLiteral(" 5 older lines did not fit in memory and are lost.")));
}
