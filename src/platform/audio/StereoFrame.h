#pragma once

namespace tavlo {

// One sample pair as decoders deliver it and the mixer reads it. Laid out as
// two packed floats so a run of frames is also libsamplerate's interleaved
// stereo buffer.
struct StereoFrame {
    float left;
    float right;
};
static_assert(sizeof(StereoFrame) == 2 * sizeof(float), "frames must be packed float pairs");

}  // namespace tavlo
