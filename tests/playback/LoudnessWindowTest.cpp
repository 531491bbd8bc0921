// "Normalize Loudness" in the player windows, on fake media and a fake
// loudness service: which trim each song starts with, which rows are
// measured ahead, and each window's own switch and target.
#include "playback/AutoCue.h"
#include "playback/SongLoudness.h"
#include "playback/WindowRig.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

TEST(Loudness, EachSongStartsWithItsTrimAndTheRowsAheadAreMeasured)
{
    WindowRig r;
    MusicWindow& w = *r.w;
    const QString loud = r.add(QStringLiteral("loud"), 30);
    const QString quiet = r.add(QStringLiteral("quiet"), 30);
    const QString peaky = r.add(QStringLiteral("peaky"), 30);
    const QString silent = r.add(QStringLiteral("silent"), 30);
    const QString late = r.add(QStringLiteral("late"), 30);
    r.loudness.set(loud, -8, -2);     // down 10 dB
    r.loudness.set(quiet, -30, -20);  // up 12 dB, the peak allows 19
    r.loudness.set(peaky, -30, -6);   // wants 12 dB, the peak allows 5
    r.loudness.known.insert(silent, {LoudnessMeasurement::State::Unmeasurable});
    // `late` is never measured in time.

    EXPECT_FALSE(w.normalizeLoudnessItem->checked());
    w.autoCueItem->click();  // it needs the measurements too
    ASSERT_FALSE(w.autoCue().enabled());
    w.play();
    EXPECT_EQ(r.stream(loud)->trimAtFirstRun, 0) << "switched off: every song as it is";
    EXPECT_TRUE(r.loudness.requests.empty()) << "nothing is measured while off";

    // Switched on in the middle of the list: the rows after the one in play.
    w.normalizeLoudnessItem->click();
    EXPECT_TRUE(w.normalizeLoudnessItem->checked());
    EXPECT_EQ(r.loudness.requests.value(0), (QStringList{quiet, peaky, silent}));

    w.clearList();
    r.loudness.requests.clear();
    w.openFile(loud);
    for (const QString& p : {quiet, peaky, silent, late})
        w.addFileToList(p, 0, *w.clipList);
    EXPECT_EQ(r.loudness.requests.value(0), QStringList{loud}) << "an opened list's first rows";
    w.stop();
    w.play();
    EXPECT_EQ(r.loudness.requests.last(), (QStringList{quiet, peaky, silent})) << "the next rows, in order";

    std::vector<int> heardWith;  // loud, quiet, peaky, silent, late
    for (const QString& p : {loud, quiet, peaky, silent, late}) {
        ASSERT_TRUE(r.runUntil([&] { return r.pathInPlay() == p && r.stream(p)->trimAtFirstRun; })) << qPrintable(p);
        heardWith.push_back(*r.stream(p)->trimAtFirstRun);
    }
    EXPECT_EQ(heardWith, (std::vector<int>{-1000, 1200, 500, 0, 0}));
    EXPECT_EQ(w.loudness().startsNotReady(), 1) << "only the song whose measurement was missing";
}

