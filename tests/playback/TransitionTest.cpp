#include "playback/WindowRig.h"

#include <gtest/gtest.h>

#include <set>

using namespace tavlo;
using namespace tavlo::test;

namespace {

// Plays row 1 until its first ramp is over, then presses Next: the change
// from a to b is under way when this returns.
struct Change {
    WindowRig r;
    QString a;
    QString b;
    std::int64_t at = 0;

    Change(int type, int seconds, int master)
    {
        a = r.add(QStringLiteral("a"), 300);
        b = r.add(QStringLiteral("b"), 300);
        r.w->optTransition[static_cast<size_t>(type)]->setValue(1);
        r.w->spinTransitionTime->setValue(seconds);
        r.w->hscVolume->setValue(master);
        r.w->btnPlay_Click();
        r.time.advance(seconds * 1000 + 2000);
        r.w->hscVolume_Change();  // the song in play at the master level, whatever ramp brought it
        at = r.time.elapsedMs();
        r.w->btnNext_Click();
    }
};

}  // namespace

TEST(Transition, CrossDissolveMovesOneStepPerTickOverTheTransitionTime)
{
    Change c(0, 5, 64);
    EXPECT_EQ(c.r.w->tmrTransition().interval(), 78);  // 5000 / 64
    const auto ticks = c.r.recordRamp(c.at);
    ASSERT_EQ(ticks.size(), 65u);
    for (int S = 1; S <= 64; ++S) {
        const auto& t = ticks[static_cast<size_t>(S - 1)];
        EXPECT_EQ(t.S, S);
        EXPECT_EQ(t.in, 85 - S) << "tick " << S;
        EXPECT_EQ(t.out, 21 + S) << "tick " << S;
        EXPECT_EQ(t.ms, 78 * S);
    }
    // The old song stops on tick 65, the new one plays at the master level.
    EXPECT_EQ(ticks.back().S, 0);
    EXPECT_EQ(ticks.back().ms, 65 * 78);
    EXPECT_EQ(c.r.stream(c.a)->state(), FakeStream::State::Stopped);
    EXPECT_EQ(c.r.stream(c.b)->volume(), -441);
    EXPECT_FALSE(c.r.w->tmrTransition().isEnabled());
}

TEST(Transition, UpDownAndDownUpMoveOneSongAtATimeAtDoubleSpeed)
{
    Change up(1, 1, 85);  // odd master: the new song stops one step short
    auto ticks = up.r.recordRamp(up.at);
    ASSERT_EQ(ticks.size(), 86u);
    EXPECT_EQ(ticks[41].in, 1);  // tick 42
    EXPECT_EQ(ticks[41].out, 0);  // the old song untouched so far
    for (int S = 43; S <= 85; ++S) {
        EXPECT_EQ(ticks[static_cast<size_t>(S - 1)].out, 2 * S - 85) << "tick " << S;
        EXPECT_EQ(ticks[static_cast<size_t>(S - 1)].in, 1);
    }

    Change down(2, 1, 64);
    ticks = down.r.recordRamp(down.at);
    ASSERT_EQ(ticks.size(), 65u);
    for (int S = 1; S <= 32; ++S) {
        EXPECT_EQ(ticks[static_cast<size_t>(S - 1)].out, 21 + 2 * S) << "tick " << S;
        EXPECT_EQ(ticks[static_cast<size_t>(S - 1)].in, 85);
    }
    for (int S = 33; S <= 64; ++S) {
        EXPECT_EQ(ticks[static_cast<size_t>(S - 1)].in, 149 - 2 * S) << "tick " << S;
        EXPECT_EQ(ticks[static_cast<size_t>(S - 1)].out, 85);
    }
}

TEST(Transition, MixAndCut)
{
    Change mix(3, 2, 64);
    auto ticks = mix.r.recordRamp(mix.at);
    ASSERT_EQ(ticks.size(), 65u);
    EXPECT_EQ(ticks[0].in, 21);
    EXPECT_EQ(ticks[63].out, 21);  // both at the master level to the end
    EXPECT_EQ(mix.r.stream(mix.a)->state(), FakeStream::State::Stopped);

    Change cut(4, 2, 64);
    cut.r.time.advance(cut.r.w->tmrTransition().interval());
    EXPECT_EQ(cut.r.stream(cut.a)->state(), FakeStream::State::Stopped);
    EXPECT_EQ(cut.r.fader(cut.r.incoming()), 21);
    EXPECT_EQ(cut.r.fader(cut.r.outgoing()), 85);
}

