#include "playlist/M3uReader.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <cstring>

namespace tavlo {

bool isPlaylistFileName(const QString& fileName)
{
    return fileName.size() >= 3 && fileName.right(3).compare(QLatin1String("M3U"), Qt::CaseInsensitive) == 0;
}

namespace {

// Large blocks keep a 100,000-line playlist to a handful of reads.
constexpr qint64 kBlockSize = 1 << 20;

class LineSplitter {
public:
    LineSplitter(qint64 fileSize, const M3uReader::EntryHandler& onEntry, const M3uReader::ProgressHandler& onProgress,
                 M3uReader::Result& result)
        : m_fileSize(fileSize), m_onEntry(onEntry), m_onProgress(onProgress), m_result(result)
    {
    }

    // One line without its line end. False when the entry handler stopped the read.
    bool line(const char* text, qsizetype length)
    {
        ++m_result.lines;
        if (length == 0 || text[0] != '#') {
            if (m_onEntry && !m_onEntry(QString::fromLatin1(text, length)))
                return false;
            ++m_result.entries;
        }
        m_characters += length;
        if (m_onProgress) {
            M3uProgress progress;
            progress.lineCount = m_result.lines;
            progress.percent = m_fileSize > 0 ? static_cast<int>(m_characters * 100 / m_fileSize) : 0;
            m_onProgress(progress);
        }
        return true;
    }

private:
    qint64 m_fileSize;
    qint64 m_characters = 1;  // the loader's counter starts at 1
    const M3uReader::EntryHandler& m_onEntry;
    const M3uReader::ProgressHandler& m_onProgress;
    M3uReader::Result& m_result;
};

}  // namespace

M3uReader::Result M3uReader::read(const QString& fileName, const EntryHandler& onEntry,
                                  const ProgressHandler& onProgress)
{
    Result result;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    LineSplitter splitter(file.size(), onEntry, onProgress, result);

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
