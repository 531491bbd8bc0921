#include "playlist/PlaylistEdits.h"

#include "fakes/FakeServices.h"
#include "fakes/TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavlo;
using tavlo::test::id3v1Record;
using tavlo::test::writeFile;

namespace {

// One row per letter, titled by it.
void fill(PlaylistModel& list, const QString& titles)
{
    for (QChar c : titles)
        addFileRow(QStringLiteral("/nowhere/") + c + QStringLiteral(".mp3"), 0, list);
}

QString titles(const PlaylistModel& list, int column = ColTitle)
{
    QStringList s;
    for (int n = 1; n <= list.count(); ++n)
        s += list.text(n, column);
    return s.join(QString());
}

}  // namespace

TEST(PlaylistEdits, AddFileToListRowsAndPositions)
{
    QTemporaryDir dir;
    const QString tagged = writeFile(dir.filePath(QStringLiteral("t.mp3")),
                                     "xx" + id3v1Record("Title", "Artist", "Album", "2001", "Comment", 8));
    const QString nulTitle = writeFile(dir.filePath(QStringLiteral("Nul Title.mp3")), id3v1Record(QByteArray(30, '\0'), "Someone"));
    const QString missing = dir.filePath(QStringLiteral("Gone Song.mp3"));

    PlaylistModel list;
    EXPECT_EQ(addFileRow(tagged, 0, list), 1);
    EXPECT_EQ(addFileRow(nulTitle, 0, list), 2);
    EXPECT_EQ(addFileRow(missing, 0, list), 3);
    QStringList row1;
    for (int c = 0; c <= ColPlaySeconds; ++c)
        row1 += list.text(1, c);
    EXPECT_EQ(row1.join(QLatin1Char('|')), QStringLiteral("Title||Artist|Album|2001|Jazz|Comment|") + tagged +
                                               QStringLiteral("||"));
    EXPECT_EQ(list.text(2, ColTitle) + list.text(2, ColArtist), QStringLiteral("Nul TitleSomeone"));
    EXPECT_EQ(list.text(3, ColTitle) + list.text(3, ColArtist), QStringLiteral("Gone Song"));
    EXPECT_EQ(list.text(3, ColLocation), missing);
    // Titles from names the tag-less way: separators of either kind, a name without ".mp3" whole.
    EXPECT_EQ(displayTitle({}, QStringLiteral("C:\\Music/Rock\\Tune.mp3")), QStringLiteral("Tune"));
    EXPECT_EQ(displayTitle({}, QStringLiteral("C:/Music\\Rock/Tune.mp3")), QStringLiteral("Tune"));
    EXPECT_EQ(displayTitle({}, QStringLiteral("a.mp")), QStringLiteral("a.mp"));
    EXPECT_EQ(displayTitle({}, QStringLiteral("/m/One.flac")), QStringLiteral("One"));
    EXPECT_EQ(displayTitle({}, QStringLiteral("/m/Two.OPUS")), QStringLiteral("Two"));
    EXPECT_EQ(displayTitle({}, QStringLiteral("http://radio.example/live")), QStringLiteral("http://radio.example/live"));

    PlaylistModel abc;
    fill(abc, QStringLiteral("ABCDE"));
    EXPECT_EQ(addFileRow(QStringLiteral("/x/P.mp3"), 3, abc), 3);
    EXPECT_EQ(addFileRow(QStringLiteral("/x/Q.mp3"), 4, abc), 4);
    EXPECT_EQ(addFileRow(QStringLiteral("/x/R.mp3"), 0, abc), 8);
    EXPECT_EQ(addFileRow(QStringLiteral("/x/S.mp3"), 99, abc), 9);
    EXPECT_EQ(titles(abc), QStringLiteral("ABPQCDERS"));
}

TEST(PlaylistEdits, RandomOrderWritesKeysAndFollowsTheSongInPlay)
{
    PlaylistModel list;
    fill(list, QStringLiteral("ABC"));
    test::FakeRandom random;
    random.script = {0.99999999, 0.0, 0.5};
    EXPECT_EQ(randomOrder(list, 1, random), 3);  // A drew the top key
    EXPECT_EQ(titles(list), QStringLiteral("BCA"));
    EXPECT_EQ(titles(list, ColShuffleKey), QStringLiteral("000001000002000003"));

    EXPECT_EQ(randomOrder(list, 0, random), 0);  // nothing in play
}
