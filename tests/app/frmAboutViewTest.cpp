// The about box and the lined-up windows on the desktop.
#include "app/frmAboutView.h"
#include "fakes/QtTestApp.h"
#include "playback/PlayerWindowView.h"
#include "playback/WindowRig.h"

#include <QLabel>
#include <QMouseEvent>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

// The window logic's about box is tested on its own; here the view shows
// what it holds and a click on a link reaches the desktop.
TEST(frmAboutView, ShowsTheVersionAndFollowsItsLinks)
{
    WindowRig r;
    frmAbout named(r.shell, r.screen, {3, 7, 0}, {QStringLiteral("desk@example.org"), QString()});
    frmAboutView view(named);
    named.open();
    auto* link = view.findChild<QLabel*>(QStringLiteral("Label2"));
    ASSERT_TRUE(link);
    EXPECT_EQ(view.findChild<QLabel*>(QStringLiteral("lblVersion"))->text(), QStringLiteral("Version 3.70"));
    EXPECT_TRUE(link->isVisible());
    EXPECT_FALSE(view.findChild<QLabel*>(QStringLiteral("Label5"))->isVisible());
    const QPointF at(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, link->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, link->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(link, &press);
    QApplication::sendEvent(link, &release);
    EXPECT_EQ(r.shell.opened, QStringList{QStringLiteral("mailto:desk@example.org")});
}

TEST(frmAboutView, LinedUpMusicWindowTakesItsPlaceOnTheDesktop)
{
    WindowRig r;
    PlayerWindowView music(*r.w);
    music.show();
    r.w->setGeometry(3000, 3000, 9000, 4500);
    r.w->mnuLineUpWindows->click();
    const int perPixel = 1440 / music.logicalDpiY();
    EXPECT_EQ(music.pos(), QPoint(100 / perPixel, 100 / perPixel));
    EXPECT_EQ(music.frameGeometry().size(), QSize(6615 / perPixel, 10520 / perPixel));  // frame included
}
