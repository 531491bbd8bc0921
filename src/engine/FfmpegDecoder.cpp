#include "engine/FfmpegDecoder.h"

#include "engine/MemoryFile.h"

#include <QFile>
#include <QString>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tavlo {

namespace {

constexpr int kIoBufferBytes = 1 << 16;
// How far before its claimed end a file's last frames are decoded when it
// is opened, to find where its audio really stops.
constexpr double kTailProbeSeconds = 1.0;
// Ogg's last page carries the end of the song, trimmed; FFmpeg times the
// packets of that page from its granule as if they were whole, so their
// timestamps run early. Seeks into a song's last seconds count back from its
// end instead, which is exact.
constexpr std::int64_t kCountBackSeconds = 10;
constexpr std::int64_t kMaxCountBackSeconds = 60;
// A stretch of a damaged file longer than this is no hole to keep.
constexpr std::int64_t kLongestHoleSeconds = 30;

void quietLibrary()
{
    // The library's own messages are for its developers; a bad file is
    // reported as an error row, once.
    static const bool done = [] {
        av_log_set_level(AV_LOG_QUIET);
        return true;
    }();
    (void)done;
}

// The containers of the formats this decoder is for, and no others.
AVDictionary* containerOptions()
{
    AVDictionary* options = nullptr;
    av_dict_set(&options, "format_whitelist", "flac,ogg,mov,mp4,m4a,aac,mp3,wav,aiff", 0);
    return options;
}

int readMemory(void* opaque, std::uint8_t* buffer, int size)
{
    const std::int64_t got = static_cast<MemoryFile*>(opaque)->read(buffer, size);
    return got > 0 ? static_cast<int>(got) : AVERROR_EOF;
}

std::int64_t seekMemory(void* opaque, std::int64_t offset, int whence)
{
    auto* file = static_cast<MemoryFile*>(opaque);
    if (whence & AVSEEK_SIZE)
        return file->size();
    return file->seek(offset, whence & ~AVSEEK_FORCE);
}

// Codecs whose first output after a jump is not yet the signal: they need
// the frames before the target decoded too.
int settleFrames(AVCodecID codec, int rate)
{
    switch (codec) {
    case AV_CODEC_ID_FLAC:
    case AV_CODEC_ID_ALAC:
        return 0;
    case AV_CODEC_ID_OPUS:
        return rate * 80 / 1000;  // what the Opus format asks a seek to decode first
    default:
        return 4096;  // two or more transform blocks of AAC or Vorbis
    }
}

// The sample count of the iTunes gapless record (" 00000000 priming padding
// count ..."), or 0 without one.
std::int64_t itunesSampleCount(const AVDictionary* metadata)
{
    const AVDictionaryEntry* entry = av_dict_get(metadata, "iTunSMPB", nullptr, 0);
    if (!entry || !entry->value)
        return 0;
    const QStringList fields = QString::fromLatin1(entry->value).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (fields.size() < 4)
        return 0;
    bool ok = false;
    const std::int64_t count = fields[3].toLongLong(&ok, 16);
    return ok && count > 0 ? count : 0;
}

}  // namespace

FfmpegDecoder::FfmpegDecoder() = default;

FfmpegDecoder::~FfmpegDecoder()
{
    av_frame_free(&m_frame);
    av_packet_free(&m_packet);
    swr_free(&m_swr);
    avcodec_free_context(&m_codec);
    avformat_close_input(&m_format);
    if (m_io) {
        av_freep(&m_io->buffer);
        avio_context_free(&m_io);
    }
}

