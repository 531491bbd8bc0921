#pragma once

#include "engine/StereoFrame.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <memory>

namespace tavlo {

// A media file turned into stereo float frames at the file's own rate.
// Built on the UI thread by open(); afterwards used by one thread at a time
// (the reader thread, or the offline renderer), never by the audio callback.
class Decoder {
public:
    virtual ~Decoder() = default;

    int sampleRate() const { return m_sampleRate; }
    int channels() const { return m_channels; }
    // True length in frames, known when open() returns.
    std::int64_t lengthFrames() const { return m_length; }

    // Frames written to out (mono is copied to both sides); 0 at the end of
    // the file or when the file can no longer be read.
    virtual int read(StereoFrame* out, int maxFrames) = 0;
    // Sample-accurate; a frame past the end leaves the decoder at its end.
    virtual bool seek(std::int64_t frame) = 0;

    // Picks the decoder from the file's first bytes (then its name) and opens
    // it: MP3, WAV, AIFF, FLAC, Ogg Vorbis, Opus, AAC and ALAC. Returns null and a media_error code when the file is not playable.
    static std::unique_ptr<Decoder> open(const QString& path, int* error);
    // The same on a whole file already in memory, with the same checks and
    // the same decoders; `bytes` must outlive the decoder. `name` is only
    // the fallback for bytes that do not tell their type.
    static std::unique_ptr<Decoder> openMemory(QByteArrayView bytes, const QString& name, int* error);

protected:
    int m_sampleRate = 0;
    int m_channels = 0;
    std::int64_t m_length = 0;
};

}  // namespace tavlo
