#include "OfflineRig.h"

#include "TestMedia.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>

namespace tavlo::test {

OfflineRig::OfflineRig(const char* name, int bits) : m_name(QLatin1String(name))
{
    m_path = TestMedia::get().scratch() + QStringLiteral("/out-%1.wav").arg(m_name);
    AudioEngine::Options options;
    options.output = AudioEngine::OutputKind::Offline;
    options.wavPath = m_path;
    options.wavBits = bits;
    m_engine = std::make_unique<AudioEngine>(options);
}

std::unique_ptr<MediaStream> OfflineRig::open(const char* mediaName)
{
    OpenResult r = m_engine->open(TestMedia::get().path(mediaName));
    EXPECT_EQ(r.error, 0) << mediaName;
    return std::move(r.stream);
}

std::vector<float> OfflineRig::render(double seconds)
{
    m_engine->renderOffline(static_cast<int>(std::lround(seconds * m_engine->sampleRate())));
    SF_INFO info{};
    SNDFILE* f = sf_open(QFile::encodeName(m_path).constData(), SFM_READ, &info);
    std::vector<float> out;
    if (!f) {
        ADD_FAILURE() << "cannot read " << m_path.toStdString();
        return out;
    }
    sf_seek(f, m_read, SEEK_SET);
    out.resize(static_cast<std::size_t>((info.frames - m_read) * 2));
    sf_readf_float(f, out.data(), info.frames - m_read);
    m_read = info.frames;
    sf_close(f);
    return out;
}

void OfflineRig::saveActual(const char* label, const std::vector<float>& samples) const
{
    QDir().mkpath(QStringLiteral(TAVLO_TEST_OUTPUT_DIR));
    const QString path = QStringLiteral(TAVLO_TEST_OUTPUT_DIR "/%1-%2.actual.wav").arg(m_name, QLatin1String(label));
    SF_INFO info{};
    info.samplerate = m_engine->sampleRate();
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    if (SNDFILE* f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info)) {
        sf_writef_float(f, samples.data(), static_cast<sf_count_t>(samples.size() / 2));
        sf_close(f);
    }
}

double OfflineRig::rms(const std::vector<float>& s, int channel, std::size_t from, std::size_t to)
{
    to = std::min(to, s.size() / 2);
    if (from >= to)
        return 0.0;
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i)
        sum += double(s[2 * i + channel]) * s[2 * i + channel];
    return std::sqrt(sum / double(to - from));
}

std::size_t OfflineRig::firstAbove(const std::vector<float>& s, float level, std::size_t from)
{
    for (std::size_t i = from; i < s.size() / 2; ++i) {
        if (std::abs(s[2 * i]) > level || std::abs(s[2 * i + 1]) > level)
            return i;
    }
    return s.size() / 2;
}

std::size_t OfflineRig::lastAbove(const std::vector<float>& s, float level)
{
    for (std::size_t i = s.size() / 2; i-- > 0;) {
        if (std::abs(s[2 * i]) > level || std::abs(s[2 * i + 1]) > level)
            return i;
    }
    return 0;
}

float OfflineRig::largestJump(const std::vector<float>& s)
{
    float worst = 0.0f;
    for (std::size_t i = 2; i < s.size(); ++i)
        worst = std::max(worst, std::abs(s[i] - s[i - 2]));
    return worst;
}

}  // namespace tavlo::test
