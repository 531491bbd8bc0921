#pragma once

#include "platform/MediaService.h"
#include "engine/SpscRing.h"

#include <atomic>
#include <cstdint>

namespace tavlo {

class StreamTap;
class Voice;

// Sums every voice into one interleaved stereo buffer. The output drivers
// (PortAudio, the null sink, the WAV writer) call process(); tests may call
// it directly.
//
// Headroom: voices are summed at unity with no scaling, so one voice at 0 dB
// passes through bit-exact and four voices add up exactly as a desk would.
// Nothing is limited here; a sum beyond full scale is clipped at the
// conversion to the device's or the file's integer format, never wrapped.
// The 32-bit float WAV keeps the unclipped sum for measurement.
//
// Removal: a voice that is still heard when its Remove arrives is told to
// leave and stays in the mix, flagged, until its fade-out has run (a few
// milliseconds); only then does it go to the retire queue. It keeps its slot
// meanwhile, so the fixed arrays suffice and the audio thread never
// allocates; the engine counts it as live until it is freed.
//
// Threading: post() from the UI thread; process() from the audio thread only
// (the one thread that plays the consumer's part); takeRetired() from the
// one non-real-time thread that frees voices; takePeak() and
// framesProcessed() from anywhere.
class Mixer {
public:
    static constexpr int kMaxVoices = 32;

    struct Command {
        enum class Kind { Add, Remove } kind = Kind::Add;
        Voice* voice = nullptr;
    };

    explicit Mixer(int maxBlockFrames);

    // Queues an add or remove for the next process(); false when the queue
    // is full (the caller retries after a block).
    bool post(const Command& command) { return m_commands.push(command); }

    // Never blocks, locks, allocates or touches a file.
    void process(float* out, int frames);
    // Applies queued commands without mixing. Audio thread only.
    void applyCommands();
    // Retires the voices still fading out at once, their fades cut short:
    // for the offline renderer, which needs their room before it next mixes.
    void retireLeaving();

    // A removed voice the audio thread has let go of, or null.
    Voice* takeRetired();

    // Largest absolute sample per channel since this reader (one of
    // MediaService::kPeakReaders) last took it.
    float takePeak(int channel, int reader = 0);
    std::int64_t framesProcessed() const { return m_frames.load(std::memory_order_relaxed); }
    // Every mixed block is also handed to `tap` (the stream encoder's ring),
    // whatever the sink. Set before the audio thread starts; the tap must
    // outlive the mixer.
    void setTap(StreamTap* tap) { m_tap = tap; }
    int maxBlockFrames() const { return m_maxBlock; }

private:
    void notePeak(std::atomic<float>& peak, float value);
    void retireAt(int index);

    const int m_maxBlock;
    SpscRing<Command> m_commands;
    SpscRing<Voice*> m_retired;
    Voice* m_voices[kMaxVoices] = {};
    bool m_leaving[kMaxVoices] = {};
    int m_voiceCount = 0;
    std::atomic<float> m_peak[MediaService::kPeakReaders][2] = {};
    std::atomic<std::int64_t> m_frames{0};
    StreamTap* m_tap = nullptr;
};

}  // namespace tavlo
