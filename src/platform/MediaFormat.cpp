#include "platform/MediaFormat.h"

namespace tavlo {

namespace {

bool at(QByteArrayView head, qsizetype offset, const char* magic)
{
    const QByteArrayView m(magic);
    return head.size() >= offset + m.size() && head.sliced(offset, m.size()) == m;
}

unsigned byteAt(QByteArrayView head, qsizetype i) { return static_cast<unsigned char>(head[i]); }

// MPEG audio frame sync with a layer set (ADTS has layer 0).
bool mpegSync(QByteArrayView head, qsizetype i)
{
    return head.size() >= i + 2 && byteAt(head, i) == 0xFF && (byteAt(head, i + 1) & 0xE0) == 0xE0
           && (byteAt(head, i + 1) & 0x06) != 0;
}

bool adtsSync(QByteArrayView head, qsizetype i)
{
    return head.size() >= i + 2 && byteAt(head, i) == 0xFF && (byteAt(head, i + 1) & 0xF6) == 0xF0;
}

MediaFormat byName(const QString& fileName)
{
    const QString ext = fileName.section(QLatin1Char('.'), -1).toLower();
    if (ext == QLatin1String("wav"))
        return MediaFormat::Wav;
    if (ext == QLatin1String("aif") || ext == QLatin1String("aiff") || ext == QLatin1String("aifc"))
        return MediaFormat::Aiff;
    if (ext == QLatin1String("aac"))
        return MediaFormat::Adts;
    return MediaFormat::Mp3;
}

}  // namespace

qsizetype id3v2Size(QByteArrayView head)
{
    if (!at(head, 0, "ID3") || head.size() < 10)
        return 0;
    qsizetype size = 0;
    for (int i = 6; i < 10; ++i) {
        if (byteAt(head, i) & 0x80)
            return 0;  // not a synchsafe size: not a tag
        size = (size << 7) | byteAt(head, i);
    }
    const bool footer = byteAt(head, 5) & 0x10;
    return 10 + size + (footer ? 10 : 0);
}

MediaFormat sniffMediaFormat(QByteArrayView head, const QString& fileName)
{
    if (head.isEmpty())
        return MediaFormat::Unknown;
    if (at(head, 0, "RIFF") || at(head, 0, "RIFX") || at(head, 0, "RF64"))
        return MediaFormat::Wav;
    if (at(head, 0, "FORM") && (at(head, 8, "AIFF") || at(head, 8, "AIFC")))
        return MediaFormat::Aiff;
    if (at(head, 0, "fLaC"))
        return MediaFormat::Flac;
    if (at(head, 0, "OggS"))
        return MediaFormat::Ogg;
    if (at(head, 4, "ftyp"))
        return MediaFormat::Mp4;
    if (const qsizetype tag = id3v2Size(head)) {
        // Some taggers put ID3v2 in front of FLAC or AAC too.
        if (at(head, tag, "fLaC"))
            return MediaFormat::Flac;
        if (adtsSync(head, tag))
            return MediaFormat::Adts;
        return MediaFormat::Mp3;
    }
    if (mpegSync(head, 0))
        return MediaFormat::Mp3;
    if (adtsSync(head, 0))
        return MediaFormat::Adts;
    return byName(fileName);
}

const QStringList& audioFileExtensions()
{
    static const QStringList extensions = {
        QStringLiteral("mp3"),  QStringLiteral("wav"), QStringLiteral("aif"), QStringLiteral("aiff"),
        QStringLiteral("flac"), QStringLiteral("ogg"), QStringLiteral("oga"), QStringLiteral("opus"),
        QStringLiteral("m4a"),  QStringLiteral("mp4"), QStringLiteral("aac"),
    };
    return extensions;
}

bool isAudioFileName(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return false;
    const QStringView ext = QStringView(fileName).sliced(dot + 1);
    for (const QString& known : audioFileExtensions()) {
        if (ext.compare(known, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString audioFilePatterns(QChar separator)
{
    QStringList patterns;
    for (const QString& ext : audioFileExtensions())
        patterns.append(QStringLiteral("*.") + ext);
    return patterns.join(separator);
}

}  // namespace tavlo
