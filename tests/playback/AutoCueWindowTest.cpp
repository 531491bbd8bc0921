// "Auto Cue" in the player windows, on fake media and a fake loudness
// service: where each song starts and hands over, what the deck and the list
// show, the cuts on top, a song not analysed in time, the switch and its
// settings.
#include "playback/AutoCue.h"
#include "playback/FormatMinutes.h"
#include "playback/SongLoudness.h"
#include "playback/WindowRig.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

// The music window's song changes: which song, where in its file it started
// and where the song before it was when it did.
struct SongStart {
    QString path;
    double from;
    double previousAt;
};

std::vector<SongStart> recordSongStarts(WindowRig& r, int count)
{
    std::vector<SongStart> starts;
    QString last = r.pathInPlay();
    double previousAt = 0;
    while (starts.size() < static_cast<size_t>(count) && r.time.step(50)) {
        const QString now = r.pathInPlay();
        FakeStream* s = r.stream(now);
        if (now != last && s && s->state() == FakeStream::State::Running) {
            starts.push_back({now, s->position(), previousAt});
            last = now;
        }
        if (FakeStream* cur = r.stream(last))
            previousAt = cur->position();
    }
    return starts;
}

}  // namespace

TEST(AutoCue, SongsPlayFromCueInAndHandOverAtTheirSegueWithTheCutsOnTop)
{
    WindowRig r;
    MusicWindow& w = *r.w;
    ASSERT_TRUE(w.autoCue().enabled()) << "on in fresh settings";
    EXPECT_TRUE(w.autoCueItem->checked());
    EXPECT_GT(w.clipList->widthTwips(ColCueIn), 0);

    const QString a = r.add(QStringLiteral("a"), 40);
    const QString b = r.add(QStringLiteral("b"), 40);
    const QString late = r.add(QStringLiteral("late"), 40);  // never analysed in time
    const QString c = r.add(QStringLiteral("c"), 40);
    r.loudness.setCues(a, {2.0, 31.35, 36.0});
    r.loudness.setCues(b, {1.5, 33.0, 38.0});
    r.loudness.setCues(c, {0.25, 30.0, 39.0});
    w.transitionTimeSpinner->setValue(4);

    w.play();
    EXPECT_NEAR(r.stream(a)->position(), 2.0, 1e-9) << "the decoder starts at cue-in";
    EXPECT_EQ(w.clipList->text(1, ColCueIn), QStringLiteral("0:02.0"));
    EXPECT_EQ(w.clipList->text(1, ColSegue), QStringLiteral("0:31.4"));
    r.time.advance(9000);
    w.onPositionTick();
    EXPECT_EQ(w.songLengthLabel->text(), formatMinutes(29)) << "from cue-in to the segue";
    EXPECT_EQ(w.timeLeftLabel->text(), formatMinutes(31 - 11)) << "Left counts to the segue, no lead";
    EXPECT_EQ(w.positionLabel->text(), formatMinutes(9));

    const std::vector<SongStart> starts = recordSongStarts(r, 3);
    ASSERT_EQ(starts.size(), 3u);
    // a hands over at its segue (within a position tick), b starts at its cue-in.
    EXPECT_EQ(starts[0].path, b);
    EXPECT_NEAR(starts[0].previousAt, 31.35, 0.15);
    EXPECT_NEAR(starts[0].from, 1.5, 0.06);
    // b's successor has no analysis yet: it plays from 0, and b still hands
    // over by its own segue.
    EXPECT_EQ(starts[1].path, late);
    EXPECT_NEAR(starts[1].previousAt, 33.0, 0.15);
    EXPECT_NEAR(starts[1].from, 0.0, 0.06);
    // late hands over by today's rule: the transition time before its end.
    EXPECT_EQ(starts[2].path, c);
    EXPECT_NEAR(starts[2].previousAt, 40.0 - 4.0, 0.6);
    EXPECT_EQ(w.clipList->text(3, ColCueIn), QString()) << "nothing shown for a song not analysed";

    // The cuts come on top, as extra seconds at both ends.
    w.stop();
    w.cutFirstSpinner->setValue(1);
    w.cutLastSpinner->setValue(2);
    w.clipList->selectOnly(1);
    w.playSelected();
    EXPECT_NEAR(r.stream(a)->position(), 3.0, 0.06);
    EXPECT_EQ(w.clipList->text(1, ColLength), formatMinutes(31.35 - 2 - 3));
    const std::vector<SongStart> cut = recordSongStarts(r, 1);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_NEAR(cut[0].previousAt, 29.35, 0.15);
    EXPECT_NEAR(cut[0].from, 2.5, 0.06);

    // "Calculate Total": the analysed songs from cue-in to segue with no
    // overlap taken off; the other less its cuts and one transition time.
    w.calculateButton->press();
    const double total = (31.35 - 3 - 2) + (33 - 2.5 - 2) + (40 - 3 - 4) + (30 - 1.25 - 2);
    EXPECT_EQ(w.totalLengthLabel->text(), formatMinutes(total));
}

