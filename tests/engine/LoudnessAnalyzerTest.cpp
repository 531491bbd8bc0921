// The loudness service's measuring thread and its cache between runs.

#include "TestMedia.h"
#include "engine/LoudnessAnalyzer.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tavlo::test {
namespace {

using State = LoudnessMeasurement::State;

TEST(LoudnessAnalyzer, MeasuresInTheBackgroundAndASecondRunDecodesNothing)
{
    const TestMedia& media = TestMedia::get();
    QTemporaryDir dir;
    const QString cache = dir.filePath(QStringLiteral("cache/loudness.tsv"));
    const QString mp3 = media.path("tone10.mp3");
    const QString wav = dir.filePath(QStringLiteral("copy.wav"));
    ASSERT_TRUE(QFile::copy(media.path("tone10.wav"), wav));
    const QString silent = media.path("cut.wav");  // a header and no audio
    const QString missing = dir.filePath(QStringLiteral("gone.mp3"));

    LoudnessMeasurement first;
    {
        LoudnessAnalyzer a(cache, LoudnessAnalyzer::Mode::Background);
        EXPECT_EQ(a.lookup(mp3).state, State::NotReady);
        a.measure({mp3, wav, silent, missing});
        ASSERT_TRUE(a.waitUntilIdle(30000));
        first = a.lookup(mp3);
        ASSERT_EQ(first.state, State::Measured);
        // A 1 kHz sine at half scale on both channels reads -6 LUFS; the
        // MP3 encoder loses a little of it.
        EXPECT_NEAR(a.lookup(wav).integratedLufs, -6.0, 0.1);
        EXPECT_NEAR(a.lookup(wav).truePeakDbtp, -6.0, 0.1);
        EXPECT_NEAR(first.integratedLufs, -6.0, 0.6);
        EXPECT_EQ(a.lookup(silent).state, State::Unmeasurable);
        EXPECT_EQ(a.lookup(missing).state, State::Unmeasurable);
        EXPECT_EQ(a.filesDecoded(), 3);
    }

    LoudnessAnalyzer b(cache, LoudnessAnalyzer::Mode::Background);
    const LoudnessMeasurement again = b.lookup(mp3);
    EXPECT_EQ(again.state, State::Measured) << "known from the cache before anything was asked";
    EXPECT_NEAR(again.integratedLufs, first.integratedLufs, 0.001);
    EXPECT_NEAR(again.truePeakDbtp, first.truePeakDbtp, 0.001);
    b.measure({mp3, wav, silent});
    ASSERT_TRUE(b.waitUntilIdle(30000));
    EXPECT_EQ(b.filesDecoded(), 0);
    EXPECT_EQ(b.lookup(silent).state, State::Unmeasurable);

    // A file replaced under the same name is measured afresh.
    QFile::remove(wav);
    ASSERT_TRUE(QFile::copy(media.path("dc.wav"), wav));
    EXPECT_EQ(b.lookup(wav).state, State::NotReady);
    b.measure({wav});
    ASSERT_TRUE(b.waitUntilIdle(30000));
    EXPECT_EQ(b.filesDecoded(), 1);
}

}  // namespace
}  // namespace tavlo::test
