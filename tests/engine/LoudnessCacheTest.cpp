#include "engine/LoudnessCache.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tavlo::test {
namespace {

TEST(LoudnessCache, ASongMeasuredOverAndOverLeavesOneLineAndTheLatestWins)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("loudness.tsv"));
    const QString song = dir.filePath(QStringLiteral("song.mp3"));
    {
        LoudnessCache cache(file);
        for (int i = 0; i < 300; ++i)
            cache.insert(song, {1000, i}, {LoudnessMeasurement::State::Measured, -20.0 - i / 100.0, -3.0});
    }
    LoudnessCache reread(file);
    const auto m = reread.find(song, {1000, 299});
    ASSERT_TRUE(m.has_value());
    EXPECT_NEAR(m->integratedLufs, -22.99, 1e-9);
    EXPECT_FALSE(reread.find(song, {1000, 298}).has_value());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().count('\n'), 1);
}

}  // namespace
}  // namespace tavlo::test
