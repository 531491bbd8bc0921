#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace tavlo {

// The station's mixed output on its way to the stream encoder: a ring of
// interleaved stereo floats from the audio thread (producer) to the streaming
// thread (consumer).
//
// The audio thread must never wait for the network, so when the ring is full
// the producer makes room by dropping the oldest frames itself and counts
// them; the listener loses the stalest audio, not the newest. The producer
// moves the read index forward with a compare-and-swap; the consumer copies
// its frames first and then claims them with a compare-and-swap from the
// index it read: if the producer moved the index meanwhile, the copy may hold
// overwritten samples and is thrown away. The samples are relaxed atomics,
// so the race on an overwritten slot is defined behaviour (plain moves on
// x86 and ARM), and the index orders everything else.
//
// The tap writes nothing until the consumer opens it, so a station that does
// not stream pays one atomic load per block.
//
// Threading: write() from the audio thread only (never blocks, locks or
// allocates); read(), discard(), setOpen() from the one streaming thread;
// the counters from anywhere.
class StreamTap {
public:
    explicit StreamTap(std::size_t minFrames = 1 << 17)
    {
        std::size_t cap = 1;
        while (cap < minFrames)
            cap <<= 1;
        m_capacity = cap;
        m_mask = cap - 1;
        m_samples = std::make_unique<std::atomic<float>[]>(2 * cap);
    }
    StreamTap(const StreamTap&) = delete;
    StreamTap& operator=(const StreamTap&) = delete;

    std::size_t capacity() const { return m_capacity; }

    // Producer: appends `frames` interleaved stereo frames, dropping the
    // oldest ones when they do not fit.
    void write(const float* interleaved, int frames)
    {
        if (frames <= 0 || !m_open.load(std::memory_order_relaxed))
            return;
        std::size_t n = static_cast<std::size_t>(frames);
        if (n > m_capacity) {
            // Only the newest capacity's worth can ever be read.
            m_dropped.fetch_add(n - m_capacity, std::memory_order_relaxed);
            interleaved += 2 * (n - m_capacity);
            n = m_capacity;
        }
        const std::size_t w = m_write.load(std::memory_order_relaxed);
        std::size_t r = m_read.load(std::memory_order_acquire);
        while (w + n > r + m_capacity) {
            // Each failure means the consumer moved on, so this ends quickly.
            const std::size_t needed = w + n - (r + m_capacity);
            if (m_read.compare_exchange_weak(r, r + needed, std::memory_order_acq_rel, std::memory_order_acquire)) {
                m_dropped.fetch_add(needed, std::memory_order_relaxed);
                break;
            }
        }
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t slot = 2 * ((w + i) & m_mask);
            m_samples[slot].store(interleaved[2 * i], std::memory_order_relaxed);
            m_samples[slot + 1].store(interleaved[2 * i + 1], std::memory_order_relaxed);
        }
        m_write.store(w + n, std::memory_order_release);
    }

    // Consumer: copies up to maxFrames of the oldest frames into `out`, and
    // returns how many.
    int read(float* out, int maxFrames)
    {
        for (;;) {
            std::size_t r = m_read.load(std::memory_order_acquire);
            const std::size_t w = m_write.load(std::memory_order_acquire);
            const std::size_t n = std::min<std::size_t>(w - r, static_cast<std::size_t>(std::max(maxFrames, 0)));
            if (n == 0)
                return 0;
            for (std::size_t i = 0; i < n; ++i) {
                const std::size_t slot = 2 * ((r + i) & m_mask);
                out[2 * i] = m_samples[slot].load(std::memory_order_relaxed);
                out[2 * i + 1] = m_samples[slot + 1].load(std::memory_order_relaxed);
            }
            if (m_read.compare_exchange_strong(r, r + n, std::memory_order_acq_rel, std::memory_order_acquire))
                return static_cast<int>(n);
            // The producer dropped some of these while they were copied: take the newer ones.
        }
    }
    std::size_t readable() const
    {
        return m_write.load(std::memory_order_acquire) - m_read.load(std::memory_order_acquire);
    }
    // Consumer: throws away everything written so far (while no server takes
    // the stream, so a reconnect starts with what plays now).
    void discard()
    {
        std::size_t r = m_read.load(std::memory_order_acquire);
        while (!m_read.compare_exchange_weak(r, std::max(r, m_write.load(std::memory_order_acquire)),
                                             std::memory_order_acq_rel, std::memory_order_acquire)) {
        }
    }
    void setOpen(bool open) { m_open.store(open, std::memory_order_relaxed); }
    bool isOpen() const { return m_open.load(std::memory_order_relaxed); }

    // Frames the producer had to drop because the consumer fell behind.
    std::int64_t droppedFrames() const { return static_cast<std::int64_t>(m_dropped.load(std::memory_order_relaxed)); }

private:
    std::size_t m_capacity = 0;
    std::size_t m_mask = 0;
    std::unique_ptr<std::atomic<float>[]> m_samples;
    std::atomic<bool> m_open{false};
    std::atomic<std::size_t> m_dropped{0};
    alignas(64) std::atomic<std::size_t> m_write{0};
    alignas(64) std::atomic<std::size_t> m_read{0};
};

}  // namespace tavlo
