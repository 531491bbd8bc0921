#include "engine/LoudnessCache.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>

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

TEST(LoudnessCache, CuePointsComeBackAndAnOlderLineWithoutThemIsMeasuredAgain)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("loudness.tsv"));
    const QString song = dir.filePath(QStringLiteral("a\tsong.mp3"));  // a tab in the name too
    const QString silent = dir.filePath(QStringLiteral("silent.wav"));
    const QString old = dir.filePath(QStringLiteral("old.mp3"));
    {
        LoudnessCache cache(file);
        cache.insert(song, {1, 2}, {LoudnessMeasurement::State::Measured, -14.5, -1.0, CuePoints{2.01, 171.25, 176.5}});
        cache.insert(silent, {3, 4}, {LoudnessMeasurement::State::Unmeasurable});
    }
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("5\t6\t-12.000\t-0.500\t" + old.toUtf8() + '\n');  // as an older Tavlo wrote it
    }
    LoudnessCache reread(file);
    const auto m = reread.find(song, {1, 2});
    ASSERT_TRUE(m && m->cues);
    EXPECT_EQ(std::tuple(m->cues->cueIn, m->cues->segue, m->cues->cueOut), std::tuple(2.01, 171.25, 176.5));
    const auto s = reread.find(silent, {3, 4});
    ASSERT_TRUE(s);
    EXPECT_EQ(s->state, LoudnessMeasurement::State::Unmeasurable);
    EXPECT_FALSE(reread.find(old, {5, 6})) << "no cue points: measured again";
}

}  // namespace
}  // namespace tavlo::test
