// Every format a station's library holds, each made by its own encoder, played
// by the music window on the real engine and heard through the WAV writer.

#include "EngineStation.h"
#include "music/MusicWindow.h"
#include "fakes/TestFiles.h"
#include "platform/MediaService.h"
#include "engine/Decoder.h"
#include "../engine/TestMedia.h"
#include "playlist/PlaylistModel.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sndfile.h>

#include <cmath>
#include <vector>

namespace tavlo::test {
namespace {

// Longer than the last stretch an Ogg seek counts back over, so both ways are heard.
constexpr double kSongSeconds = 14.0;
// Each song has a 50 ms hole here, for the seeks to find.
constexpr double kHoleAt = 2.5;

struct Format {
    const char* name;  // the file's name; its extension need not say what it is
    int rate;
    int channels;
    int subformat;
    const char* encoder;  // see encode(); nullptr for the WAV as written
    double hz = 0;
};

// Runs an encoder's command line, words split at spaces, IN and OUT replaced
// by the two files.
bool encode(const char* command, const QString& in, const QString& out)
{
    QStringList words = QString::fromLatin1(command).split(QLatin1Char(' '));
    const QByteArray program = words.takeFirst().toLatin1();
    for (QString& w : words)
        w = w == QLatin1String("IN") ? in : w == QLatin1String("OUT") ? out : w;
    return runTool(program.constData(), words);
}

// A file read by its decoder from start to end: what read() gave, the length
// the decoder said, and the open's error (0 when it opened).
struct Decoded {
    std::vector<StereoFrame> frames;
    std::int64_t length = 0;
    int error = 0;
};

Decoded decodeWhole(const QString& path)
{
    Decoded d;
    const auto decoder = Decoder::open(path, &d.error);
    if (!decoder)
        return d;
    d.length = decoder->lengthFrames();
    std::vector<StereoFrame> block(4096);
    while (const int n = decoder->read(block.data(), static_cast<int>(block.size())))
        d.frames.insert(d.frames.end(), block.begin(), block.begin() + n);
    return d;
}

std::vector<Format> formats()
{
    std::vector<Format> f = {
        {"pcm.wav", 44100, 2, SF_FORMAT_PCM_16, nullptr},
        {"lame.mp3", 44100, 2, SF_FORMAT_PCM_16, "lame --quiet -b 192 IN OUT"},
        {"mp3-named.wav", 44100, 2, SF_FORMAT_PCM_16, "lame --quiet IN OUT"},
        {"sox.aiff", 44100, 2, SF_FORMAT_PCM_16, "sox IN OUT"},
        {"hires.flac", 48000, 2, SF_FORMAT_PCM_24, "flac --silent -o OUT IN"},
        {"surround.flac", 44100, 6, SF_FORMAT_PCM_16, "flac --silent --channel-map=none -o OUT IN"},
        {"vorbis.ogg", 44100, 2, SF_FORMAT_PCM_16, "oggenc --quiet -o OUT IN"},
        {"mono22k.ogg", 22050, 1, SF_FORMAT_PCM_16, "oggenc --quiet -o OUT IN"},
        {"speech.opus", 44100, 2, SF_FORMAT_PCM_16, "opusenc --quiet IN OUT"},
        {"aac.m4a", 44100, 2, SF_FORMAT_PCM_16, "ffmpeg -v error -i IN -c:a aac -b:a 192k OUT"},
        {"alac.m4a", 44100, 2, SF_FORMAT_PCM_16, "ffmpeg -v error -i IN -c:a alac OUT"},
    };
    for (size_t i = 0; i < f.size(); ++i)
        f[i].hz = 300.0 + 110.0 * static_cast<double>(i);
    return f;
}

// The songs, each a tone of its own, made once per test process.
struct Library {
    QTemporaryDir dir;
    std::vector<Format> songs = formats();
    std::vector<QString> paths;

