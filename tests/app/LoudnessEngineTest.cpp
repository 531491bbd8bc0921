// "Normalize Loudness" heard through the offline engine: songs far apart in
// level come out at the target, a song with near-full-scale peaks is held at
// the true-peak ceiling, and the rendered output is measured with libebur128
// directly.

#include "EngineStation.h"
#include "../engine/TestMedia.h"
#include "music/MusicWindow.h"
#include "engine/LoudnessAnalyzer.h"
#include "playback/SongLoudness.h"
#include "playlist/PlaylistModel.h"

#include <QTemporaryDir>

#include <ebur128.h>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <functional>

namespace tavlo::test {
namespace {

struct Level {
    double lufs = -HUGE_VAL;
    double truePeak = -HUGE_VAL;
};

// Interleaved stereo frames [from, to) seconds of a render.
Level measure(const std::vector<float>& s, double fromSec, double toSec)
{
    ebur128_state* st = ebur128_init(2, kRate, EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK);
    const auto from = static_cast<std::size_t>(fromSec * kRate);
    const auto to = std::min(s.size() / 2, static_cast<std::size_t>(toSec * kRate));
    if (to > from)
        ebur128_add_frames_float(st, s.data() + 2 * from, to - from);
    Level l;
    double p0 = 0, p1 = 0;
    ebur128_loudness_global(st, &l.lufs);
    ebur128_true_peak(st, 0, &p0);
    ebur128_true_peak(st, 1, &p1);
    l.truePeak = 20 * std::log10(std::max(p0, p1));
    ebur128_destroy(&st);
    return l;
}

float sine(double t, double hz, double amplitude)
{
    return static_cast<float>(amplitude * std::sin(2 * M_PI * hz * t));
}

// The music window on the offline engine with the render's measuring (each
// song measured as it loads), full master level and hard cuts between songs.
struct Measured {
    QTemporaryDir cache;
    LoudnessAnalyzer analyzer{cache.filePath(QStringLiteral("loudness.tsv")), LoudnessAnalyzer::Mode::OnDemand};
};
struct LoudStation : Measured, EngineStation {
    MusicWindow& w = station.music();
    std::vector<std::int64_t> starts;

    explicit LoudStation(const char* name) : EngineStation(name, analyzer)
    {
        station.start();
        QObject::connect(&w, &PlayerWindow::songStarted, &w, [this](const QString&) { starts.push_back(frame()); });
        w.loudness().force(-18);
        w.transitionButtons[4]->setValue(1);
        w.masterVolume->setValue(85);
    }
    double startSec(std::size_t i) const { return i < starts.size() ? double(starts[i]) / kRate : 1e9; }
};

TEST(LoudnessOnEngine, SongsTwentyDbApartPlayAtTheTargetAndLoudPeaksHoldTheCeiling)
{
    QTemporaryDir dir;
    auto song = [&dir](const char* name, const std::function<float(double)>& signal) {
        const QString path = dir.filePath(QLatin1String(name));
        EXPECT_TRUE(writeWav(path, kRate, 2, 8, SF_FORMAT_FLOAT, signal));
        return path;
    };
    // A chord, so the measure is not one frequency's K-weighting.
    const QString quiet = song("quiet.wav", [](double t) { return sine(t, 220, 0.025) + sine(t, 660, 0.025); });
    const QString loud = song("loud.wav", [](double t) { return sine(t, 220, 0.25) + sine(t, 660, 0.25); });
    // A quiet tone with a 2 ms burst near full scale every half second: its
    // loudness asks for some +9 dB, its peaks allow less than none.
    const QString peaky = song("peaky.wav", [](double t) {
        const double d = std::fmod(t, 0.5);
        const double burst = d < 0.002 ? 0.95 * std::sin(M_PI * d / 0.002) * std::sin(2 * M_PI * 3000 * d) : 0.0;
        return sine(t, 440, 0.03) + static_cast<float>(burst);
    });
    const auto file = LoudnessAnalyzer::measureFile(peaky);
    ASSERT_GT(-18 - file.integratedLufs, 5.0);
    ASSERT_GT(file.truePeakDbtp, -1.0);

    LoudStation st("loudness");
    for (const QString& path : {quiet, loud, peaky})
        st.w.addFileToList(path, 0, *st.w.clipList);
    st.w.play();
    st.run(23);
    const auto out = st.take();
    ASSERT_GE(st.starts.size(), 3u);
    const Level a = measure(out, st.startSec(0) + 0.5, st.startSec(1) - 0.5);
    const Level b = measure(out, st.startSec(1) + 0.5, st.startSec(1) + 6);
    EXPECT_NEAR(a.lufs, -18, 1.0);
    EXPECT_NEAR(b.lufs, -18, 1.0);
    EXPECT_NEAR(a.lufs, b.lufs, 1.0);
    EXPECT_EQ(st.w.loudness().startsNotReady(), 0) << "a render measures every song before it starts";
    // The files themselves are as they were: 20 dB apart.
    EXPECT_NEAR(LoudnessAnalyzer::measureFile(loud).integratedLufs - LoudnessAnalyzer::measureFile(quiet).integratedLufs, 20, 0.1);

    const Level heard = measure(out, st.startSec(2) + 0.1, st.startSec(2) + 6);
    EXPECT_LE(heard.truePeak, -0.98);
    EXPECT_GE(heard.truePeak, -1.1) << "held at the ceiling, not turned down further";
    EXPECT_LT(heard.lufs, -18 - 4) << "the peaks keep it from reaching the target";
}

}  // namespace
}  // namespace tavlo::test
