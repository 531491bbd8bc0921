// Drag and drop through the player windows' handlers: where files land, what
// moves, what is copied, and which row stays marked as in play.
#include "fakes/TestFiles.h"
#include "fakes/TestText.h"
#include "playback/WindowRig.h"

#include <QTemporaryDir>

#include <algorithm>
#include <tuple>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {


// The list as its files' names (their titles, untagged): "/music/a.mp3" is "a".
QString names(const PlaylistModel& list) { return columnOf(list, ColTitle).join(QString()); }

// The operator drags `rows` of w's list and lets go over `row` of target's list.
void drag(PlayerWindow& w, std::initializer_list<int> rows, PlayerWindow& target, int row)
{
    for (int n = 1; n <= w.clipList->count(); ++n)
        w.clipList->setSelected(n, std::find(rows.begin(), rows.end(), n) != rows.end());
    const QStringList files = w.startDrag();
    target.showDropTarget(row);
    target.drop(files, row);
    w.endDrag();
}

}  // namespace

TEST(DragDrop, FilesLandWhereDroppedAndTheSongInPlayKeepsItsRow)
{
    WindowRig r;
    for (const char* name : {"a", "b", "c", "d", "e"})
        r.add(s(name), 200);
    PlaylistModel& list = *r.w->clipList;
    list.selectOnly(3);
    r.w->playSelected();

    r.w->drop({s("/new/x.mp3"), s("/new/y.mp3")}, 3);
    EXPECT_EQ(names(list), s("abxycde"));
    EXPECT_EQ(r.w->rowInPlay(), 5);
    r.w->drop({s("/new/z.mp3")}, 0);
    EXPECT_EQ(names(list), s("abxycdez"));
    // A playlist between rows goes to the end; a file after it takes the next place.
    QTemporaryDir dir;
    const QString playlist = writeFile(dir.filePath(s("more.m3u")), "/new/p.mp3\r\n/new/q.mp3\r\n");
    r.w->drop({playlist, s("/new/w.mp3")}, 2);
    EXPECT_EQ(names(list), s("abwxycdezpq"));
    EXPECT_EQ(r.w->rowInPlay(), 6);
    EXPECT_EQ(r.pathInPlay(), list.text(6, ColLocation));
    // An empty list takes them from row 1.
    r.ins->drop({s("/new/x.mp3"), s("/new/y.mp3")}, 3);
    EXPECT_EQ(names(*r.ins->clipList), s("xy"));
}

TEST(DragDrop, RowsMoveWithinAListKeepingTheSongInPlayAndAreCopiedToTheOther)
{
    WindowRig r;
    for (const char* name : {"a", "b", "c", "d", "e", "f"})
        r.add(s(name), 200);
    r.addInsert(s("x"), 30);
    PlaylistModel& list = *r.w->clipList;
    list.selectOnly(4);
    r.w->playSelected();
    int shown = 0;
    QObject::connect(&list, &PlaylistModel::ensureVisible, [&shown](int n) { shown = n; });

    // Row 2 onto row 5 of 6: after the row that was row 5. d, in play, is
    // marked where it now is, in sight.
    drag(*r.w, {2}, *r.w, 5);
    EXPECT_EQ(names(list), s("acdebf"));
    EXPECT_EQ(std::tuple(r.w->rowInPlay(), list.selectedRows(), shown), std::tuple(3, std::vector<int>{3}, 3));
    drag(*r.w, {1, 3}, *r.w, 0);
    EXPECT_EQ(names(list), s("cebfad"));
    EXPECT_EQ(r.w->rowInPlay(), 6);
    EXPECT_EQ(r.pathInPlay(), s("/music/d.mp3"));
    // The song in play twice: its first row is taken for it.
    r.w->addFileToList(s("/music/d.mp3"), 2, list);
    drag(*r.w, {1}, *r.w, 4);
    EXPECT_EQ(names(list), s("debcfad"));
    EXPECT_EQ(r.w->rowInPlay(), 1);

    // To the other window: copies. The insert window, nothing in play, moves
    // its own rows the same way and marks none.
    drag(*r.w, {1, 2}, *r.ins, 1);
    EXPECT_EQ(names(list), s("debcfad"));
    drag(*r.ins, {1}, *r.ins, 0);
    EXPECT_EQ(names(*r.ins->clipList), s("exd"));
    EXPECT_EQ(r.ins->rowInPlay(), 0);
    EXPECT_TRUE(r.ins->clipList->selectedRows().empty());

    // A drag that ended elsewhere, or the pointer back with no button held,
    // leaves no claim: the next drop is a copy.
    r.w->startDrag();
    r.w->onListMouseMove(1);
    EXPECT_TRUE(r.w->dragFromList());
    r.w->onListMouseMove(0);
    EXPECT_FALSE(r.w->dragFromList());
    drag(*r.w, {1}, *r.ins, 0);
    r.w->drop({s("/new/z.mp3")}, 1);
    EXPECT_EQ(names(list), s("zdebcfad"));
}
