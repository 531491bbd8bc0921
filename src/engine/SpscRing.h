#pragma once

#include <atomic>
#include <cstddef>
#include <span>
#include <vector>

namespace tavlo {

// A fixed-capacity ring of T between exactly one producer thread and one
// consumer thread. No locks and no allocation after construction, so the
// audio callback may sit on either end. Indices only grow; the capacity is a
// power of two so wrapping is a mask.
//
// Threading: write side (writable, writeRegion, commitWrite, push) from the
// producer only; read side (readable, readRegion, consume, pop, discardAll)
// from the consumer only.
template <typename T>
class SpscRing {
public:
    explicit SpscRing(std::size_t minCapacity)
    {
        std::size_t cap = 1;
        while (cap < minCapacity)
            cap <<= 1;
        m_items.resize(cap);
        m_mask = cap - 1;
    }
    SpscRing(const SpscRing&) = delete;
    SpscRing& operator=(const SpscRing&) = delete;

    std::size_t capacity() const { return m_items.size(); }

    // Producer side.
    std::size_t writable() const
    {
        return capacity() - (m_write.load(std::memory_order_relaxed) - m_read.load(std::memory_order_acquire));
    }
    // The longest run of free slots that does not wrap.
    std::span<T> writeRegion()
    {
        const std::size_t w = m_write.load(std::memory_order_relaxed);
        const std::size_t free = capacity() - (w - m_read.load(std::memory_order_acquire));
        const std::size_t start = w & m_mask;
        const std::size_t run = free < capacity() - start ? free : capacity() - start;
        return {m_items.data() + start, run};
    }
    void commitWrite(std::size_t n) { m_write.store(m_write.load(std::memory_order_relaxed) + n, std::memory_order_release); }
    bool push(const T& item)
    {
        auto region = writeRegion();
        if (region.empty())
            return false;
        region[0] = item;
        commitWrite(1);
        return true;
    }

    // Consumer side.
    std::size_t readable() const
    {
        return m_write.load(std::memory_order_acquire) - m_read.load(std::memory_order_relaxed);
    }
    // The longest run of filled slots that does not wrap.
    std::span<const T> readRegion() const
    {
        const std::size_t r = m_read.load(std::memory_order_relaxed);
        const std::size_t filled = m_write.load(std::memory_order_acquire) - r;
        const std::size_t start = r & m_mask;
        const std::size_t run = filled < capacity() - start ? filled : capacity() - start;
        return {m_items.data() + start, run};
    }
    void consume(std::size_t n) { m_read.store(m_read.load(std::memory_order_relaxed) + n, std::memory_order_release); }
    bool pop(T& item)
    {
        auto region = readRegion();
        if (region.empty())
            return false;
        item = region[0];
        consume(1);
        return true;
    }
    // Drops everything written so far. The producer must not be writing
    // anything the consumer wants to keep (the seek handshake guarantees it).
    void discardAll() { m_read.store(m_write.load(std::memory_order_acquire), std::memory_order_release); }

private:
    std::vector<T> m_items;
    std::size_t m_mask = 0;
    // Apart so the two threads do not share a cache line for their indices.
    alignas(64) std::atomic<std::size_t> m_write{0};
    alignas(64) std::atomic<std::size_t> m_read{0};
};

}  // namespace tavlo
