#include "platform/audio/WavFileSink.h"

#include "platform/audio/Mixer.h"

#include <QFile>

#include <sndfile.h>

#include <algorithm>

namespace tavlo {

namespace {
// Writes in runs of this many frames: few system calls, little memory.
constexpr int kWriteFrames = 16384;
}

std::unique_ptr<WavFileSink> WavFileSink::open(const QString& path, int bits, int sampleRate, int maxBlockFrames)
{
    std::unique_ptr<WavFileSink> sink(new WavFileSink);
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | (bits == 32 ? SF_FORMAT_FLOAT : SF_FORMAT_PCM_16);
    sink->m_file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!sink->m_file)
        return nullptr;
    // Clip, never wrap, when a loud sum meets the 16-bit format.
    sf_command(sink->m_file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    sf_command(sink->m_file, SFC_SET_UPDATE_HEADER_AUTO, nullptr, SF_TRUE);
    sink->m_capacity = std::max(kWriteFrames, maxBlockFrames);
    sink->m_buffer.resize(2 * static_cast<std::size_t>(sink->m_capacity));
    return sink;
}

WavFileSink::~WavFileSink()
{
    if (m_file) {
        flush();
        sf_close(m_file);
    }
}

void WavFileSink::renderBlock(Mixer& mixer, int frames)
{
    if (m_buffered + frames > m_capacity)
        flush();
    mixer.process(m_buffer.data() + 2 * m_buffered, frames);
    m_buffered += frames;
}

void WavFileSink::flush()
{
    if (m_buffered > 0)
        sf_writef_float(m_file, m_buffer.data(), m_buffered);
    m_buffered = 0;
}

}  // namespace tavlo
