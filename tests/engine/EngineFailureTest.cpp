#include "OfflineRig.h"
#include "TestMedia.h"

#include "fakes/TestFiles.h"
#include "platform/MediaService.h"
#include "engine/Decoder.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QThread>

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace tavlo::test {
namespace {

TEST(EngineFailures, BadFilesFailToOpenWhileOtherVoicesPlayOn)
{
    OfflineRig rig("badfiles");
    auto song = rig.open("tone10.wav");
    song->run();
    rig.render(0.1);
    const TestMedia& media = TestMedia::get();
    const struct {
        QString path;
        int error;
    } cases[] = {
        {QString(), media_error::NoFileName},
        {media.path("missing.mp3"), media_error::NotFound},
        {media.dir(), media_error::Unreadable},
        {media.path("empty.mp3"), media_error::NotAudio},
        {media.path("tiny.mp3"), media_error::NotAudio},  // 127 bytes
        {media.path("notes.mp3"), media_error::NotAudio},  // text
        {media.path("cut.mp3"), media_error::NotAudio},   // cut inside the first frame
        {media.path("cut.wav"), media_error::NotAudio},   // a WAV header and nothing else
    };
    for (const auto& c : cases) {
        OpenResult r = rig.engine().open(c.path);
        EXPECT_EQ(r.error, c.error) << c.path.toStdString();
        EXPECT_FALSE(r.stream);
        const auto out = rig.render(0.1);
        EXPECT_NEAR(OfflineRig::rms(out, 0), kToneRms, 0.01) << c.path.toStdString();
    }
}

TEST(EngineFailures, FileCutShortWhilePlayingEndsOnlyItsVoice)
{
    const QString copy = TestMedia::get().scratch() + QStringLiteral("/shrinking.mp3");
    QFile::remove(copy);
    ASSERT_TRUE(QFile::copy(TestMedia::get().path("tone10.mp3"), copy));
    OfflineRig rig("shrinking");
    OpenResult opened = rig.engine().open(copy);
    ASSERT_EQ(opened.error, 0);
    auto breaking = std::move(opened.stream);
    auto steady = rig.open("tone10.wav");
    breaking->setBalance(-10000);  // left only
    steady->setBalance(10000);     // right only
    breaking->run();
    steady->run();
    // Opened and scanned whole; now it loses everything after 4 s.
    QFile file(copy);
    ASSERT_TRUE(file.resize(file.size() * 4 / 10));

    const auto out = rig.render(7.0);
    std::size_t lastLeft = 0;
    for (std::size_t i = 0; i < out.size() / 2; ++i) {
        if (std::abs(out[2 * i]) > 0.1f)
            lastLeft = i;
    }
    EXPECT_NEAR(double(lastLeft) / 44100.0, 4.0, 0.3);
    EXPECT_NEAR(OfflineRig::rms(out, 1, 0, 44100 * 7), kToneRms, 0.01);
    // The broken song reads as finished, so the deck moves on to the next.
    EXPECT_DOUBLE_EQ(breaking->position(), breaking->duration());
    EXPECT_NEAR(steady->position(), 7.0, 0.002);
}

// A damaged MP3 (found by fuzzing) whose frames change format halfway
// decodes on past the length its scan counted. It must stop at that length
// all the same, or it plays on past its duration and a skip to the end is
// still heard.
TEST(EngineFailures, DamagedMp3StopsAtItsLength)
{
    const QString path = writeFile(TestMedia::get().scratch() + QStringLiteral("/damaged.mp3"),
                                   QByteArray("\xff\xf4\x03\xe5\xff\xff\xf4\x01\xff\xff\xff\x00\x3e\xff\xf4\x01\xf4", 17));
    int error = -1;
    const auto decoder = Decoder::open(path, &error);
    ASSERT_TRUE(decoder) << error;
    std::vector<StereoFrame> block(4096);
    std::int64_t total = 0;
    while (const int n = decoder->read(block.data(), static_cast<int>(block.size())))
        total += n;
    EXPECT_LE(total, decoder->lengthFrames());
    // Played through, skipped about in, then skipped to the end.
    decoder->seek(decoder->lengthFrames() / 2);
    decoder->read(block.data(), 1000);
    decoder->seek(0);
    decoder->read(block.data(), 1);
    decoder->seek(decoder->lengthFrames());
    EXPECT_EQ(decoder->read(block.data(), static_cast<int>(block.size())), 0);
}

// A damaged float WAV with NaN and infinite samples: they must play as
// silence, not spread into the other songs, the output and the stream as NaN
// and full-scale clicks.
TEST(EngineFailures, NonFiniteSamplesPlayAsSilence)
{
    const QString path = TestMedia::get().scratch() + QStringLiteral("/nan.wav");
    ASSERT_TRUE(writeWav(path, 44100, 2, 0.5, SF_FORMAT_FLOAT, [](double t) {
        if (t > 0.2 && t < 0.201)
            return std::numeric_limits<float>::quiet_NaN();
        return t > 0.3 && t < 0.301 ? std::numeric_limits<float>::infinity() : 0.0f;
    }));
    OfflineRig rig("nonfinite");
    auto steady = rig.open("tone10.wav");
    OpenResult damaged = rig.engine().open(path);
    ASSERT_EQ(damaged.error, 0);
    steady->setBalance(-10000);  // left only
    damaged.stream->setBalance(10000);
    steady->run();
    damaged.stream->run();
    const auto out = rig.render(0.5);
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](float v) { return std::isfinite(v); }));
    EXPECT_NEAR(OfflineRig::rms(out, 0), kToneRms, 0.01);
    EXPECT_EQ(OfflineRig::rms(out, 1), 0.0);
}

// A total of a long list opens a new player per row and drops the last one at
// once; the engine must keep up rather than refuse songs after a few dozen.
// Each one plays, so each one dropped leaves fading out. Offline only a frame
// is mixed between two opens and the fades fill the mix; on the null output
// the first 40 are heard before they go, and must be freed once faded.
TEST(EngineFailures, PlayersReplacedInAQuickLoopAllOpen)
{
    for (auto kind : {AudioEngine::OutputKind::Offline, AudioEngine::OutputKind::Null}) {
        AudioEngine::Options options;
        options.output = kind;
        options.wavPath = TestMedia::get().dir() + QStringLiteral("/quick-loop.wav");
        AudioEngine engine(options);
        std::unique_ptr<MediaStream> player;
        int failed = 0;
        for (int i = 0; i < 200; ++i) {
            OpenResult r = engine.open(TestMedia::get().path("tone10.mp3"));
            failed += r.error != 0;
            if (r.stream) {
                r.stream->run();
                if (kind == AudioEngine::OutputKind::Offline)
                    engine.renderOffline(1);
                else if (i < 40)
                    for (int ms = 0; r.stream->position() == 0.0 && ms < 500; ++ms)
                        QThread::msleep(1);
            }
            player = std::move(r.stream);
        }
        EXPECT_EQ(failed, 0) << (kind == AudioEngine::OutputKind::Null ? "null output" : "offline");
    }
}

}  // namespace
}  // namespace tavlo::test
