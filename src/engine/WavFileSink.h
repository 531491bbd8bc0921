#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

struct sf_private_tag;

namespace tavlo {

class Mixer;

// The "WAV file writer" output: mixes on the caller's thread, as fast as it
// is asked, into a 16-bit PCM or 32-bit float WAV file. 16-bit output is
// clipped at full scale; float output keeps the mixer's sum as it is.
// The header is brought up to date at every flush, so the file can be read
// while the engine still runs.
// Threading: one thread, the one that renders.
class WavFileSink {
public:
    static std::unique_ptr<WavFileSink> open(const QString& path, int bits, int sampleRate, int maxBlockFrames);
    ~WavFileSink();
    WavFileSink(const WavFileSink&) = delete;
    WavFileSink& operator=(const WavFileSink&) = delete;

    // Mixes one block (at most the mixer's block size) into the file buffer.
    void renderBlock(Mixer& mixer, int frames);
    // Writes what is buffered and updates the header.
    void flush();

private:
    WavFileSink() = default;
    void write();
    sf_private_tag* m_file = nullptr;
    bool m_pcm16 = true;
    std::vector<float> m_buffer;
    std::vector<std::int16_t> m_pcm;
    int m_buffered = 0;  // frames
    int m_capacity = 0;  // frames
};

}  // namespace tavlo
