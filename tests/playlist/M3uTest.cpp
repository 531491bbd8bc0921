// The playlist file itself; what the music window makes of it (comments,
// extended lines, empty lines, line ends, names) is tested through the window.
#include "playlist/M3uReader.h"
#include "playlist/M3uWriter.h"
#include "playlist/PlaylistModel.h"

#include "fakes/TestFiles.h"

#include <QDir>
#include <QSaveFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

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

TEST(M3u, EntriesComeBackCharacterForCharacter)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("saved.M3U"));
    const QStringList locations{QStringLiteral("songs/relative.mp3"), QStringLiteral("/abs/Canci\u00f3n.mp3"), QString(),
                                QStringLiteral(" spaced .mp3")};
    PlaylistModel list;
    for (const QString& location : locations) {
        PlayListRow row;
        row.fields[ColLocation] = location;
        list.insert(list.count() + 1, row);
    }
    M3uWriter writer;
    ASSERT_TRUE(writer.save(path, list).ok);
    EXPECT_EQ(readFile(path), QByteArray("songs/relative.mp3\r\n/abs/Canci\xf3n.mp3\r\n\r\n spaced .mp3\r\n"));
    EXPECT_EQ(readEntries(path), locations);

    // Lines as other programs write them: a CR inside a line stays, a '#'
    // that is not first is no comment, the last line may have no end.
    writeFile(path, "#EXTM3U\r\na\rb.mp3\r\n #not a comment.mp3\r\nlast.mp3");
    EXPECT_EQ(readEntries(path), (QStringList{QStringLiteral("a\rb.mp3"), QStringLiteral(" #not a comment.mp3"),
                                              QStringLiteral("last.mp3")}));
    // A CR LF split across two read blocks ends the line cleanly; a final CR LF adds no row.
    writeFile(path, QByteArray((1 << 20) - 1, 'x') + "\r\nnext.mp3\r\n");
    EXPECT_EQ(readEntries(path), (QStringList{QString((1 << 20) - 1, QLatin1Char('x')), QStringLiteral("next.mp3")}));
    // A long list, written in several blocks, comes back in order.
    QStringList many;
    for (int i = 0; i < 100000; ++i)
        many << QStringLiteral("/music/track %1.mp3").arg(i);
    ASSERT_TRUE(writer.save(path, many).ok);
    EXPECT_EQ(readEntries(path), many);
    // The window refusing an entry ends the load quietly; what was added stays.
    EXPECT_EQ(readEntries(path, 2), many.mid(0, 2));
    EXPECT_TRUE(readEntries(dir.filePath(QStringLiteral("gone.m3u"))).isEmpty());
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
    writeFile(path, "old1.mp3\r\nold2.mp3\r\n");
    QStringList big;
    for (int i = 0; i < 30000; ++i)
        big.append(QStringLiteral("/music/new/track number %1.mp3").arg(i));

    const auto result = FullDiskWriter().save(path, big);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, QStringLiteral("No space left on device"));
    EXPECT_EQ(readFile(path), QByteArray("old1.mp3\r\nold2.mp3\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("morning.m3u")});
}
