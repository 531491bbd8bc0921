#include "playback/WindowRig.h"

#include <QFile>
#include <QTemporaryDir>

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

TEST(frmPlayer, StartsWithFirstRunSettingsStoppedAndFindableByName)
{
    WindowRig r(false);
    r.mixer.setMicMute(true);
    r.w->Form_Load();
    frmPlayer& w = *r.w;

    EXPECT_EQ(w.caption(), QStringLiteral("TAVLO Broadcast Music"));
    EXPECT_EQ(w.lblTransitionTime->text(), QStringLiteral("1"));
    EXPECT_EQ(r.fader(0), 21);  // channel in play at the master level 64
    EXPECT_EQ(r.fader(1), 85);
    EXPECT_EQ(w.lblMasterVolume->text(), QStringLiteral("75%"));
    EXPECT_EQ(w.lblStatus->text(), QStringLiteral("Stop"));
    EXPECT_EQ(w.StatusBar1->panelText(2), frmPlayer::idleText());
    EXPECT_EQ(w.strLogPath, QStringLiteral("/opt/tavlo/"));
    EXPECT_TRUE(r.media.streams().empty());

    // Ticked means the line is on: MIC (muted on the card) is not, Line is.
    EXPECT_EQ(w.chkMicMute->value(), 0);
    EXPECT_EQ(w.chkLinMute->value(), 1);
    w.chkLinMute->setValue(0);
    EXPECT_TRUE(r.mixer.lineMute());
    EXPECT_EQ(w.chkLinMute->backColour(), Colour(kDarkRed));

    for (const char* name : {"btnPlay", "vscVolume(1)", "optTransition(4)", "lstClipList", "mnuClear", "mnuWriteLog",
                             "mnuLineUpWindows", "cmdShowPlayer2", "StatusBar1", "spinTransitionTime"})
        EXPECT_NE(w.findChild<QObject*>(QLatin1String(name)), nullptr) << name;
}

TEST(frmPlayer, PlaysItsCommandLineFileAndReportsTheSong)
{
    WindowRig r(false);
    RecordingSongInfo songInfo;
    r.w->setSongInfoSink(songInfo);
    const QString path = QStringLiteral("/music/My Songs/Song One.mp3");
    r.media.addFile(path, 200);
    QStringList started;
    QObject::connect(r.w.get(), &PlayerWindow::songStarted, [&](const QString& p) { started << p; });

    r.w->setCommandLine(QStringLiteral("\"/music/My Songs/Song\" One.mp3\""));  // every quote goes
    r.w->Form_Load();
    EXPECT_EQ(r.w->lstClipList->text(1, ColTitle), QStringLiteral("Song One"));
    EXPECT_EQ(r.stream(path)->state(), FakeStream::State::Running);
    EXPECT_EQ(started, QStringList{path});
    EXPECT_EQ(songInfo.sent, QStringList{QStringLiteral("Song One|||200|Song One.mp3")});
}

TEST(frmPlayer, PlaysAPlaylistGivenOnTheCommandLine)
{
    WindowRig r(false);
    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("Morning Show.m3u"));
    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#EXTM3U\r\n/music/one.mp3\r\n/music/two.mp3\r\n");
    file.close();
    r.media.addFile(QStringLiteral("/music/one.mp3"), 120);
    r.media.addFile(QStringLiteral("/music/two.mp3"), 120);

    r.w->setCommandLine(QLatin1Char('"') + list + QLatin1Char('"'));
    r.w->Form_Load();
    EXPECT_EQ(r.w->lstClipList->count(), 2);
    EXPECT_EQ(r.pathInPlay(), QStringLiteral("/music/one.mp3"));
    EXPECT_EQ(r.w->CurrentStatus, 1);
    EXPECT_EQ(r.w->StatusBar1->panelText(2), frmPlayer::idleText());
}

TEST(frmPlayer, OpenAddsTheChosenMediaFilesAndClosingAsks)
{
    WindowRig r;
    r.dialogs.filesToOpen = {QStringLiteral("/music/a.mp3"), QStringLiteral("/music/list.M3U"),
                             QStringLiteral("/music/b.m3u8")};
    r.w->mnuOpen->click();
    ASSERT_EQ(r.w->lstClipList->count(), 2);  // a missing playlist adds nothing; .m3u8 is media
    EXPECT_EQ(r.w->lstClipList->text(2, ColLocation), QStringLiteral("/music/b.m3u8"));

    bool ended = false;
    QObject::connect(r.w.get(), &frmPlayer::programEndRequested, [&] { ended = true; });
    int cancel = 0;
    r.w->Form_Unload(cancel);  // No
    EXPECT_EQ(cancel, 1);
    EXPECT_EQ(r.dialogs.asked, QStringList{QStringLiteral("TAVLO Broadcast: Exit Program ?")});
    r.dialogs.answerYes = true;
    cancel = 0;
    r.w->Form_Unload(cancel);
    EXPECT_EQ(cancel, 0);
    EXPECT_TRUE(ended);
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
