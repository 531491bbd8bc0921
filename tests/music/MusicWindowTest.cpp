#include "playback/WindowRig.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

// (A playlist on the command line is the program test's own first step; the
// song's report is the playing-now report's tests'.)
TEST(MusicWindow, PlaysItsCommandLineFile)
{
    WindowRig r(false);
    const QString path = QStringLiteral("/music/My Songs/Song One.mp3");
    r.media.addFile(path, 200);
    r.station.setCommandLine(QStringLiteral("\"/music/My Songs/Song\" One.mp3\""), QString());  // every quote goes
    r.station.start();
    EXPECT_EQ(r.w->clipList->text(1, ColTitle), QStringLiteral("Song One"));
    EXPECT_EQ(r.stream(path)->state(), FakeStream::State::Running);
}

// Options > Start With The Desktop: the check is whatever the desktop's
// autostart says, also after the desktop's own settings changed it.
TEST(MusicWindow, StartWithTheDesktopShowsTheAutostartAndSaysWhyItCannot)
{
    WindowRig r;
    MenuItem& item = *r.w->startWithDesktopItem;
    QStringList told;
    QObject::connect(r.w, &PlayerWindow::notice, [&](const QString& text) { told << text; });
    EXPECT_FALSE(item.checked());
    item.click();
    EXPECT_TRUE(r.autostart.enabled && item.checked());
    r.autostart.enabled = false;  // removed by the desktop's settings
    r.w->optionsMenu->click();    // the menu opens
    EXPECT_FALSE(item.checked());

    // A change that fails leaves the check as it was and is said once, where the operator looks.
    r.autostart.failure = QStringLiteral("Tavlo cannot start with the desktop: disk full");
    item.click();
    EXPECT_FALSE(item.checked());
    EXPECT_EQ(told, QStringList{r.autostart.failure});
    EXPECT_EQ(r.w->statusBar->panelText(1), r.autostart.failure);
}
