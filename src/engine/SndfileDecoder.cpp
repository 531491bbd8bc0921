#include "engine/SndfileDecoder.h"

#include "engine/Downmix.h"
#include "engine/MemoryFile.h"

#include <QFile>

#include <sndfile.h>

#include <cmath>

namespace tavlo {

namespace {

sf_count_t memoryLength(void* file) { return static_cast<MemoryFile*>(file)->size(); }

sf_count_t memorySeek(sf_count_t offset, int whence, void* file)
{
    return static_cast<MemoryFile*>(file)->seek(offset, whence);
}

sf_count_t memoryRead(void* buffer, sf_count_t bytes, void* file)
{
    return static_cast<MemoryFile*>(file)->read(buffer, bytes);
}

sf_count_t memoryWrite(const void*, sf_count_t, void*) { return 0; }

sf_count_t memoryTell(void* file) { return static_cast<MemoryFile*>(file)->tell(); }

}  // namespace

SndfileDecoder::SndfileDecoder() = default;

SndfileDecoder::~SndfileDecoder()
{
    if (m_file)
        sf_close(m_file);
}

std::unique_ptr<SndfileDecoder> SndfileDecoder::open(const QString& path)
{
    std::unique_ptr<SndfileDecoder> d(new SndfileDecoder);
    SF_INFO info{};
    d->m_file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    return checkOpened(std::move(d), info);
}

std::unique_ptr<SndfileDecoder> SndfileDecoder::openMemory(QByteArrayView bytes)
{
    std::unique_ptr<SndfileDecoder> d(new SndfileDecoder);
    d->m_memory = std::make_unique<MemoryFile>(bytes);
    SF_VIRTUAL_IO io{&memoryLength, &memorySeek, &memoryRead, &memoryWrite, &memoryTell};
    SF_INFO info{};
    d->m_file = sf_open_virtual(&io, SFM_READ, &info, d->m_memory.get());
    return checkOpened(std::move(d), info);
}

std::unique_ptr<SndfileDecoder> SndfileDecoder::checkOpened(std::unique_ptr<SndfileDecoder> d, const SF_INFO& info)
{
    if (!d->m_file)
        return nullptr;
    const int major = info.format & SF_FORMAT_TYPEMASK;
    if (major != SF_FORMAT_WAV && major != SF_FORMAT_WAVEX && major != SF_FORMAT_RF64 && major != SF_FORMAT_AIFF)
        return nullptr;
    if (info.frames <= 0 || info.channels < 1 || info.samplerate <= 0)
        return nullptr;
    d->m_sampleRate = info.samplerate;
    d->m_channels = info.channels;
    d->m_length = info.frames;
    const int subtype = info.format & SF_FORMAT_SUBMASK;
    d->m_floatSamples = subtype == SF_FORMAT_FLOAT || subtype == SF_FORMAT_DOUBLE;
    if (info.channels > 2)
        d->m_downmix = downmixGains(d->speakers());
    StereoFrame probe[64];
    if (d->read(probe, 64) <= 0 || !d->seek(0))
        return nullptr;
    return d;
}

std::vector<Speaker> SndfileDecoder::speakers() const
{
    // The layout a WAVE_FORMAT_EXTENSIBLE file states; else the usual one.
    std::vector<int> map(static_cast<size_t>(m_channels));
    if (!sf_command(m_file, SFC_GET_CHANNEL_MAP_INFO, map.data(), static_cast<int>(map.size() * sizeof(int))))
        return defaultSpeakers(m_channels);
    std::vector<Speaker> speakers;
    for (const int position : map) {
        switch (position) {
        case SF_CHANNEL_MAP_LEFT:
        case SF_CHANNEL_MAP_FRONT_LEFT: speakers.push_back(Speaker::FrontLeft); break;
        case SF_CHANNEL_MAP_RIGHT:
        case SF_CHANNEL_MAP_FRONT_RIGHT: speakers.push_back(Speaker::FrontRight); break;
        case SF_CHANNEL_MAP_MONO:
        case SF_CHANNEL_MAP_CENTER:
        case SF_CHANNEL_MAP_FRONT_CENTER: speakers.push_back(Speaker::Centre); break;
        case SF_CHANNEL_MAP_LFE: speakers.push_back(Speaker::Lfe); break;
        case SF_CHANNEL_MAP_REAR_LEFT: speakers.push_back(Speaker::BackLeft); break;
        case SF_CHANNEL_MAP_REAR_RIGHT: speakers.push_back(Speaker::BackRight); break;
        case SF_CHANNEL_MAP_SIDE_LEFT: speakers.push_back(Speaker::SideLeft); break;
        case SF_CHANNEL_MAP_SIDE_RIGHT: speakers.push_back(Speaker::SideRight); break;
        case SF_CHANNEL_MAP_REAR_CENTER: speakers.push_back(Speaker::BackCentre); break;
        default: speakers.push_back(Speaker::Other); break;
        }
    }
    return speakers;
}

int SndfileDecoder::read(StereoFrame* out, int maxFrames)
{
    if (maxFrames <= 0)
        return 0;
    int frames = 0;
    if (m_channels == 2) {
        frames = static_cast<int>(sf_readf_float(m_file, reinterpret_cast<float*>(out), maxFrames));
    } else {
        const std::size_t need = static_cast<std::size_t>(maxFrames) * static_cast<std::size_t>(m_channels);
        if (m_buffer.size() < need)
            m_buffer.resize(need);
        frames = static_cast<int>(sf_readf_float(m_file, m_buffer.data(), maxFrames));
        if (m_channels == 1) {
            const float* in = m_buffer.data();
            for (int i = 0; i < frames; ++i)
                out[i] = StereoFrame{in[i], in[i]};
        } else {
            downmixToStereo(m_buffer.data(), m_downmix, out, frames);
        }
    }
    if (m_floatSamples)
        silenceNonFinite(out, frames);
    return frames;
}

bool SndfileDecoder::seek(std::int64_t frame)
{
    if (frame > m_length)
        frame = m_length;
    if (frame < 0)
        frame = 0;
    return sf_seek(m_file, frame, SEEK_SET) >= 0;
}

}  // namespace tavlo
