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