TEST(AutoCue, EachWindowKeepsItsOwnSwitchAndTheNextSongFollowsIt)
{
    WindowRig r;
    MusicWindow& w = *r.w;
    EXPECT_FALSE(r.ins->autoCue().enabled()) << "ads are edited tight";
    EXPECT_FALSE(r.ins->autoCueItem->checked());
    EXPECT_EQ(r.ins->clipList->widthTwips(ColCueIn), 0);

    const QString a = r.add(QStringLiteral("a"), 40);
    const QString b = r.add(QStringLiteral("b"), 40);
    r.loudness.setCues(a, {2.0, 30.0, 36.0});
    r.loudness.setCues(b, {3.0, 30.0, 36.0});
    w.play();
    ASSERT_GE(w.changeAt(), 0);
    // Switched off mid-song: the song in play keeps its span, the next one
    // plays whole; the cue columns go.
    w.autoCueItem->click();
    EXPECT_FALSE(w.autoCueItem->checked());
    EXPECT_EQ(w.clipList->widthTwips(ColSegue), 0);
    EXPECT_NEAR(w.changeAt(), 30.0, 1e-9);
    ASSERT_TRUE(r.runUntil([&] { return r.pathInPlay() == b; }));
    EXPECT_NEAR(r.stream(b)->position(), 0.0, 0.06);
    EXPECT_LT(w.changeAt(), 0);

    // The switch alone, with "Normalize Loudness" off, has the rows ahead analysed.
    EXPECT_FALSE(w.loudness().enabled());
    ASSERT_FALSE(r.loudness.requests.isEmpty());

    // Stored per window and read back over each window's default.
    r.ins->autoCueItem->click();
    w.saveSettings();
    r.ins->saveSettings();
    WindowRig again(false);
    again.settings.values = r.settings.values;
    again.station.start();
    EXPECT_FALSE(again.w->autoCue().enabled());
    EXPECT_TRUE(again.ins->autoCue().enabled());
}

// Where the points and the transition would leave the air empty, the change
// comes earlier: a cold ending hands over half a ramp before its sound stops,
// and a point read back from the cache a hair past the file's end (a quiet
// song's segue is its end) never keeps the deck waiting for a position the
// song cannot reach.
TEST(AutoCue, ColdEndingsAndPointsPastTheEndStillHandOver)
{
    WindowRig r;
    MusicWindow& w = *r.w;
    const QString cold = r.add(QStringLiteral("cold"), 20);
    const QString quiet = r.add(QStringLiteral("quiet"), 12.6);  // the player says 13 s
    const QString next = r.add(QStringLiteral("next"), 30);
    r.loudness.setCues(cold, {1.0, 19.95, 20.0});
    r.loudness.setCues(quiet, {0.0, 12.601, 12.601});
    w.transitionTimeSpinner->setValue(4);

    w.play();
    EXPECT_NEAR(w.changeAt(), 20.0 - 2.0, 1e-9) << "Cross Dissolve: half its 4 s before the sound stops";
    const std::vector<SongStart> starts = recordSongStarts(r, 1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_NEAR(starts[0].previousAt, 18.0, 0.15);

    // "Mix" starts the next song at its level: the quiet song plays to its end.
    w.transitionButtons[static_cast<size_t>(TransitionType::Mix)]->setValue(1);
    w.stop();
    w.clipList->selectOnly(2);
    w.playSelected();
    ASSERT_EQ(r.pathInPlay(), quiet);
    EXPECT_LE(w.changeAt(), 12.6);
    ASSERT_TRUE(r.runUntil([&] { return r.pathInPlay() == next; }, 20000)) << "the deck waited past the end";
}
