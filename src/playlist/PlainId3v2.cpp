#include "playlist/PlainId3v2.h"

#include "platform/MediaFormat.h"
#include "playlist/PlaylistText.h"

namespace tavlo {

namespace {

unsigned byteAt(QByteArrayView bytes, qsizetype i) { return static_cast<unsigned char>(bytes[i]); }

std::optional<quint32> synchsafe(QByteArrayView bytes)
{
    quint32 size = 0;
    for (qsizetype i = 0; i < 4; ++i) {
        if (byteAt(bytes, i) & 0x80)
            return std::nullopt;
        size = (size << 7) | byteAt(bytes, i);
    }
    return size;
}

quint32 bigEndian(QByteArrayView bytes)
{
    return (byteAt(bytes, 0) << 24) | (byteAt(bytes, 1) << 16) | (byteAt(bytes, 2) << 8) | byteAt(bytes, 3);
}

// Text in one of ID3v2's four encodings, one terminator at its end allowed;
// nothing for several values or malformed text.
std::optional<QString> frameText(int encoding, QByteArrayView bytes)
{
    if (encoding == 0 || encoding == 3) {
        if (bytes.endsWith('\0'))
            bytes.chop(1);
        if (bytes.contains('\0'))
            return std::nullopt;
        if (encoding == 0)
            return QString::fromLatin1(bytes);
        if (!isValidUtf8(bytes))
            return std::nullopt;
        return QString::fromUtf8(bytes);
    }
    if (bytes.size() % 2)
        return std::nullopt;
    bool little = false;
    if (encoding == 1) {
        if (bytes.size() < 2)
            return bytes.isEmpty() ? std::optional<QString>(QString()) : std::nullopt;
        if (byteAt(bytes, 0) == 0xFF && byteAt(bytes, 1) == 0xFE)
            little = true;
        else if (!(byteAt(bytes, 0) == 0xFE && byteAt(bytes, 1) == 0xFF))
            return std::nullopt;
        bytes = bytes.sliced(2);
    }
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = static_cast<char16_t>(little ? byteAt(bytes, i) | (byteAt(bytes, i + 1) << 8)
                                                       : (byteAt(bytes, i) << 8) | byteAt(bytes, i + 1));
        // A byte-order mark inside the text is TagLib's to interpret.
        if (unit == 0xFEFF || unit == 0xFFFE)
            return std::nullopt;
        if (unit == 0) {
            if (i + 2 != bytes.size())
                return std::nullopt;  // a second value follows
            break;
        }
        text.append(QChar(unit));
    }
    // Surrogates must pair up.
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return std::nullopt;
    }
    return text;
}

}  // namespace

std::optional<SongTags> readPlainId3v2(QByteArrayView head, QByteArrayView tail)
{
    if (head.size() < 10 || !head.startsWith("ID3") || tail.size() < 160)
        return std::nullopt;
    // Another tag at the end would add to this one.
    if (tail.sliced(tail.size() - 128).startsWith("TAG") || tail.sliced(tail.size() - 32).startsWith("APETAGEX")
        || tail.sliced(tail.size() - 160).startsWith("APETAGEX"))
        return std::nullopt;
    const unsigned version = byteAt(head, 3);
    if ((version != 3 && version != 4) || byteAt(head, 4) != 0 || byteAt(head, 5) != 0)
        return std::nullopt;
    // No flags, so no footer: the frames are all that follows the header.
    const qsizetype size = id3v2Size(head);
    if (size < 10 || size > head.size())
        return std::nullopt;
    const QByteArrayView frames = head.sliced(10, size - 10);

    SongTags tags;
    bool seen[6] = {};
    qsizetype at = 0;
    while (at + 10 <= frames.size() && frames[at] != '\0') {
        const QByteArrayView id = frames.sliced(at, 4);
        for (const char c : id) {
            if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
                return std::nullopt;
        }
        quint32 frameSize = 0;
        if (version == 4) {
            const std::optional<quint32> s = synchsafe(frames.sliced(at + 4, 4));
            if (!s)
                return std::nullopt;
            frameSize = *s;
        } else {
            frameSize = bigEndian(frames.sliced(at + 4, 4));
        }
        // TagLib stops reading the tag at an empty frame.
        if (frameSize == 0 || frameSize > static_cast<quint32>(frames.size() - at - 10))
            return std::nullopt;
        const QByteArrayView body = frames.sliced(at + 10, frameSize);
        const unsigned format = byteAt(frames, at + 9);
        at += 10 + static_cast<qsizetype>(frameSize);

        // TagLib's year is TDRC, into which it turns a 2.3 tag's TYER and a
        // 2.4 tag's TRDC; a 2.4 TYER it leaves aside.
        static const char* const kIds[] = {"TIT2", "TPE1", "TALB", "TCON", "TDRC", "COMM"};
        int field = -1;
        for (int f = 0; f < 6; ++f) {
            if (id == QByteArrayView(kIds[f]))
                field = f;
        }
        if (version == 3 && id == QByteArrayView("TYER"))
            field = 4;
        if (version == 4 && id == QByteArrayView("TRDC"))
            return std::nullopt;
        if (field < 0)
            continue;
        if (seen[field] || format != 0 || body.isEmpty())
            return std::nullopt;
        seen[field] = true;
        const int encoding = static_cast<int>(byteAt(body, 0));
        if (encoding > 3 || (version == 3 && encoding > 1))
            return std::nullopt;
        QByteArrayView textBytes = body.sliced(1);
        if (field == 5) {
            // Language, then a description that must be empty, then the comment.
            if (textBytes.size() < 3)
                return std::nullopt;
            textBytes = textBytes.sliced(3);
            const qsizetype terminator = encoding == 0 || encoding == 3 ? 1 : 2;
            const bool bom = encoding == 1 && textBytes.size() >= 4 && (byteAt(textBytes, 0) == 0xFF || byteAt(textBytes, 0) == 0xFE);
            const qsizetype skip = (bom ? 2 : 0) + terminator;
            if (textBytes.size() < skip || textBytes.sliced(bom ? 2 : 0, terminator) != QByteArrayView("\0\0", terminator))
                return std::nullopt;
            textBytes = textBytes.sliced(skip);
        }
        const std::optional<QString> text = frameText(encoding, textBytes);
        if (!text)
            return std::nullopt;
        const QString value = text->trimmed();
        switch (field) {
        case 0: tags.title = value; break;
        case 1: tags.artist = value; break;
        case 2: tags.album = value; break;
        case 3:
            // A genre by its ID3v1 number is TagLib's to name.
            if (!value.isEmpty() && (value.front() == u'(' || value.front() == u'+' || value.front() == u'-' || value.front().isDigit()))
                return std::nullopt;
            tags.genre = value;
            break;
        case 4: {
            if (value.isEmpty())
                break;
            const QString digits = text->left(4);
            bool ok = false;
            const int year = digits.toInt(&ok);
            if (!ok || digits.size() != 4 || year <= 0)
                return std::nullopt;
            tags.year = QString::number(year);
            break;
        }
        default: tags.comment = value; break;
        }
    }
    return tags;
}

}  // namespace tavlo
