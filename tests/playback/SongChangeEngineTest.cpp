// The music window's own song change on the real engine, every type: song A
// sounds only on the left, song B only on the right, so each channel of the
// render is one song's level. B must come in by its ramp, never heard before
// the ramp's first tick, and A must only go down.

#include "../app/EngineStation.h"
#include "music/MusicWindow.h"
#include "playlist/PlaylistModel.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace tavlo::test {
namespace {

constexpr double kChangeAmplitude = 0.5;
constexpr int kChangeTransitionSeconds = 2;
constexpr double kChangeWindow = 0.02;
const char* const kChangeTypeNames[] = {"Cross Dissolve", "Up Down", "Down  Up", "Mix", "Cut"};

TEST(SongChangeOnEngine, EveryTypeLetsTheNextSongInByItsRampAndTakesTheOldOneOnlyDown)
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.wav"));
    const QString b = dir.filePath(QStringLiteral("b.wav"));
    ASSERT_TRUE(makeTone(a, 6, 660, kChangeAmplitude, 0));
    ASSERT_TRUE(makeTone(b, 8, 440, kChangeAmplitude, 1));
    const double full = kChangeAmplitude / std::sqrt(2.0);  // a tone's RMS at full master level

    for (int type = 0; type < kTransitionTypeCount; ++type) {
        SCOPED_TRACE(kChangeTypeNames[type]);
        EngineStation st("song-change");
        MusicWindow& w = st.station.music();
        st.station.start();
        w.transitionButtons[static_cast<size_t>(type)]->setValue(1);
        w.transitionTimeSpinner->setValue(kChangeTransitionSeconds);
        w.masterVolume->setValue(85);
        w.addFileToList(a, 0, *w.clipList);
        w.addFileToList(b, 0, *w.clipList);
        double change = -1;
        QObject::connect(&w, &PlayerWindow::songStarted, &w, [&](const QString& path) {
            if (path == b)
                change = double(st.frame()) / kRate;
        });
        w.play();
        st.run(9);
        const std::vector<float> out = st.take();
        ASSERT_GT(change, 0);

        // Before the ramp's first tick (the transition time over 85 steps) B is silent.
        const double firstTick = double(kChangeTransitionSeconds) / 85;
        EXPECT_LT(rmsAt(out, 1, change, change + firstTick * 0.8), full * 1e-3);
        double lastIn = 0, lastOut = HUGE_VAL;
        for (double t = change; t < change + kChangeTransitionSeconds + 0.3; t += kChangeWindow) {
            const double in = rmsAt(out, 1, t, t + kChangeWindow), old = rmsAt(out, 0, t, t + kChangeWindow);
            EXPECT_GE(in, lastIn * 0.98 - 1e-6) << "B fell at " << t - change << " s";
            EXPECT_LE(old, lastOut * 1.02 + 1e-6) << "A rose at " << t - change << " s";
            EXPECT_LE(in, full * 1.02);
            // Where the type does not mean to play both at once, the change is
            // never louder than A was alone.
            const auto kind = static_cast<TransitionType>(type);
            if (kind != TransitionType::Mix && kind != TransitionType::UpDown) {
                EXPECT_LE(std::sqrt(in * in + old * old), full * 1.02) << "at " << t - change << " s";
            }
            lastIn = in;
            lastOut = old;
        }
        EXPECT_NEAR(rmsAt(out, 1, change + kChangeTransitionSeconds + 0.3, change + kChangeTransitionSeconds + 0.8), full, full * 0.02)
            << "B reaches its level";
    }
}

}  // namespace
}  // namespace tavlo::test
