#include "scheduler/frmTimingView.h"
#include "fakes/QtTestApp.h"
#include "fakes/ViewChecks.h"
#include "playback/WindowRig.h"
#include "playlist/PlaylistTableView.h"
#include "scheduler/frmEvent.h"
#include "scheduler/frmEventView.h"
#include "scheduler/frmOptions.h"
#include "scheduler/frmOptionsView.h"

#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace tavlo::test {
namespace {

QString s(const char* text) { return QString::fromLatin1(text); }

void save(QWidget& view, const char* picture)
{
    const QString dir = s(TAVLO_TEST_OUTPUT_DIR);
    QDir().mkpath(dir);
    EXPECT_TRUE(view.grab().save(dir + QLatin1Char('/') + s(picture) + s(".png")));
}

// The window system's answer to a dialog's activation comes as an event.
bool active(QWidget& window)
{
    return QTest::qWaitFor([&window] { return QApplication::activeWindow() == &window; });
}

template <typename T>
T* child(QWidget& window, const char* name)
{
    T* w = window.findChild<T*>(s(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

TEST(frmTimingView, SchedulerAndItsDialogsFollowTheLogicAndForwardTheUser)
{
    WindowRig rig(false);
    frmTiming& tim = *rig.tim;
    frmTimingView view(tim);
    rig.w->Form_Load();
    ASSERT_TRUE(view.isVisible());
    EXPECT_EQ(view.frameGeometry().size(), QSize(441, 204));  // 6615 x 3060 twips

    // "Options" stands on the bar as a command, not an empty menu.
    auto* optionsCommand = child<QAction>(view, "mnuOptions");
    ASSERT_TRUE(optionsCommand);
    EXPECT_EQ(optionsCommand->menu(), nullptr);
    auto* clock = child<QLabel>(view, "lblTimeNow");
    ASSERT_TRUE(clock);
    EXPECT_TRUE(clock->font().bold());
    EXPECT_GT(clock->font().pointSizeF(), child<QPushButton>(view, "cmdOpenList")->font().pointSizeF());
    expectLegible(view);

    // The options: the format label switches on a click, and leaving the
    // preload box for OK puts a text that is no number right first.
    frmOptionsView& options = *view.optionsView();
    optionsCommand->trigger();
    ASSERT_TRUE(options.isVisible());
    ASSERT_TRUE(active(options));
    expectLegible(options);
    auto* format = child<QLabel>(options, "lblTimeFormat");
    auto* preload = child<QLineEdit>(options, "txtPreload");
    ASSERT_TRUE(format && preload);
    QTest::mouseClick(format, Qt::LeftButton);
    EXPECT_EQ(format->text(), s("24hs"));
    preload->setFocus(Qt::MouseFocusReason);
    EXPECT_TRUE(tim.OptionsForm->txtPreload->hasFocus());
    QTest::keyClicks(preload, s("x"));
    QTest::mouseClick(child<QPushButton>(options, "cmdOk"), Qt::LeftButton);
    EXPECT_EQ(tim.OptionsForm->txtPreload->text(), s("0"));
    EXPECT_FALSE(options.isVisible());

    // An event typed in the add-event dialog: two digits move on to the next box.
    QTest::mouseClick(child<QPushButton>(view, "cmdAddEvent"), Qt::LeftButton);
    frmEventView& events = *view.eventView();
    ASSERT_TRUE(events.isVisible());
    ASSERT_TRUE(active(events));
    auto* hours = child<QLineEdit>(events, "txtTCHours(0)");
    auto* minutes = child<QLineEdit>(events, "txtTCMinutes(0)");
    ASSERT_TRUE(hours && minutes);
    EXPECT_FALSE(child<QLabel>(events, "lblAMPM")->isVisible());  // the 24-hour format
    hours->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(hours->selectedText(), hours->text());  // typing replaces it
    QTest::keyClicks(hours, s("14"));
    EXPECT_EQ(QApplication::focusWidget(), minutes);
    EXPECT_EQ(minutes->selectedText(), s("00"));
    QTest::keyClicks(minutes, s("3"));
    auto* playList = child<QLineEdit>(events, "txtPlayList");
    playList->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(playList, s("/lists/news.m3u"));
    QTest::mouseClick(child<QPushButton>(events, "cmdAddEvent"), Qt::LeftButton);
    expectLegible(events);
    QTest::keyClick(&events, Qt::Key_Escape);
    EXPECT_FALSE(tim.EventForm->isVisible());
    EXPECT_FALSE(events.isVisible());

    PlaylistTableView& list = *view.list();
    ASSERT_EQ(list.model()->rowCount(), 1);
    EXPECT_EQ(list.model()->index(0, EvTime).data().toString(), s("14:03:00"));
    EXPECT_EQ(list.model()->index(0, EvPlaylist).data().toString(), s("/lists/news.m3u"));
    EXPECT_EQ(list.model()->index(0, EvWindow).data().toString(), s("Music"));
    EXPECT_TRUE(list.isColumnHidden(Ev24hs));
    expectLegible(view);
    save(view, "scheduler-view");
}

}  // namespace
}  // namespace tavlo::test
