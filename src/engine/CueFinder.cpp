#include "engine/CueFinder.h"

#include <algorithm>
#include <cmath>

namespace tavlo {

namespace {

constexpr double kSilenceBelowSong = 40;  // LU
constexpr double kSilenceCeiling = -50;   // LUFS
constexpr double kSegueBelowSong = 12;    // LU
constexpr double kBodyBelowSong = 1;      // LU: still the song's body, not its fade
constexpr double kLongFade = 15;          // s
constexpr double kLongFadeSegue = 10;     // s before cue-out
constexpr double kQuietSong = -30;        // LUFS
constexpr int kWindowBlocks = 10;         // 100 ms

// A mean square on the LUFS scale (as the R128 meter sums its channels).
double lufs(double meanSquare) { return meanSquare > 0 ? -0.691 + 10 * std::log10(meanSquare) : -HUGE_VAL; }

}  // namespace

CueFinder::CueFinder(int sampleRate)
    : m_blockFrames(std::max(1, sampleRate / 100)), m_blockSeconds(double(m_blockFrames) / sampleRate), m_rate(sampleRate)
{
}

void CueFinder::add(const StereoFrame* frames, int count)
{
    for (int i = 0; i < count; ++i) {
        m_sum += double(frames[i].left) * frames[i].left + double(frames[i].right) * frames[i].right;
        if (++m_inBlock == m_blockFrames) {
            m_levels.push_back(static_cast<float>(m_sum / m_blockFrames));
            m_sum = 0;
            m_inBlock = 0;
        }
    }
    m_frames += count;
}

std::optional<CuePoints> CueFinder::points(double integratedLufs) const
{
    const double length = double(m_frames) / m_rate;
    const double silence = std::min(integratedLufs - kSilenceBelowSong, kSilenceCeiling);
    const auto blocks = static_cast<int>(m_levels.size());
    int first = -1, last = -1;
    for (int b = 0; b < blocks; ++b) {
        if (lufs(m_levels[static_cast<size_t>(b)]) > silence) {
            if (first < 0)
                first = b;
            last = b;
        }
    }
    if (first < 0)
        return std::nullopt;
    if (integratedLufs < kQuietSong)
        return CuePoints{0, length, length};
    CuePoints p;
    p.cueIn = first * m_blockSeconds;
    p.cueOut = std::min(length, (last + 1) * m_blockSeconds);

    // 100 ms windows a block apart: the last one loud enough to be the
    // song, and the last one at its body's loudness.
    double sum = 0;
    int segueWindow = -1, bodyWindow = -1;
    for (int b = 0; b < blocks; ++b) {
        sum += m_levels[static_cast<size_t>(b)];
        if (b >= kWindowBlocks)
            sum -= m_levels[static_cast<size_t>(b - kWindowBlocks)];
        if (b + 1 < kWindowBlocks)
            continue;
        const double level = lufs(sum / kWindowBlocks);
        const int start = b + 1 - kWindowBlocks;
        if (level >= integratedLufs - kSegueBelowSong)
            segueWindow = start;
        if (level >= integratedLufs - kBodyBelowSong)
            bodyWindow = start;
    }
    const double middle = kWindowBlocks * m_blockSeconds / 2;
    p.segue = segueWindow >= 0 ? segueWindow * m_blockSeconds + middle : p.cueOut;
    if (bodyWindow >= 0 && p.cueOut - (bodyWindow * m_blockSeconds + middle) > kLongFade)
        p.segue = std::min(p.segue, p.cueOut - kLongFadeSegue);
    p.segue = std::clamp(p.segue, p.cueIn, p.cueOut);
    return p;
}

}  // namespace tavlo
