#include "engine/Voice.h"

#include <samplerate.h>

#include <algorithm>
#include <cmath>

namespace tavlo {

namespace {

// About 1.5 s at 44.1 kHz: enough for the reader thread to sleep between
// rounds and for a 48 kHz file at rate 2.2 to last well over half a second.
constexpr std::size_t kRingFrames = 1u << 16;
// Below this much free room the producer waits for the next round rather
// than decode a sliver.
constexpr std::size_t kMinWrite = 1024;
// Gains glide over 6 ms: short enough to follow a fader, long enough that
// the largest step of the fader law moves a full-scale signal by far less
// than 1/1000 from one sample to the next.
constexpr int kRampMs = 6;

static_assert(std::atomic<float>::is_always_lock_free && std::atomic<double>::is_always_lock_free
                  && std::atomic<std::int64_t>::is_always_lock_free,
              "the audio callback relies on lock-free atomics");

}  // namespace

Voice::Voice(std::unique_ptr<Decoder> decoder, int outputRate, int maxBlockFrames)
    : m_decoder(std::move(decoder))
    , m_fileRate(m_decoder->sampleRate())
    , m_outputRate(outputRate)
    , m_length(m_decoder->lengthFrames())
    , m_ring(kRingFrames)
{
    int error = 0;
    // Sinc at its fastest setting: clean varispeed and 48 -> 44.1 kHz at a
    // fraction of the decoder's cost.
    m_src = src_new(SRC_SINC_FASTEST, 2, &error);
    m_scratch.resize(static_cast<std::size_t>(std::max(maxBlockFrames, kHistoryFrames)));
    m_history.resize(kHistoryFrames);
    m_left.setRampSamples(outputRate * kRampMs / 1000);
    m_right.setRampSamples(outputRate * kRampMs / 1000);
    m_resampling = m_fileRate != m_outputRate;
}

Voice::~Voice()
{
    if (m_src)
        src_delete(m_src);
}

void Voice::gainsFor(int volume, int balance, float* left, float* right)
{
    const double gain = volume <= -10000 ? 0.0 : std::pow(10.0, std::min(volume, 0) / 2000.0);
    double l = gain;
    double r = gain;
    if (balance >= 10000)
        l = 0.0;
    else if (balance > 0)
        l *= std::pow(10.0, -balance / 2000.0);
    if (balance <= -10000)
        r = 0.0;
    else if (balance < 0)
        r *= std::pow(10.0, balance / 2000.0);
    *left = static_cast<float>(l);
    *right = static_cast<float>(r);
}

void Voice::setLevels(int volumeHundredthsDb, int balanceHundredthsDb, int trimHundredthsDb)
{
    float l = 1.0f;
    float r = 1.0f;
    gainsFor(volumeHundredthsDb, balanceHundredthsDb, &l, &r);
    // Folded into the same gains, so the trim glides with them and costs the
    // audio thread nothing more.
    if (trimHundredthsDb != 0) {
        const auto trim = static_cast<float>(std::pow(10.0, trimHundredthsDb / 2000.0));
        l *= trim;
        r *= trim;
    }
    m_gainLeft.store(l, std::memory_order_relaxed);
    m_gainRight.store(r, std::memory_order_relaxed);
}

void Voice::setRate(double factor)
{
    // The range the resampler is set up for; the caller keeps its own copy.
    m_rate.store(std::clamp(factor, 0.2, 2.2), std::memory_order_relaxed);
}

void Voice::requestSeek(std::int64_t frame)
{
    m_seekTarget.store(std::max<std::int64_t>(frame, 0), std::memory_order_relaxed);
    m_seekRequest.store(m_seekRequest.load(std::memory_order_relaxed) + 1, std::memory_order_release);
}

std::int64_t Voice::positionFrames() const
{
    // Until the consumer has taken the newest seek on board, the target is
    // the answer: a caller that seeks and reads back sees what it set.
    if (m_flushedGen.load(std::memory_order_acquire) != m_seekRequest.load(std::memory_order_relaxed))
        return m_seekTarget.load(std::memory_order_relaxed);
    return m_position.load(std::memory_order_relaxed);
}

bool Voice::produce(int chunkFrames)
{
    if (!m_producerWaiting) {
        const std::uint32_t request = m_seekRequest.load(std::memory_order_acquire);
        if (request != m_producerGen) {
            // Stop writing and tell the consumer it may drop the ring.
            m_pendingGen = request;
            m_ackTarget.store(m_seekTarget.load(std::memory_order_relaxed), std::memory_order_relaxed);
            m_ackGen.store(request, std::memory_order_release);
            m_producerWaiting = true;
        }
    }
    if (m_producerWaiting) {
        if (m_flushedGen.load(std::memory_order_acquire) != m_pendingGen)
            return true;
        m_decoder->seek(m_ackTarget.load(std::memory_order_relaxed));
        m_producerGen = m_pendingGen;
        m_producerWaiting = false;
        m_decoderDone = false;
        if (m_seekRequest.load(std::memory_order_acquire) != m_producerGen)
            return true;
    }
    if (m_decoderDone)
        return false;
    while (m_ring.writable() >= kMinWrite) {
        auto region = m_ring.writeRegion();
        const int want = static_cast<int>(std::min<std::size_t>(region.size(), static_cast<std::size_t>(chunkFrames)));
        const int got = m_decoder->read(region.data(), want);
        if (got <= 0) {
            // The end of the file, or the point where it stopped being
            // readable: either way this voice has nothing more to say.
            m_decoderDone = true;
            m_endedGen.store(m_producerGen, std::memory_order_release);
            break;
        }
        m_ring.commitWrite(static_cast<std::size_t>(got));
    }
    return false;
}

void Voice::sync()
{
    const std::uint32_t ack = m_ackGen.load(std::memory_order_acquire);
    if (ack == m_consumerGen)
        return;
    // The old place is still fading out of the ring; drop it once that is done.
    if (m_wasSounding)
        return;
    // The producer has stopped writing: everything in the ring is from
    // before the seek.
    m_ring.discardAll();
    if (m_src)
        src_reset(m_src);
    m_resampling = m_fileRate != m_outputRate;
    m_historyCount = 0;
    m_discard = 0;
    m_consumerEnded = false;
    m_consumerPos = m_ackTarget.load(std::memory_order_relaxed);
    m_resampledPos = static_cast<double>(m_consumerPos);
    m_position.store(m_consumerPos, std::memory_order_relaxed);
    m_consumerGen = ack;
    m_flushedGen.store(ack, std::memory_order_release);
}

bool Voice::endReached() const
{
    return m_endedGen.load(std::memory_order_acquire) == m_consumerGen && m_ring.readable() == 0;
}

void Voice::mixInto(float* out, int frames)
{
    sync();
    const float gainLeft = m_gainLeft.load(std::memory_order_relaxed);
    const float gainRight = m_gainRight.load(std::memory_order_relaxed);
    const double rate = m_rate.load(std::memory_order_relaxed);
    const bool seekPending = m_seekRequest.load(std::memory_order_acquire) != m_consumerGen;
    const bool sounding = state() == State::Running && !m_leaving && !seekPending && !m_consumerEnded;
    int want = frames;
    if (sounding && !m_wasSounding) {
        m_effectiveRate = rate;
        if (m_consumerPos == 0) {
            // The file's start: heard as it begins, at the gain set now. A
            // song opened, set to silence and started between two blocks
            // must not glide down from where its gain stood before.
            m_left.snap(gainLeft);
            m_right.snap(gainRight);
        } else {
            m_left.snap(0.0f);
            m_right.snap(0.0f);
            m_left.setTarget(gainLeft);
            m_right.setTarget(gainRight);
        }
    } else if (sounding) {
        m_left.setTarget(gainLeft);
        m_right.setTarget(gainRight);
        if (m_effectiveRate != rate) {
            // Glide to a new rate over a few blocks; libsamplerate also ramps
            // the ratio across each block.
            const double step = rate - m_effectiveRate;
            m_effectiveRate = std::abs(step) < 1e-4 ? rate : m_effectiveRate + 0.3 * step;
        }
    } else if (m_wasSounding) {
        // Fading out: only as many frames as the fade still needs, so a
        // resume carries on from the first frame not heard.
        m_left.setTarget(0.0f);
        m_right.setTarget(0.0f);
        want = std::min(frames, std::max(m_left.remaining(), m_right.remaining()));
    } else {
        return;
    }
    // Once the resampler is in the path it stays until the next seek:
    // dropping it would skip the frames it holds.
    if (m_effectiveRate != 1.0 && !m_resampling)
        engageResampler();

    const int got = want <= 0 ? 0 : m_resampling ? pullResampled(out, want) : pullDirect(out, want);
    m_wasSounding = sounding || m_left.ramping() || m_right.ramping();
    if (got < want && endReached()) {
        m_consumerEnded = true;
        m_consumerPos = m_length;
        m_wasSounding = false;
    }
    m_position.store(std::min(m_consumerPos, m_length), std::memory_order_relaxed);
}

int Voice::pullDirect(float* out, int frames)
{
    int done = 0;
    while (done < frames) {
        const auto region = m_ring.readRegion();
        if (region.empty())
            break;
        const int n = static_cast<int>(std::min<std::size_t>(region.size(), static_cast<std::size_t>(frames - done)));
        addWithGains(region.data(), out + 2 * done, n);
        rememberPlayed(region.data(), n);
        m_ring.consume(static_cast<std::size_t>(n));
        done += n;
    }
    m_consumerPos += done;
    return done;
}

int Voice::pullResampled(float* out, int frames)
{
    if (!m_src)
        return 0;
    SRC_DATA data{};
    data.src_ratio = static_cast<double>(m_outputRate) / (m_fileRate * m_effectiveRate);
    float* scratch = reinterpret_cast<float*>(m_scratch.data());
    int done = 0;
    for (int round = 0; done < frames && round < 64; ++round) {
        const auto region = m_ring.readRegion();
        const bool atEnd = region.empty() && m_endedGen.load(std::memory_order_acquire) == m_consumerGen;
        if (region.empty() && !atEnd)
            break;  // the reader is behind: an underrun, the rest of the block stays silent
        data.data_in = region.empty() ? m_noInput : reinterpret_cast<const float*>(region.data());
        data.input_frames = static_cast<long>(region.size());
        data.data_out = scratch + 2 * done;
        data.output_frames = frames - done;
        data.end_of_input = atEnd ? 1 : 0;
        if (src_process(m_src, &data) != 0)
            break;
        m_ring.consume(static_cast<std::size_t>(data.input_frames_used));
        int made = static_cast<int>(data.output_frames_gen);
        if (m_discard > 0 && made > 0) {
            const int drop = std::min(m_discard, made);
            std::copy(m_scratch.begin() + done + drop, m_scratch.begin() + done + made, m_scratch.begin() + done);
            m_discard -= drop;
            made -= drop;
        }
        m_resampledPos += made / data.src_ratio;
        done += made;
        if (data.input_frames_used == 0 && data.output_frames_gen == 0)
            break;
    }
    m_consumerPos = std::llround(m_resampledPos);
    addWithGains(m_scratch.data(), out, done);
    return done;
}

void Voice::rememberPlayed(const StereoFrame* frames, int count)
{
    if (count >= kHistoryFrames) {
        std::copy(frames + count - kHistoryFrames, frames + count, m_history.begin());
    } else {
        std::copy(m_history.begin() + count, m_history.end(), m_history.begin());
        std::copy(frames, frames + count, m_history.end() - count);
    }
    m_historyCount = std::min(kHistoryFrames, m_historyCount + count);
}

// A resampler started cold on a playing song rings: its filter sees silence
// before the first frame. So it is first run at ratio 1 over the frames just
// played, and the output for them is thrown away; at ratio 1 that is exactly
// as many frames as went in, so the first frame kept follows the last frame
// the direct path played. The rate then glides away from 1 as usual.
void Voice::engageResampler()
{
    m_resampling = true;
    m_resampledPos = static_cast<double>(m_consumerPos);
    if (!m_src)
        return;
    src_reset(m_src);
    src_set_ratio(m_src, 1.0);
    m_discard = 0;
    if (m_historyCount == 0)
        return;
    SRC_DATA data{};
    data.data_in = reinterpret_cast<const float*>(m_history.data() + (kHistoryFrames - m_historyCount));
    data.input_frames = m_historyCount;
    data.data_out = reinterpret_cast<float*>(m_scratch.data());
    data.output_frames = static_cast<long>(m_scratch.size());
    data.src_ratio = 1.0;
    if (src_process(m_src, &data) == 0)
        m_discard = static_cast<int>(data.input_frames_used - data.output_frames_gen);
}

void Voice::addWithGains(const StereoFrame* in, float* out, int frames)
{
    if (!m_left.ramping() && !m_right.ramping()) {
        const float l = m_left.current();
        const float r = m_right.current();
        for (int i = 0; i < frames; ++i) {
            out[2 * i] += in[i].left * l;
            out[2 * i + 1] += in[i].right * r;
        }
        return;
    }
    for (int i = 0; i < frames; ++i) {
        out[2 * i] += in[i].left * m_left.next();
        out[2 * i + 1] += in[i].right * m_right.next();
    }
}

}  // namespace tavlo