std::unique_ptr<FfmpegDecoder> FfmpegDecoder::open(const QString& path)
{
    quietLibrary();
    std::unique_ptr<FfmpegDecoder> d(new FfmpegDecoder);
    AVDictionary* options = containerOptions();
    // Only the file itself: a playlist-like container (HLS, concat) must not
    // reach out to other files or the network.
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    const int opened = avformat_open_input(&d->m_format, QFile::encodeName(path).constData(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0)
        return nullptr;
    return openContainer(std::move(d));
}

std::unique_ptr<FfmpegDecoder> FfmpegDecoder::openMemory(QByteArrayView bytes)
{
    quietLibrary();
    std::unique_ptr<FfmpegDecoder> d(new FfmpegDecoder);
    d->m_memory = std::make_unique<MemoryFile>(bytes);
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferBytes));
    if (!buffer)
        return nullptr;
    d->m_io = avio_alloc_context(buffer, kIoBufferBytes, 0, d->m_memory.get(), &readMemory, nullptr, &seekMemory);
    if (!d->m_io) {
        av_free(buffer);
        return nullptr;
    }
    d->m_format = avformat_alloc_context();
    if (!d->m_format)
        return nullptr;
    d->m_format->pb = d->m_io;
    d->m_format->flags |= AVFMT_FLAG_CUSTOM_IO;
    // On failure avformat_open_input frees the context but leaves our I/O.
    AVDictionary* options = containerOptions();
    const int opened = avformat_open_input(&d->m_format, nullptr, nullptr, &options);
    av_dict_free(&options);
    if (opened < 0)
        return nullptr;
    return openContainer(std::move(d));
}

std::unique_ptr<FfmpegDecoder> FfmpegDecoder::openContainer(std::unique_ptr<FfmpegDecoder> d)
{
    // A damaged header can claim any size: what the library may read to
    // find the streams is bounded.
    d->m_format->probesize = 1 << 20;
    d->m_format->max_analyze_duration = 5 * AV_TIME_BASE;
    if (avformat_find_stream_info(d->m_format, nullptr) < 0)
        return nullptr;
    d->m_stream = av_find_best_stream(d->m_format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (d->m_stream < 0)
        return nullptr;
    // Cover pictures and other streams are never read.
    for (unsigned i = 0; i < d->m_format->nb_streams; ++i) {
        if (static_cast<int>(i) != d->m_stream)
            d->m_format->streams[i]->discard = AVDISCARD_ALL;
    }
    if (!d->openCodec())
        return nullptr;
    d->m_packet = av_packet_alloc();
    d->m_frame = av_frame_alloc();
    if (!d->m_packet || !d->m_frame)
        return nullptr;

    // The first frame fixes where the file's time starts and proves that
    // something behind the header decodes.
    if (!d->decodeFrame())
        return nullptr;

    std::int64_t length = d->containerLength();
    if (length > 0 && !d->m_countFromEnd) {
        // Where the audio really ends: a header can promise more than a file
        // cut short holds, and a song whose end never comes would hold the air.
        // (An Ogg file's length is its last page's, so it has no such promise.)
        d->m_length = length;
        std::int64_t tailEnd = -1;
        if (d->seek(std::max<std::int64_t>(0, length - static_cast<std::int64_t>(kTailProbeSeconds * d->m_sampleRate)))) {
            const std::int64_t end = d->decodeToEnd(d->m_position);
            if (!d->m_broken && end > d->m_position)
                tailEnd = end;
        }
        length = tailEnd > 0 ? std::min(length, tailEnd) : d->countPacketFrames();
    } else if (length <= 0) {
        length = d->countPacketFrames();
    }
    if (length <= 0 || !d->rewind())
        return nullptr;
    d->m_length = length;
    return d;
}

bool FfmpegDecoder::openCodec()
{
    const AVStream* stream = m_format->streams[m_stream];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return false;
    m_codec = avcodec_alloc_context3(codec);
    if (!m_codec || avcodec_parameters_to_context(m_codec, stream->codecpar) < 0)
        return false;
    // With the packets' time base the library moves a frame's timestamp past
    // the encoder delay it drops, which the seeks rely on.
    m_codec->pkt_timebase = stream->time_base;
    m_codec->thread_count = 1;
    if (avcodec_open2(m_codec, codec, nullptr) < 0)
        return false;
    if (m_codec->sample_rate <= 0 || m_codec->sample_rate > 768000 || m_codec->ch_layout.nb_channels < 1)
        return false;
    m_sampleRate = m_codec->sample_rate;
    m_channels = m_codec->ch_layout.nb_channels;
    m_settleFrames = settleFrames(m_codec->codec_id, m_sampleRate);
    m_countFromEnd = std::strcmp(m_format->iformat->name, "ogg") == 0;
    return true;
}

std::int64_t FfmpegDecoder::samplesOf(std::int64_t timestamp) const
{
    return av_rescale_q(timestamp - m_origin, m_format->streams[m_stream]->time_base, AVRational{1, m_sampleRate});
}

std::int64_t FfmpegDecoder::containerLength() const
{
    const AVStream* stream = m_format->streams[m_stream];
    if (const std::int64_t count = itunesSampleCount(m_format->metadata))
        return count;
    if (const std::int64_t count = itunesSampleCount(stream->metadata))
        return count;
    // A length guessed from the bit rate is no length at all.
    if (m_format->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE)
        return 0;
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
        const std::int64_t frames = av_rescale_q(stream->duration, stream->time_base, AVRational{1, m_sampleRate});
        // An Opus file's last granule counts its pre-skip, which is never heard.
        if (m_codec->codec_id == AV_CODEC_ID_OPUS)
            return frames - stream->codecpar->initial_padding;
        return frames;
    }
    return 0;
}

