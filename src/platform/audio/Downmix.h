#pragma once

#include "platform/audio/StereoFrame.h"

namespace tavlo {

// Folds interleaved frames of three or more channels, in the WAV order
// (front left, front right, centre, LFE, back left, back right, side left,
// side right; further channels go to both sides), to stereo: centre and
// surrounds at -3 dB into their side, the LFE left out, the whole scaled so
// that full-scale input on every channel cannot clip. Any thread; pure.
void downmixToStereo(const float* in, int channels, StereoFrame* out, int frames);

}  // namespace tavlo
