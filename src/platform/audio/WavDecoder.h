#pragma once

#include "platform/audio/Decoder.h"

#include <vector>

struct sf_private_tag;

namespace tavlo {

// WAV (and its RF64/WAVE_FORMAT_EXTENSIBLE variants) through libsndfile,
// whatever their codec: PCM, float, and MP3 inside a WAV file as older
// broadcast systems stored it. Other file types libsndfile knows are refused:
// the program plays MP3 and WAV.
// Threading: see Decoder.
class WavDecoder : public Decoder {
public:
    ~WavDecoder() override;
    static std::unique_ptr<WavDecoder> open(const QString& path);

    int read(StereoFrame* out, int maxFrames) override;
    bool seek(std::int64_t frame) override;

private:
    WavDecoder() = default;
    sf_private_tag* m_file = nullptr;
    std::vector<float> m_buffer;  // interleaved file channels before folding to stereo
};

}  // namespace tavlo
