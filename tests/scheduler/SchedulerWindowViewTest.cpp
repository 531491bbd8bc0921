#include "scheduler/SchedulerWindowView.h"
#include "fakes/TestText.h"
#include "fakes/QtTestApp.h"
#include "fakes/ViewChecks.h"
#include "playback/WindowRig.h"
#include "playlist/PlaylistTableView.h"
#include "scheduler/EventDialog.h"
#include "scheduler/EventDialogView.h"
#include "scheduler/SchedulerOptionsDialog.h"
#include "scheduler/SchedulerOptionsDialogView.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace tavlo::test {
namespace {

using tavlo::test::s;

// The window system's answer to a dialog's activation comes as an event.
bool active(QWidget& window)
{
    return QTest::qWaitFor([&window] { return QApplication::activeWindow() == &window; });
}

TEST(SchedulerWindowView, SchedulerAndItsDialogsFollowTheLogicAndForwardTheUser)
{
    WindowRig rig(false);
    SchedulerWindow& tim = *rig.tim;
    SchedulerWindowView view(tim);
    rig.w->load();
    ASSERT_TRUE(view.isVisible());
    EXPECT_EQ(view.frameGeometry().size(), QSize(441, 204));  // 6615 x 3060 twips

    // "Options" stands on the bar as a command, not an empty menu.
    auto* optionsCommand = child<QAction>(view, "mnuOptions");
    EXPECT_EQ(optionsCommand->menu(), nullptr);

    // The options: the format label switches on a click, and the preload
    // box is left (and put right) before OK closes the dialog.
    SchedulerOptionsDialogView& options = *view.optionsView();
    optionsCommand->trigger();
    ASSERT_TRUE(options.isVisible());
    ASSERT_TRUE(active(options));
    expectLegible(options);
    auto* format = child<QLabel>(options, "lblTimeFormat");
    auto* preload = child<QLineEdit>(options, "txtPreload");
    QTest::mouseClick(format, Qt::LeftButton);
    EXPECT_EQ(format->text(), s("24hs"));
    preload->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(preload, s("x"));
    QTest::mouseClick(child<QPushButton>(options, "cmdOk"), Qt::LeftButton);
    EXPECT_EQ(std::pair(tim.optionsDialog->preloadBox->text(), options.isVisible()), std::pair(s("0"), false));

    // An event typed in the add-event dialog: two digits move on to the next box.
    QTest::mouseClick(child<QPushButton>(view, "cmdAddEvent"), Qt::LeftButton);
    EventDialogView& events = *view.eventView();
    ASSERT_TRUE(events.isVisible());
    ASSERT_TRUE(active(events));
    auto* hours = child<QLineEdit>(events, "txtTCHours(0)");
    auto* minutes = child<QLineEdit>(events, "txtTCMinutes(0)");
    hours->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(hours, s("14"));  // typing replaces the selected text
    EXPECT_EQ(QApplication::focusWidget(), minutes);
    QTest::keyClicks(minutes, s("3"));
    auto* playList = child<QLineEdit>(events, "txtPlayList");
    playList->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(playList, s("/lists/news.m3u"));
    QTest::mouseClick(child<QPushButton>(events, "cmdAddEvent"), Qt::LeftButton);
    expectLegible(events);
    QTest::keyClick(&events, Qt::Key_Escape);
    EXPECT_FALSE(tim.eventDialog->isVisible() || events.isVisible());

    PlaylistTableView& list = *view.list();
    ASSERT_EQ(list.model()->rowCount(), 1);
    EXPECT_EQ(list.model()->index(0, EvTime).data().toString() + list.model()->index(0, EvPlaylist).data().toString(),
              s("14:03:00/lists/news.m3u"));
    EXPECT_TRUE(list.isColumnHidden(Ev24hs));
    expectLegible(view);
}

}  // namespace
}  // namespace tavlo::test
