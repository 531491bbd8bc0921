#include "playlist/PlaylistEdits.h"

#include "Id3TagTestFiles.h"
#include "fakes/FakeServices.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavlo;
using tavlo::test::id3v1Record;
using tavlo::test::writeFile;

namespace {

// A list whose rows are titled "A", "B", ... with a location each.
void fill(PlaylistModel& list, const QString& titles)
{
    for (QChar c : titles) {
        PlayListRow r;
        r.fields[ColTitle] = QString(c);
        r.fields[ColLocation] = QStringLiteral("/m/") + c + QStringLiteral(".mp3");
        list.insert(list.count() + 1, std::move(r));
    }
}

QString titles(const PlaylistModel& list)
{
    QString s;
    for (int n = 1; n <= list.count(); ++n)
        s += list.text(n, ColTitle);
    return s;
}

}  // namespace

TEST(PlaylistEdits, DisplayTitleFromTagOrFileName)
{
    EXPECT_EQ(displayTitle(QStringLiteral("Tagged"), QStringLiteral("/music/x.mp3")), QStringLiteral("Tagged"));
    EXPECT_EQ(displayTitle({}, QStringLiteral("/home/radio/Music/Song One.mp3")), QStringLiteral("Song One"));
    EXPECT_EQ(displayTitle({}, QStringLiteral("a.mp")), QStringLiteral("a.mp"));
    EXPECT_EQ(displayTitle({}, QStringLiteral("abcde")), QStringLiteral("a"));
    EXPECT_EQ(displayTitle({}, QStringLiteral("C:\\Music/Rock\\Tune.mp3")), QStringLiteral("Tune"));
    EXPECT_EQ(displayTitle({}, QStringLiteral("C:/Music\\Rock/Tune.mp3")), QStringLiteral("Tune"));
    EXPECT_EQ(displayTitle({}, QStringLiteral("Plain.wav")), QStringLiteral("Plain"));
}

TEST(PlaylistEdits, AddFileToListFillsTheRowFromTagAndName)
{
    QTemporaryDir dir;
    const QString tagged = dir.filePath(QStringLiteral("tagged.mp3"));
    writeFile(tagged, QByteArray(64, 'x') + id3v1Record("Title", "Artist", "Album", "2001", "Comment", 8));
    const QString nulTitle = dir.filePath(QStringLiteral("Nul Title.mp3"));
    writeFile(nulTitle, id3v1Record(QByteArray(30, '\0'), "Someone"));
    const QString missing = dir.filePath(QStringLiteral("Gone Song.mp3"));

    PlaylistModel list;
    EXPECT_EQ(AddFileToList(tagged, 0, list), 1);
    const QStringList row1 = {QStringLiteral("Title"), QString(), QStringLiteral("Artist"), QStringLiteral("Album"),
                              QStringLiteral("2001"), QStringLiteral("Jazz"), QStringLiteral("Comment"), tagged,
                              QString(), QString()};
    for (int c = 0; c < ColumnCount; ++c)
        EXPECT_EQ(list.text(1, c), row1[c]) << "column " << c;

    EXPECT_EQ(AddFileToList(nulTitle, 0, list), 2);
    EXPECT_EQ(list.text(2, ColTitle), QStringLiteral("Nul Title"));
    EXPECT_EQ(list.text(2, ColArtist), QStringLiteral("Someone"));

    // A file that cannot be read still gets its row.
    EXPECT_EQ(AddFileToList(missing, 0, list), 3);
    EXPECT_EQ(list.text(3, ColTitle), QStringLiteral("Gone Song"));
    EXPECT_EQ(list.text(3, ColLocation), missing);
    EXPECT_TRUE(list.text(3, ColArtist).isEmpty());
}

TEST(PlaylistEdits, AddFileToListInsertPositions)
{
    PlaylistModel list;
    fill(list, QStringLiteral("ABCDE"));
    EXPECT_EQ(AddFileToList(QStringLiteral("/x/P.mp3"), 3, list), 3);
    EXPECT_EQ(AddFileToList(QStringLiteral("/x/Q.mp3"), 4, list), 4);
    EXPECT_EQ(AddFileToList(QStringLiteral("/x/R.mp3"), 0, list), 8);
    EXPECT_EQ(AddFileToList(QStringLiteral("/x/S.mp3"), 99, list), 9);
    EXPECT_EQ(AddFileToList(QStringLiteral("/x/T.mp3"), 1, list), 1);
    EXPECT_EQ(titles(list), QStringLiteral("TABPQCDERS"));
}

