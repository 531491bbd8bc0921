// A break on the real engine, heard through the WAV writer: the music window
// sounds only on the left, the insert window only on the right, so each
// channel of the rendered file is one window's level. Music song A plays, the
// insert window breaks in with two inserts, and the music comes back with
// song B from its trimmed start.

#include "../app/EngineStation.h"
#include "music/MusicWindow.h"
#include "insert/InsertWindow.h"
#include "platform/TimerService.h"
#include "playlist/PlaylistModel.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace tavlo::test {
namespace {

constexpr double kBreakAmplitude = 0.5;
constexpr int kTransitionSeconds = 2;
// The ramps take the transition time and a tenth.
constexpr double kRampSeconds = kTransitionSeconds + 0.1;
constexpr double kPressAt = 3;
constexpr double kRenderSeconds = 13;
// Song A and the body of song B; B's first second after its trimmed start
// is at half that pitch, so its start can be told by ear and by count.
constexpr double kMusicHz = 660;
constexpr double kMarkerHz = 330;
constexpr double kInsertHz[] = {550, 440};
const double kFullPeak = kBreakAmplitude * kMasterGain;
const double kFullRms = kFullPeak / std::sqrt(2.0);
// Quieter than this, both channels together, counts as silence.
const double kSilenceRms = kFullRms * 1e-3;  // -60 dB under the master level
// A stopped song fades out over 6 ms: silence is measured from this long after the stop.
constexpr double kFadeOut = 0.01;

const char* const kTypeNames[] = {"Cross Dissolve", "Up Down", "Down  Up", "Mix", "Cut"};

struct Media {
    QTemporaryDir dir;
    QString a = dir.filePath(QStringLiteral("a.wav"));
    QString b = dir.filePath(QStringLiteral("b.wav"));
    QString inserts[2] = {dir.filePath(QStringLiteral("insert1.wav")), dir.filePath(QStringLiteral("insert2.wav"))};
    Media()
    {
        EXPECT_TRUE(makeTone(a, 20, kMusicHz, kBreakAmplitude, 0));
        // B: 2 s of silence the music window's cut-first skips, the marker, the body.
        const QString marker = dir.filePath(QStringLiteral("marker.wav"));
        const QString body = dir.filePath(QStringLiteral("body.wav"));
        EXPECT_TRUE(makeTone(marker, 1, kMarkerHz, kBreakAmplitude, 0));
        EXPECT_TRUE(makeTone(body, 10, kMusicHz, kBreakAmplitude, 0));
        EXPECT_TRUE(sox({marker, body, b, QStringLiteral("pad"), QStringLiteral("2"), QStringLiteral("0")}));
        for (int i = 0; i < 2; ++i)
            EXPECT_TRUE(makeTone(inserts[i], 5, kInsertHz[i], kBreakAmplitude, 1));
    }
};

// Both windows wired as the program wires them, and the moments the break's
// ramps began and ended, in seconds of the render.
struct Break {
    EngineStation st;
    MusicWindow& music = st.station.music();
    InsertWindow& insert = st.station.insert();
    std::vector<float> out;
    double press = -1, inEnd = -1, back = -1, backEnd = -1;