TEST(Transition, ZeroTransitionTimeRunsOneTickAndNoTimer)
{
    // Only a stored setting can give 0; the spinner stops at 1.
    Change cut(4, 1, 64);
    cut.r.time.advance(2000);
    cut.r.w->TransitionTime = 0;
    cut.r.w->btnBack_Click();
    EXPECT_FALSE(cut.r.w->tmrTransition().isEnabled());
    EXPECT_EQ(cut.r.stream(cut.b)->state(), FakeStream::State::Stopped);
    EXPECT_EQ(cut.r.stream(cut.a)->volume(), -441);

    Change mix(3, 1, 64);
    mix.r.time.advance(2000);
    mix.r.w->TransitionTime = 0;
    mix.r.w->btnBack_Click();
    EXPECT_FALSE(mix.r.w->tmrTransition().isEnabled());
    EXPECT_EQ(mix.r.stream(mix.a)->volume(), -441);
    EXPECT_EQ(mix.r.stream(mix.b)->state(), FakeStream::State::Running);  // never stopped

    Change cross(0, 1, 64);
    cross.r.time.advance(2000);
    cross.r.w->TransitionTime = 0;
    cross.r.w->btnBack_Click();
    EXPECT_EQ(cross.r.fader(cross.r.incoming()), 84);  // one step only
    EXPECT_EQ(cross.r.fader(cross.r.outgoing()), 22);
}

TEST(Transition, SilentMasterEndsTheChangeOnItsFirstTick)
{
    WindowRig r;
    const QString a = r.add(QStringLiteral("a"), 300);
    const QString b = r.add(QStringLiteral("b"), 300);
    r.w->btnPlay_Click();
    r.time.advance(3000);
    const int interval = r.w->tmrTransition().interval();
    r.w->hscVolume->setValue(0);
    r.w->btnNext_Click();
    EXPECT_EQ(r.w->tmrTransition().interval(), interval);
    r.time.advance(interval);
    EXPECT_EQ(r.w->DoingTransition, 0);
    EXPECT_FALSE(r.w->tmrTransition().isEnabled());
    EXPECT_EQ(r.stream(a)->state(), FakeStream::State::Stopped);
    EXPECT_EQ(r.stream(b)->volume(), -7225);
}

TEST(Transition, ASongChangeWhilePausedCuesTheNewSong)
{
    WindowRig r;
    r.w->spinCutFirst->setValue(5);
    const QString a = r.add(QStringLiteral("a"), 300);
    const QString b = r.add(QStringLiteral("b"), 300);
    r.w->btnPlay_Click();
    r.time.advance(3000);
    r.w->btnPause_Click();
    r.w->lstClipList->selectOnly(2);
    r.w->mnuPlaySelectedItem_Click();

    EXPECT_EQ(r.stream(b)->state(), FakeStream::State::Paused);
    EXPECT_EQ(r.stream(b)->position(), 5.0);
    EXPECT_EQ(r.stream(b)->volume(), -441);
    EXPECT_EQ(r.stream(a)->state(), FakeStream::State::Paused);
    EXPECT_EQ(r.fader(r.outgoing()), 85);
    EXPECT_FALSE(r.w->tmrTransition().isEnabled());
    r.time.advance(10000);
    EXPECT_EQ(r.stream(b)->position(), 5.0);
}

// An hour of unattended play over twenty songs of 20 to 200 s, checked every
// 100 ms: the deck keeps playing, every ramp ends, and outside a ramp only
// one song is heard; never are two at the master level together.
static void playAnHour(bool shuffle)
{
    WindowRig r;
    std::vector<QString> paths;
    for (int i = 0; i < 20; ++i)
        paths.push_back(r.add(QStringLiteral("song%1").arg(i, 2, 10, QLatin1Char('0')), 20 + i * 180.0 / 19));
    r.w->chkRndPlay->setValue(shuffle ? 1 : 0);
    std::set<QString> started;
    int songs = 0;
    QObject::connect(r.w.get(), &PlayerWindow::songStarted, [&](const QString& p) {
        started.insert(p);
        ++songs;
    });
    r.w->btnPlay_Click();

    const int master = -(21 * 21);
    std::int64_t rampOnMs = 0;
    for (int step = 0; step < 36000; ++step) {
        r.time.advance(100);
        int heard = 0;
        int atMaster = 0;
        for (FakeStream* s : r.media.streams()) {
            if (s->audible()) {
                ++heard;
                atMaster += s->volume() == master ? 1 : 0;
            }
        }
        rampOnMs = r.w->tmrTransition().isEnabled() ? rampOnMs + 100 : 0;
        ASSERT_EQ(r.w->CurrentStatus, 1) << "at " << step;
        ASSERT_LE(atMaster, 1) << "at " << step;
        ASSERT_TRUE(r.w->tmrTransition().isEnabled() || heard == 1) << heard << " heard at " << step;
        ASSERT_LE(rampOnMs, 1100) << "ramp stuck at " << step;
    }
    if (shuffle) {
        EXPECT_GE(started.size(), 15u);
        EXPECT_TRUE(r.w->lstClipList->text(1, ColAzar).isEmpty());  // never ran out
    } else {
        EXPECT_EQ(started.size(), 20u);
        EXPECT_GT(songs, 20);  // ran out, was reordered, played on
        EXPECT_FALSE(r.w->lstClipList->text(1, ColAzar).isEmpty());
    }
}

TEST(Transition, AnHourUnattendedInOrder) { playAnHour(false); }

TEST(Transition, AnHourUnattendedShuffled) { playAnHour(true); }
