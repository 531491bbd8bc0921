// Cue points found from the audio itself, on songs shaped as real files are:
// leading silence, a hard end, a fade, a long slow fade, trailing silence,
// a pause in the middle, a song quiet throughout. Each point within 50 ms of
// where the song's shape puts it.
#include "engine/CueFinder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

using namespace tavlo;

namespace {

constexpr int kCueTestRate = 44100;
constexpr double kAmplitude = 0.5;
// A 440 Hz tone of that amplitude on both channels, on the LUFS scale the finder uses.
const double kSongLufs = -0.691 + 20 * std::log10(kAmplitude);

// `seconds` of a 440 Hz tone whose gain in dB at time t is gainDb(t)
// (-inf: silence), fed to the finder in blocks as a decoder delivers them.
CueFinder shaped(double seconds, const std::function<double(double)>& gainDb)
{
    CueFinder finder(kCueTestRate);
    std::vector<StereoFrame> block(4096);
    const auto total = static_cast<long long>(seconds * kCueTestRate);
    for (long long done = 0; done < total;) {
        const int n = static_cast<int>(std::min<long long>(static_cast<long long>(block.size()), total - done));
        for (int i = 0; i < n; ++i) {
            const double t = double(done + i) / kCueTestRate;
            const double g = gainDb(t);
            const float v = std::isfinite(g) ? float(kAmplitude * std::pow(10.0, g / 20) * std::sin(2 * M_PI * 440 * t)) : 0.0f;
            block[static_cast<size_t>(i)] = {v, v};
        }
        finder.add(block.data(), n);
        done += n;
    }
    return finder;
}

constexpr double kSilent = -HUGE_VAL;

}  // namespace

TEST(CueFinder, FindsWhereEachShapeOfSongStartsSeguesAndEnds)
{
    // Where the threshold of silence cuts a fade falling `dbPerSecond` from `from`.
    const double silenceBelow = kSongLufs - std::min(kSongLufs - 40, -50.0);
    const struct {
        const char* what;
        double seconds;
        std::function<double(double)> gain;
        double cueIn, segue, cueOut;
    } songs[] = {
        // 2 s silence, 10 s tone, a 6 s fade of 10 dB a second, 3 s silence:
        // the segue 12 dB into the fade, cue-out where it meets silence.
        {"leading silence, fade, trailing silence", 21,
         [](double t) { return t < 2 ? kSilent : t < 12 ? 0 : t < 18 ? -10 * (t - 12) : kSilent; }, 2.0, 13.2,
         12 + silenceBelow / 10},
        {"hard end", 8, [](double t) { return t < 1 ? kSilent : t < 6 ? 0 : kSilent; }, 1.0, 6.0, 6.0},
        {"a pause in the middle is not an end", 8, [](double t) { return t >= 3 && t < 5 ? kSilent : 0; }, 0.0, 8.0, 8.0},
        // 5 s tone, 20 s sinking 11 dB, then down to silence in a second:
        // more than 15 s of fade, so the segue comes 10 s before cue-out.
        {"long slow fade", 30,
         [](double t) {
             return t < 5 ? 0 : t < 25 ? -11 * (t - 5) / 20 : t < 26 ? -11 - 49 * (t - 25) : kSilent;
         },
         0.0, 25 + (silenceBelow - 11) / 49 - 10, 25 + (silenceBelow - 11) / 49},
    };
    for (const auto& s : songs) {
        SCOPED_TRACE(s.what);
        const auto p = shaped(s.seconds, s.gain).points(kSongLufs);
        ASSERT_TRUE(p.has_value());
        EXPECT_NEAR(p->cueIn, s.cueIn, 0.05);
        EXPECT_NEAR(p->segue, s.segue, 0.05);
        EXPECT_NEAR(p->cueOut, s.cueOut, 0.05);
    }

    // A softer song, at -20 LUFS: its silence starts 40 LU under it, at -60,
    // well under the -50 ceiling, so a 10 dB a second fade ends 4 s in.
    const double soft = -20 - kSongLufs;
    const auto softer =
        shaped(12, [soft](double t) { return t < 6 ? soft : t < 12 ? soft - 10 * (t - 6) : kSilent; }).points(-20);
    ASSERT_TRUE(softer.has_value());
    EXPECT_NEAR(softer->segue, 7.2, 0.05);
    EXPECT_NEAR(softer->cueOut, 10.0, 0.05);

    // Quiet throughout (a spoken intro at -40 LUFS): its whole length, silence and all.
    const auto quiet = shaped(6, [](double t) { return t < 1 ? kSilent : -34.0; }).points(kSongLufs - 34);
    ASSERT_TRUE(quiet.has_value());
    EXPECT_NEAR(quiet->cueIn, 0, 1e-9);
    EXPECT_NEAR(quiet->segue, 6, 1e-3);
    EXPECT_NEAR(quiet->cueOut, 6, 1e-3);
    // Nothing but silence has no points.
    EXPECT_FALSE(shaped(3, [](double) { return kSilent; }).points(kSongLufs).has_value());
}