    Library()
    {
        for (const Format& f : songs) {
            const QString wav = dir.filePath(QStringLiteral("source-%1.wav").arg(QLatin1String(f.name)));
            const QString out = dir.filePath(QLatin1String(f.name));
            const double hz = f.hz;
            writeWav(f.encoder ? wav : out, f.rate, f.channels, kSongSeconds, f.subformat, [hz](double t) {
                return t >= kHoleAt && t < kHoleAt + 0.05 ? 0.0f : static_cast<float>(0.4 * std::sin(2 * M_PI * hz * t));
            });
            if (f.encoder) {
                EXPECT_TRUE(encode(f.encoder, wav, out)) << f.name;
            }
            paths.push_back(out);
        }
    }
};

// The level of a tone of `hz` in [from, to) seconds of the left channel (Goertzel).
double toneLevel(const std::vector<float>& s, double hz, double from, double to)
{
    const auto a = static_cast<std::size_t>(from * kRate);
    const auto b = std::min(static_cast<std::size_t>(to * kRate), s.size() / 2);
    const double w = 2 * M_PI * hz / kRate;
    double s1 = 0;
    double s2 = 0;
    for (std::size_t i = a; i < b; ++i) {
        const double s0 = s[2 * i] + 2 * std::cos(w) * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return std::sqrt(s1 * s1 + s2 * s2 - 2 * std::cos(w) * s1 * s2) / static_cast<double>(b - a);
}

TEST(FormatsOnEngine, EveryFormatPlaysInOrderWithItsLengthAndSeeksLandWithin10ms)
{
    const Library lib;
    EngineStation st("formats");

    // Lengths to the sample, rates and layouts as the files hold them.
    for (size_t i = 0; i < lib.paths.size(); ++i) {
        SCOPED_TRACE(lib.songs[i].name);
        OpenResult song = st.rig.engine().open(lib.paths[i]);
        ASSERT_TRUE(song.stream) << "error " << song.error;
        EXPECT_DOUBLE_EQ(song.stream->duration(), kSongSeconds);

        // A seek gives the very samples a read from the start gives there
        // (lossy codecs within their noise after settling).
        const Decoded whole = decodeWhole(lib.paths[i]);
        const auto read = static_cast<std::int64_t>(whole.frames.size());
        ASSERT_EQ(read, whole.length);
        int error = 0;
        const auto decoder = Decoder::open(lib.paths[i], &error);
        ASSERT_TRUE(decoder);
        for (const std::int64_t target : {read / 3, read - 3 * decoder->sampleRate()}) {
            ASSERT_TRUE(decoder->seek(target));
            std::vector<StereoFrame> after(4096);
            ASSERT_EQ(decoder->read(after.data(), 4096), 4096);
            float worst = 0;
            for (size_t k = 0; k < after.size(); ++k)
                worst = std::max(worst, std::abs(after[k].left - whole.frames[static_cast<size_t>(target) + k].left));
            EXPECT_LT(worst, 0.02) << "seek to " << target;
        }
    }

    // A seek before the hole hears it 200 ms later.
    for (size_t i = 0; i < lib.paths.size(); ++i) {
        SCOPED_TRACE(lib.songs[i].name);
        OpenResult song = st.rig.engine().open(lib.paths[i]);
        ASSERT_TRUE(song.stream);
        song.stream->setPosition(kHoleAt - 0.2);
        song.stream->run();
        st.run(0.4);
        const std::vector<float> out = st.take();
        double heard = -1;
        for (double t = 0.05; t < 0.35 && heard < 0; t += 0.001) {
            if (rmsAt(out, 0, t, t + 0.005) < 0.02)
                heard = t;
        }
        // One block (10 ms) of the seek's fade-in comes first; the hole's
        // edges are blurred a little by lossy codecs.
        EXPECT_NEAR(heard, 0.2 + 0.01, 0.01);
        song.stream->stop();
    }

    // The whole list through the music window: every row in its turn, with
    // its own tone and its true length in the list.
    MusicWindow& w = st.station.music();
    st.station.start();
    const std::int64_t base = st.frame();
    std::vector<std::pair<QString, std::int64_t>> started;
    QObject::connect(&w, &PlayerWindow::songStarted, &w,
                     [&](const QString& path) { started.emplace_back(path, st.frame()); });
    w.transitionButtons[4]->setValue(1);  // Cut: no two songs at once
    w.transitionTimeSpinner->setValue(1);
    for (const QString& path : lib.paths)
        w.addFileToList(path, 0, *w.clipList);
    w.play();
    st.run(static_cast<double>(lib.paths.size()) * (kSongSeconds - 1) + 1);
    const std::vector<float> out = st.take();
    ASSERT_GE(started.size(), lib.paths.size());
    for (size_t i = 0; i < lib.paths.size(); ++i) {
        SCOPED_TRACE(lib.songs[i].name);
        EXPECT_EQ(started[i].first, lib.paths[i]);
        EXPECT_EQ(w.clipList->text(static_cast<int>(i) + 1, ColPlaySeconds), QStringLiteral("14"));
        const double from = static_cast<double>(started[i].second - base) / kRate + 0.1;
        const double own = toneLevel(out, lib.songs[i].hz, from, from + 1.5);
        EXPECT_GT(own, 0.05);
        for (size_t j = 0; j < lib.songs.size(); ++j) {
            if (j != i) {
                EXPECT_LT(toneLevel(out, lib.songs[j].hz, from, from + 1.5), own / 10) << "also heard " << lib.songs[j].name;
            }
        }
    }
    EXPECT_LT(largestStep(out, 0), 0.5) << "a click between songs";
}

// A continuous tone cut in two and each half encoded on its own: the encoder
// delay and padding the files declare are removed, so the halves decode to
// exactly their length and join as the tone was.
TEST(FormatsOnEngine, GaplessHalvesJoinWithoutAGapOrAClick)
{
    QTemporaryDir dir;
    const double hz = 441.0;
    auto tone = [hz](double offset) { return [hz, offset](double t) { return static_cast<float>(0.5 * std::sin(2 * M_PI * hz * (t + offset))); }; };
    const QString first = dir.filePath(QStringLiteral("first.wav"));
    const QString second = dir.filePath(QStringLiteral("second.wav"));
    ASSERT_TRUE(writeWav(first, kRate, 2, 2.0, SF_FORMAT_PCM_16, tone(0)));
    ASSERT_TRUE(writeWav(second, kRate, 2, 2.0, SF_FORMAT_PCM_16, tone(2.0)));
    for (const char* ext : {"mp3", "m4a"}) {
        SCOPED_TRACE(ext);
        std::vector<StereoFrame> joined;
        for (const QString& half : {first, second}) {
            const QString encoded = half + QLatin1Char('.') + QLatin1String(ext);
            ASSERT_TRUE(encode(QLatin1String(ext) == QLatin1String("mp3") ? "lame --quiet -b 256 IN OUT"
                                                                          : "ffmpeg -v error -i IN -c:a aac -b:a 256k OUT",
                               half, encoded));
            const Decoded decoded = decodeWhole(encoded);
            ASSERT_EQ(decoded.error, 0);
            EXPECT_EQ(decoded.length, 2 * kRate);
            joined.insert(joined.end(), decoded.frames.begin(), decoded.frames.end());
        }
        ASSERT_EQ(joined.size(), static_cast<size_t>(4 * kRate));
        // Around the join the decoded tone stays the tone, in phase, and never
        // steps further than the tone itself does (with room for the codec's
        // noise). FFmpeg's AAC encoder fades in the first frame it codes, so
        // there the phase is checked from the second frame on.
        double worstError = 0;
        double worstStep = 0;
        const int settled = QLatin1String(ext) == QLatin1String("m4a") ? 2 * kRate + 1024 : 0;
        for (int i = 2 * kRate - 441; i < 2 * kRate + 2048; ++i) {
            const double ideal = 0.5 * std::sin(2 * M_PI * hz * i / kRate);
            if (i < 2 * kRate || i >= settled)
                worstError = std::max(worstError, std::abs(joined[static_cast<size_t>(i)].left - ideal));
            worstStep = std::max(worstStep, static_cast<double>(std::abs(joined[static_cast<size_t>(i)].left -
                                                                           joined[static_cast<size_t>(i) - 1].left)));
        }
        EXPECT_LT(worstError, 0.05);
        EXPECT_LT(worstStep, 2 * M_PI * hz / kRate * 0.5 * 1.3);
    }
}

// Surround files fold to stereo by where each channel belongs: a back right
// channel is heard on the right, an LFE nowhere, in libsndfile's WAV and in
// FFmpeg's FLAC alike.
TEST(FormatsOnEngine, SurroundChannelsFoldToTheirSide)
{
    QTemporaryDir dir;
    auto onlyChannel = [&](const QString& path, int channels, int sounding) {
        SF_INFO info{};
        info.samplerate = kRate;
        info.channels = channels;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        SNDFILE* f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
        std::vector<float> samples(static_cast<size_t>(kRate * channels));
        for (int i = 0; i < kRate; ++i)
            samples[static_cast<size_t>(i * channels + sounding)] = static_cast<float>(0.5 * std::sin(2 * M_PI * 500 * i / kRate));
        sf_writef_float(f, samples.data(), kRate);
        sf_close(f);
        return path;
    };
    auto levels = [](const QString& path) {
        double left = 0;
        double right = 0;
        for (const StereoFrame& f : decodeWhole(path).frames) {
            left = std::max(left, static_cast<double>(std::abs(f.left)));
            right = std::max(right, static_cast<double>(std::abs(f.right)));
        }
        return std::pair(left, right);
    };
    // Quad: front pair, back pair.
    const auto [quadLeft, quadRight] = levels(onlyChannel(dir.filePath(QStringLiteral("quad.wav")), 4, 3));
    EXPECT_LT(quadLeft, 0.001);
    EXPECT_GT(quadRight, 0.1);
    // 5.1: front pair, centre, LFE, back pair.
    const QString back = onlyChannel(dir.filePath(QStringLiteral("back.wav")), 6, 5);
    const QString lfe = onlyChannel(dir.filePath(QStringLiteral("lfe.wav")), 6, 3);
    for (const QString& wav : {back, lfe}) {
        const QString flac = wav + QStringLiteral(".flac");
        ASSERT_TRUE(encode("flac --silent --channel-map=none -o OUT IN", wav, flac));
        for (const QString& file : {wav, flac}) {
            SCOPED_TRACE(file.toStdString());
            const auto [left, right] = levels(file);
            EXPECT_LT(left, 0.001);
            if (wav == back) {
                EXPECT_GT(right, 0.1);
            } else {
                EXPECT_LT(right, 0.001);
            }
        }
    }
}

// Files a library also holds: each fails to open with a clear error, or plays
// what it has, never more than it has and never forever.
TEST(FormatsOnEngine, DamagedFilesFailOrPlayWhatTheyHold)
{
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("ten.wav"));
    ASSERT_TRUE(writeWav(wav, kRate, 2, 10.0, SF_FORMAT_PCM_16, [](double t) { return static_cast<float>(0.3 * std::sin(2 * M_PI * 500 * t)); }));
    const QString flac = dir.filePath(QStringLiteral("whole.flac"));
    const QString ogg = dir.filePath(QStringLiteral("whole.ogg"));
    ASSERT_TRUE(encode("flac --silent -o OUT IN", wav, flac));
    ASSERT_TRUE(encode("oggenc --quiet -o OUT IN", wav, ogg));
    // Frames played, or minus the open's error.
    auto decodeAll = [](const QString& path, std::int64_t* length) -> std::int64_t {
        const Decoded d = decodeWhole(path);
        *length = d.length;
        return d.error ? -d.error : static_cast<std::int64_t>(d.frames.size());
    };

    // A FLAC cut short at 40 % plays to where it stops, and its length says so.
    const QByteArray flacBytes = readFile(flac);
    const QString cut = writeFile(dir.filePath(QStringLiteral("cut.flac")), flacBytes.left(flacBytes.size() * 4 / 10));
    std::int64_t length = 0;
    const std::int64_t played = decodeAll(cut, &length);
    EXPECT_EQ(played, length);
    EXPECT_NEAR(static_cast<double>(length) / kRate, 4.0, 0.5);

    // An Ogg with a page in the middle overwritten plays on past it, no longer than it is.
    QByteArray oggBytes = readFile(ogg);
    const qsizetype page = oggBytes.indexOf("OggS", oggBytes.size() / 2);
    ASSERT_GT(page, 0);
    oggBytes.replace(page, 200, QByteArray(200, '\x5a'));
    length = 0;
    const std::int64_t oggPlayed = decodeAll(writeFile(dir.filePath(QStringLiteral("bad-page.ogg")), oggBytes), &length);
    EXPECT_EQ(oggPlayed, length);
    EXPECT_GT(oggPlayed, 8 * kRate);
    EXPECT_LE(oggPlayed, 10 * kRate);

    // Nothing to play: an empty .m4a, a text named .flac, a header with nothing behind it.
    EXPECT_EQ(decodeAll(writeFile(dir.filePath(QStringLiteral("empty.m4a")), QByteArray()), &length), -media_error::NotAudio);
    EXPECT_EQ(decodeAll(writeFile(dir.filePath(QStringLiteral("notes.flac")), QByteArray("not audio\n").repeated(500)), &length),
              -media_error::NotAudio);
    EXPECT_EQ(decodeAll(writeFile(dir.filePath(QStringLiteral("head.flac")), flacBytes.left(200)), &length),
              -media_error::NotAudio);
}

}  // namespace
}  // namespace tavlo::test
