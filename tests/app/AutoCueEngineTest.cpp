// "Auto Cue" heard through the offline engine: songs shaped as files are
// (silence before, a fade and silence after) follow each other with no gap a
// listener would hear, and with the switch off the station renders exactly
// what it renders with no analysis at all.

#include "EngineStation.h"
#include "../engine/TestMedia.h"
#include "engine/LoudnessAnalyzer.h"
#include "music/MusicWindow.h"
#include "playback/AutoCue.h"
#include "playlist/PlaylistModel.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <optional>

namespace tavlo::test {
namespace {

constexpr double kShapedSongSeconds = 21;
constexpr double kAutoCueRenderSeconds = 62;

// 2 s of silence, 10 s of tone, a 6 s fade to nothing, 3 s of silence; or
// with a cold ending, 16 s of tone stopping dead.
float shapedTone(double t, double hz, bool cold)
{
    const double fade = t < 2 ? 0 : t < 12 ? 1 : t < 18 ? (18 - t) / 6 : 0;
    const double gain = cold ? (t >= 2 && t < 18 ? 1 : 0) : fade;
    return static_cast<float>(0.5 * gain * std::sin(2 * M_PI * hz * t));
}

// The quietest half second from `fromSec` to `toSec`, both channels, in dBFS
// (RMS), looked at every 50 ms.
double quietestHalfSecondDb(const std::vector<float>& s, double fromSec, double toSec)
{
    double worst = HUGE_VAL;
    for (double t = fromSec; t + 0.5 <= toSec; t += 0.05) {
        const double l = rmsAt(s, 0, t, t + 0.5), r = rmsAt(s, 1, t, t + 0.5);
        worst = std::min(worst, 20 * std::log10(std::max(1e-9, std::sqrt((l * l + r * r) / 2))));
    }
    return worst;
}

// The list through the music window, Cross Dissolve over 3 s at full master
// level; the switch as given, or as fresh settings have it.
std::vector<float> renderList(const QStringList& songs, LoudnessService& loudness, std::optional<bool> autoCue,
                          const char* name)
{
    EngineStation st(name, loudness);
    MusicWindow& w = st.station.music();
    if (autoCue)
        w.autoCue().force(*autoCue);
    st.station.start();
    w.chooseTransition(TransitionType::CrossDissolve);
    w.transitionButtons[0]->setValue(1);
    w.transitionTimeSpinner->setValue(3);
    w.masterVolume->setValue(85);
    for (const QString& path : songs)
        w.addFileToList(path, 0, *w.clipList);
    w.play();
    st.run(kAutoCueRenderSeconds);
    return st.take();
}

TEST(AutoCueOnEngine, FadingSongsFollowEachOtherWithoutSilenceAndOffRendersAsBefore)
{
    QTemporaryDir dir;
    QStringList songs;
    for (const double hz : {330.0, 440.0, 550.0, 660.0}) {
        const bool cold = hz == 440.0 || hz == 660.0;
        songs << dir.filePath(QStringLiteral("song%1.wav").arg(hz));
        ASSERT_TRUE(writeWav(songs.last(), kRate, 2, kShapedSongSeconds, SF_FORMAT_PCM_16,
                             [hz, cold](double t) { return shapedTone(t, hz, cold); }));
    }
    QTemporaryDir cache;
    LoudnessAnalyzer analyzer(cache.filePath(QStringLiteral("loudness.tsv")), LoudnessAnalyzer::Mode::OnDemand);

    // Each song from 2 s to its change some 16.5 s in: four songs in about
    // 58 s, the fading ones handing over in their fade, the cold ones half
    // the transition before they stop. (Play itself fades the first song in
    // over the transition time.)
    const std::vector<float> on = renderList(songs, analyzer, std::nullopt, "autocue-on");
    EXPECT_GT(quietestHalfSecondDb(on, 3, 58), -45) << "no gap between songs";

    // Off: the songs whole, the silences heard (about 10 s in three changes),
    // sample for sample what a station with no analysis plays.
    const std::vector<float> off = renderList(songs, analyzer, false, "autocue-off");
    const std::vector<float> none = renderList(songs, noLoudness(), true, "autocue-none");
    EXPECT_LT(quietestHalfSecondDb(off, 3, 58), -60);
    ASSERT_EQ(off.size(), none.size());
    EXPECT_TRUE(off == none) << "the switch off changes nothing";
}

}  // namespace
}  // namespace tavlo::test
