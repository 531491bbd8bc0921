#include "engine/Mp3Decoder.h"

#include "engine/MemoryFile.h"

#include <QFile>

#include <mpg123.h>

#include <algorithm>
#include <cstdio>

namespace tavlo {

// What libmpg123 reads through. Once handed to libmpg123 the source is its
// own: it frees it when the handle is closed, whether the open worked or not.
class Mp3Source {
public:
    virtual ~Mp3Source() = default;
    virtual ssize_t read(void* buffer, std::size_t bytes) = 0;
    virtual off_t seek(off_t offset, int whence) = 0;
};

namespace {

constexpr int kProbeFrames = 1152;
// libmpg123's own reader asks the kernel for each frame separately, twice
// with the scan; through stdio with a large buffer it is a few hundred reads.
constexpr std::size_t kReadBuffer = 1 << 16;

class StdioSource final : public Mp3Source {
public:
    static std::unique_ptr<StdioSource> open(const QString& path)
    {
        std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "rbe");
        if (!file)
            return nullptr;
        return std::unique_ptr<StdioSource>(new StdioSource(file));
    }
    ~StdioSource() override { std::fclose(m_file); }

    ssize_t read(void* buffer, std::size_t bytes) override
    {
        const std::size_t got = std::fread(buffer, 1, bytes, m_file);
        if (got == 0 && std::ferror(m_file))
            return -1;
        return static_cast<ssize_t>(got);
    }
    off_t seek(off_t offset, int whence) override
    {
        if (fseeko(m_file, offset, whence) != 0)
            return -1;
        return ftello(m_file);
    }

private:
    explicit StdioSource(std::FILE* file) : m_file(file), m_buffer(kReadBuffer)
    {
        std::setvbuf(m_file, m_buffer.data(), _IOFBF, kReadBuffer);
    }
    std::FILE* m_file;
    std::vector<char> m_buffer;  // stdio's
};

class MemorySource final : public Mp3Source {
public:
    explicit MemorySource(QByteArrayView bytes) : m_file(bytes) {}
    ssize_t read(void* buffer, std::size_t bytes) override
    {
        return static_cast<ssize_t>(m_file.read(buffer, static_cast<std::int64_t>(bytes)));
    }
    off_t seek(off_t offset, int whence) override { return static_cast<off_t>(m_file.seek(offset, whence)); }

private:
    MemoryFile m_file;
};

ssize_t readSource(void* handle, void* buffer, std::size_t bytes)
{
    return static_cast<Mp3Source*>(handle)->read(buffer, bytes);
}

off_t seekSource(void* handle, off_t offset, int whence)
{
    return static_cast<Mp3Source*>(handle)->seek(offset, whence);
}

void deleteSource(void* handle)
{
    delete static_cast<Mp3Source*>(handle);
}

void initLibrary()
{
    // Needed by older libmpg123, harmless in newer ones; thread-safe static.
    static const bool done = [] {
        mpg123_init();
        return true;
    }();
    (void)done;
}

}  // namespace

Mp3Decoder::~Mp3Decoder()
{
    if (m_handle) {
        mpg123_close(m_handle);
        mpg123_delete(m_handle);
    }
}

std::unique_ptr<Mp3Decoder> Mp3Decoder::open(const QString& path)
{
    std::unique_ptr<StdioSource> source = StdioSource::open(path);
    if (!source)
        return nullptr;
    return openSource(std::move(source));
}

std::unique_ptr<Mp3Decoder> Mp3Decoder::openMemory(QByteArrayView bytes)
{
    return openSource(std::make_unique<MemorySource>(bytes));
}

