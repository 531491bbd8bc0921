#include "TestMedia.h"

#include "fakes/TestFiles.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <vector>

namespace tavlo::test {

bool writeWav(const QString& path, int rate, int channels, double seconds, int format,
              const std::function<float(double)>& signal)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | format;
    SNDFILE* f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!f)
        return false;
    const auto frames = static_cast<sf_count_t>(std::llround(seconds * rate));
    std::vector<float> buf(static_cast<std::size_t>(frames * channels));
    for (sf_count_t i = 0; i < frames; ++i) {
        const float v = signal(static_cast<double>(i) / rate);
        for (int c = 0; c < channels; ++c)
            buf[static_cast<std::size_t>(i * channels + c)] = v;
    }
    sf_writef_float(f, buf.data(), frames);
    sf_close(f);
    return true;
}

namespace {

float tone(double t, double hz, double amp) { return static_cast<float>(amp * std::sin(2 * M_PI * hz * t)); }

}  // namespace

const TestMedia& TestMedia::get()
{
    static const TestMedia media;
    return media;
}

QString TestMedia::path(const char* name) const
{
    return m_dir + QLatin1Char('/') + QLatin1String(name);
}

TestMedia::TestMedia()
{
    static QTemporaryDir scratch;
    m_scratch = scratch.path();
    // Bump the version when the media change, so old copies are not used.
    const QString root = QStringLiteral(TAVLO_TEST_OUTPUT_DIR);
    m_dir = root + QStringLiteral("/engine-media-v3");
    if (QFileInfo::exists(m_dir))
        return;
    // Made aside and renamed into place whole: a process running beside
    // this one either sees the finished folder or none.
    QDir().mkpath(root);
    QTemporaryDir fresh(root + QStringLiteral("/engine-media-XXXXXX"));
    make(fresh.path());
    if (QDir().rename(fresh.path(), m_dir))
        fresh.setAutoRemove(false);
}

void TestMedia::make(const QString& dir)
{
    const auto path = [&dir](const char* name) { return dir + QLatin1Char('/') + QLatin1String(name); };
    const int pcm = SF_FORMAT_PCM_16;
    writeWav(path("tone10.wav"), 44100, 2, 10.0, pcm, [](double t) { return tone(t, 1000, 0.5); });
    writeWav(path("tone48k.wav"), 48000, 2, 4.0, pcm, [](double t) { return tone(t, 1000, 0.5); });
    writeWav(path("mono.wav"), 44100, 1, 4.0, pcm, [](double t) { return tone(t, 1000, 0.5); });
    writeWav(path("dc.wav"), 44100, 2, 20.0, pcm, [](double) { return 0.5f; });
    writeWav(path("beeps.wav"), 44100, 2, 31.0, pcm, [](double t) {
        for (int k = 0; k < kBeepCount; ++k) {
            const double d = t - beepTime(k);
            if (d >= 0 && d < 0.03)
                return tone(d, 2000, 0.5 * std::min(1.0, d / 0.002));
        }
        return 0.0f;
    });
    // Quiet, then busy: a VBR file whose first frames say nothing about its length.
    std::srand(7);
    writeWav(path("quietbusy.wav"), 44100, 2, 20.0, pcm, [](double t) {
        return t < 2.0 ? 0.0f : 0.3f * (static_cast<float>(std::rand()) / RAND_MAX - 0.5f);
    });
    writeWav(path("long.wav"), 44100, 1, 179.5, pcm, [](double t) { return tone(t, 440, 0.1); });

    const QString d = dir;
    const QString script = QStringLiteral(
        "cd '%1' && { lame --quiet -b 128 beeps.wav beeps_cbr.mp3 & lame --quiet -V 2 -t beeps.wav beeps_vbr.mp3 &"
        " lame --quiet -V 2 -t quietbusy.wav vbr_noxing.mp3 & lame --quiet -b 128 tone10.wav tone10.mp3 &"
        " lame --quiet -b 64 -m m --resample 44.1 long.wav long.mp3 & wait; }").arg(d);
    if (std::system(script.toLocal8Bit().constData()) != 0)
        throw std::runtime_error("lame failed");

    // Files that must not open: empty, text, 127 bytes, cut inside the first
    // frame, a WAV header and nothing else.
    writeFile(path("empty.mp3"), QByteArray());
    writeFile(path("notes.mp3"), QByteArray("Playlist notes: remember the station call at the top of the hour.\n").repeated(40));
    const QByteArray head = readFile(path("beeps_cbr.mp3")).left(600);
    writeFile(path("tiny.mp3"), head.left(127));
    writeFile(path("cut.mp3"), head);
    writeFile(path("cut.wav"), readFile(path("tone10.wav")).left(44));

    // MP3 inside a RIFF WAVE file, as older broadcast systems stored it:
    // WAVE_FORMAT_MPEGLAYER3, 2 channels, 44100 Hz, 16000 bytes/s and its
    // 12-byte extension; a fact chunk of 441000 frames; the frames, padded even.
    const QByteArray frames = readFile(path("tone10.mp3"));
    const auto pad = static_cast<quint32>(frames.size() % 2);
    QByteArray riff;
    QDataStream r(&riff, QIODevice::WriteOnly);
    r.setByteOrder(QDataStream::LittleEndian);
    r.writeRawData("RIFF", 4);
    r << quint32(4 + 8 + 30 + 8 + 4 + 8 + frames.size() + pad);
    r.writeRawData("WAVEfmt ", 8);
    r << quint32(30) << quint16(0x55) << quint16(2) << quint32(44100) << quint32(16000) << quint16(1) << quint16(0)
      << quint16(12) << quint16(1) << quint32(2) << quint16(417) << quint16(1) << quint16(1393);
    r.writeRawData("fact", 4);
    r << quint32(4) << quint32(441000);
    r.writeRawData("data", 4);
    r << quint32(frames.size());
    r.writeRawData(frames.constData(), static_cast<int>(frames.size()));
    if (pad)
        r << quint8(0);
    writeFile(path("riffmp3.wav"), riff);
}

}  // namespace tavlo::test
