// The search window on screen: criteria typed and clicked, a search run from
// its button, results dragged, double-clicked and shown with their tags.
#include "fakes/QtTestApp.h"
#include "fakes/TestText.h"
#include "fakes/ViewChecks.h"
#include "playlist/PlaylistTableView.h"
#include "search/ListBoxView.h"
#include "search/SearchRig.h"
#include "search/SearchWindowView.h"

#include <QDrag>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace tavlo::test {
namespace {

using tavlo::test::s;

QPoint rowCentre(QAbstractItemView& view, int row) { return view.visualRect(view.model()->index(row, 0)).center(); }

TEST(SearchWindowView, CriteriaSearchAndResultsFollowTheLogicAndForwardTheUser)
{
    SearchRig r;
    r.file(s("A/one.mp3"), "One", "Band");
    const QString two = r.file(s("A/two.mp3"), "Two", "Band");
    r.file(s("three.mp3"));
    r.seek->folderList->refresh();
    SearchWindowView view(*r.seek);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_EQ(view.pos(), QPoint(20, 30));  // 300, 450 twips
    expectLegible(view);

    // The folder list: a click highlights, a double-click opens.
    QListView& folders = *view.folderList();
    const int rowA = r.seek->folderList->rowOfIndex(0);
    QTest::mouseClick(folders.viewport(), Qt::LeftButton, {}, rowCentre(folders, rowA));
    EXPECT_EQ(r.seek->folderList->listIndex(), 0);
    QTest::mouseDClick(folders.viewport(), Qt::LeftButton, {}, rowCentre(folders, rowA));
    EXPECT_EQ(r.seek->folderList->path(), r.folder(s("A")));
    EXPECT_EQ(view.fileList()->model()->rowCount(), 2);

    // A word typed as the mask narrows the file list.
    auto* mask = child<QLineEdit>(view, "txtSearchMask");
    mask->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(mask, s("tw"));
    EXPECT_EQ(child<QLineEdit>(view, "txtSearchSpec")->text(), s("*tw*.mp3"));
    EXPECT_EQ(view.fileList()->model()->rowCount(), 1);

    // The search from its button: the results panel over the criteria.
    auto* search = child<QPushButton>(view, "cmdSearch");
    QTest::mouseClick(search, Qt::LeftButton);
    EXPECT_FALSE(search->isDefault() || child<QWidget>(view, "Picture1")->isVisible());
    ListBoxView& found = *view.foundList();
    ASSERT_EQ(found.model()->rowCount(), 1);

    // Dragged: the selected file, as a file manager carries it.
    const QPoint from = rowCentre(found, 0);
    QTest::mouseClick(found.viewport(), Qt::LeftButton, {}, from);
    EXPECT_TRUE(r.seek->foundFiles->selected(0));
    QTest::mousePress(found.viewport(), Qt::LeftButton, {}, from);
    sendMouse(found.viewport(), QEvent::MouseMove, from + QPoint(0, 1));
    sendMouse(found.viewport(), QEvent::MouseMove, from + QPoint(3 * QApplication::startDragDistance(), 0));
    const QDrag* drag = found.findChild<QDrag*>();
    ASSERT_NE(drag, nullptr);
    EXPECT_EQ(drag->mimeData()->urls(), QList<QUrl>{QUrl::fromLocalFile(two)});
    QTest::mouseRelease(found.viewport(), Qt::LeftButton, {}, from);

    // With their tags: the rows take the plain list's place.
    QTest::mouseClick(child<QAbstractButton>(view, "chkReadMP3Tags"), Qt::LeftButton);
    EXPECT_FALSE(found.isVisible());
    ASSERT_TRUE(view.clipList()->isVisible());
    EXPECT_EQ(view.clipList()->model()->index(0, ColTitle).data().toString(), s("Two"));
    expectLegible(view);
    savePicture(view, s("search-view-results"));

    // Closed by its title bar: the window hides, keeping its results.
    view.close();
    EXPECT_FALSE(r.seek->isVisible() || view.isVisible());
    EXPECT_EQ(r.seek->foundRows->count(), 1);
}

}  // namespace
}  // namespace tavlo::test
