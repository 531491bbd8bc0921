#include "OfflineRig.h"
#include "TestMedia.h"

#include <gtest/gtest.h>

#include <chrono>

#include <QThread>

#include <cmath>

namespace tavlo::test {
namespace {

constexpr double kPlaybackRate = 44100.0;

TEST(EnginePlayback, ReportsTrueLengths)
{
    OfflineRig rig("lengths");
    // The player rounds this one (halves to even): it must arrive unrounded.
    EXPECT_NEAR(rig.open("long.mp3")->duration(), 179.5, 0.001);
    // VBR with no Xing header, quiet start: only a full scan gets this right.
    EXPECT_NEAR(rig.open("vbr_noxing.mp3")->duration(), 20.0, 0.06);
    EXPECT_DOUBLE_EQ(rig.open("tone48k.wav")->duration(), 4.0);
    EXPECT_DOUBLE_EQ(rig.open("mono.wav")->duration(), 4.0);
    // MP3 in a WAV file, as older broadcast systems stored it, plays as the
    // bare MP3 does (that one on the right, this one on the left).
    auto riff = rig.open("riffmp3.wav");
    auto bare = rig.open("tone10.mp3");
    ASSERT_TRUE(riff && bare);
    EXPECT_NEAR(riff->duration(), bare->duration(), 0.05);
    riff->setBalance(-10000);
    bare->setBalance(10000);
    riff->run();
    bare->run();
    const auto out = rig.render(1.0);
    EXPECT_GT(OfflineRig::rms(out, 0, 4410), 0.3);
    EXPECT_NEAR(OfflineRig::rms(out, 0, 4410), OfflineRig::rms(out, 1, 4410), 0.002);
}

TEST(EnginePlayback, SeeksLandWithin50msInCbrAndVbr)
{
    for (const char* file : {"beeps_cbr.mp3", "beeps_vbr.mp3"}) {
        SCOPED_TRACE(file);
        OfflineRig rig(file);
        auto song = rig.open(file);
        // Each target lies before a different beep; the beeps are unevenly
        // spaced, so landing on the wrong second shows as a wrong delay.
        for (int k : {4, 13, 27}) {
            const double target = TestMedia::beepTime(k) - 0.3 - 0.01 * k;
            song->setPosition(target);
            EXPECT_DOUBLE_EQ(song->position(), target);
            song->run();
            const auto out = rig.render(0.9);
            const double heard = double(OfflineRig::firstAbove(out, 0.25f)) / kPlaybackRate;
            const double expected = TestMedia::beepTime(k) - target;
            EXPECT_NEAR(heard, expected, 0.05) << "seek to " << target;
            song->pause();
        }
    }
}

TEST(EnginePlayback, PauseAndStopKeepThePositionAndTheEndHolds)
{
    // Pause and stop fade out over 6 ms (264 frames); those frames are heard,
    // so they count, and the song goes on from the next one.
    constexpr int kFadeFrames = 264;
    const double fade = kFadeFrames / kPlaybackRate;
    OfflineRig rig("transport");
    auto song = rig.open("tone10.wav");
    rig.render(0.5);  // opened, not run: nothing moves
    EXPECT_EQ(song->position(), 0.0);

    song->run();
    rig.render(1.0);
    song->pause();
    auto out = rig.render(0.5);
    EXPECT_NEAR(song->position(), 1.0 + fade, 1e-4);
    EXPECT_EQ(OfflineRig::rms(out, 0, kFadeFrames), 0.0);

    song->run();
    rig.render(0.5);
    song->stop();
    out = rig.render(0.5);
    EXPECT_NEAR(song->position(), 1.5 + 2 * fade, 1e-4);
    EXPECT_EQ(OfflineRig::rms(out, 1, kFadeFrames), 0.0);

    song->run();  // resumes where it stopped: nothing skipped, nothing twice
    out = rig.render(9.0);
    EXPECT_NEAR(double(OfflineRig::lastAbove(out, 0.1f)) / kPlaybackRate, 8.5 - 2 * fade, 0.002);
    EXPECT_DOUBLE_EQ(song->position(), song->duration());
}

TEST(EnginePlayback, RatesAndFileRatesPlayAtTheRightSpeed)
{
    OfflineRig rig("speed");
    {
        auto song = rig.open("tone10.wav");
        song->setRate(2.0);
        song->run();
        const auto out = rig.render(6.0);
        EXPECT_NEAR(double(OfflineRig::lastAbove(out, 0.1f)) / kPlaybackRate, 5.0, 0.02);
        EXPECT_DOUBLE_EQ(song->position(), 10.0);
    }
    {
        // 48 kHz at a 44.1 kHz output: 4 s long and still a 1 kHz tone.
        auto song = rig.open("tone48k.wav");
        song->run();
        const auto out = rig.render(4.5);
        EXPECT_NEAR(double(OfflineRig::lastAbove(out, 0.1f)) / kPlaybackRate, 4.0, 0.01);
        int crossings = 0;
        for (std::size_t i = 1; i < 3 * 44100; ++i)
            crossings += (out[2 * (i - 1)] < 0) != (out[2 * i] < 0);
        EXPECT_NEAR(crossings / 2.0 / 3.0, 1000.0, 2.0);
    }
    {
        auto song = rig.open("mono.wav");
        song->run();
        const auto out = rig.render(1.0);
        EXPECT_NEAR(OfflineRig::rms(out, 0), kToneRms, 0.01);
        EXPECT_EQ(OfflineRig::rms(out, 0), OfflineRig::rms(out, 1));
    }
}

TEST(EnginePlayback, NullOutputKeepsRealTimeAndDefaultFallsBack)
{
    AudioEngine::Options options;  // Default: no sound card here, so the null output
    AudioEngine engine(options);
    EXPECT_TRUE(engine.outputNames().contains(engine.activeOutputName()));

    OpenResult r = engine.open(TestMedia::get().path("tone10.mp3"));
    ASSERT_EQ(r.error, 0);
    r.stream->setPosition(5.0);
    const auto before = engine.framesRendered();
    const auto start = std::chrono::steady_clock::now();
    r.stream->run();
    // Waits for 0.4 s of audio however long a busy machine takes to mix it.
    auto playedSoFar = [&] { return double(engine.framesRendered() - before) / engine.sampleRate(); };
    while (playedSoFar() < 0.4 && std::chrono::steady_clock::now() - start < std::chrono::seconds(20))
        QThread::msleep(10);
    const double played = playedSoFar();
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Paced like a card, not as fast as the CPU allows: never further ahead of
    // the clock than the null output's 200 ms of mixed blocks and one more.
    EXPECT_GE(played, 0.4);
    EXPECT_LT(played, elapsed + 0.3);
    EXPECT_GT(r.stream->position(), 5.05);
    EXPECT_LT(r.stream->position(), 5.0 + played + 0.05);
    EXPECT_GT(engine.takeOutputPeak(0), 0.2f);

    // Songs come and go while the output runs; the sanitizer build would
    // catch a voice freed under the audio thread.
    const double before2 = r.stream->position();
    for (int i = 0; i < 20; ++i) {
        OpenResult extra = engine.open(TestMedia::get().path(i % 2 ? "tone10.wav" : "beeps_cbr.mp3"));
        ASSERT_EQ(extra.error, 0);
        extra.stream->setPosition(0.3 * i);
        extra.stream->run();
        QThread::msleep(5 * (i % 3));
    }
    QThread::msleep(50);
    EXPECT_GT(r.stream->position(), before2 + 0.05);
}

}  // namespace
}  // namespace tavlo::test
