#include "platform/audio/Downmix.h"

#include <cmath>

namespace tavlo {

void downmixToStereo(const float* in, int channels, StereoFrame* out, int frames)
{
    constexpr float kHalfPower = 0.70710678f;
    constexpr int kMaxChannels = 64;
    float left[kMaxChannels] = {};
    float right[kMaxChannels] = {};
    const int used = channels < kMaxChannels ? channels : kMaxChannels;
    for (int c = 0; c < used; ++c) {
        switch (c) {
        case 0: left[c] = 1.0f; break;
        case 1: right[c] = 1.0f; break;
        case 2: left[c] = right[c] = kHalfPower; break;  // centre
        case 3: break;                                   // LFE
        default:
            if (c < 8)
                (c % 2 == 0 ? left : right)[c] = kHalfPower;  // back and side pairs
            else
                left[c] = right[c] = 0.5f * kHalfPower;
        }
    }
    float sumLeft = 0.0f;
    float sumRight = 0.0f;
    for (int c = 0; c < used; ++c) {
        sumLeft += left[c];
        sumRight += right[c];
    }
    const float scale = 1.0f / std::fmax(1.0f, std::fmax(sumLeft, sumRight));
    for (int c = 0; c < used; ++c) {
        left[c] *= scale;
        right[c] *= scale;
    }
    for (int i = 0; i < frames; ++i, in += channels) {
        float l = 0.0f;
        float r = 0.0f;
        for (int c = 0; c < used; ++c) {
            l += left[c] * in[c];
            r += right[c] * in[c];
        }
        out[i] = {l, r};
    }
}

}  // namespace tavlo
