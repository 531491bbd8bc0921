#pragma once

#include <QByteArrayView>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace tavlo {

// A media file already in memory, read and sought the way the decoders'
// libraries read one on disk. The bytes stay the caller's and must outlive it.
// One thread at a time.
class MemoryFile {
public:
    explicit MemoryFile(QByteArrayView bytes) : m_bytes(bytes) {}

    std::int64_t size() const { return m_bytes.size(); }
    std::int64_t tell() const { return m_position; }

    // Bytes copied; 0 at or past the end.
    std::int64_t read(void* buffer, std::int64_t bytes)
    {
        if (bytes <= 0 || m_position >= size())
            return 0;
        const std::int64_t n = bytes < size() - m_position ? bytes : size() - m_position;
        std::memcpy(buffer, m_bytes.data() + m_position, static_cast<std::size_t>(n));
        m_position += n;
        return n;
    }

    // The new position, or -1 and no move for one before the start or out of
    // range. Past the end is allowed, as with a file. The offsets come from
    // the file's own headers, so they are checked, not trusted.
    std::int64_t seek(std::int64_t offset, int whence)
    {
        std::int64_t base = 0;
        if (whence == SEEK_CUR)
            base = m_position;
        else if (whence == SEEK_END)
            base = size();
        else if (whence != SEEK_SET)
            return -1;
        std::int64_t target = 0;
        if (__builtin_add_overflow(base, offset, &target) || target < 0)
            return -1;
        m_position = target;
        return target;
    }

private:
    QByteArrayView m_bytes;
    std::int64_t m_position = 0;
};

}  // namespace tavlo
