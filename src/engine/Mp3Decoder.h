#pragma once

#include "engine/Decoder.h"

#include <QByteArrayView>

#include <vector>

struct mpg123_handle_struct;

namespace tavlo {

class Mp3Source;

// MP3 through libmpg123, float output. The whole file is scanned when it is
// opened: that is the only way to know the true length of a VBR file without
// a Xing header, and it builds the index that makes seeks sample-accurate.
// Threading: see Decoder.
class Mp3Decoder : public Decoder {
public:
    ~Mp3Decoder() override;
    static std::unique_ptr<Mp3Decoder> open(const QString& path);
    // The same on a file in memory; `bytes` must outlive the decoder.
    static std::unique_ptr<Mp3Decoder> openMemory(QByteArrayView bytes);

    int read(StereoFrame* out, int maxFrames) override;
    bool seek(std::int64_t frame) override;

private:
    Mp3Decoder() = default;
    // Both opens: everything after the choice of what libmpg123 reads from.
    static std::unique_ptr<Mp3Decoder> openSource(std::unique_ptr<Mp3Source> source);
    // read() without the stop at the length.
    int decode(StereoFrame* out, int maxFrames);
    mpg123_handle_struct* m_handle = nullptr;
    std::vector<float> m_mono;  // decode buffer for mono files
    std::int64_t m_position = 0;  // the next frame read() gives
    bool m_broken = false;
};

}  // namespace tavlo
