#include "playlist/id3Tag.h"

#include "fakes/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavlo;
using tavlo::test::id3v1Record;
using tavlo::test::writeFile;

namespace {

QStringList fields(const QString& path)
{
    id3Tag t;
    t.GetMP3Info(path);
    return {t.sTitle, t.sArtist, t.sAlbum, t.sYear, t.sComment, t.sGenre};
}

const QStringList kNoTag(6, QString());

}  // namespace

TEST(Id3Tag, ReadsFieldsCutAtNulAndStrippedOfSpaces)
{
    QTemporaryDir dir;
    // The comment carries a track number after a NUL in its last byte.
    const QByteArray comment = QByteArray("Live at the club").leftJustified(28, ' ') + '\0' + '\7';
    const QString path = writeFile(dir.filePath(QStringLiteral("song.mp3")),
                                   QByteArray(300, 'x') + id3v1Record(QByteArray("Hello").leftJustified(30, ' '),
                                                                      "  Caf\xe9 Trio ", QByteArray("Album\0junk", 10),
                                                                      "1999", comment, 17));
    EXPECT_EQ(fields(path), (QStringList{QStringLiteral("Hello"), QString::fromUtf8("Caf\u00e9 Trio"),
                                         QStringLiteral("Album"), QStringLiteral("1999"),
                                         QStringLiteral("Live at the club"), QStringLiteral("Rock")}));
}

TEST(Id3Tag, GenresAndFilesWithoutATag)
{
    EXPECT_EQ(id3Tag::GenreName(147), QStringLiteral("Synthpop"));  // the last one named
    EXPECT_TRUE(id3Tag::GenreName(148).isEmpty());
    EXPECT_TRUE(id3Tag::GenreName(255).isEmpty());

    QTemporaryDir dir;
    auto file = [&dir](const char* name, const QByteArray& bytes) {
        return writeFile(dir.filePath(QString::fromLatin1(name)), bytes);
    };
    // Exactly 128 bytes is a tag (genre 0 included); one byte fewer is not.
    EXPECT_EQ(fields(file("exact.mp3", id3v1Record("Exact", {}, {}, {}, {}, 0))).last(), QStringLiteral("Blues"));
    EXPECT_EQ(fields(file("short.mp3", id3v1Record("Short").left(127))), kNoTag);
    EXPECT_EQ(fields(file("lower.mp3", "x" + id3v1Record("Lower").replace(0, 3, "tag"))), kNoTag);
    EXPECT_EQ(fields(file("v2.mp3", QByteArray("ID3\3\0\0\0\0\0\x20TIT2\0\0\0\6\0\0\0Title", 26) + QByteArray(400, '\xff'))),
              kNoTag);
    EXPECT_EQ(fields(dir.filePath(QStringLiteral("missing.mp3"))), kNoTag);
}
