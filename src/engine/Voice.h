#pragma once

#include "engine/Decoder.h"
#include "engine/GainRamp.h"
#include "engine/SpscRing.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

struct SRC_STATE_tag;

namespace tavlo {

// One playing file: its decoder, the ring the decoder fills ahead of the
// mixer, its resampler and its smoothed gains.
//
// Three parties touch a voice and each keeps to its own members:
// - the UI thread (EngineStream): setState, setLevels, setRate, requestSeek,
//   positionFrames - plain atomic stores and loads;
// - the producer (the reader thread, or the offline renderer): produce();
// - the consumer (the audio callback via Mixer, or the offline renderer):
//   sync() and mixInto().
//
// A seek is a three-step handshake so the ring never mixes old and new audio:
// the UI raises the seek generation; the producer stops writing and
// acknowledges it; the consumer drops the ring's contents and confirms; only
// then does the producer move the decoder and write again. Between the
// request and the confirmation position() reports the target.
//
// No change of state cuts a sounding voice: that would click. Stopping,
// pausing, seeking and leaving the mix (leave()) fade it out over the gain
// glide's length (6 ms), on the frames that follow in the ring; they are
// heard, so they count toward the position, and a resume carries on after
// them: nothing is skipped or heard twice. A seek's fade plays the old place
// out before the consumer drops the ring, which costs the new place about one
// block of silence. A voice coming in at the file's start is heard at its
// set gain from the first frame, as the file begins; anywhere else (a resume,
// a seek) it fades in over the same length. The file's own end is not faded.
class Voice {
public:
    enum class State : int { Stopped, Running, Paused };

    Voice(std::unique_ptr<Decoder> decoder, int outputRate, int maxBlockFrames);
    ~Voice();
    Voice(const Voice&) = delete;
    Voice& operator=(const Voice&) = delete;

    int fileRate() const { return m_fileRate; }
    std::int64_t lengthFrames() const { return m_length; }

    // UI thread.
    void setState(State state) { m_state.store(state, std::memory_order_release); }
    State state() const { return m_state.load(std::memory_order_acquire); }
    // trim: a fixed gain on top (the loudness correction), which may raise.
    void setLevels(int volumeHundredthsDb, int balanceHundredthsDb, int trimHundredthsDb = 0);
    void setRate(double factor);
    void requestSeek(std::int64_t frame);
    std::int64_t positionFrames() const;

    // Producer. Decodes until the ring is full or the file ends; `chunk`
    // bounds a single decoder call. Returns true while a seek waits for the
    // consumer, so the caller knows to come back soon.
    bool produce(int chunkFrames = 4096);

    // Consumer.
    void sync();
    // Adds this voice's next `frames` output frames (at most the block size
    // given at construction) into out, interleaved stereo.
    void mixInto(float* out, int frames);
    // The mixer is letting go: fade out as if stopped, for good.
    void leave() { m_leaving = true; }
    // Whether the last block was heard, a fade-out included; once false
    // after leave(), the voice may be retired.
    bool audible() const { return m_wasSounding; }

    // Linear left and right gains for a volume and balance in hundredths of
    // a dB: volume 0 is unity, -10000 or below silence; positive balance
    // attenuates the left side, negative the right, +-10000 silences it.
    static void gainsFor(int volume, int balance, float* left, float* right);

private:
    void addWithGains(const StereoFrame* in, float* out, int frames);
    int pullDirect(float* out, int frames);
    int pullResampled(float* out, int frames);
    void rememberPlayed(const StereoFrame* frames, int count);
    void engageResampler();
    bool endReached() const;

    const std::unique_ptr<Decoder> m_decoder;
    const int m_fileRate;
    const int m_outputRate;
    const std::int64_t m_length;
    SpscRing<StereoFrame> m_ring;

    // UI -> consumer.
    std::atomic<State> m_state{State::Stopped};
    std::atomic<float> m_gainLeft{1.0f};
    std::atomic<float> m_gainRight{1.0f};
    std::atomic<double> m_rate{1.0};

    // Seek handshake (see the class comment).
    std::atomic<std::int64_t> m_seekTarget{0};   // UI writes
    std::atomic<std::uint32_t> m_seekRequest{0}; // UI writes
    std::atomic<std::int64_t> m_ackTarget{0};    // producer writes, consumer reads
    std::atomic<std::uint32_t> m_ackGen{0};      // producer writes
    std::atomic<std::uint32_t> m_flushedGen{0};  // consumer writes
    std::atomic<std::uint32_t> m_endedGen{~0u};  // producer: the decoder ran out during this generation

    // Consumer -> UI.
    std::atomic<std::int64_t> m_position{0};

    // Producer only.
    std::uint32_t m_producerGen = 0;
    std::uint32_t m_pendingGen = 0;
    bool m_producerWaiting = false;
    bool m_decoderDone = false;

    // Consumer only.
    std::uint32_t m_consumerGen = 0;
    std::int64_t m_consumerPos = 0;
    // With the resampler in the path, the file position of the frame last
    // heard, counted from the output: the resampler takes in more input than
    // it has yet turned into sound.
    double m_resampledPos = 0.0;
    bool m_consumerEnded = false;
    bool m_resampling = false;
    double m_effectiveRate = 1.0;
    SRC_STATE_tag* m_src = nullptr;
    std::vector<StereoFrame> m_scratch;
    // The last frames the direct path played, to prime the resampler with
    // when a rate change first brings it in (see engageResampler).
    static constexpr int kHistoryFrames = 256;
    std::vector<StereoFrame> m_history;
    int m_historyCount = 0;
    int m_discard = 0;  // resampler output frames still owed to the priming
    float m_noInput[2] = {0.0f, 0.0f};
    GainRamp m_left;
    GainRamp m_right;
    // Whether the last block was heard, its fade-out included: gains only
    // glide while the voice keeps sounding, and it fades out only then.
    bool m_wasSounding = false;
    bool m_leaving = false;
};

}  // namespace tavlo
