#include "playlist/id3Tag.h"

#include "Id3TagTestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavlo;
using tavlo::test::id3v1Record;
using tavlo::test::writeFile;

namespace {

id3Tag readTag(const QString& path)
{
    id3Tag tag;
    tag.GetMP3Info(path);
    return tag;
}

bool allEmpty(const id3Tag& t)
{
    return t.sTitle.isEmpty() && t.sArtist.isEmpty() && t.sAlbum.isEmpty() && t.sYear.isEmpty() &&
           t.sComment.isEmpty() && t.sGenre.isEmpty();
}

}  // namespace

TEST(Id3Tag, ReadsFieldsCutAtNulAndStrippedOfSpaces)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("song.mp3"));
    // A comment with a track number in its last byte: the NUL before it ends the text.
    QByteArray comment = QByteArray("Live at the club").leftJustified(28, ' ') + QByteArray(1, '\0') + QByteArray(1, 7);
    writeFile(path, QByteArray(300, 'x') + id3v1Record(QByteArray("Hello").leftJustified(30, ' '),
                                                        "  Caf\xe9 Trio ", QByteArray("Album\0junk", 10), "1999",
                                                        comment, 17));
    const id3Tag t = readTag(path);
    EXPECT_EQ(t.sTitle, QStringLiteral("Hello"));
    EXPECT_EQ(t.sArtist, QString::fromUtf8("Caf\u00e9 Trio"));
    EXPECT_EQ(t.sAlbum, QStringLiteral("Album"));
    EXPECT_EQ(t.sYear, QStringLiteral("1999"));
    EXPECT_EQ(t.sComment, QStringLiteral("Live at the club"));
    EXPECT_EQ(t.sGenre, QStringLiteral("Rock"));
}

TEST(Id3Tag, GenreNamesAtTheEdgesAndOddSpellings)
{
    EXPECT_EQ(id3Tag::GenreName(0), QStringLiteral("Blues"));
    EXPECT_EQ(id3Tag::GenreName(40), QStringLiteral("Alt. Rock"));
    EXPECT_EQ(id3Tag::GenreName(67), QStringLiteral("Psychadelic"));
    EXPECT_EQ(id3Tag::GenreName(118), QStringLiteral("Rhytmic Soul"));
    EXPECT_EQ(id3Tag::GenreName(133), QStringLiteral("Negerunk"));
    EXPECT_EQ(id3Tag::GenreName(144), QStringLiteral("Trash Metal"));
    EXPECT_EQ(id3Tag::GenreName(147), QStringLiteral("Synthpop"));
    EXPECT_TRUE(id3Tag::GenreName(148).isEmpty());
    EXPECT_TRUE(id3Tag::GenreName(255).isEmpty());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("g.mp3"));
    writeFile(path, id3v1Record("T", {}, {}, {}, {}, 255));
    EXPECT_TRUE(readTag(path).sGenre.isEmpty());
    writeFile(path, id3v1Record("T", {}, {}, {}, {}, 0));
    EXPECT_EQ(readTag(path).sGenre, QStringLiteral("Blues"));
}

TEST(Id3Tag, FilesWithoutATagGiveEmptyFields)
{
    QTemporaryDir dir;
    auto file = [&dir](const char* name, const QByteArray& bytes) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        writeFile(path, bytes);
        return path;
    };
    // Exactly 128 bytes is a tag; one byte fewer is not.
    EXPECT_EQ(readTag(file("exact.mp3", id3v1Record("Exact"))).sTitle, QStringLiteral("Exact"));
    EXPECT_TRUE(allEmpty(readTag(file("short.mp3", id3v1Record("Short").left(127)))));

    QByteArray lower = id3v1Record("Lower");
    lower[0] = 't', lower[1] = 'a', lower[2] = 'g';
    EXPECT_TRUE(allEmpty(readTag(file("lower.mp3", QByteArray(50, 'x') + lower))));

    // ID3v2 at the start only: not read.
    QByteArray v2("ID3\x03\x00\x00\x00\x00\x00\x20", 10);
    v2 += QByteArray("TIT2\x00\x00\x00\x06\x00\x00\x00Title", 15) + QByteArray(400, '\xff');
    EXPECT_TRUE(allEmpty(readTag(file("v2.mp3", v2))));

    EXPECT_TRUE(allEmpty(readTag(dir.filePath(QStringLiteral("missing.mp3")))));
    EXPECT_TRUE(allEmpty(readTag(dir.path())));
    EXPECT_TRUE(allEmpty(readTag(QString())));

    // A file without a tag leaves what was there.
    id3Tag kept;
    kept.sTitle = QStringLiteral("Before");
    kept.GetMP3Info(dir.filePath(QStringLiteral("v2.mp3")));
    EXPECT_EQ(kept.sTitle, QStringLiteral("Before"));
}