std::int64_t FfmpegDecoder::countPacketFrames()
{
    // No usable length in the header. Raw AAC (a recording an hour long,
    // say) is counted by its packets' durations without decoding them; a
    // file cut short is decoded, since its last packet may be cut too...
    if (!rewind())
        return 0;
    const AVStream* stream = m_format->streams[m_stream];
    std::int64_t total = 0;
    bool known = std::strcmp(m_format->iformat->name, "aac") == 0;
    while (known && av_read_frame(m_format, m_packet) >= 0) {
        if (m_packet->stream_index == m_stream) {
            known = m_packet->duration > 0;
            total += m_packet->duration;
        }
        av_packet_unref(m_packet);
    }
    if (known && total > 0)
        return av_rescale_q(total, stream->time_base, AVRational{1, m_sampleRate});
    // ...any other file decoded once to its end.
    return rewind() ? decodeToEnd(0) : 0;
}

std::int64_t FfmpegDecoder::decodeToEnd(std::int64_t from)
{
    // The frame just decoded counts too (a jump's first frame, say).
    std::int64_t end = std::max(from, m_pendingStart + static_cast<std::int64_t>(m_pending.size()));
    while (decodeFrame())
        end = m_pendingStart + static_cast<std::int64_t>(m_pending.size());
    return end;
}

