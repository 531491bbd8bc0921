#include "log/AsRunLog.h"
#include "platform/SimulatedTime.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

using namespace tavlo;

namespace {

const QLocale kUs(QLocale::English, QLocale::UnitedStates);

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(AsRunLog, WritesExactLinesIntoOneFilePerDay)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    SimulatedTime time(QDateTime(QDate(2026, 3, 7), QTime(23, 59, 50)));
    AsRunLog log(time, kUs);

    EXPECT_TRUE(log.write(true, folder, AsRunLog::LogStart));
    time.advance(9000);  // 23:59:59
    EXPECT_TRUE(log.write(true, folder, 0, QString(), QStringLiteral("/music/Canci\u00f3n.mp3")));
    EXPECT_TRUE(log.write(true, folder, 0, QStringLiteral("**ERROR**"), QString()));
    time.advance(4000);  // 00:00:03 the next day
    EXPECT_TRUE(log.write(true, folder, 0, QString(), QStringLiteral("/music/next.mp3")));
    EXPECT_TRUE(log.write(false, folder, AsRunLog::LogEnd));

    EXPECT_EQ(readBytes(folder + QStringLiteral("20260307.log")),
              QByteArray("3/7/26 11:59:50 PM ; LOG START\r\n"
                         "3/7/26 11:59:59 PM ; /music/Canci\xf3n.mp3\r\n"
                         "3/7/26 11:59:59 PM ; **ERROR**\r\n"));
    EXPECT_EQ(readBytes(folder + QStringLiteral("20260308.log")),
              QByteArray("3/8/26 12:00:03 AM ; /music/next.mp3\r\n"
                         "3/8/26 12:00:03 AM ; LOG END\r\n"));

    // Appending never rewrites what the day's file already holds.
    EXPECT_TRUE(log.write(true, folder, 0, QString(), QStringLiteral("/music/again.mp3")));
    EXPECT_TRUE(readBytes(folder + QStringLiteral("20260308.log")).startsWith("3/8/26 12:00:03 AM ; /music/next.mp3\r\n"));

    // Another desktop's formats: day first, 24-hour clock.
    AsRunLog german(time, QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(german.lineText(time.now(), AsRunLog::LogStart, QString(), QString()),
              QStringLiteral("08.03.26 00:00:03 ; LOG START"));
}

TEST(AsRunLog, SwitchedOffWritesOnlyTheEndLine)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    SimulatedTime time(QDateTime(QDate(2026, 1, 5), QTime(9, 30, 0)));
    AsRunLog log(time, kUs);
    const QString file = folder + QStringLiteral("20260105.log");

    EXPECT_FALSE(log.write(false, folder, 0, QString(), QStringLiteral("/music/a.mp3")));
    EXPECT_FALSE(log.write(false, folder, 0, QStringLiteral("**ERROR**"), QString()));
    EXPECT_FALSE(log.write(false, folder, AsRunLog::LogStart));
    EXPECT_FALSE(QFile::exists(file));

    // The menu switches on then off: a start line, then an end line written
    // after the switch is already off.
    log.write(true, folder, AsRunLog::LogStart);
    log.write(false, folder, AsRunLog::LogEnd);
    EXPECT_EQ(readBytes(file), QByteArray("1/5/26 9:30:00 AM ; LOG START\r\n1/5/26 9:30:00 AM ; LOG END\r\n"));
}

TEST(AsRunLog, FolderIsAPlainPrefixAndFailuresAreSilent)
{
    QTemporaryDir dir;
    SimulatedTime time(QDateTime(QDate(2026, 3, 7), QTime(12, 0, 0)));
    AsRunLog log(time, kUs);

    // A folder typed without its separator runs into the date.
    EXPECT_TRUE(log.write(true, dir.filePath(QStringLiteral("logs")), AsRunLog::LogStart));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("logs20260307.log"))));

    // An emptied folder logs into the current folder.
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const bool wroteHere = log.write(true, QString(), AsRunLog::LogStart);
    QDir::setCurrent(previous);
    EXPECT_TRUE(wroteHere);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("20260307.log"))));

    // A folder that does not exist loses the line and nothing else happens;
    // the next call, once the folder is there, writes again.
    const QString missing = dir.filePath(QStringLiteral("not-yet/"));
    EXPECT_FALSE(log.write(true, missing, 0, QString(), QStringLiteral("/music/a.mp3")));
    EXPECT_FALSE(QFile::exists(missing));
    ASSERT_TRUE(QDir().mkpath(missing));
    EXPECT_TRUE(log.write(true, missing, 0, QString(), QStringLiteral("/music/b.mp3")));
    EXPECT_EQ(readBytes(missing + QStringLiteral("20260307.log")), QByteArray("3/7/26 12:00:00 PM ; /music/b.mp3\r\n"));
}

TEST(AsRunLog, TwoWindowsLoggingToOneFolderNeverMixTheirLines)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    SimulatedTime time(QDateTime(QDate(2026, 3, 7), QTime(12, 0, 0)));
    constexpr int kLines = 1000;
    // Long lines make a split write likely if the writer ever did one.
    auto run = [&](char who) {
        AsRunLog log(time, kUs);
        for (int i = 0; i < kLines; ++i) {
            const QString path = QStringLiteral("/%1/%2/").arg(QLatin1Char(who)).arg(i)
                + QString(3000, QLatin1Char(who)) + QStringLiteral(".mp3");
            log.write(true, folder, 0, QString(), path);
        }
    };
    std::thread music(run, 'm');
    std::thread insert(run, 'i');
    music.join();
    insert.join();

    const QList<QByteArray> lines = readBytes(folder + QStringLiteral("20260307.log")).split('\n');
    ASSERT_EQ(lines.size(), 2 * kLines + 1);
    EXPECT_TRUE(lines.last().isEmpty());
    const QRegularExpression whole(QStringLiteral("^3/7/26 12:00:00 PM ; /([mi])/\\d+/(m{3000}|i{3000})\\.mp3\r$"));
    int seen[2] = {0, 0};
    for (int n = 0; n < 2 * kLines; ++n) {
        const auto match = whole.match(QString::fromLatin1(lines[n]));
        ASSERT_TRUE(match.hasMatch()) << "line " << n << " is broken";
        ASSERT_EQ(match.captured(1).at(0), match.captured(2).at(0));
        ++seen[match.captured(1) == QLatin1String("m") ? 0 : 1];
    }
    EXPECT_EQ(seen[0], kLines);
    EXPECT_EQ(seen[1], kLines);
}
