#include "playback/WindowRig.h"

#include <gtest/gtest.h>

#include <set>

using namespace tavlo;
using namespace tavlo::test;

namespace {

// Row 1 plays past its first ramp at the master level, then Next starts the
// change from a to b.
struct Change {
    WindowRig r;
    QString a = r.add(QStringLiteral("a"), 300);
    QString b = r.add(QStringLiteral("b"), 300);
    std::int64_t at = 0;

    Change(int type, int seconds, int master)
    {
        r.w->optTransition[static_cast<size_t>(type)]->setValue(1);
        r.w->spinTransitionTime->setValue(seconds);
        r.w->hscVolume->setValue(master);
        r.w->btnPlay_Click();
        r.time.advance(seconds * 1000 + 2000);
        r.w->hscVolume_Change();
        at = r.time.elapsedMs();
        r.w->btnNext_Click();
    }
    // Faders on ticks first..last follow in(S) and out(S).
    template <typename In, typename Out>
    static void expectTicks(const std::vector<WindowRig::RampTick>& t, int first, int last, In in, Out out)
    {
        for (int S = first; S <= last; ++S) {
            EXPECT_EQ(t[static_cast<size_t>(S - 1)].in, in(S)) << "tick " << S;
            EXPECT_EQ(t[static_cast<size_t>(S - 1)].out, out(S)) << "tick " << S;
        }
    }
};

}  // namespace

TEST(Transition, CrossDissolveMovesOneStepPerTickOverTheTransitionTime)
{
    Change c(0, 5, 64);
    EXPECT_EQ(c.r.w->tmrTransition().interval(), 78);  // 5000 / 64
    const auto t = c.r.recordRamp(c.at);
    ASSERT_EQ(t.size(), 65u);
    Change::expectTicks(t, 1, 64, [](int S) { return 85 - S; }, [](int S) { return 21 + S; });
    EXPECT_EQ(t[64].S, 0);  // tick 65 ends it and stops the old song
    EXPECT_EQ(t[64].ms, 65 * 78);
    EXPECT_EQ(c.r.stream(c.a)->state(), FakeStream::State::Stopped);
}

TEST(Transition, UpDownAndDownUpMoveOneSongAtATimeAtDoubleSpeed)
{
    Change up(1, 1, 85);  // odd master: the new song stops one step short of 0
    auto t = up.r.recordRamp(up.at);
    ASSERT_EQ(t.size(), 86u);
    Change::expectTicks(t, 42, 42, [](int) { return 1; }, [](int) { return 0; });
    Change::expectTicks(t, 43, 85, [](int) { return 1; }, [](int S) { return 2 * S - 85; });

    Change down(2, 1, 64);
    t = down.r.recordRamp(down.at);
    ASSERT_EQ(t.size(), 65u);
    Change::expectTicks(t, 1, 32, [](int) { return 85; }, [](int S) { return 21 + 2 * S; });
    Change::expectTicks(t, 33, 64, [](int S) { return 149 - 2 * S; }, [](int) { return 85; });
}

TEST(Transition, MixKeepsBothLevelsAndCutStopsTheOldSongAtOnce)
{
    Change mix(3, 2, 64);
    auto t = mix.r.recordRamp(mix.at);
    ASSERT_EQ(t.size(), 65u);
    Change::expectTicks(t, 1, 64, [](int) { return 21; }, [](int) { return 21; });
    EXPECT_EQ(mix.r.stream(mix.a)->state(), FakeStream::State::Stopped);

    Change cut(4, 2, 64);
    cut.r.time.advance(cut.r.w->tmrTransition().interval());
    EXPECT_EQ(cut.r.stream(cut.a)->state(), FakeStream::State::Stopped);
}

// An hour unattended over twenty songs of 20 to 200 s, in order and
// shuffled, checked every 100 ms: the deck keeps playing, every ramp ends,
// only one song is heard outside a ramp and never two at the master level.
TEST(Transition, AnHourUnattendedInOrderAndShuffled)
{
    for (const bool shuffle : {false, true}) {
        SCOPED_TRACE(shuffle);
        WindowRig r;
        for (int i = 0; i < 20; ++i)
            r.add(QStringLiteral("song%1").arg(i), 20 + i * 180.0 / 19);
        r.w->chkRndPlay->setValue(shuffle ? 1 : 0);
        std::set<QString> started;
        int songs = 0;
        QObject::connect(r.w.get(), &PlayerWindow::songStarted, [&](const QString& p) {
            started.insert(p);
            ++songs;
        });
        r.w->btnPlay_Click();

        std::int64_t rampOnMs = 0;
        for (int step = 0; step < 36000; ++step) {
            r.time.advance(100);
            int heard = 0;
            int atMaster = 0;
            for (FakeStream* s : r.media.streams()) {
                heard += s->audible() ? 1 : 0;
                atMaster += s->audible() && s->volume() == -441 ? 1 : 0;
            }
            rampOnMs = r.w->tmrTransition().isEnabled() ? rampOnMs + 100 : 0;
            ASSERT_EQ(r.w->CurrentStatus, 1) << step;
            ASSERT_LE(atMaster, 1) << step;
            ASSERT_TRUE(rampOnMs > 0 || heard == 1) << heard << " heard at " << step;
            ASSERT_LE(rampOnMs, 1100) << "ramp stuck at " << step;
        }
        // In order the list runs out, is reordered and plays on; shuffled it never runs out.
        EXPECT_GE(started.size(), shuffle ? 15u : 20u);
        EXPECT_GT(songs, 30);
        EXPECT_EQ(r.w->lstClipList->text(1, ColAzar).isEmpty(), shuffle);
    }
}
