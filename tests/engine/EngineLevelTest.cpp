#include "OfflineRig.h"
#include "TestMedia.h"

#include <gtest/gtest.h>

#include <sndfile.h>

#include <QFile>

namespace tavlo::test {
namespace {

TEST(EngineLevels, VolumeInHundredthsOfADecibelAndBalanceSilencingASide)
{
    OfflineRig rig("levels");
    auto song = rig.open("tone10.wav");
    song->run();
    song->setVolume(-441);
    EXPECT_EQ(song->volume(), -441);
    auto out = rig.render(0.5);
    EXPECT_NEAR(OfflineRig::rms(out, 0, 2000) / kToneRms, 0.6019, 0.006);

    song->setVolume(0);
    song->setBalance(10000);  // left silenced completely
    out = rig.render(0.5);
    EXPECT_EQ(OfflineRig::rms(out, 0, 2000), 0.0);
    EXPECT_NEAR(OfflineRig::rms(out, 1, 2000), kToneRms, 0.002);
}

TEST(EngineLevels, FaderStaircaseAndPitchMovesDoNotClick)
{
    // A constant signal shows every change as it is. The fader law's 85
    // steps, 78 ms apart, down and back up, then the operator moving the
    // pitch on the song in play (the first move brings the resampler in,
    // later ones glide): never a jump of more than 1/1000 of full scale.
    OfflineRig rig("steps");
    auto song = rig.open("dc.wav");
    song->run();
    rig.render(0.1);
    std::vector<float> all;
    for (int pass = 0; pass < 2; ++pass) {
        for (int step = 1; step <= 85; ++step) {
            const int v = pass == 0 ? step : 85 - step;
            song->setVolume(-(v * v));
            const auto out = rig.render(0.078);
            all.insert(all.end(), out.begin(), out.end());
        }
    }
    EXPECT_NEAR(all.back(), 0.5f, 1e-6f);  // back at full level exactly
    double expected = song->position();
    for (double rate : {1.0, 1.5, 1.0, 0.5, 2.2, 1.0}) {
        song->setRate(rate);
        const auto out = rig.render(0.3);
        all.insert(all.end(), out.begin(), out.end());
        expected += 0.3 * rate;
    }
    EXPECT_LE(OfflineRig::largestJump(all), 0.001f);
    // Position is the file time of what was heard, glides included.
    EXPECT_NEAR(song->position(), expected, 0.02);
}

TEST(EngineLevels, StopPauseSeekAndDroppingASongFadeRatherThanCut)
{
    // A constant signal at full level, where a cut jumps by the whole 0.5. A
    // fade over the glide's 264 frames steps 0.5/264 a sample, a little more
    // where the resampler starts afresh after the seek; one half as long
    // would step 0.5/132, and one that ran longer would leave sound where
    // silence is checked. Both the direct path and the resampler's.
    constexpr int kFadeFrames = 264;
    for (double rate : {1.0, 1.5}) {
        SCOPED_TRACE(rate);
        OfflineRig rig(rate == 1.0 ? "declick" : "declick-resampled");
        auto song = rig.open("dc.wav");
        song->setRate(rate);
        song->run();
        const auto first = rig.render(0.1);
        // A song's own start is heard as the file has it, not faded in.
        if (rate == 1.0) {
            EXPECT_EQ(first.front(), 0.5f);
        }
        std::vector<float> all = rig.render(0.05);
        auto keep = [&](const std::vector<float>& out) { all.insert(all.end(), out.begin(), out.end()); };
        auto silentAfterFade = [&](const char* what) {
            const auto out = rig.render(0.05);
            EXPECT_LT(OfflineRig::lastAbove(out, 0.0f), std::size_t{kFadeFrames}) << what;
            keep(out);
        };
        song->pause();
        silentAfterFade("pause");
        song->run();
        keep(rig.render(0.05));
        song->stop();
        silentAfterFade("stop");
        song->run();
        keep(rig.render(0.05));
        song->setPosition(5.0);  // a seek while playing
        keep(rig.render(0.05));
        EXPECT_NEAR(all.back(), 0.5f, 0.01f) << "the new place not heard";
        song.reset();  // the player dropped while its song plays
        silentAfterFade("dropped");
        EXPECT_LT(OfflineRig::largestJump(all), 0.5f / 132);
    }
}

TEST(EngineLevels, VoicesSumAtUnityAndClipOnlyAtTheIntegerOutput)
{
    // One voice at 0 dB: the very samples of the file.
    std::vector<float> source(44100 * 2);
    SF_INFO info{};
    SNDFILE* f = sf_open(QFile::encodeName(TestMedia::get().path("tone10.wav")).constData(), SFM_READ, &info);
    ASSERT_TRUE(f);
    sf_readf_float(f, source.data(), 44100);
    sf_close(f);
    {
        OfflineRig rig("unity");
        auto song = rig.open("tone10.wav");
        song->run();
        EXPECT_EQ(rig.render(1.0), source);
    }
    // Four voices: their exact sum, beyond full scale in the float file...
    OfflineRig floatRig("sum4");
    OfflineRig pcmRig("sum4pcm", 16);
    std::vector<std::unique_ptr<MediaStream>> voices;
    for (OfflineRig* rig : {&floatRig, &pcmRig}) {
        for (int i = 0; i < 4; ++i) {
            voices.push_back(rig->open("tone10.wav"));
            voices.back()->run();
        }
    }
    const auto sum = floatRig.render(1.0);
    float worst = 0.0f;
    for (std::size_t i = 0; i < sum.size(); ++i)
        worst = std::max(worst, std::abs(sum[i] - 4 * source[i]));
    EXPECT_LE(worst, 1e-6f);
    // ...and clipped, never wrapped, at 16 bits.
    const auto clipped = pcmRig.render(1.0);
    worst = 0.0f;
    for (std::size_t i = 0; i < clipped.size(); ++i)
        worst = std::max(worst, std::abs(clipped[i] - std::clamp(4 * source[i], -1.0f, 1.0f)));
    EXPECT_LE(worst, 0.0001f);
}

}  // namespace
}  // namespace tavlo::test
