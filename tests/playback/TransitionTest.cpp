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
        r.w->transitionButtons[static_cast<size_t>(type)]->setValue(1);
        r.w->transitionTimeSpinner->setValue(seconds);
        r.w->masterVolume->setValue(master);
        r.w->play();
        r.time.advance(seconds * 1000 + 2000);
        r.w->onMasterVolumeChange();
        at = r.time.elapsedMs();
        r.w->next();
    }
};

}  // namespace

// Faders as a + b * S over ticks first..last: Cross Dissolve one step a
// tick over the transition time, Up Down and Down Up one song at a time at
// double speed, Mix at both levels. The last tick ends the ramp and stops
// the old song; Cut stops it at once.
TEST(Transition, EachTypeMovesTheFadersItsWayAndStopsTheOldSong)
{
    struct Line {
        int first, last, ia, ib, oa, ob;
    };
    struct Shape {
        int type, seconds, master;
        std::vector<Line> lines;
    };
    for (const Shape& sh : {Shape{0, 5, 64, {{1, 64, 85, -1, 21, 1}}},
                            // An odd master: the new song stops one step short of 0.
                            Shape{1, 1, 85, {{42, 42, 1, 0, 0, 0}, {43, 85, 1, 0, -85, 2}}},
                            Shape{2, 1, 64, {{1, 32, 85, 0, 21, 2}, {33, 64, 149, -2, 85, 0}}},
                            Shape{3, 2, 64, {{1, 64, 21, 0, 21, 0}}}}) {
        SCOPED_TRACE(sh.type);
        Change c(sh.type, sh.seconds, sh.master);
        const auto t = c.r.recordRamp(c.at);
        ASSERT_EQ(t.size(), size_t(sh.master + 1));
        for (const Line& l : sh.lines) {
            for (int S = l.first; S <= l.last; ++S)
                EXPECT_EQ(std::pair(t[size_t(S - 1)].in, t[size_t(S - 1)].out), std::pair(l.ia + l.ib * S, l.oa + l.ob * S))
                    << "tick " << S;
        }
        EXPECT_EQ(std::pair(t.back().S, c.r.stream(c.a)->state()), std::pair(0, FakeStream::State::Stopped));
        if (sh.type == 0) {
            EXPECT_EQ(t.back().ms, 65 * 78);  // 5000 / 64 ms a tick
        }
    }
    Change cut(4, 2, 64);
    cut.r.time.advance(cut.r.w->rampTimer().interval());
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
        r.w->shuffleCheck->setValue(shuffle ? 1 : 0);
        std::set<QString> started;
        int songs = 0;
        QObject::connect(r.w, &PlayerWindow::songStarted, [&](const QString& p) {
            started.insert(p);
            ++songs;
        });
        r.w->play();

        std::int64_t rampOnMs = 0;
        for (int step = 0; step < 36000; ++step) {
            r.time.advance(100);
            int heard = 0, atMaster = 0;
            for (FakeStream* s : r.media.streams()) {
                heard += s->audible() ? 1 : 0;
                atMaster += s->audible() && s->volume() == -441 ? 1 : 0;
            }
            rampOnMs = r.w->rampTimer().isEnabled() ? rampOnMs + 100 : 0;
            ASSERT_EQ(r.w->status(), DeckStatus::Playing) << step;
            ASSERT_LE(atMaster, 1) << step;
            ASSERT_TRUE(rampOnMs > 0 || heard == 1) << heard << " heard at " << step;
            ASSERT_LE(rampOnMs, 1100) << "ramp stuck at " << step;
        }
        // In order the list runs out, is reordered and plays on; shuffled it never runs out.
        EXPECT_GE(started.size(), shuffle ? 15u : 20u);
        EXPECT_GT(songs, 30);
        EXPECT_EQ(r.w->clipList->text(1, ColShuffleKey).isEmpty(), shuffle);
    }
}
