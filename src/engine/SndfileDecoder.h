#pragma once

#include "engine/Decoder.h"
#include "engine/Downmix.h"

#include <QByteArrayView>

#include <vector>

struct sf_private_tag;
struct SF_INFO;

namespace tavlo {

class MemoryFile;

// WAV (and its RF64/WAVE_FORMAT_EXTENSIBLE variants) and AIFF through
// libsndfile, whatever their codec: PCM, float, and MP3 inside a WAV file as
// older broadcast systems stored it. The other types libsndfile knows are
// left to the decoders made for them. More than two channels are folded to
// stereo by the layout the file states, or else the usual one for their count.
// Threading: see Decoder.
class SndfileDecoder : public Decoder {
public:
    ~SndfileDecoder() override;
    static std::unique_ptr<SndfileDecoder> open(const QString& path);
    // The same on a file in memory; `bytes` must outlive the decoder.
    static std::unique_ptr<SndfileDecoder> openMemory(QByteArrayView bytes);

    int read(StereoFrame* out, int maxFrames) override;
    bool seek(std::int64_t frame) override;

private:
    SndfileDecoder();
    // Both opens: the checks once libsndfile has read the header.
    static std::unique_ptr<SndfileDecoder> checkOpened(std::unique_ptr<SndfileDecoder> d, const SF_INFO& info);
    std::unique_ptr<MemoryFile> m_memory;  // what m_file reads from after openMemory
    sf_private_tag* m_file = nullptr;
    std::vector<float> m_buffer;  // interleaved file channels before folding to stereo
    std::vector<Speaker> speakers() const;
    DownmixGains m_downmix;  // for more than two channels
    bool m_floatSamples = false;  // only float and double files can hold NaN or infinity
};

}  // namespace tavlo
