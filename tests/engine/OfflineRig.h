#pragma once

#include "engine/AudioEngine.h"

#include <cmath>
#include <memory>
#include <vector>

namespace tavlo::test {

// The RMS of the test media's tones at full level (amplitude 0.5).
inline const double kToneRms = 0.5 / std::sqrt(2.0);

// An engine on the float WAV writer, and what it rendered, read back.
class OfflineRig {
public:
    explicit OfflineRig(const char* name, int bits = 32);

    AudioEngine& engine() { return *m_engine; }
    std::unique_ptr<MediaStream> open(const char* mediaName);

    // Renders `seconds` more and returns just those frames, interleaved stereo.
    std::vector<float> render(double seconds);

    // Keeps a buffer that did not meet expectations for a listen:
    // TAVLO_TEST_OUTPUT_DIR/<rig name>-<label>.actual.wav
    void saveActual(const char* label, const std::vector<float>& samples) const;

    // Measures on interleaved stereo; channel 0 left, 1 right.
    static double rms(const std::vector<float>& s, int channel, std::size_t from = 0, std::size_t to = ~std::size_t{0});
    static std::size_t firstAbove(const std::vector<float>& s, float level, std::size_t from = 0);
    static std::size_t lastAbove(const std::vector<float>& s, float level);
    // The largest jump between neighbouring samples of one channel: a click.
    static float largestJump(const std::vector<float>& s);

private:
    QString m_name;
    QString m_path;
    std::unique_ptr<AudioEngine> m_engine;
    long long m_read = 0;
};

}  // namespace tavlo::test
