// The music window on the real engine, heard through the WAV writer: song A
// sounds only on the left, song B only on the right (after two seconds of
// silence that the cut-first trims away), so each channel of the rendered
// file is one song's level.

#include "app/EngineStation.h"
#include "fakes/TestFiles.h"
#include "music/MusicWindow.h"
#include "playlist/PlaylistModel.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace tavlo::test {
namespace {

constexpr double kMusicAmplitude = 0.5;
// A song's RMS at the master level.
const double kFull = kMusicAmplitude / std::sqrt(2.0) * kMasterGain;

struct Songs {
    QTemporaryDir dir;
    QString a = dir.filePath(QStringLiteral("a-left.wav"));
    QString b = dir.filePath(QStringLiteral("b-right.wav"));
    Songs()
    {
        EXPECT_TRUE(makeTone(a, 20, 440, kMusicAmplitude, 0));
        EXPECT_TRUE(makeTone(b, 18, 660, kMusicAmplitude, 1, 2));
    }
};

// The music window driven in audio time.
struct MusicOnEngine : EngineStation {
    MusicWindow& w = station.music();
    std::int64_t changeAtFrame = -1;

    explicit MusicOnEngine(const char* name) : EngineStation(name)
    {
        station.start();
        QObject::connect(&w, &PlayerWindow::songStarted, &w, [this](const QString& path) {
            if (path.endsWith(QLatin1String("b-right.wav")))
                changeAtFrame = frame();
        });
    }
    // Song A then song B, A trimmed by 2 s at its start (so is B, whose first
    // 2 s are silence), handed over by `type` over `transitionTime` seconds.
    std::vector<float> playPair(const Songs& songs, int type, int transitionTime, double seconds,
                                const QStringList& between = {})
    {
        w.transitionButtons[static_cast<size_t>(type)]->setValue(1);
        w.transitionTimeSpinner->setValue(transitionTime);
        w.cutFirstSpinner->setValue(2);
        w.addFileToList(songs.a, 0, *w.clipList);
        for (const QString& path : between)
            w.addFileToList(path, 0, *w.clipList);
        w.addFileToList(songs.b, 0, *w.clipList);
        w.play();
        run(seconds);
        return take();
    }
};

// Between two good songs, then with bad rows between them, whose change
// must start where it did and sound the same.
TEST(MusicWindowOnEngine, CrossDissolveHandsOverSmoothlyFromTheTrimmedStartAndBadRowsBetweenLeaveItWhole)
{
    Songs songs;
    MusicOnEngine good("cross-dissolve");
    const auto heard = good.playPair(songs, 0, 5, 22);
    ASSERT_GT(good.changeAtFrame, 0) << "song B never started";
    const double t0 = double(good.changeAtFrame) / kRate;
    // A plays from 2 s of its 20; its change starts within its last 5 s.
    EXPECT_NEAR(t0, 12.5, 0.6);

    EXPECT_NEAR(rmsAt(heard, 0, 8, 12), kFull, 0.01 * kFull) << "A at the master level before the change";
    EXPECT_EQ(rmsAt(heard, 1, 0, t0), 0.0) << "nothing on B's side before it starts";

    // Across the ramp A falls and B rises, half a second at a time.
    double lastA = 1, lastB = 0;
    for (double t = t0; t < t0 + 4.9; t += 0.5) {
        const double a = rmsAt(heard, 0, t, t + 0.1), b = rmsAt(heard, 1, t, t + 0.1);
        EXPECT_LE(a, lastA + 1e-4) << "A rose at " << t;
        EXPECT_GE(b, lastB - 1e-4) << "B fell at " << t;
        lastA = a;
        lastB = b;
    }
    // B's tone is there from the first ramp step: it started at 2 s, not in its silence.
    EXPECT_GT(rmsAt(heard, 1, t0 + 0.1, t0 + 0.4), 1e-5);
    EXPECT_NEAR(rmsAt(heard, 1, t0 + 5.5, t0 + 8), kFull, 0.01 * kFull) << "B at the master level after the ramp";
    EXPECT_LT(rmsAt(heard, 0, t0 + 5.2, t0 + 9), 1e-6) << "A silent after the ramp";

    const QString missing = songs.dir.filePath(QStringLiteral("missing.mp3"));
    QByteArray noise;
    for (std::uint32_t x = 12345; noise.size() < 256 * 1024; x = x * 1664525u + 1013904223u)
        noise.append(static_cast<char>(x >> 24));
    const QString garbage = writeFile(songs.dir.filePath(QStringLiteral("garbage.mp3")), noise);
    MusicOnEngine st("bad-rows");
    QStringList errors;
    QObject::connect(&st.w, &PlayerWindow::logEntryWritten, [&errors](const QString& error, const QString& path) {
        if (!error.isEmpty())
            errors << error + path;
    });
    const auto out = st.playPair(songs, 0, 5, 22, {missing, garbage});
    ASSERT_GT(st.changeAtFrame, 0) << "song B never started after the bad rows";
    // Tenth of a second by tenth: A's whole ramp out, B's whole ramp in.
    EXPECT_NEAR(double(st.changeAtFrame - good.changeAtFrame) / kRate, 0, 0.11);
    for (double t = t0 - 2; t < t0 + 6; t += 0.1) {
        for (int ch = 0; ch < 2; ++ch)
            EXPECT_NEAR(rmsAt(out, ch, t, t + 0.1), rmsAt(heard, ch, t, t + 0.1), 0.02 * kFull) << ch << " at " << t;
        EXPECT_GT(rmsAt(out, 0, t, t + 0.1) + rmsAt(out, 1, t, t + 0.1), 0.1 * kFull) << "a hole at " << t;
    }
    // No click: no sample-to-sample jump beyond what the tones themselves make.
    for (const auto* render : {&heard, &out}) {
        EXPECT_LT(largestStep(*render, 0), toneStep(440, kMusicAmplitude));
        EXPECT_LT(largestStep(*render, 1), toneStep(660, kMusicAmplitude));
    }
    EXPECT_EQ(errors, (QStringList{QStringLiteral("**ERROR** ") + missing, QStringLiteral("**ERROR** ") + garbage}));
}

TEST(MusicWindowOnEngine, DeadAirIsSkippedAndAQuietPassageIsNot)
{
    QTemporaryDir dir;
    auto path = [&dir](const char* name) { return dir.filePath(QLatin1String(name)); };
    // Quiet: 25 s at -40 dBFS. Gap: 5 s of tone, 40 s of silence, 10 s of tone. Then one more song.
    ASSERT_TRUE(makeTone(path("quiet.wav"), 25, 440, 0.01, 0));
    ASSERT_TRUE(makeTone(path("head.wav"), 5, 440, kMusicAmplitude, 0));
    ASSERT_TRUE(makeTone(path("tail.wav"), 10, 440, kMusicAmplitude, 0, 40));
    ASSERT_TRUE(sox({path("head.wav"), path("tail.wav"), path("gap.wav")}));
    ASSERT_TRUE(makeTone(path("next.wav"), 30, 660, kMusicAmplitude, 1));

    MusicOnEngine st("dead-air");
    QStringList log;
    QObject::connect(&st.w, &PlayerWindow::logEntryWritten,
                     [&log](const QString& error, const QString& p) { log << error + QFileInfo(p.trimmed()).fileName(); });
    QList<double> startedAt;
    QObject::connect(&st.w, &PlayerWindow::songStarted, [&](const QString&) { startedAt << double(st.frame()) / kRate; });
    st.w.transitionTimeSpinner->setValue(1);
    for (const char* name : {"quiet.wav", "gap.wav", "next.wav"})
        st.w.addFileToList(path(name), 0, *st.w.clipList);
    st.w.play();
    st.run(50);

    // The quiet song plays to its end; the gap's silence is skipped 15 s in.
    ASSERT_EQ(startedAt.size(), 3);
    EXPECT_NEAR(startedAt[1], 24, 0.6);  // positions are whole seconds
    EXPECT_NEAR(startedAt[2], startedAt[1] + 5 + 15, 0.3);
    EXPECT_EQ(log, (QStringList{QStringLiteral("quiet.wav"), QStringLiteral("gap.wav"),
                                QStringLiteral("**SILENCE**gap.wav"), QStringLiteral("next.wav")}));
}

TEST(MusicWindowOnEngine, CutLeavesNoOverlap)
{
    Songs songs;
    MusicOnEngine st("cut");
    const auto out = st.playPair(songs, 4, 3, 20);
    ASSERT_GT(st.changeAtFrame, 0);
    const double t0 = double(st.changeAtFrame) / kRate;

    int overlapping = 0;
    for (double t = 0; t + 0.01 <= 20; t += 0.01) {
        if (rmsAt(out, 0, t, t + 0.01) > 0.01 && rmsAt(out, 1, t, t + 0.01) > 0.01)
            ++overlapping;
    }
    // The old song fades out over 6 ms as the new one comes in: one 10 ms window at most.
    EXPECT_LE(overlapping, 1) << "both songs audible beyond the fade of the cut";
    EXPECT_NEAR(rmsAt(out, 1, t0 + 0.1, t0 + 2), kFull, 0.01 * kFull) << "B at once at the master level";
}

}  // namespace
}  // namespace tavlo::test
