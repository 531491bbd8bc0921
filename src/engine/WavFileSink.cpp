#include "engine/WavFileSink.h"

#include "engine/Mixer.h"
#include "engine/SampleOps.h"

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
    sink->m_pcm16 = bits != 32;
    sink->m_capacity = std::max(kWriteFrames, maxBlockFrames);
    sink->m_buffer.resize(2 * static_cast<std::size_t>(sink->m_capacity));
    if (sink->m_pcm16)
        sink->m_pcm.resize(sink->m_buffer.size());
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
        write();
    mixer.process(m_buffer.data() + 2 * m_buffered, frames);
    m_buffered += frames;
}

void WavFileSink::flush()
{
    write();
    // Keep the header current, so the file can be read while we run.
    sf_command(m_file, SFC_UPDATE_HEADER_NOW, nullptr, 0);
}

void WavFileSink::write()
{
    if (m_buffered == 0)
        return;
    if (m_pcm16) {
        // Our own conversion: clipped at full scale, and handed to libsndfile
        // as ready 16-bit samples it writes in one piece.
        sample_ops::toPcm16(m_buffer.data(), m_pcm.data(), 2 * static_cast<std::size_t>(m_buffered));
        sf_writef_short(m_file, m_pcm.data(), m_buffered);
    } else {
        sf_writef_float(m_file, m_buffer.data(), m_buffered);
    }
    m_buffered = 0;
}

}  // namespace tavlo
