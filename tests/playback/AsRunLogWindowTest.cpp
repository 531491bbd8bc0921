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

    // A folder that cannot be written loses the lines and nothing else: songs go on.
    r.w->writeLogItem->click();
    r.w->setLogFolder(dir.filePath(QStringLiteral("gone/")));
    ASSERT_TRUE(r.runUntil([&] { return started.size() == 5; }));
    EXPECT_TRUE(r.w->status() == DeckStatus::Playing && !QDir(dir.filePath(QStringLiteral("gone"))).exists());
}
