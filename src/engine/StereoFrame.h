#pragma once

#include <cmath>

namespace tavlo {

// One sample pair as decoders deliver it and the mixer reads it. Laid out as
// two packed floats so a run of frames is also libsamplerate's interleaved
// stereo buffer.
struct StereoFrame {
    float left;
    float right;
};
static_assert(sizeof(StereoFrame) == 2 * sizeof(float), "frames must be packed float pairs");

// A damaged float file can hold NaN or infinity, and either spreads through
// every sum it enters: the mixer would put clicks into the whole station's
// output, other songs and the stream included. Decoders of float data play
// them as silence.
inline void silenceNonFinite(StereoFrame* frames, long count)
{
    for (long i = 0; i < count; ++i) {
        if (!std::isfinite(frames[i].left))
            frames[i].left = 0.0f;
        if (!std::isfinite(frames[i].right))
            frames[i].right = 0.0f;
    }
}

}  // namespace tavlo
