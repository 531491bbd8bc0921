#include "playlist/M3uReader.h"
#include "playlist/M3uWriter.h"
#include "playlist/PlaylistModel.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

using namespace tavlo;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList readEntries(const QString& path, int stopAfter = -1)
{
    QStringList entries;
    M3uReader::read(path, [&](const QString& e) {
        entries.append(e);
        return entries.size() != stopAfter;
    });
    return entries;
}

}  // namespace

TEST(M3u, ReadsEveryLineButCommentsExactlyAsWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.m3u"));
    writeBytes(path, QByteArray("#EXTM3U\r\n#EXTINF:215,Artist - Title\r\nsong.mp3\r\n"
                                "\r\n"                     // an empty line is a row too
                                "jingles/id.mp3\n"         // bare LF
                                "  spaced .mp3 \r\n"       // no trimming
                                "a\rb.mp3\r\n"             // a CR inside a line stays
                                " #not a comment.mp3\r\n"
                                "Canci\xf3n.mp3\r\n"       // Latin-1
                                "last.mp3"));              // no final line end
    EXPECT_EQ(readEntries(path), (QStringList{QStringLiteral("song.mp3"), QString(), QStringLiteral("jingles/id.mp3"),
                                              QStringLiteral("  spaced .mp3 "), QStringLiteral("a\rb.mp3"),
                                              QStringLiteral(" #not a comment.mp3"), QStringLiteral("Canci\u00f3n.mp3"),
                                              QStringLiteral("last.mp3")}));
    // A CR LF split across two read blocks still ends the line cleanly, and
    // a final CR LF adds no empty row.
    const qsizetype block = 1 << 20;
    writeBytes(path, QByteArray(block - 1, 'x') + "\r\nnext.mp3\r\n");
    const QStringList split = readEntries(path);
    ASSERT_EQ(split.size(), 2);
    EXPECT_EQ(split[0].size(), block - 1);
    EXPECT_EQ(split[1], QStringLiteral("next.mp3"));

    for (const char* name : {"list.m3u", "LIST.M3U", "x.M3u", "m3u"})
        EXPECT_TRUE(isPlaylistFileName(QString::fromLatin1(name))) << name;
    for (const char* name : {"list.m3u8", "song.mp3", "m3", "list.m3u "})
        EXPECT_FALSE(isPlaylistFileName(QString::fromLatin1(name))) << name;
}

TEST(M3u, ReportsProgressAndStopsQuietly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.m3u"));
    writeBytes(path, QByteArray("#EXTM3U\r\na.mp3\r\nbb.mp3\r\n"));  // 24 bytes
    std::vector<std::pair<std::int64_t, int>> progress;
    M3uReader::read(path, [](const QString&) { return true; },
                    [&](const M3uProgress& p) { progress.emplace_back(p.lineCount, p.percent); });
    // The counter starts at 1 and adds each line's characters: 8, 13, 19 of 24 bytes.
    EXPECT_EQ(progress, (std::vector<std::pair<std::int64_t, int>>{{1, 33}, {2, 54}, {3, 79}}));

    EXPECT_TRUE(readEntries(dir.filePath(QStringLiteral("gone.m3u"))).isEmpty());
    // The window refusing an entry ends the load; what was added stays.
    writeBytes(path, QByteArray("1.mp3\r\n2.mp3\r\n3.mp3\r\n"));
    EXPECT_EQ(readEntries(path, 2), (QStringList{QStringLiteral("1.mp3"), QStringLiteral("2.mp3")}));
}

TEST(M3u, SavedListReadsBackTheSameLocations)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("saved.M3U"));
    M3uWriter writer;
    PlaylistModel list;
    for (const QString& location : {QStringLiteral("songs/relative.mp3"), QStringLiteral("/abs/Canci\u00f3n.mp3"),
                                    QString(), QStringLiteral(" spaced .mp3")}) {
        PlayListRow row;
        row.fields[ColLocation] = location;
        list.insert(list.count() + 1, row);
    }
    ASSERT_TRUE(writer.save(path, list).ok);
    EXPECT_EQ(readBytes(path), QByteArray("songs/relative.mp3\r\n/abs/Canci\xf3n.mp3\r\n\r\n spaced .mp3\r\n"));

    // A long list, written in several blocks, comes back in order.
    QStringList many;
    for (int i = 0; i < 100000; ++i)
        many.append(QStringLiteral("/music/%1/track %2.mp3").arg(i % 97).arg(i));
    ASSERT_TRUE(writer.save(path, many).ok);
    EXPECT_EQ(readEntries(path), many);

    // An empty list leaves an empty file; a missing folder fails with a reason to show.
    ASSERT_TRUE(writer.save(path, QStringList()).ok);
    EXPECT_EQ(QFileInfo(path).size(), 0);
    const auto failed = writer.save(dir.filePath(QStringLiteral("no/such/x.m3u")), many);
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.error.isEmpty());
}

namespace {

// A disk that fills up after `room` bytes.
class FullDiskFile : public QSaveFile {
public:
    FullDiskFile(const QString& name, qint64 room) : QSaveFile(name), m_room(room) {}

protected:
    qint64 writeData(const char* data, qint64 len) override
    {
        if (len > m_room) {
            QSaveFile::writeData(data, m_room);
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }
        m_room -= len;
        return QSaveFile::writeData(data, len);
    }

private:
    qint64 m_room;
};

class FullDiskWriter : public M3uWriter {
protected:
    std::unique_ptr<QSaveFile> createFile(const QString& fileName) override
    {
        return std::make_unique<FullDiskFile>(fileName, 300 * 1024);
    }
};

}  // namespace

TEST(M3u, DiskFullHalfwayLeavesTheOldPlaylistWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("morning.m3u"));
    writeBytes(path, QByteArray("old1.mp3\r\nold2.mp3\r\n"));
    QStringList big;
    for (int i = 0; i < 30000; ++i)
        big.append(QStringLiteral("/music/new/track number %1.mp3").arg(i));

    const auto result = FullDiskWriter().save(path, big);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, QStringLiteral("No space left on device"));
    EXPECT_EQ(readBytes(path), QByteArray("old1.mp3\r\nold2.mp3\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("morning.m3u")});
}
