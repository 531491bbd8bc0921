// The about box and the lined-up windows on the desktop.
#include "app/frmAboutView.h"
#include "fakes/QtTestApp.h"
#include "playback/PlayerWindowView.h"
#include "playback/WindowRig.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

TEST(frmAboutView, OpensFromTheMenuShowsTheVersionAndFollowsItsLinks)
{
    WindowRig r;
    frmAboutView view(r.about);
    auto* version = view.findChild<QLabel*>(QStringLiteral("lblVersion"));
    auto* mail = view.findChild<QLabel*>(QStringLiteral("Label2"));
    auto* ok = view.findChild<QPushButton*>(QStringLiteral("cmdOK"));
    ASSERT_TRUE(version && mail && ok);

    r.tim->mnuAbout->click();
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(version->text(), QStringLiteral("Version 3.70"));
    EXPECT_FALSE(mail->isVisible());  // this build names no address
    ok->click();
    EXPECT_FALSE(view.isVisible());

    frmAbout named(r.shell, r.screen, {3, 7, 0}, {QStringLiteral("desk@example.org"), QString()});
    frmAboutView namedView(named);
    named.open();
    auto* link = namedView.findChild<QLabel*>(QStringLiteral("Label2"));
    ASSERT_TRUE(link);
    EXPECT_TRUE(link->isVisible());
    EXPECT_FALSE(namedView.findChild<QLabel*>(QStringLiteral("Label5"))->isVisible());
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
