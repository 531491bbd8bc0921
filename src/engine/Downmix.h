#pragma once

#include "engine/StereoFrame.h"

#include <vector>

namespace tavlo {

// Where a file's channel is meant to sound.
enum class Speaker { FrontLeft, FrontRight, Centre, Lfe, BackLeft, BackRight, SideLeft, SideRight, BackCentre, Other };

// The speakers of a file with `channels` channels that says nothing of its
// layout, in the WAV order: 3 front left, right, centre; 4 the front and back
// pairs; 5 with the centre; 6 with the LFE ("5.1"); 7 back centre and the
// side pair; 8 ("7.1") back and side pairs.
std::vector<Speaker> defaultSpeakers(int channels);

// How much of each channel goes to the left and to the right: centre and
// surrounds at -3 dB into their side, the LFE left out, the whole scaled so
// that full-scale input on every channel cannot clip.
struct DownmixGains {
    std::vector<float> left;
    std::vector<float> right;
};
DownmixGains downmixGains(const std::vector<Speaker>& speakers);

// Folds interleaved frames of speakers.size() channels to stereo. Any thread.
void downmixToStereo(const float* in, const DownmixGains& gains, StereoFrame* out, int frames);

}  // namespace tavlo
