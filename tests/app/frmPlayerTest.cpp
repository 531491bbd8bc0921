#include "playback/WindowRig.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

struct ScriptedInsertWindow : InsertWindowLink {
    int InsertReady() const override { return ready; }
    void pressInsertNow() override { ++pressed; }
    void setCountDownText(const QString& text) override { countDown = text; }
    int ready = 0;
    int pressed = 0;
    QString countDown;
};

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

TEST(frmPlayer, AWaitingInsertTakesTheSongEndAndARunningOneHoldsIt)
{
    WindowRig r;
    ScriptedInsertWindow insert;
    r.w->setInsertWindow(insert);
    const QString a = r.add(QStringLiteral("a"), 30);
    const QString b = r.add(QStringLiteral("b"), 30);
    r.w->btnPlay_Click();

    insert.ready = 1;
    r.time.advance(1000);
    EXPECT_EQ(insert.countDown, QStringLiteral("00:28"));
    ASSERT_TRUE(r.runUntil([&] { return insert.pressed > 0; }));
    EXPECT_EQ(r.w->ItemPlaying, 1);  // row 2 waits for the music's return

    insert.ready = 2;
    r.time.advance(5000);
    EXPECT_EQ(insert.pressed, 1);
    EXPECT_EQ(r.pathInPlay(), a);
    insert.ready = 0;
    r.time.advance(100);
    EXPECT_EQ(r.pathInPlay(), b);
}
