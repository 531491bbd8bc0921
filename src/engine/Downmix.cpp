#include "engine/Downmix.h"

#include <algorithm>

namespace tavlo {

std::vector<Speaker> defaultSpeakers(int channels)
{
    using S = Speaker;
    std::vector<Speaker> speakers;
    switch (channels) {
    case 1: speakers = {S::Centre}; break;
    case 2: speakers = {S::FrontLeft, S::FrontRight}; break;
    case 3: speakers = {S::FrontLeft, S::FrontRight, S::Centre}; break;
    case 4: speakers = {S::FrontLeft, S::FrontRight, S::BackLeft, S::BackRight}; break;
    case 5: speakers = {S::FrontLeft, S::FrontRight, S::Centre, S::BackLeft, S::BackRight}; break;
    case 6: speakers = {S::FrontLeft, S::FrontRight, S::Centre, S::Lfe, S::BackLeft, S::BackRight}; break;
    case 7: speakers = {S::FrontLeft, S::FrontRight, S::Centre, S::Lfe, S::BackCentre, S::SideLeft, S::SideRight}; break;
    default:
        speakers = {S::FrontLeft, S::FrontRight, S::Centre, S::Lfe, S::BackLeft, S::BackRight, S::SideLeft, S::SideRight};
        break;
    }
    speakers.resize(static_cast<size_t>(std::max(channels, 0)), S::Other);
    return speakers;
}

DownmixGains downmixGains(const std::vector<Speaker>& speakers)
{
    constexpr float kHalfPower = 0.70710678f;
    DownmixGains g;
    for (const Speaker s : speakers) {
        float l = 0.0f;
        float r = 0.0f;
        switch (s) {
        case Speaker::FrontLeft: l = 1.0f; break;
        case Speaker::FrontRight: r = 1.0f; break;
        case Speaker::Centre: l = r = kHalfPower; break;
        case Speaker::Lfe: break;
        case Speaker::BackLeft:
        case Speaker::SideLeft: l = kHalfPower; break;
        case Speaker::BackRight:
        case Speaker::SideRight: r = kHalfPower; break;
        case Speaker::BackCentre: l = r = 0.5f; break;
        case Speaker::Other: l = r = 0.5f * kHalfPower; break;
        }
        g.left.push_back(l);
        g.right.push_back(r);
    }
    float sumLeft = 0.0f;
    float sumRight = 0.0f;
    for (size_t c = 0; c < speakers.size(); ++c) {
        sumLeft += g.left[c];
        sumRight += g.right[c];
    }
    const float scale = 1.0f / std::max({1.0f, sumLeft, sumRight});
    for (size_t c = 0; c < speakers.size(); ++c) {
        g.left[c] *= scale;
        g.right[c] *= scale;
    }
    return g;
}

void downmixToStereo(const float* in, const DownmixGains& gains, StereoFrame* out, int frames)
{
    const size_t channels = gains.left.size();
    for (int i = 0; i < frames; ++i, in += channels) {
        float l = 0.0f;
        float r = 0.0f;
        for (size_t c = 0; c < channels; ++c) {
            l += gains.left[c] * in[c];
            r += gains.right[c] * in[c];
        }
        out[i] = {l, r};
    }
}

}  // namespace tavlo
