#include "engine/Decoder.h"

#include "platform/MediaService.h"
#include "platform/MediaFormat.h"
#include "engine/FfmpegDecoder.h"
#include "engine/Mp3Decoder.h"
#include "engine/SndfileDecoder.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace tavlo {

namespace {

std::unique_ptr<Decoder> orNotAudio(std::unique_ptr<Decoder> decoder, int* error)
{
    if (!decoder)
        *error = media_error::NotAudio;
    return decoder;
}

// Each container goes to the library made for it: libmpg123 for MP3 (the
// fastest, and exact in its seeks), libsndfile for WAV and AIFF, FFmpeg for
// the rest. When the chosen one refuses the file, FFmpeg gets a try of its
// own before the file is called unplayable (FLAC behind an ID3v2 tag, say).
template <typename Open>
std::unique_ptr<Decoder> openAs(MediaFormat format, const Open& open)
{
    std::unique_ptr<Decoder> decoder;
    switch (format) {
    case MediaFormat::Mp3:
        decoder = open.mp3();
        break;
    case MediaFormat::Wav:
    case MediaFormat::Aiff:
        decoder = open.sndfile();
        break;
    case MediaFormat::Unknown:
        return nullptr;
    default:
        return open.ffmpeg();
    }
    return decoder ? std::move(decoder) : open.ffmpeg();
}

struct PathOpen {
    const QString& path;
    std::unique_ptr<Decoder> mp3() const { return Mp3Decoder::open(path); }
    std::unique_ptr<Decoder> sndfile() const { return SndfileDecoder::open(path); }
    std::unique_ptr<Decoder> ffmpeg() const { return FfmpegDecoder::open(path); }
};

struct MemoryOpen {
    QByteArrayView bytes;
    std::unique_ptr<Decoder> mp3() const { return Mp3Decoder::openMemory(bytes); }
    std::unique_ptr<Decoder> sndfile() const { return SndfileDecoder::openMemory(bytes); }
    std::unique_ptr<Decoder> ffmpeg() const { return FfmpegDecoder::openMemory(bytes); }
};

}  // namespace

std::unique_ptr<Decoder> Decoder::open(const QString& path, int* error)
{
    *error = 0;
    if (path.isEmpty()) {
        *error = media_error::NoFileName;
        return nullptr;
    }
    const QFileInfo info(path);
    if (!info.exists()) {
        *error = media_error::NotFound;
        return nullptr;
    }
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        *error = media_error::Unreadable;
        return nullptr;
    }
    const QByteArray head = file.read(kMediaSniffBytes);
    file.close();
    return orNotAudio(openAs(sniffMediaFormat(head, path), PathOpen{path}), error);
}

std::unique_ptr<Decoder> Decoder::openMemory(QByteArrayView bytes, const QString& name, int* error)
{
    *error = 0;
    return orNotAudio(openAs(sniffMediaFormat(bytes.first(std::min(bytes.size(), kMediaSniffBytes)), name),
                             MemoryOpen{bytes}),
                      error);
}

}  // namespace tavlo
