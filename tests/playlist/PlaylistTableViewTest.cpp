// Drag and drop on a clip list on screen: the file data both ways, what the
// list takes, the line showing where a drop lands, and a drag from the list.
#include "fakes/QtTestApp.h"
#include "fakes/TestText.h"
#include "fakes/ViewChecks.h"
#include "platform/widgets/FileDrag.h"
#include "playback/WindowRig.h"
#include "playlist/PlaylistTableView.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace tavlo::test {
namespace {

using tavlo::test::s;

std::unique_ptr<QMimeData> urlDrag(const QList<QUrl>& urls)
{
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    data->setText(s("/music/a.mp3"));
    return data;
}

// A drag enters the list's viewport and moves to `at`; whether the list takes it as a copy.
bool dragTo(PlaylistTableView& view, const QMimeData& data, const QPoint& at, QEvent::Type last = QEvent::DragMove)
{
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &enter);
    QDropEvent event(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier, last);
    QApplication::sendEvent(view.viewport(), &event);
    return enter.isAccepted() && event.isAccepted() && event.dropAction() == Qt::CopyAction;
}

// Whether the drop line crosses the viewport at height y.
bool lineAt(PlaylistTableView& view, int y)
{
    const QImage image = view.viewport()->grab().toImage();
    return image.pixelColor(image.width() / 2, y) == view.palette().color(QPalette::Text);
}

TEST(PlaylistTableView, FilesTravelAsUrlsAndLandWhereTheLineShows)
{
    // Exact paths within the program; absolute local files for other programs.
    const QStringList paths{s("/music/Side A/#1 50%?.mp3"), s("rel/b.mp3"), s("C:\\Old\\c.mp3"), QString()};
    std::unique_ptr<QMimeData> ours(makeFileDrag(paths));
    EXPECT_EQ(droppedFiles(ours.get()), paths);
    ASSERT_EQ(ours->urls().size(), 3);
    EXPECT_EQ(ours->urls()[0].toLocalFile(), paths[0]);
    EXPECT_EQ(ours->urls()[1].toLocalFile(), QDir::current().absoluteFilePath(s("rel/b.mp3")));

    WindowRig rig;
    for (const char* name : {"a", "b", "c", "d", "e"})
        rig.add(s(name), 200);
    PlaylistModel& model = *rig.w->clipList;
    PlaylistTableView view(model);
    view.resize(1400, 300);
    view.show();
    const int row3 = view.rowViewportPosition(2);
    const int belowLast = view.rowViewportPosition(4) + view.rowHeight(4);
    const QPoint overRow3(view.viewport()->width() - 5, row3 + 3);  // past the last column: still row 3
    ASSERT_LT(view.columnViewportPosition(ColPlaySeconds) + view.columnWidth(ColPlaySeconds), overRow3.x());

    // Text, or links to no local file, are refused.
    auto web = urlDrag({QUrl(s("https://example.org/z.mp3"))});
    EXPECT_FALSE(dragTo(view, *web, overRow3, QEvent::Drop));
    EXPECT_EQ(model.count(), 5);

    // From a file manager (its local files only): the row under the pointer
    // is marked, the line on its top; below the rows, under the last.
    auto files = urlDrag({QUrl::fromLocalFile(s("/new/x.mp3")), web->urls()[0], QUrl::fromLocalFile(s("/new/y.mp3"))});
    EXPECT_TRUE(dragTo(view, *files, overRow3));
    EXPECT_EQ(model.selectedRows(), std::vector<int>{3});
    EXPECT_TRUE(lineAt(view, row3));
    EXPECT_TRUE(dragTo(view, *files, QPoint(20, belowLast + 30)));
    EXPECT_TRUE(model.selectedRows().empty());
    EXPECT_TRUE(lineAt(view, belowLast) && !lineAt(view, row3));

    EXPECT_TRUE(dragTo(view, *files, overRow3, QEvent::Drop));
    EXPECT_EQ(model.text(3, ColLocation) + model.text(4, ColLocation), s("/new/x.mp3/new/y.mp3"));

    // A list without drop handling (the scheduler's) takes nothing.
    PlaylistModel events(nullptr, s("lstEvents"));
    PlaylistTableView eventView(events);
    EXPECT_FALSE(dragTo(eventView, *files, QPoint(20, 20)));
}

TEST(PlaylistTableView, ADragFromTheListCarriesItsRowsAndEndsWithTheDrag)
{
    WindowRig rig;
    for (const char* name : {"a", "b", "c"})
        rig.add(s(name), 200);
    PlaylistModel& model = *rig.w->clipList;
    PlaylistTableView view(model);
    view.resize(400, 300);
    view.show();
    model.setSelected(1, true);
    model.setSelected(2, true);
    QApplication::processEvents();

    // Pressed on a selected row and pulled away. The offscreen desktop has
    // nowhere to drop, so the drag ends at once, as one let go outside every list.
    const QPoint from = view.visualRect(model.index(0, 0)).center();
    const QPoint away = from + QPoint(0, 3 * QApplication::startDragDistance());
    sendMouse(view.viewport(), QEvent::MouseButtonPress, from);
    sendMouse(view.viewport(), QEvent::MouseMove, from + QPoint(0, 1));
    sendMouse(view.viewport(), QEvent::MouseMove, away);
    EXPECT_EQ(rig.w->dragRows(), (std::vector<int>{1, 2}));
    EXPECT_EQ(std::pair(rig.w->dragFromList(), model.count()), std::pair(false, 3));

    // The pointer over the list with no button held clears a drag's claim.
    rig.w->startDrag();
    ASSERT_TRUE(rig.w->dragFromList());
    sendMouse(view.viewport(), QEvent::MouseMove, from, Qt::NoButton);
    EXPECT_FALSE(rig.w->dragFromList());
}

}  // namespace
}  // namespace tavlo::test
