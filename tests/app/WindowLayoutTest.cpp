// Lining the three windows up and folding their panels, the manual and the about box.
#include "playback/WindowRig.h"
#include "fakes/TestText.h"

#include <gtest/gtest.h>

#include <tuple>

namespace tavlo::test {
namespace {

using Geometry = std::tuple<int, int, int, int>;
Geometry geometry(const Form& f) { return {f.left(), f.top(), f.width(), f.height()}; }
using tavlo::test::s;

TEST(LineUpWindows, StartUpAndMenuPlaceTheThreeWindowsForTheScreen)
{
    // A music window stored somewhere else is lined up all the same at start.
    WindowRig rig(false);
    const QString app = rig.w->settingsAppName();
    rig.settings.save(app, s("Window"), s("Top"), s("3000"));
    rig.settings.save(app, s("Window"), s("Height"), s("4000"));
    rig.w->load();

    // 768 pixels of screen at 15 twips each.
    EXPECT_EQ(geometry(*rig.w), Geometry(100, 100, 6615, 10520));
    EXPECT_EQ(geometry(*rig.ins), Geometry(6715, 100, 6615, 7460));
    EXPECT_EQ(std::tuple(rig.tim->left(), rig.tim->top()), std::tuple(6715, 7560));

    // Moved, minimized, then a taller screen: the menu puts everything back.
    rig.w->setGeometry(2000, 900, 9000, 3000);
    rig.w->setWindowState(Form::WindowState::Minimized);
    rig.ins->setWindowState(Form::WindowState::Maximized);
    rig.tim->setGeometry(0, 0, 5000, 2000);
    rig.screen.setAvailableTwips(QSize(28800, 16200));
    rig.w->lineUpWindowsItem->click();
    const auto all = [&] { return std::tuple(geometry(*rig.w), geometry(*rig.ins), geometry(*rig.tim)); };
    // The scheduler's size is its own.
    const auto tall = std::tuple(Geometry(100, 100, 6615, 15200), Geometry(6715, 100, 6615, 12140),
                                 Geometry(6715, 12240, 5000, 2000));
    EXPECT_EQ(all(), tall);
    for (const Form* f : {static_cast<Form*>(rig.w), static_cast<Form*>(rig.ins), static_cast<Form*>(rig.tim)})
        EXPECT_EQ(f->windowState(), Form::WindowState::Normal) << f->objectName().toStdString();

    // A screen lower than the margins: the heights it cannot give stay, the
    // places are still set, and the windows go on working.
    rig.screen.setAvailableTwips(QSize(6000, 900));
    rig.w->lineUpWindowsItem->click();
    EXPECT_EQ(all(), tall);
    rig.w->showOptionsButton->press();
    EXPECT_EQ(rig.w->showOptionsButton->caption(), s(">>"));
}

using Panes = std::tuple<int, int, int, int, int, int, int>;
Panes panes(const PlayerWindow& w)
{
    const PlayerLayout& l = w.layout();
    return {l.listLeft, l.listTop, l.listWidth, l.listHeight, l.panelTop, l.panelHeight, l.progressTop};
}

TEST(PlayerLayout, ListPanelAndProgressFollowTheSizeAndTheFold)
{
    WindowRig rig;  // lined up on 768 pixels
    // The list ends where the panel starts, 1000 twips above the bottom edge.
    EXPECT_EQ(panes(*rig.w), Panes(120, 0, 6375, 5185, 5185, 4335, 9690));
    EXPECT_EQ(panes(*rig.ins), Panes(120, 840, 6375, 1285, 2125, 4335, 6630));

    // Folding gives the list the room; twice is back where it was.
    rig.ins->showOptionsButton->press();
    EXPECT_EQ(panes(*rig.ins), Panes(120, 840, 6375, 3205, 4045, 2415, 6630));
    EXPECT_EQ(std::tuple(rig.ins->showOptionsButton->caption(), rig.ins->showOptionsTop()), std::tuple(s(">>"), 143.0f));
    rig.ins->showOptionsButton->press();
    EXPECT_EQ(panes(*rig.ins), Panes(120, 840, 6375, 1285, 2125, 4335, 6630));
    EXPECT_EQ(std::tuple(rig.ins->showOptionsButton->caption(), rig.ins->showOptionsTop()), std::tuple(s("<<"), 270.0f));

    // The frame's borders are not the list's; a user's resize lays out again.
    rig.w->setFrameWidth(120);
    rig.w->setGeometry(100, 100, 9000, 12000);
    EXPECT_EQ(panes(*rig.w), Panes(120, 0, 8640, 6665, 6665, 4335, 11170));

    // Smaller than the margins: the sizes it cannot take stay, the places
    // still follow, and it recovers when enlarged.
    rig.w->setGeometry(100, 100, 200, 3000);
    EXPECT_EQ(panes(*rig.w), Panes(120, 0, 8640, 6665, -2335, 4335, 2170));
    rig.w->showOptionsButton->press();
    EXPECT_EQ(panes(*rig.w), Panes(120, 0, 8640, 6665, -415, 2415, 2170));
    rig.w->setGeometry(100, 100, 6615, 10520);
    EXPECT_EQ(panes(*rig.w), Panes(120, 0, 6255, 7105, 7105, 2415, 9690));
}

TEST(AboutBoxLink, OpensFromEveryWindowWithTheVersionAndOnlyTheLinksItHas)
{
    WindowRig rig;
    AboutBox& about = rig.about;
    for (MenuItem* item : {rig.w->aboutItem, rig.ins->aboutItem, rig.tim->aboutMenuItem}) {
        about.versionLabel->setText(s("Version"));
        item->click();
        EXPECT_TRUE(about.isVisible());
        EXPECT_EQ(std::tuple(about.versionLabel->text(), about.productLabel->text()), std::tuple(s("Version 3.70"), s("tavlo Broadcast 3.70")));
        about.okButton->press();
        EXPECT_FALSE(about.isVisible());
    }
    // This build names no maker's addresses: no links to show or follow.
    EXPECT_FALSE(about.emailLabel->isVisible() || about.websiteLabel->isVisible());
    about.emailLabel->click();
    about.websiteLabel->click();
    // Help opens the manual from both player windows.
    rig.w->onlineHelpItem->click();
    rig.ins->onlineHelpItem->click();
    EXPECT_EQ(rig.shell.opened, QStringList({s("manual"), s("manual")}));

    // A build that names them shows them and hands them to the desktop.
    AboutBox named(rig.shell, rig.screen, {3, 7, 0}, {s("desk@example.org"), s("https://example.org/tavlo")});
    named.open();
    EXPECT_TRUE(named.emailLabel->isVisible() && named.websiteLabel->isVisible());
    named.emailLabel->click();
    named.websiteLabel->click();
    EXPECT_EQ(rig.shell.opened.mid(2), QStringList({s("mailto:desk@example.org"), s("https://example.org/tavlo")}));
}

}  // namespace
}  // namespace tavlo::test
