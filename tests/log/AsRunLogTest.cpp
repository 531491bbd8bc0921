#include "log/AsRunLog.h"
#include "platform/SimulatedTime.h"

#include "fakes/TestFiles.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

using namespace tavlo;
using namespace tavlo::test;

namespace {
const QLocale kUs(QLocale::English, QLocale::UnitedStates);
}  // namespace

// The line format; which lines a window writes, and the new file at
// midnight, are tested through the music window.
TEST(AsRunLog, WritesExactLinesIntoTheDaysFileAndFailsQuietly)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    SimulatedTime time(QDateTime(QDate(2026, 3, 8), QTime(0, 0, 3)));
    AsRunLog log(time, kUs);
    EXPECT_TRUE(log.write(true, folder, AsRunLog::LogStart));
    time.advance(1000);
    log.write(true, folder, 0, QString(), QStringLiteral("/music/Canci\u00f3n.mp3"));
    log.write(true, folder, 0, QStringLiteral("**ERROR**"), QString());
    log.write(false, folder, AsRunLog::LogEnd);  // written though the switch is already off
    EXPECT_EQ(readFile(folder + QStringLiteral("20260308.log")),
              QByteArray("3/8/26 12:00:03 AM ; LOG START\r\n"
                         "3/8/26 12:00:04 AM ; /music/Canci\xf3n.mp3\r\n"
                         "3/8/26 12:00:04 AM ; **ERROR**\r\n"
                         "3/8/26 12:00:04 AM ; LOG END\r\n"));
    // A day-first, 24-hour desktop.
    EXPECT_EQ(AsRunLog(time, QLocale(QLocale::German)).dateTimeText(time.now()), QStringLiteral("08.03.26 00:00:04"));

    // A missing folder loses the line quietly; once it exists the next line lands.
    const QString later = dir.filePath(QStringLiteral("not-yet/"));
    EXPECT_FALSE(log.write(true, later, 0, QString(), QStringLiteral("/music/a.mp3")));
    ASSERT_TRUE(QDir().mkpath(later));
    EXPECT_TRUE(log.write(true, later, 0, QString(), QStringLiteral("/music/b.mp3")));
    EXPECT_EQ(readFile(later + QStringLiteral("20260308.log")), QByteArray("3/8/26 12:00:04 AM ; /music/b.mp3\r\n"));
}

TEST(AsRunLog, TwoWindowsLoggingToOneFolderNeverMixTheirLines)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    SimulatedTime time(QDateTime(QDate(2026, 3, 7), QTime(12, 0, 0)));
    constexpr int kLines = 1000;
    auto run = [&](char who) {
        AsRunLog log(time, kUs);
        for (int i = 0; i < kLines; ++i)  // long lines: a split write would show
            log.write(true, folder, 0, QString(), QString(3000, QLatin1Char(who)) + QStringLiteral(".mp3"));
    };
    std::thread music(run, 'm');
    std::thread insert(run, 'i');
    music.join();
    insert.join();

    const QList<QByteArray> lines = readFile(folder + QStringLiteral("20260307.log")).split('\n');
    ASSERT_EQ(lines.size(), 2 * kLines + 1);
    const QRegularExpression whole(QStringLiteral("^3/7/26 12:00:00 PM ; (m{3000}|i{3000})\\.mp3\r$"));
    int musicLines = 0;
    for (int n = 0; n < 2 * kLines; ++n) {
        const auto match = whole.match(QString::fromLatin1(lines[n]));
        ASSERT_TRUE(match.hasMatch()) << "line " << n << " is broken";
        musicLines += match.captured(1).startsWith(QLatin1Char('m')) ? 1 : 0;
    }
    EXPECT_EQ(musicLines, kLines);
}
