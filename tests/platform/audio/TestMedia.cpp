#include "TestMedia.h"

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

namespace {

void writeWav(const QString& path, int rate, int channels, double seconds, int format,
              const std::function<float(double)>& signal)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | format;
    SNDFILE* f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!f)
        throw std::runtime_error("cannot write test media");
    const auto frames = static_cast<sf_count_t>(std::llround(seconds * rate));
    std::vector<float> buf(static_cast<std::size_t>(frames * channels));
    for (sf_count_t i = 0; i < frames; ++i) {
        const float v = signal(static_cast<double>(i) / rate);
        for (int c = 0; c < channels; ++c)
            buf[static_cast<std::size_t>(i * channels + c)] = v;
    }
    sf_writef_float(f, buf.data(), frames);
    sf_close(f);
}

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
    m_dir = root + QStringLiteral("/engine-media-v2");
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
    writeWav(path("dc.wav"), 44100, 2, 14.0, pcm, [](double) { return 0.5f; });
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

    // Files that must not open.
    QFile(path("empty.mp3")).open(QIODevice::WriteOnly);
    QFile text(path("notes.mp3"));
    text.open(QIODevice::WriteOnly);
    text.write(QByteArray("Playlist notes: remember the station call at the top of the hour.\n").repeated(40));
    text.close();
    QFile cbr(path("beeps_cbr.mp3"));
    cbr.open(QIODevice::ReadOnly);
    const QByteArray head = cbr.read(600);
    QFile tiny(path("tiny.mp3"));
    tiny.open(QIODevice::WriteOnly);
    tiny.write(head.left(127));
    QFile cut(path("cut.mp3"));
    cut.open(QIODevice::WriteOnly);
    cut.write(head);
    // MP3 inside a RIFF WAVE file, as older broadcast systems stored it.
    QFile mp3(path("tone10.mp3"));
    mp3.open(QIODevice::ReadOnly);
    const QByteArray frames = mp3.readAll();
    QByteArray fmt;
    QDataStream f(&fmt, QIODevice::WriteOnly);
    f.setByteOrder(QDataStream::LittleEndian);
    // WAVE_FORMAT_MPEGLAYER3, 2 channels, 44100 Hz, 16000 bytes/s, then its 12-byte extension.
    f << quint16(0x55) << quint16(2) << quint32(44100) << quint32(16000) << quint16(1) << quint16(0) << quint16(12)
      << quint16(1) << quint32(2) << quint16(417) << quint16(1) << quint16(1393);
    QByteArray riff;
    QDataStream r(&riff, QIODevice::WriteOnly);
    r.setByteOrder(QDataStream::LittleEndian);
    const auto chunk = [&r](const char* id, const QByteArray& data) {
        r.writeRawData(id, 4);
        r << quint32(data.size());
        r.writeRawData(data.constData(), static_cast<int>(data.size()));
        if (data.size() % 2)
            r << quint8(0);
    };
    QByteArray fact;
    QDataStream factStream(&fact, QIODevice::WriteOnly);
    factStream.setByteOrder(QDataStream::LittleEndian);
    factStream << quint32(441000);  // frames
    r.writeRawData("WAVE", 4);
    chunk("fmt ", fmt);
    chunk("fact", fact);
    chunk("data", frames);
    QFile riffFile(path("riffmp3.wav"));
    riffFile.open(QIODevice::WriteOnly);
    QDataStream out(&riffFile);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(riff.size());
    out.writeRawData(riff.constData(), static_cast<int>(riff.size()));
    riffFile.close();

    QFile wav(path("tone10.wav"));
    wav.open(QIODevice::ReadOnly);
    QFile cutWav(path("cut.wav"));
    cutWav.open(QIODevice::WriteOnly);
    cutWav.write(wav.read(44));
}

}  // namespace tavlo::test
