// Playlists on disk through the music window: what "Open..." and "Save List
// As..." put in the list and on disk.
#include "fakes/TestFiles.h"
#include "playback/WindowRig.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

TEST(PlaylistFiles, OpenAppendsEntriesAsWrittenAndShowsProgress)
{
    WindowRig r;
    QTemporaryDir dir;
    for (const char* name : {"a", "b", "c"})
        r.add(QLatin1String(name), 60);
    r.w->play();
    r.w->next();
    ASSERT_EQ(r.w->rowInPlay(), 2);

    const QString list = dir.filePath(QStringLiteral("Evening.M3u"));
    writeFile(list, "#EXTM3U\r\n#EXTINF:215,Artist - Title\r\nsong.mp3\r\n"
                    "\r\n"
                    "jingles\\id.mp3\n"                  // bare LF, relative, Windows slash
                    "/music/My Songs/ spaced .mp3\r\n");  // kept as written

    // Playlists that are gone add nothing, .m3u8 and .pls ones included.
    r.dialogs.filesToOpen = {dir.filePath(QStringLiteral("gone.M3U")), list, dir.filePath(QStringLiteral("b.m3u8")),
                             dir.filePath(QStringLiteral("c.pls"))};
    r.w->openItem->click();
    EXPECT_EQ(r.column(ColLocation),
              (QStringList{QStringLiteral("/music/a.mp3"), QStringLiteral("/music/b.mp3"), QStringLiteral("/music/c.mp3"),
                           dir.filePath(QStringLiteral("song.mp3")), QString(), dir.filePath(QStringLiteral("jingles/id.mp3")),
                           QStringLiteral("/music/My Songs/ spaced .mp3")}));
    // The list's own title and length show until the song is opened.
    EXPECT_EQ(r.w->clipList->text(4, ColTitle), QStringLiteral("Artist - Title"));
    EXPECT_EQ(r.w->clipList->text(4, ColLength), QStringLiteral("03:35"));
    EXPECT_EQ(std::pair(r.w->rowInPlay(), r.pathInPlay()), std::pair(2, QStringLiteral("/music/b.mp3")));
}

TEST(PlaylistFiles, SavedListReopensTheSameAndAFailedSaveKeepsTheList)
{
    WindowRig r;
    QTemporaryDir dir;
    for (const QString& location : {QStringLiteral("/music/a.mp3"), dir.filePath(QStringLiteral("beside/b.mp3")),
                                    QStringLiteral("/x/c d.mp3")})
        r.w->addFileToList(location, 0, *r.w->clipList);
    r.w->clipList->setText(1, ColPlaySeconds, QStringLiteral("180"));
    const QStringList locations = r.column(ColLocation);

    // Beside the music a path is written relative to the list.
    const QString saved = dir.filePath(QStringLiteral("saved.M3U"));
    r.dialogs.fileToSave = saved;
    r.w->saveListAsItem->click();
    EXPECT_EQ(readFile(saved), QByteArray("/music/a.mp3\r\nbeside/b.mp3\r\n/x/c d.mp3\r\n"));
    r.w->clearListItem->click();
    r.w->openFile(saved);
    EXPECT_EQ(r.column(ColLocation), locations);
    EXPECT_EQ(r.column(ColPlaySeconds), (QStringList{QString(), QString(), QString()}));

    // An .m3u8 carries titles and lengths as well.
    r.w->clipList->setText(1, ColPlaySeconds, QStringLiteral("180"));
    r.dialogs.fileToSave = dir.filePath(QStringLiteral("saved.m3u8"));
    r.w->saveListAsItem->click();
    r.w->clearListItem->click();
    r.w->openFile(r.dialogs.fileToSave);
    EXPECT_EQ(r.column(ColLocation), locations);
    EXPECT_EQ(r.column(ColPlaySeconds), (QStringList{QStringLiteral("180"), QString(), QString()}));
    EXPECT_EQ(r.column(ColTitle), (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c d")}));

    // Nowhere to write: the user hears of it and nothing is lost.
    r.dialogs.fileToSave = dir.filePath(QStringLiteral("no/such/folder/list.m3u"));
    r.w->saveListAsItem->click();
    EXPECT_EQ(std::pair(r.dialogs.informed.size(), r.column(ColLocation)), std::pair(qsizetype(1), locations));
}
