// The two ramps between the music and the insert window, tick by tick, as a
// station hears them: which fader moves when, and what the music window is
// left doing at each ramp's end.
#include "insert/InsertRig.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

// Music row 1 playing at master `mv`, past its own first ramp; the insert
// window set to `type` over `seconds` at master `iv`; then "Insert Now".
struct InsertIn {
    BreakRig b;
    InsertIn(int type, int seconds, int iv, int mv)
    {
        b.in().transitionTimeSpinner->setValue(seconds);
        b.in().transitionButtons[static_cast<size_t>(type)]->setValue(1);
        b.in().masterVolume->setValue(iv);
        b.m().play();
        b.r.time.advance(3000);
        b.m().masterVolume->setValue(mv);
        b.in().insertNowButton->press();
    }
    // Ticks first..last of `t` have these faders.
    template <typename Insert, typename Music>
    static void expectTicks(const std::vector<BreakRig::Tick>& t, int first, int last, Insert insert, Music music)
    {
        for (int c = first; c <= last; ++c) {
            const auto& k = t[static_cast<size_t>(c - 1)];
            EXPECT_EQ(std::tuple(k.c, k.insert, k.music), std::tuple(c, insert(c), music(c))) << "tick " << c;
        }
    }
};

}  // namespace

TEST(InsertRamps, CrossDissolveInAndOutWithEqualMasters)
{
    InsertIn s(0, 5, 85, 85);
    BreakRig& b = s.b;
    auto t = b.recordRamp();
    ASSERT_EQ(t.size(), 86u);
    // Tick 85 would put the music at 86, past silence: not applied.
    InsertIn::expectTicks(t, 1, 85, [](int c) { return 85 - c; }, [](int c) { return std::min(c + 1, 85); });
    EXPECT_EQ(std::pair(t[85].c, t[85].ms), std::pair(0, std::int64_t{86 * 60}));  // a tick each 5000 / 85 ms

    // The music waits, paused at the start of its next song, at its own level.
    EXPECT_EQ(std::tuple(b.in().insertState(), b.m().status(), b.m().rowInPlay()), std::tuple(InsertState::Idle, DeckStatus::Paused, 2));

    // Back to music: the music rises one step a tick while the insert falls.
    b.r.time.advance(2000);
    b.in().backToMusicButton->press();
    t = b.recordRamp();
    ASSERT_EQ(t.size(), 86u);
    InsertIn::expectTicks(t, 1, 85, [](int c) { return c; }, [](int c) { return 85 - c; });
    EXPECT_EQ(std::pair(b.in().goingBackToMusic(), b.in().status()), std::pair(false, DeckStatus::Stopped));
    EXPECT_EQ(b.r.stream(b.music[1])->state(), FakeStream::State::Running);
}

TEST(InsertRamps, UpDownDownUpMixAndCutShapes)
{
    // Faders as a + b * c over ticks first..last: Up Down (the insert up at
    // double speed, then the music down), Down Up (the music down first while
    // the insert waits silent, then the insert up once), Mix (both at their levels).
    struct Line {
        int first, last, ia, ib, ma, mb;
    };
    struct Shape {
        int type, master;
        std::vector<Line> lines;
    };
    for (const Shape& sh : {Shape{1, 85, {{1, 42, 85, -2, 0, 0}, {43, 85, 1, 0, -85, 2}}},
                            Shape{2, 85, {{1, 42, 85, 0, 0, 2}, {43, 85, 170, -2, 85, 0}}},
                            Shape{3, 64, {{1, 64, 21, 0, 21, 0}}}}) {
        SCOPED_TRACE(sh.type);
        InsertIn s(sh.type, 1, sh.master, sh.master);
        const auto t = s.b.recordRamp();
        ASSERT_EQ(t.size(), size_t(sh.master + 1));
        for (const Line& l : sh.lines)
            InsertIn::expectTicks(t, l.first, l.last, [&](int c) { return l.ia + l.ib * c; },
                                  [&](int c) { return l.ma + l.mb * c; });
        EXPECT_EQ(s.b.m().status(), DeckStatus::Paused);
    }
    {
        InsertIn s(4, 3, 85, 70);  // Cut: the switch on tick 1, the cue on tick 2
        const auto t = s.b.recordRamp();
        ASSERT_EQ(t.size(), 2u);
        EXPECT_EQ(std::tuple(t[0].insert, t[0].music, t[1].c, s.b.m().status()), std::tuple(0, 85, 0, DeckStatus::Paused));
    }
    // An insert master of 0 ends each ramp on its first tick; the ramp still
    // ticks, so the music is cued and comes back.
    InsertIn s(0, 5, 0, 85);
    s.b.r.time.advance(100);
    EXPECT_FALSE(s.b.in().insertInRampTimer().isEnabled());
    EXPECT_EQ(s.b.m().status(), DeckStatus::Paused);
    s.b.in().backToMusicButton->press();
    s.b.r.time.advance(100);
    EXPECT_FALSE(s.b.in().backToMusicRampTimer().isEnabled());
    EXPECT_TRUE(s.b.m().status() == DeckStatus::Playing && s.b.audible(s.b.m()));
}

TEST(InsertRamps, PlayOverMusicLeavesTheMusicAlone)
{
    InsertIn s(0, 1, 85, 64);
    BreakRig& b = s.b;
    b.in().playOverMusicCheck->setValue(1);
    b.in().insertNowButton->press();  // restart the break with the music played over
    const FakeStream* music = b.r.stream(b.music[0]);
    const auto t = b.recordRamp();
    for (const auto& k : t)
        EXPECT_EQ(k.music, 21) << "tick " << k.c;
    EXPECT_EQ(std::pair(b.m().status(), b.m().rowInPlay()), std::pair(DeckStatus::Playing, 1));
    EXPECT_EQ(b.r.stream(b.music[0]), music);
}

TEST(InsertRamps, MusicOnItsLastSongIsCuedToItsFirst)
{
    BreakRig b;
    b.m().clipList->selectOnly(4);
    b.m().playSelected();
    b.r.time.advance(3000);
    b.in().insertNowButton->press();
    b.recordRamp();
    EXPECT_EQ(std::pair(b.m().rowInPlay(), b.r.stream(b.music[0])->state()), std::pair(1, FakeStream::State::Paused));
}
