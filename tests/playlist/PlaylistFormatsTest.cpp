// The playlist files themselves, as Tavlo and other programs write them;
// what the music window makes of them is tested through the window.
#include "playlist/PlaylistReader.h"
#include "playlist/PlaylistText.h"
#include "playlist/PlaylistWriter.h"
#include "playlist/PlaylistEdits.h"
#include "playlist/PlaylistModel.h"

#include "fakes/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

std::vector<PlaylistEntry> readAll(const QString& path, int stopAfter = -1)
{
    std::vector<PlaylistEntry> entries;
    PlaylistReader::read(path, [&](const PlaylistEntry& e) {
        entries.push_back(e);
        return static_cast<int>(entries.size()) != stopAfter;
    });
    return entries;
}

QStringList readEntries(const QString& path, int stopAfter = -1)
{
    QStringList locations;
    for (const PlaylistEntry& e : readAll(path, stopAfter))
        locations.append(e.location);
    return locations;
}

// Runs in another working folder than the lists', as a scheduler event loading
// a list would: nothing may be read relative to it.
class ElsewhereFolder {
public:
    ElsewhereFolder() : m_old(QDir::currentPath()) { QDir::setCurrent(m_elsewhere.path()); }
    ~ElsewhereFolder() { QDir::setCurrent(m_old); }

private:
    QTemporaryDir m_elsewhere;
    QString m_old;
};

}  // namespace

TEST(PlaylistFormats, ListsAsOtherProgramsWriteThemFromAnotherWorkingFolder)
{
    QTemporaryDir dir;
    const QString d = dir.path();
    ElsewhereFolder elsewhere;
    const QString accented = QStringLiteral("\u00dcn\u00ef c\u00f4de.mp3");
    struct Case {
        const char* name;
        QByteArray bytes;
        std::vector<PlaylistEntry> expected;
    };
    const std::vector<Case> cases = {
        {"bom.m3u", "\xEF\xBB\xBF" "\xC3\x9Cn\xC3\xAF c\xC3\xB4" "de.mp3\n", {{d + u'/' + accented, {}, -1}}},
        {"latin1.m3u", "\xDCn\xEF c\xF4" "de.mp3\r\n", {{d + u'/' + accented, {}, -1}}},
        {"plain.m3u8", "#EXTM3U\r\n#EXTINF:215,Band - Song\r\nsub/one.mp3\r\n#EXTINF:-1,Jingle\r\nsub\\two.wav\r\n"
                       "../up.ogg\r\n",
         {{d + QStringLiteral("/sub/one.mp3"), QStringLiteral("Band - Song"), 215},
          {d + QStringLiteral("/sub/two.wav"), QStringLiteral("Jingle"), -1},
          {QFileInfo(d).path() + QStringLiteral("/up.ogg"), {}, -1}}},
        {"uris.m3u", "file:///m%C3%BAsica/a%20b.flac\nhttp://radio.example/live\n/abs/c.opus\nfile:///a%0Ab.mp3\n",
         {{QStringLiteral("/m\u00fasica/a b.flac"), {}, -1}, {QStringLiteral("http://radio.example/live"), {}, -1},
          {QStringLiteral("/abs/c.opus"), {}, -1}, {QStringLiteral("file:///a%0Ab.mp3"), {}, -1}}},
        {"radio.pls", "[playlist]\r\nFile2=file:///x/b%20c.mp3\r\nFile1=a.mp3\r\nTitle1=First\r\nLength1=61\r\n"
                      "Title3=no file\r\nNumberOfEntries=2\r\n",
         {{d + QStringLiteral("/a.mp3"), QStringLiteral("First"), 61}, {QStringLiteral("/x/b c.mp3"), {}, -1}}},
    };
    for (const Case& c : cases) {
        const std::vector<PlaylistEntry> got = readAll(writeFile(dir.filePath(QLatin1String(c.name)), c.bytes));
        ASSERT_EQ(got.size(), c.expected.size()) << c.name;
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].location, c.expected[i].location) << c.name << " entry " << i;
            EXPECT_EQ(got[i].title, c.expected[i].title) << c.name << " entry " << i;
            EXPECT_EQ(got[i].seconds, c.expected[i].seconds) << c.name << " entry " << i;
        }
    }

    // Saved as .m3u8 beside the music: relative where the folder reaches,
    // UTF-8 with #EXTINF, and read back the same.
    PlaylistModel list;
    const QStringList locations{d + QStringLiteral("/sub/") + accented, QStringLiteral("/elsewhere/b.flac"),
                                d + QStringLiteral("/#1 hit.mp3")};
    for (const QString& location : locations) {
        PlaylistRow row;
        row.fields[ColLocation] = location;
        row.fields[ColTitle] = QStringLiteral("Title");
        row.fields[ColPlaySeconds] = QStringLiteral("42");
        list.insert(list.count() + 1, row);
    }
    list.setText(1, ColArtist, QStringLiteral("Artist"));
    const QString m3u8 = dir.filePath(QStringLiteral("saved.m3u8"));
    ASSERT_TRUE(PlaylistWriter().save(m3u8, playlistEntries(list)).ok);
    EXPECT_EQ(readFile(m3u8), QByteArray("#EXTM3U\r\n#EXTINF:42,Artist - Title\r\nsub/\xC3\x9Cn\xC3\xAF c\xC3\xB4" "de.mp3\r\n"
                                         "#EXTINF:42,Title\r\n/elsewhere/b.flac\r\n#EXTINF:42,Title\r\n./#1 hit.mp3\r\n"));
    EXPECT_EQ(readEntries(m3u8), locations);
    // A plain .m3u stays Latin-1 while every name fits it, and turns to UTF-8
    // rather than lose a name that does not.
    const QString m3u = dir.filePath(QStringLiteral("saved.m3u"));
    ASSERT_TRUE(PlaylistWriter().save(m3u, QStringList{QStringLiteral("/a/caf\u00e9.mp3")}).ok);
    EXPECT_EQ(readFile(m3u), QByteArray("/a/caf\xe9.mp3\r\n"));
    for (const QStringList& names : {QStringList{QStringLiteral("/a/\u03b1.mp3"), QStringLiteral("/a/caf\u00e9.mp3")},
                                     QStringList{QStringLiteral("/a/Caf\u00c3\u00a9.mp3")}}) {
        ASSERT_TRUE(PlaylistWriter().save(m3u, names).ok);
        EXPECT_EQ(readEntries(m3u), names);
    }
}