TEST(PlaylistEdits, DeleteWalkKeepsTheSongInPlay)
{
    PlaylistModel list;
    fill(list, QStringLiteral("ABCDEF"));
    list.setSelected(2, true);
    list.setSelected(3, true);
    EXPECT_EQ(deleteSelectedRows(list, 5), 3);  // E is still the song in play
    EXPECT_EQ(titles(list), QStringLiteral("ADEF"));

    // The row in play itself: ItemPlaying goes to the row before, so the row
    // that followed plays next.
    PlaylistModel again;
    fill(again, QStringLiteral("ABCDEF"));
    again.setSelected(5, true);
    EXPECT_EQ(deleteSelectedRows(again, 5), 4);
    EXPECT_EQ(titles(again), QStringLiteral("ABCDF"));

    // Rows after the one in play, nothing in play, nothing selected.
    again.setSelected(1, true);
    again.setSelected(5, true);
    EXPECT_EQ(deleteSelectedRows(again, 0), 0);
    EXPECT_EQ(titles(again), QStringLiteral("BCD"));
    EXPECT_EQ(deleteSelectedRows(again, 2), 2);
    EXPECT_EQ(titles(again), QStringLiteral("BCD"));
}

TEST(PlaylistEdits, RandomOrderWritesKeysAndFollowsTheSongInPlay)
{
    PlaylistModel list;
    fill(list, QStringLiteral("ABC"));
    test::FakeRandom random;
    random.script = {0.99999999, 0.0, 0.5};
    EXPECT_EQ(randomOrder(list, 1, random), 3);  // A drew the top key
    EXPECT_EQ(random.reseeds, 1);
    EXPECT_EQ(titles(list), QStringLiteral("BCA"));
    EXPECT_EQ(list.text(1, ColAzar), QStringLiteral("000001"));
    EXPECT_EQ(list.text(2, ColAzar), QStringLiteral("000002"));
    EXPECT_EQ(list.text(3, ColAzar), QStringLiteral("000003"));
    for (int n = 1; n <= 3; ++n)
        EXPECT_TRUE(list.key(n).isEmpty());

    // Nothing in play stays nothing in play; drawn keys stay within 1..3.
    EXPECT_EQ(randomOrder(list, 0, random), 0);
    for (int n = 1; n <= 3; ++n) {
        const int key = list.text(n, ColAzar).toInt();
        EXPECT_TRUE(key >= 1 && key <= 3 && list.text(n, ColAzar).size() == 6) << qPrintable(list.text(n, ColAzar));
    }
}

TEST(PlaylistEdits, HeaderClicksRememberTheDirection)
{
    ColumnSortMemory memory;
    const int artist = ColArtist + 1, year = ColYear + 1;
    EXPECT_EQ(memory.columnClicked(artist), 0);
    EXPECT_EQ(memory.columnClicked(artist), 1);
    EXPECT_EQ(memory.columnClicked(year), 1);  // the direction carries over
    EXPECT_EQ(memory.SortColumn, year);
    EXPECT_EQ(memory.columnClicked(year), 0);
    EXPECT_EQ(memory.columnClicked(11), 0);
    EXPECT_EQ(memory.SortColumn, year);
}

TEST(PlaylistEdits, ColumnSortAsTextFollowsTheSongInPlay)
{
    PlaylistModel list;
    fill(list, QStringLiteral("DBECA"));
    const QStringList totals = {QStringLiteral("99"), QStringLiteral("100"), QStringLiteral("240"),
                                QStringLiteral("180"), QStringLiteral("99")};
    for (int n = 1; n <= 5; ++n)
        list.setText(n, ColTotLength, totals[n - 1]);

    // Title ascending with row 4 ("C") in play.
    EXPECT_EQ(sortTrackingInPlay(list, 4, ColTitle + 1, false), 3);
    EXPECT_EQ(titles(list), QStringLiteral("ABCDE"));

    // "TotLength" compares as text: 100 before 99; equal texts keep their order.
    EXPECT_EQ(sortTrackingInPlay(list, 3, ColTotLength + 1, false), 2);
    EXPECT_EQ(titles(list), QStringLiteral("BCEAD"));
    EXPECT_EQ(sortTrackingInPlay(list, 0, ColTotLength + 1, true), 0);
    EXPECT_EQ(titles(list), QStringLiteral("ADECB"));
    for (int n = 1; n <= 5; ++n)
        EXPECT_TRUE(list.key(n).isEmpty());
}