std::unique_ptr<Mp3Decoder> Mp3Decoder::openSource(std::unique_ptr<Mp3Source> source)
{
    initLibrary();
    std::unique_ptr<Mp3Decoder> d(new Mp3Decoder);
    int err = MPG123_OK;
    d->m_handle = mpg123_new(nullptr, &err);
    if (!d->m_handle)
        return nullptr;
    mpg123_param(d->m_handle, MPG123_ADD_FLAGS, MPG123_FORCE_FLOAT | MPG123_QUIET | MPG123_GAPLESS, 0.0);
    if (mpg123_replace_reader_handle(d->m_handle, &readSource, &seekSource, &deleteSource) != MPG123_OK)
        return nullptr;
    // From here on the handle owns the source, even when the open fails.
    if (mpg123_open_handle(d->m_handle, source.release()) != MPG123_OK)
        return nullptr;
    // Scan before asking for the length: without it a VBR file lacking a Xing
    // header reports a guess made from its first frame.
    if (mpg123_scan(d->m_handle) != MPG123_OK)
        return nullptr;
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(d->m_handle, &rate, &channels, &encoding) != MPG123_OK)
        return nullptr;
    if (encoding != MPG123_ENC_FLOAT_32 || rate <= 0 || channels < 1 || channels > 2)
        return nullptr;
    d->m_sampleRate = static_cast<int>(rate);
    d->m_channels = channels;
    d->m_length = mpg123_length(d->m_handle);
    if (d->m_length <= 0)
        return nullptr;
    // A header with no decodable audio behind it (a file cut short, a stray
    // sync word) must fail here, not later on air.
    std::vector<StereoFrame> probe(kProbeFrames);
    if (d->read(probe.data(), kProbeFrames) <= 0 || !d->seek(0))
        return nullptr;
    return d;
}

int Mp3Decoder::read(StereoFrame* out, int maxFrames)
{
    // The scan's count is the song's length: a damaged stream whose frames
    // change format can decode to more than was counted, and playing that
    // would run the position past the duration and leave a seek to the end
    // still playing.
    const std::int64_t left = m_length - m_position;
    if (maxFrames > left)
        maxFrames = static_cast<int>(std::max<std::int64_t>(left, 0));
    const int frames = decode(out, maxFrames);
    m_position += frames;
    return frames;
}

int Mp3Decoder::decode(StereoFrame* out, int maxFrames)
{
    if (m_broken || maxFrames <= 0)
        return 0;
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::size_t bytes = 0;
        int err;
        if (m_channels == 2) {
            err = mpg123_read(m_handle, reinterpret_cast<unsigned char*>(out),
                              static_cast<std::size_t>(maxFrames) * sizeof(StereoFrame), &bytes);
        } else {
            if (m_mono.size() < static_cast<std::size_t>(maxFrames))
                m_mono.resize(static_cast<std::size_t>(maxFrames));
            err = mpg123_read(m_handle, reinterpret_cast<unsigned char*>(m_mono.data()),
                              static_cast<std::size_t>(maxFrames) * sizeof(float), &bytes);
        }
        const int frames = static_cast<int>(bytes / (sizeof(float) * static_cast<std::size_t>(m_channels)));
        if (m_channels == 1) {
            for (int i = 0; i < frames; ++i)
                out[i] = {m_mono[static_cast<std::size_t>(i)], m_mono[static_cast<std::size_t>(i)]};
        }
        if (err == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0;
            int encoding = 0;
            mpg123_getformat(m_handle, &rate, &channels, &encoding);
            // A stream that changes its format halfway is broken for us: the
            // resampler and the position are set up for the first one.
            if (rate != m_sampleRate || channels != m_channels || encoding != MPG123_ENC_FLOAT_32) {
                m_broken = true;
                return frames;
            }
        } else if (err != MPG123_OK) {
            if (err != MPG123_DONE)
                m_broken = true;
            return frames;
        }
        if (frames > 0)
            return frames;
    }
    return 0;
}

bool Mp3Decoder::seek(std::int64_t frame)
{
    if (frame > m_length)
        frame = m_length;
    if (frame < 0)
        frame = 0;
    m_broken = false;
    // Counted from the frame asked for, where the voice's position now
    // stands too; on a damaged stream libmpg123 can report another.
    m_position = frame;
    return mpg123_seek(m_handle, static_cast<off_t>(frame), SEEK_SET) >= 0;
}

}  // namespace tavlo