TEST(PlaylistFormats, LinesBlocksAndLongLists)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("saved.M3U"));
    // Lines as other programs write them: a CR inside a line stays, a '#'
    // that is not first is no comment, an empty line is an entry, the last
    // line may have no end.
    writeFile(path, "#EXTM3U\r\n/a\rb.mp3\r\n\r\n/ #not a comment.mp3\r\n/last.mp3");
    EXPECT_EQ(readEntries(path), (QStringList{QStringLiteral("/a\rb.mp3"), QString(), QStringLiteral("/ #not a comment.mp3"),
                                              QStringLiteral("/last.mp3")}));
    // A CR LF split across two read blocks ends the line cleanly; a final CR LF adds no row.
    writeFile(path, "/" + QByteArray((1 << 20) - 2, 'x') + "\r\n/next.mp3\r\n");
    EXPECT_EQ(readEntries(path),
              (QStringList{QLatin1Char('/') + QString((1 << 20) - 2, QLatin1Char('x')), QStringLiteral("/next.mp3")}));
    // A long list, written in several blocks, comes back in order.
    QStringList many;
    for (int i = 0; i < 100000; ++i)
        many << QStringLiteral("/music/track %1.mp3").arg(i);
    ASSERT_TRUE(PlaylistWriter().save(path, many).ok);
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

class FullDiskWriter : public PlaylistWriter {
protected:
    std::unique_ptr<QSaveFile> createFile(const QString& fileName) override
    {
        return std::make_unique<FullDiskFile>(fileName, 300 * 1024);
    }
};

}  // namespace

TEST(PlaylistFormats, DiskFullHalfwayLeavesTheOldPlaylistWhole)
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
