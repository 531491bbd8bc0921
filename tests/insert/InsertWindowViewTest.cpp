#include "insert/InsertWindowView.h"
#include "fakes/TestText.h"
#include "insert/InsertWindow.h"
#include "fakes/QtTestApp.h"
#include "fakes/ViewChecks.h"
#include "insert/InsertRig.h"
#include "playlist/PlaylistTableView.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace tavlo::test {
namespace {

using tavlo::test::s;

// A layout change reaches the window in steps, each posted by the one before.
void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

TEST(InsertWindowView, InsertWindowReadsWellThroughABreak)
{
    // Wired as the program wires the two windows: the music window's start
    // loads and shows the insert window.
    WindowRig rig(false);
    InsertWindow& insert = *rig.ins;
    InsertWindowView view(insert);
    rig.w->load();
    rig.tim->setPreloadTime(5);
    ASSERT_TRUE(insert.isLoaded());
    EXPECT_TRUE(view.isVisible());
    for (const char* title : {"Station Call", "Jingle Long Version", "Weather Sponsor"})
        rig.addInsert(s(title), 30);

    // Lined up on a screen 768 pixels high.
    insert.setGeometry(6615, 0, 6615, 10520);
    settle();
    ASSERT_EQ(view.frameGeometry().size(), QSize(441, 701));
    auto* prepare = child<QAbstractButton>(view, "prepareInsertButton");
    auto* abort = child<QAbstractButton>(view, "abortButton");
    auto* ready = child<QLabel>(view, "readyLabel");
    auto* count = child<QLabel>(view, "countDownLabel(0)");
    auto* status = child<QLabel>(view, "statusLabel");
    expectLegible(view);
    savePicture(view, s("insert-view"));
    const QList<QWidget*> steady{count, abort, ready, prepare, view.list()};
    QList<QRect> before;
    for (const QWidget* w : steady)
        before << placeIn(view, w);

    // A prepared break: READY and ABORT come up and the preload counts down,
    // large and bold, with nothing moving around it.
    prepare->click();
    rig.time.advance(1000);
    settle();
    EXPECT_TRUE(ready->isVisible() && abort->isVisible());
    EXPECT_EQ(count->text(), s("4"));
    EXPECT_GE(count->font().pointSizeF(), 2 * status->font().pointSizeF());
    expectLegible(view);
    savePicture(view, s("insert-view-countdown"));
    // The music's time left while a break waits for its song, and the longest count.
    for (const char* text : {"-00:-00", "32767", "4"}) {
        insert.link().showMusicTimeLeft(s(text));
        settle();
        for (int i = 0; i < steady.size(); ++i)
            EXPECT_EQ(placeIn(view, steady[i]), before[i]) << steady[i]->objectName().toStdString() << " moved at "
                                                           << text;
        expectLegible(view);
    }

    // ABORT takes the display away again.
    abort->click();
    settle();
    EXPECT_FALSE(ready->isVisible() || abort->isVisible());
}

}  // namespace
}  // namespace tavlo::test
