// One decoder on any file, as the engine runs it: open (the header checks,
// the MP3 scan and probe read, FFmpeg's probe and tail check), the length, a
// read to the end, seeks. A song that is not what its name says must fail to
// open or play, never take the station off air. Built once per library:
// TAVLO_FUZZ_DECODER names the class.
#include "ScratchFile.h"

#include "engine/FfmpegDecoder.h"
#include "engine/Mp3Decoder.h"
#include "engine/SndfileDecoder.h"

#include <cmath>
#include <vector>

using namespace tavlo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto decoder =
        TAVLO_FUZZ_DECODER::openMemory(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!decoder)
        return 0;
    fuzz::check(decoder->sampleRate() > 0 && decoder->channels() >= 1 && decoder->lengthFrames() > 0,
                "an open file has a rate, channels and a length");

    // The reader thread's blocks, to the end.
    static std::vector<StereoFrame> block(4096);
    const int blockFrames = static_cast<int>(block.size());
    while (const int n = decoder->read(block.data(), blockFrames)) {
        for (int i = 0; i < n; ++i)
            fuzz::check(std::isfinite(block[i].left) && std::isfinite(block[i].right), "every sample is a number");
    }
    // A seek into the middle and a short read there; back to the start; past the end.
    const std::int64_t length = decoder->lengthFrames();
    decoder->seek(length / 2);
    fuzz::check(decoder->read(block.data(), 1000) <= std::min<std::int64_t>(1000, length - length / 2),
                "a read after a seek stops at the length");
    decoder->seek(0);
    decoder->read(block.data(), 1);
    decoder->seek(length + 1000);
    fuzz::check(decoder->read(block.data(), blockFrames) == 0, "nothing is read past the end");
    return 0;
}
