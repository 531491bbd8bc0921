#include "log/AsRunLog.h"
#include "platform/SimulatedTime.h"

#include "fakes/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {
const QLocale kUs(QLocale::English, QLocale::UnitedStates);
}  // namespace

// The line format; which lines a window writes, and the new file at
// midnight, are tested through the music window.
TEST(AsRunLog, WritesExactLinesIntoTheDaysFile)
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
}