    Break(const Media& media, int type, const char* name) : st(name)
    {
        st.station.start();
        music.cutFirstSpinner->setValue(2);
        music.addFileToList(media.a, 0, *music.clipList);
        music.addFileToList(media.b, 0, *music.clipList);
        insert.transitionButtons[static_cast<size_t>(type)]->setValue(1);
        insert.transitionTimeSpinner->setValue(kTransitionSeconds);
        for (const QString& path : media.inserts)
            insert.addFileToList(path, 0, *insert.clipList);

        music.playButton->press();
        st.run(kPressAt);
        press = now();
        insert.insertNowButton->press();
        st.run(kRenderSeconds - kPressAt, [this] {
            if (inEnd < 0 && !insert.insertInRampTimer().isEnabled())
                inEnd = now();
            if (back < 0 && insert.goingBackToMusic() != false)
                back = now();
            if (back >= 0 && backEnd < 0 && insert.goingBackToMusic() == false)
                backEnd = now();
        });
        out = st.take();
    }
    double now() { return double(st.frame()) / kRate; }
};

std::size_t at(double sec) { return static_cast<std::size_t>(std::lround(sec * kRate)); }

double frequency(const std::vector<float>& s, int channel, double fromSec, double toSec)
{
    int crossings = 0;
    for (std::size_t i = at(fromSec) + 1; i < std::min(at(toSec), s.size() / 2); ++i)
        crossings += (s[2 * i + channel] >= 0) != (s[2 * (i - 1) + channel] >= 0);
    return crossings / 2.0 / (toSec - fromSec);
}

struct Silence {
    double seconds = 0;
    double from = 0;
};

// The longest run of 10 ms windows from `fromSec` on where left and right
// together stay under the floor.
Silence longestSilence(const std::vector<float>& s, double fromSec = 0)
{
    const std::size_t w = kRate / 100;
    Silence worst;
    std::size_t runStart = 0, run = 0;
    for (std::size_t i = at(fromSec); i + w <= s.size() / 2; i += w) {
        const double l = OfflineRig::rms(s, 0, i, i + w), r = OfflineRig::rms(s, 1, i, i + w);
        if (std::sqrt(l * l + r * r) < kSilenceRms) {
            if (run++ == 0)
                runStart = i;
            if (double(run * w) / kRate > worst.seconds)
                worst = {double(run * w) / kRate, double(runStart) / kRate};
        } else {
            run = 0;
        }
    }
    return worst;
}

// Every transition type through the same break: the air is never empty for
// longer than the ramp, nothing clicks (on the right two inserts may sound at
// full together, as in an Up Down insert change) and song B comes back.
// Cross Dissolve is measured closely. What a listener hears in each is in
// docs/performance.md.
TEST(InsertBreakOnEngine, EveryTypeKeepsTheAirAndCrossDissolveFadesOverAndBringsBNextFromItsStart)
{
    Media media;
    for (int type = 0; type < 5; ++type) {
        SCOPED_TRACE(kTypeNames[type]);
        Break br(media, type, type == 0 ? "insert-break" : "insert-type");
        const auto& out = br.out;
        ASSERT_GT(br.backEnd, 0) << "the music never came back";
        const Silence gap = longestSilence(out);
        EXPECT_LE(gap.seconds, kRampSeconds) << "dead air at " << gap.from;
        EXPECT_LT(largestStep(out, 0), toneStep(kMusicHz, kBreakAmplitude)) << "click on the music";
        EXPECT_LT(largestStep(out, 1), toneStep(kInsertHz[0], kBreakAmplitude) + (type == 0 ? 0.0 : toneStep(kInsertHz[1], kBreakAmplitude)))
            << "click on the inserts";
        EXPECT_NEAR(rmsAt(out, 0, kRenderSeconds - 1, kRenderSeconds), kFullRms, 0.02 * kFullRms) << "the music back";
        EXPECT_NEAR(frequency(out, 0, kRenderSeconds - 1, kRenderSeconds), kMusicHz, 0.02 * kMusicHz) << "song B";
        EXPECT_LT(rmsAt(out, 1, br.backEnd + kFadeOut, kRenderSeconds), 1e-6) << "the insert gone";
        EXPECT_EQ(std::pair(br.insert.status(), br.music.status()), std::pair(DeckStatus::Stopped, DeckStatus::Playing));
        if (type == 0) {
            // Across each ramp one side falls and the other rises, 100 ms at a time.
            auto crossFade = [&](double from, double to, int falling, const char* which) {
                double lastDown = 1, lastUp = 0;
                for (double t = from; t + 0.1 <= to; t += 0.1) {
                    const double down = rmsAt(out, falling, t, t + 0.1), up = rmsAt(out, 1 - falling, t, t + 0.1);
                    EXPECT_LE(down, lastDown * 1.01 + 1e-7) << which << ": the fading side rose at " << t;
                    EXPECT_GE(up, lastUp * 0.99 - 1e-7) << which << ": the rising side fell at " << t;
                    lastDown = down;
                    lastUp = up;
                }
            };
            crossFade(br.press, br.inEnd, 0, "insert-in");
            crossFade(br.back, br.backEnd, 1, "back to music");
            // B is back with the press, from its trimmed start: the marker first.
            EXPECT_NEAR(frequency(out, 0, br.back + 0.2, br.back + 0.8), kMarkerHz, 0.05 * kMarkerHz);
        }
    }
}

// A break starts without a blip, whatever its type: the insert is heard no
// sooner and no louder than its ramp lets it in, so in the first half second
// the air is never louder than the music was ("Mix" alone plays both at their
// masters by design); on the way in the insert only rises, on the way back it
// only falls.
TEST(InsertBreakOnEngine, EveryTypeLetsTheInsertInByItsRampAndOutTheSameWay)
{
    Media media;
    constexpr double kWindow = 0.02;
    for (int type = 0; type < 5; ++type) {
        SCOPED_TRACE(kTypeNames[type]);
        Break br(media, type, "insert-entry");
        const auto& out = br.out;
        ASSERT_GT(br.backEnd, 0) << "the music never came back";
        const double before = rmsAt(out, 0, br.press - 0.5, br.press);
        if (type != 3) {
            for (double t = br.press; t + kWindow <= br.press + 0.5; t += kWindow) {
                const double l = rmsAt(out, 0, t, t + kWindow), r = rmsAt(out, 1, t, t + kWindow);
                EXPECT_LE(std::sqrt(l * l + r * r), before * 1.05) << "louder than the music at " << t - br.press;
            }
        }
        auto monotonic = [&](double from, double to, bool rising, const char* which) {
            double last = rising ? 0 : 1;
            for (double t = from; t + kWindow <= to; t += kWindow) {
                const double r = rmsAt(out, 1, t, t + kWindow);
                if (rising)
                    EXPECT_GE(r, last * 0.97 - 1e-6) << which << ": the insert fell at " << t - from;
                else
                    EXPECT_LE(r, last * 1.03 + 1e-6) << which << ": the insert rose at " << t - from;
                last = r;
            }
        };
        monotonic(br.press, br.inEnd, true, "insert-in");
        monotonic(br.back, br.backEnd, false, "back to music");
    }
}

}  // namespace
}  // namespace tavlo::test
