#pragma once

#include "platform/audio/Decoder.h"

#include <vector>

struct mpg123_handle_struct;

namespace tavlo {

// MP3 through libmpg123, float output. The whole file is scanned when it is
// opened: that is the only way to know the true length of a VBR file without
// a Xing header, and it builds the index that makes seeks sample-accurate.
// Threading: see Decoder.
class Mp3Decoder : public Decoder {
public:
    ~Mp3Decoder() override;
    static std::unique_ptr<Mp3Decoder> open(const QString& path);

    int read(StereoFrame* out, int maxFrames) override;
    bool seek(std::int64_t frame) override;

private:
    Mp3Decoder() = default;
    mpg123_handle_struct* m_handle = nullptr;
    std::vector<char> m_readBuffer;  // stdio's, for the file libmpg123 reads through us
    std::vector<float> m_mono;       // decode buffer for mono files
    bool m_broken = false;
};

}  // namespace tavlo
