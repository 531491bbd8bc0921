#include "playlist/M3uWriter.h"

#include "playlist/PlaylistModel.h"

#include <QSaveFile>

namespace tavlo {

namespace {

// Written in blocks of this size so a long list never needs one huge buffer.
constexpr qsizetype kBlockSize = 256 * 1024;

}  // namespace

std::unique_ptr<QSaveFile> M3uWriter::createFile(const QString& fileName)
{
    return std::make_unique<QSaveFile>(fileName);
}

M3uWriter::Result M3uWriter::save(const QString& fileName, const QStringList& locations)
{
    Result result;
    std::unique_ptr<QSaveFile> file = createFile(fileName);
    if (!file->open(QIODevice::WriteOnly)) {
        result.error = file->errorString();
        return result;
    }
    QByteArray block;
    block.reserve(kBlockSize + 1024);
    bool written = true;
    auto writeBlock = [&]() {
        written = file->write(block) == block.size();
        block.clear();
        return written;
    };
    for (const QString& location : locations) {
        block.append(location.toLatin1());
        block.append("\r\n", 2);
        if (block.size() >= kBlockSize && !writeBlock())
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

M3uWriter::Result M3uWriter::save(const QString& fileName, const PlaylistModel& list)
{
    QStringList locations;
    locations.reserve(list.count());
    for (int n = 1; n <= list.count(); ++n)
        locations.append(list.row(n).location());
    return save(fileName, locations);
}

}  // namespace tavlo
