#include "playlist/PlaylistWriter.h"

#include <QFileInfo>
#include <QSaveFile>

namespace tavlo {

namespace {

// Written in blocks of this size so a long list never needs one huge buffer.
constexpr qsizetype kWriteBlockSize = 256 * 1024;

// Whether Latin-1 reads back as written: every character fits it, and no
// line's bytes would pass for UTF-8 ("CafÃ©" would come back as "Café").
bool latin1ReadsBack(const QStringList& lines)
{
    for (const QString& line : lines) {
        bool wide = false;
        for (const QChar c : line) {
            if (c.unicode() > 0xFF)
                return false;
            wide = wide || c.unicode() > 0x7F;
        }
        if (wide && isValidUtf8(line.toLatin1()))
            return false;
    }
    return true;
}

}  // namespace

std::unique_ptr<QSaveFile> PlaylistWriter::createFile(const QString& fileName)
{
    return std::make_unique<QSaveFile>(fileName);
}

PlaylistWriter::Result PlaylistWriter::save(const QString& fileName, const std::vector<PlaylistEntry>& entries)
{
    Result result;
    std::unique_ptr<QSaveFile> file = createFile(fileName);
    if (!file->open(QIODevice::WriteOnly)) {
        result.error = file->errorString();
        return result;
    }
    const bool extended = isExtendedM3uFileName(fileName);
    const QString folder = QFileInfo(fileName).absolutePath();
    QStringList locations;
    locations.reserve(static_cast<qsizetype>(entries.size()));
    for (const PlaylistEntry& entry : entries)
        locations.append(locationForPlaylist(entry.location, folder));
    const bool utf8 = extended || !latin1ReadsBack(locations);
    QByteArray block;
    block.reserve(kWriteBlockSize + 1024);
    bool written = true;
    auto writeBlock = [&]() {
        written = file->write(block) == block.size();
        block.clear();
        return written;
    };
    if (extended)
        block.append("#EXTM3U\r\n");
    for (size_t i = 0; i < entries.size(); ++i) {
        const PlaylistEntry& entry = entries[i];
        if (extended) {
            block.append("#EXTINF:");
            block.append(QByteArray::number(entry.seconds >= 0 ? entry.seconds : -1));
            block.append(',');
            // A title is one line.
            QString title = entry.title;
            title.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
            block.append(title.toUtf8());
            block.append("\r\n", 2);
        }
        const QString& location = locations[static_cast<qsizetype>(i)];
        block.append(utf8 ? location.toUtf8() : location.toLatin1());
        block.append("\r\n", 2);
        if (block.size() >= kWriteBlockSize && !writeBlock())
            break;
    }
    if (written && !block.isEmpty())
        writeBlock();
    if (!written) {
        result.error = file->errorString();
        file->cancelWriting();
        file->commit();  // only removes the temporary file; the old playlist stays
        return result;
    }
    if (!file->commit()) {
        result.error = file->errorString();
        return result;
    }
    result.ok = true;
    return result;
}

PlaylistWriter::Result PlaylistWriter::save(const QString& fileName, const QStringList& locations)
{
    std::vector<PlaylistEntry> entries;
    entries.reserve(static_cast<size_t>(locations.size()));
    for (const QString& location : locations)
        entries.push_back(PlaylistEntry{location, QString(), -1});
    return save(fileName, entries);
}

}  // namespace tavlo
