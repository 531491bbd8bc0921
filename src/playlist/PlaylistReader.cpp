#include "playlist/PlaylistReader.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

#include <strings.h>

namespace tavlo {

namespace {

// Large blocks keep a 100,000-line playlist to a handful of reads.
constexpr qint64 kBlockSize = 1 << 20;
// A PLS file is read whole; one larger than this is no playlist.
constexpr qint64 kMaxPlsBytes = 64 << 20;

class LineSplitter {
public:
    LineSplitter(const QString& fileName, qint64 fileSize, const PlaylistReader::EntryHandler& onEntry,
                 const PlaylistReader::ProgressHandler& onProgress, PlaylistReader::Result& result)
        : m_folder(QFileInfo(fileName).absolutePath()), m_utf8(isExtendedM3uFileName(fileName)),
          m_fileSize(fileSize), m_onEntry(onEntry), m_onProgress(onProgress), m_result(result)
    {
    }

    // One line without its line end. False when the entry handler stopped the read.
    bool line(const char* text, qsizetype length)
    {
        ++m_result.lines;
        m_characters += length;
        if (m_result.lines == 1 && length >= 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0) {
            text += 3;
            length -= 3;
        }
        if (length == 0 || text[0] != '#') {
            m_pending.location = resolvePlaylistEntry(playlistLineText(QByteArrayView(text, length), m_utf8), m_folder);
            const bool more = !m_onEntry || m_onEntry(m_pending);
            m_pending = PlaylistEntry();
            if (!more)
                return false;
            ++m_result.entries;
        } else if (length > 8 && ::strncasecmp(text, "#EXTINF:", 8) == 0) {
            if (auto info = parseExtInf(playlistLineText(QByteArrayView(text, length), m_utf8)))
                m_pending = std::move(*info);
        }
        if (m_onProgress) {
            PlaylistProgress progress;
            progress.lineCount = m_result.lines;
            progress.percent = m_fileSize > 0 ? static_cast<int>(m_characters * 100 / m_fileSize) : 0;
            m_onProgress(progress);
        }
        return true;
    }

private:
    QString m_folder;
    bool m_utf8;
    qint64 m_fileSize;
    qint64 m_characters = 1;  // the loader's counter starts at 1
    PlaylistEntry m_pending;  // what an #EXTINF line said of the next entry
    const PlaylistReader::EntryHandler& m_onEntry;
    const PlaylistReader::ProgressHandler& m_onProgress;
    PlaylistReader::Result& m_result;
};

PlaylistReader::Result readPls(QFile& file, const PlaylistReader::EntryHandler& onEntry,
                               const PlaylistReader::ProgressHandler& onProgress)
{
    PlaylistReader::Result result;
    if (file.size() > kMaxPlsBytes)
        return result;
    const QByteArray bytes = file.readAll();
    const std::vector<PlaylistEntry> entries = parsePls(bytes, QFileInfo(file.fileName()).absolutePath());
    result.lines = bytes.count('\n') + (bytes.endsWith('\n') || bytes.isEmpty() ? 0 : 1);
    for (const PlaylistEntry& entry : entries) {
        if (onEntry && !onEntry(entry))
            return result;
        ++result.entries;
    }
    if (onProgress)
        onProgress(PlaylistProgress{result.lines, 100});
    result.complete = true;
    return result;
}

}  // namespace

PlaylistReader::Result PlaylistReader::read(const QString& fileName, const EntryHandler& onEntry,
                                            const ProgressHandler& onProgress)
{
    Result result;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    if (isPlsFileName(fileName))
        return readPls(file, onEntry, onProgress);
    LineSplitter splitter(fileName, file.size(), onEntry, onProgress, result);

    // `pending` holds the unfinished last line of the previous block.
    QByteArray pending;
    // A short list needs no more than its own size (a file that reports no
    // size, such as a pipe, still gets a usable block).
    const qint64 blockSize = std::clamp<qint64>(file.size() + 1, 4096, kBlockSize);
    QByteArray block(blockSize, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(block.data(), blockSize);
        if (got < 0)
            return result;
        if (got == 0)
            break;
        const char* data = block.constData();
        const char* end = data + got;
        const char* start = data;
        while (const char* lf = static_cast<const char*>(std::memchr(start, '\n', static_cast<size_t>(end - start)))) {
            const char* text = start;
            qsizetype length = lf - start;
            if (!pending.isEmpty()) {
                pending.append(start, length);
                text = pending.constData();
                length = pending.size();
            }
            // A CR directly before the LF belongs to the line end.
            if (length > 0 && text[length - 1] == '\r')
                --length;
            if (!splitter.line(text, length))
                return result;
            pending.clear();
            start = lf + 1;
        }
        pending.append(start, end - start);
    }
    // A last line without a line end is still an entry; an empty tail is not
    // a line at all.
    if (!pending.isEmpty() && !splitter.line(pending.constData(), pending.size()))
        return result;
    result.complete = true;
    return result;
}

}  // namespace tavlo
