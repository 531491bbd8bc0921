#pragma once

#include "engine/Decoder.h"

#include <QByteArrayView>

#include <memory>
#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct AVIOContext;
struct AVPacket;
struct AVFrame;
struct SwrContext;

namespace tavlo {

class MemoryFile;

// FLAC, Ogg Vorbis, Opus, AAC and ALAC (in .m4a/.mp4 or raw ADTS) through
// FFmpeg: libavformat reads the container, libavcodec decodes, libswresample
// turns any sample format and channel layout into float stereo (mono stays
// mono until it is copied to both sides, as the other decoders do).
//
// Lengths come from the container (FLAC's STREAMINFO, Ogg's last granule,
// MP4's sample table or edit list, the iTunes gapless record), so opening
// never decodes the whole file; encoder delay (Opus pre-skip, AAC priming)
// is removed by libavcodec, and a frame's place is taken from its timestamp,
// so a seek is sample-exact: it lands on the packet before the target (a
// little earlier for codecs that need to settle) and decodes forward,
// dropping what comes before it.
// Threading: see Decoder.
class FfmpegDecoder : public Decoder {
public:
    ~FfmpegDecoder() override;
    static std::unique_ptr<FfmpegDecoder> open(const QString& path);
    // The same on a file in memory; `bytes` must outlive the decoder.
    static std::unique_ptr<FfmpegDecoder> openMemory(QByteArrayView bytes);

    int read(StereoFrame* out, int maxFrames) override;
    bool seek(std::int64_t frame) override;

private:
    FfmpegDecoder();
    // Both opens: everything after the container has been opened.
    static std::unique_ptr<FfmpegDecoder> openContainer(std::unique_ptr<FfmpegDecoder> d);
    bool openCodec();
    std::int64_t containerLength() const;
    std::int64_t countPacketFrames();
    // Decodes the next frame into m_pending; false at the end or on an error
    // that ends the file for us.
    bool decodeFrame();
    // Decodes to the end of the file; where its audio ends (`from` if nothing more decodes).
    std::int64_t decodeToEnd(std::int64_t from);
    bool seekFromStart(std::int64_t frame);
    bool seekNearEnd(std::int64_t frame);
    // Moves the container to the packet before `frame` (settling included)
    // and empties the decoder; false when the container cannot.
    bool jumpBefore(std::int64_t frame);
    bool rewind();
    void flush();
    std::int64_t samplesOf(std::int64_t timestamp) const;

    std::unique_ptr<MemoryFile> m_memory;  // what m_io reads after openMemory
    AVIOContext* m_io = nullptr;
    AVFormatContext* m_format = nullptr;
    AVCodecContext* m_codec = nullptr;
    SwrContext* m_swr = nullptr;
    AVPacket* m_packet = nullptr;
    AVFrame* m_frame = nullptr;
    int m_stream = -1;
    int m_settleFrames = 0;  // decoded before a seek target, for codecs that need it

    std::vector<StereoFrame> m_pending;  // decoded, not yet read
    std::vector<float> m_mono;
    std::int64_t m_pendingStart = 0;  // the frame number of m_pending[0]
    std::int64_t m_nextStart = 0;     // where the next decoded frame goes
    bool m_aligning = true;           // until the first frame after a jump has been placed
    bool m_countFromEnd = false;      // Ogg: the last page's timestamps are not to be trusted
    std::int64_t m_position = 0;      // the next frame read() gives
    std::int64_t m_origin = 0;        // the timestamp of the first frame, in the stream's time base
    bool m_originKnown = false;
    bool m_ended = false;
    bool m_draining = false;      // the decoder was told the packets ended
    bool m_frameStamped = false;  // the last frame decoded had a timestamp
    bool m_floatSamples = false;  // the codec gives floats, which damage can make NaN
    bool m_broken = false;
};

}  // namespace tavlo
