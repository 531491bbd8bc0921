// The about box on the desktop.
#include "app/AboutBoxView.h"
#include "fakes/QtTestApp.h"
#include "fakes/ViewChecks.h"
#include "playback/WindowRig.h"

#include <QLabel>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

// The window logic's about box is tested on its own; here the view shows
// what it holds and a click on a link reaches the desktop.
TEST(AboutBoxView, ShowsTheVersionAndFollowsItsLinks)
{
    WindowRig r;
    AboutBox named(r.shell, r.screen, {3, 7, 0}, {QStringLiteral("desk@example.org"), QString()});
    AboutBoxView view(named);
    named.open();
    auto* link = child<QLabel>(view, "Label2");
    EXPECT_EQ(child<QLabel>(view, "lblVersion")->text(), QStringLiteral("Version 3.70"));
    EXPECT_TRUE(link->isVisible() && !child<QLabel>(view, "Label5")->isVisible());
    sendMouse(link, QEvent::MouseButtonPress, QPoint(2, 2));
    sendMouse(link, QEvent::MouseButtonRelease, QPoint(2, 2));
    EXPECT_EQ(r.shell.opened, QStringList{QStringLiteral("mailto:desk@example.org")});
}
