#include "platform/audio/Decoder.h"

#include "platform/MediaService.h"
#include "platform/audio/Mp3Decoder.h"
#include "platform/audio/WavDecoder.h"

#include <QFile>
#include <QFileInfo>

namespace tavlo {

namespace {

enum class Kind { Wav, Mp3 };

// Content decides when it can: a WAV renamed .mp3 (or the other way round)
// still plays. Only files whose first bytes say nothing fall back to the name.
Kind sniff(const QString& path, QByteArrayView head)
{
    if (head.startsWith("RIFF") || head.startsWith("RIFX") || head.startsWith("RF64"))
        return Kind::Wav;
    if (head.startsWith("ID3"))
        return Kind::Mp3;
    if (head.size() >= 2 && static_cast<unsigned char>(head[0]) == 0xFF && (static_cast<unsigned char>(head[1]) & 0xE0) == 0xE0)
        return Kind::Mp3;
    return path.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive) ? Kind::Wav : Kind::Mp3;
}

std::unique_ptr<Decoder> orNotAudio(std::unique_ptr<Decoder> decoder, int* error)
{
    if (!decoder)
        *error = media_error::NotAudio;
    return decoder;
}

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
    const QByteArray head = file.read(4);
    file.close();
    if (head.isEmpty()) {
        *error = media_error::NotAudio;
        return nullptr;
    }
    if (sniff(path, head) == Kind::Wav)
        return orNotAudio(WavDecoder::open(path), error);
    return orNotAudio(Mp3Decoder::open(path), error);
}

std::unique_ptr<Decoder> Decoder::openMemory(QByteArrayView bytes, const QString& name, int* error)
{
    *error = 0;
    if (bytes.isEmpty()) {
        *error = media_error::NotAudio;
        return nullptr;
    }
    if (sniff(name, bytes) == Kind::Wav)
        return orNotAudio(WavDecoder::openMemory(bytes), error);
    return orNotAudio(Mp3Decoder::openMemory(bytes), error);
}

}  // namespace tavlo