bool FfmpegDecoder::decodeFrame()
{
    m_pending.clear();
    if (m_ended || m_broken)
        return false;
    for (;;) {
        const int got = avcodec_receive_frame(m_codec, m_frame);
        if (got == AVERROR_EOF) {
            m_ended = true;
            return false;
        }
        if (got == AVERROR(EAGAIN)) {
            const int read = av_read_frame(m_format, m_packet);
            if (read < 0) {
                // The end of the file, or the end of what can be read of it:
                // the decoder gives what it still holds, once.
                if (m_draining || avcodec_send_packet(m_codec, nullptr) < 0) {
                    m_ended = true;
                    return false;
                }
                m_draining = true;
                continue;
            }
            if (m_packet->stream_index == m_stream) {
                const int sent = avcodec_send_packet(m_codec, m_packet);
                // A damaged packet is passed over; the decoder resyncs.
                if (sent < 0 && sent != AVERROR(EAGAIN) && sent != AVERROR_INVALIDDATA) {
                    av_packet_unref(m_packet);
                    m_broken = true;
                    return false;
                }
            }
            av_packet_unref(m_packet);
            continue;
        }
        if (got < 0) {
            if (got == AVERROR_INVALIDDATA)
                continue;
            m_broken = true;
            return false;
        }
        break;
    }

    // A frame whose rate or layout changes midway is not ours to follow: the
    // resampler and the positions are set up for the first.
    if (m_frame->sample_rate != m_sampleRate || m_frame->ch_layout.nb_channels != m_channels) {
        av_frame_unref(m_frame);
        m_broken = true;
        return false;
    }
    if (!m_swr) {
        AVChannelLayout in{};
        if (m_frame->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
            av_channel_layout_default(&in, m_channels);
        else
            av_channel_layout_copy(&in, &m_frame->ch_layout);
        AVChannelLayout out{};
        av_channel_layout_default(&out, m_channels == 1 ? 1 : 2);
        int ok = swr_alloc_set_opts2(&m_swr, &out, AV_SAMPLE_FMT_FLT, m_sampleRate, &in,
                                     static_cast<AVSampleFormat>(m_frame->format), m_sampleRate, 0, nullptr);
        av_channel_layout_uninit(&in);
        av_channel_layout_uninit(&out);
        // Folded to two channels, surround sound keeps its balance and never clips.
        if (ok >= 0)
            ok = av_opt_set_double(m_swr, "rematrix_maxval", 1.0, 0);
        if (ok < 0 || swr_init(m_swr) < 0) {
            av_frame_unref(m_frame);
            m_broken = true;
            return false;
        }
    }

    const int frames = m_frame->nb_samples;
    const auto format = av_get_packed_sample_fmt(static_cast<AVSampleFormat>(m_frame->format));
    m_floatSamples = format == AV_SAMPLE_FMT_FLT || format == AV_SAMPLE_FMT_DBL;
    std::int64_t timestamp = m_frame->pts != AV_NOPTS_VALUE ? m_frame->pts : m_frame->best_effort_timestamp;
    if (!m_originKnown) {
        m_origin = timestamp != AV_NOPTS_VALUE ? timestamp : 0;
        m_originKnown = true;
    }
    // Timestamps place the first frame after a jump; after that frames follow
    // each other, except where a damaged stretch was passed over: its place
    // is kept as silence, so the song still ends when its length says.
    std::int64_t start = m_nextStart;
    std::int64_t hole = 0;
    if (timestamp != AV_NOPTS_VALUE) {
        const std::int64_t stamped = samplesOf(timestamp);
        if (m_aligning)
            start = stamped;
        else if (stamped - m_nextStart > m_sampleRate / 50 && stamped - m_nextStart <= kLongestHoleSeconds * m_sampleRate)
            hole = stamped - m_nextStart;  // not the rounding of a coarse time base: audio was lost
    }
    m_frameStamped = timestamp != AV_NOPTS_VALUE;
    const auto silence = static_cast<std::size_t>(hole);
    m_pending.assign(silence + static_cast<std::size_t>(frames), StereoFrame{0.0f, 0.0f});
    int converted = 0;
    if (m_channels == 1) {
        m_mono.resize(static_cast<std::size_t>(frames));
        auto* out = reinterpret_cast<std::uint8_t*>(m_mono.data());
        converted = swr_convert(m_swr, &out, frames, const_cast<const std::uint8_t**>(m_frame->extended_data), frames);
        for (int i = 0; i < std::max(converted, 0); ++i)
            m_pending[silence + static_cast<std::size_t>(i)] = {m_mono[static_cast<std::size_t>(i)], m_mono[static_cast<std::size_t>(i)]};
    } else {
        auto* out = reinterpret_cast<std::uint8_t*>(m_pending.data() + silence);
        converted = swr_convert(m_swr, &out, frames, const_cast<const std::uint8_t**>(m_frame->extended_data), frames);
    }
    av_frame_unref(m_frame);
    if (converted < 0) {
        m_pending.clear();
        m_broken = true;
        return false;
    }
    m_pending.resize(silence + static_cast<std::size_t>(converted));
    if (m_floatSamples)
        silenceNonFinite(m_pending.data(), static_cast<long>(m_pending.size()));
    m_pendingStart = start;
    m_nextStart = start + static_cast<std::int64_t>(m_pending.size());
    return true;
}

int FfmpegDecoder::read(StereoFrame* out, int maxFrames)
{
    int written = 0;
    while (written < maxFrames && m_position < m_length) {
        const std::int64_t pendingEnd = m_pendingStart + static_cast<std::int64_t>(m_pending.size());
        if (pendingEnd <= m_position) {
            if (!decodeFrame())
                break;
            continue;
        }
        if (m_pendingStart > m_position) {
            // Landed past the target: what follows is what plays next.
            m_pendingStart = m_position;
            m_nextStart = m_pendingStart + static_cast<std::int64_t>(m_pending.size());
        }
        m_aligning = false;
        const auto skip = static_cast<std::size_t>(m_position - m_pendingStart);
        const std::int64_t wanted = std::min<std::int64_t>(m_length - m_position, maxFrames - written);
        const auto n = static_cast<int>(std::min<std::int64_t>(wanted, static_cast<std::int64_t>(m_pending.size() - skip)));
        std::copy_n(m_pending.begin() + static_cast<std::ptrdiff_t>(skip), n, out + written);
        written += n;
        m_position += n;
    }
    return written;
}

void FfmpegDecoder::flush()
{
    avcodec_flush_buffers(m_codec);
    m_draining = false;
}

bool FfmpegDecoder::rewind()
{
    flush();
    m_pending.clear();
    m_pendingStart = 0;
    m_nextStart = 0;
    m_position = 0;
    m_aligning = true;
    m_ended = false;
    m_broken = false;
    const AVStream* stream = m_format->streams[m_stream];
    const std::int64_t start = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    if (av_seek_frame(m_format, m_stream, start, AVSEEK_FLAG_BACKWARD) < 0
        && avformat_seek_file(m_format, m_stream, INT64_MIN, start, start, 0) < 0)
        return false;
    flush();
    return true;
}

bool FfmpegDecoder::seekFromStart(std::int64_t frame)
{
    if (!rewind())
        return false;
    m_position = frame;
    // The frames before the target are decoded and dropped by read().
    while (decodeFrame()) {
        if (m_pendingStart + static_cast<std::int64_t>(m_pending.size()) > frame)
            return true;
    }
    return !m_broken;
}

bool FfmpegDecoder::jumpBefore(std::int64_t frame)
{
    const AVStream* stream = m_format->streams[m_stream];
    const std::int64_t from = std::max<std::int64_t>(0, frame - m_settleFrames);
    flush();
    m_pending.clear();
    m_aligning = true;
    m_ended = false;
    m_broken = false;
    if (av_seek_frame(m_format, m_stream, m_origin + av_rescale_q(from, AVRational{1, m_sampleRate}, stream->time_base),
                      AVSEEK_FLAG_BACKWARD)
        < 0)
        return false;
    flush();
    return true;
}

bool FfmpegDecoder::seekNearEnd(std::int64_t frame)
{
    if (!jumpBefore(m_length - kCountBackSeconds * m_sampleRate))
        return seekFromStart(frame);
    // Counted, not placed: no timestamp decides anything here.
    std::vector<StereoFrame> tail;
    while (decodeFrame() && tail.size() < static_cast<std::size_t>(kMaxCountBackSeconds * m_sampleRate))
        tail.insert(tail.end(), m_pending.begin(), m_pending.end());
    const auto start = m_length - static_cast<std::int64_t>(tail.size());
    if (!m_ended || start > frame || start < 0)
        return seekFromStart(frame);
    m_pending = std::move(tail);
    m_pendingStart = start;
    m_nextStart = m_length;
    m_position = frame;
    m_aligning = false;
    return true;
}

bool FfmpegDecoder::seek(std::int64_t frame)
{
    frame = std::clamp<std::int64_t>(frame, 0, std::max<std::int64_t>(m_length, 0));
    if (frame == 0)
        return rewind();
    if (m_countFromEnd && frame > m_length - kCountBackSeconds * m_sampleRate)
        return seekNearEnd(frame);
    if (!jumpBefore(frame))
        return seekFromStart(frame);
    m_position = frame;
    m_pendingStart = frame;
    m_nextStart = frame;
    // The first frame after the jump says where it landed. Past the target
    // (a seek index that lies), or nowhere known, the seek is done the slow,
    // exact way.
    if (!decodeFrame())
        return !m_broken;
    if (m_pendingStart > frame || !m_frameStamped)
        return seekFromStart(frame);
    return true;
}

}  // namespace tavlo
