#include "playback/WindowRig.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

struct RecordingSongInfo : SongInfoSink {
    void sendSongInfo(const QString& title, const QString& artist, const QString& album, int seconds,
                      const QString& fileName) override
    {
        sent << QStringList{title, artist, album, QString::number(seconds), fileName}.join(QLatin1Char('|'));
    }
    QStringList sent;
};

}  // namespace

// (A playlist on the command line is the program test's own first step.)
TEST(frmPlayer, PlaysItsCommandLineFileAndReportsTheSong)
{
    WindowRig r(false);
    RecordingSongInfo songInfo;
    r.w->setSongInfoSink(songInfo);
    const QString path = QStringLiteral("/music/My Songs/Song One.mp3");
    r.media.addFile(path, 200);
    r.w->setCommandLine(QStringLiteral("\"/music/My Songs/Song\" One.mp3\""));  // every quote goes
    r.w->Form_Load();
    EXPECT_EQ(r.w->lstClipList->text(1, ColTitle), QStringLiteral("Song One"));
    EXPECT_EQ(r.stream(path)->state(), FakeStream::State::Running);
    EXPECT_EQ(songInfo.sent, QStringList{QStringLiteral("Song One|||200|Song One.mp3")});
}
