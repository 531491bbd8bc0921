#include "playback/WindowRig.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

class ScriptedInsertWindow : public InsertWindowLink {
public:
    int InsertReady() const override { return ready; }
    void pressInsertNow() override { ++pressed; }
    void setCountDownText(const QString& text) override { countDown = text; }
    int ready = 0;
    int pressed = 0;
    QString countDown;
};

class RecordingSongInfo : public SongInfoSink {
public:
    void sendSongInfo(const QString& title, const QString& artist, const QString& album, int seconds,
                      const QString& fileName) override
    {
        sent.append(QStringList{title, artist, album, QString::number(seconds), fileName}.join(QLatin1Char('|')));
    }
    QStringList sent;
};

}  // namespace

TEST(frmPlayer, StartsWithFirstRunSettingsAndStopped)
{
    WindowRig r(false);
    r.mixer.setMicMute(true);
    r.w->Form_Load();
    frmPlayer& w = *r.w;

    EXPECT_EQ(w.caption(), QStringLiteral("TAVLO Broadcast Music"));
    EXPECT_EQ(w.TransitionTime, 1);
    EXPECT_EQ(w.lblTransitionTime->text(), QStringLiteral("1"));
    EXPECT_EQ(w.timeLeftLead(), 1);
    EXPECT_EQ(w.optTransition[0]->value(), 1);
    EXPECT_EQ(r.fader(0), 21);  // the master volume set it
    EXPECT_EQ(r.fader(1), 85);
    EXPECT_EQ(w.hscVolume->value(), 64);
    EXPECT_EQ(w.lblMasterVolume->text(), QStringLiteral("75%"));
    EXPECT_EQ(w.lblStatus->text(), QStringLiteral("Stop"));
    EXPECT_TRUE(w.lblStatus->bold());
    EXPECT_EQ(w.StatusBar1->panelCount(), 2);
    EXPECT_EQ(w.StatusBar1->panelText(2), frmPlayer::idleText());
    EXPECT_EQ(w.strLogPath, QStringLiteral("/opt/tavlo/"));
    EXPECT_FALSE(w.tmrPosition().isEnabled());
    EXPECT_TRUE(r.media.streams().empty());

    // MIC muted on the card: unticked, and left as it was; Line on: ticked, red.
    EXPECT_EQ(w.chkMicMute->value(), 0);
    EXPECT_TRUE(r.mixer.micMute());
    EXPECT_EQ(w.chkLinMute->value(), 1);
    EXPECT_EQ(w.chkLinMute->backColour(), Colour(kPureRed));
    w.chkLinMute->setValue(0);
    EXPECT_TRUE(r.mixer.lineMute());
    EXPECT_EQ(w.chkLinMute->backColour(), Colour(kDarkRed));

    // The view finds every control by the name the system gives it.
    for (const char* name : {"btnPlay", "vscVolume(1)", "optTransition(4)", "lstClipList", "mnuClear", "mnuWriteLog",
                             "mnuLineUpWindows", "cmdShowPlayer2", "StatusBar1", "spinTransitionTime"})
        EXPECT_NE(w.findChild<QObject*>(QLatin1String(name)), nullptr) << name;
}

TEST(frmPlayer, PlaysTheFileOnItsCommandLineAndReportsEverySong)
{
    WindowRig r(false);
    RecordingSongInfo songInfo;
    r.w->setSongInfoSink(songInfo);
    const QString path = QStringLiteral("/music/My Songs/Song One.mp3");
    r.media.addFile(path, 200);
    QStringList started;
    QObject::connect(r.w.get(), &PlayerWindow::songStarted, [&](const QString& p) { started.append(p); });

    r.w->setCommandLine(QStringLiteral("\"/music/My Songs/Song\" One.mp3\""));
    r.w->Form_Load();

    EXPECT_EQ(r.w->lstClipList->count(), 1);
    EXPECT_EQ(r.w->lstClipList->text(1, ColTitle), QStringLiteral("Song One"));
    EXPECT_EQ(r.w->CurrentStatus, 1);
    EXPECT_EQ(r.stream(path)->state(), FakeStream::State::Running);
    EXPECT_EQ(started, QStringList{path});
    EXPECT_EQ(songInfo.sent, QStringList{QStringLiteral("Song One|||200|Song One.mp3")});
}

TEST(frmPlayer, OpenAddsEveryChosenMediaFileAndClosingAsks)
{
    WindowRig r;
    r.dialogs.filesToOpen = {QStringLiteral("/music/a.mp3"), QStringLiteral("/music/b.wav"),
                             QStringLiteral("/music/list.M3U")};
    r.w->mnuOpen->click();
    EXPECT_EQ(r.dialogs.lastFilter, QStringLiteral("M3U PlayList (*.M3U);;Media File (*.mp3 *.wav);;Anything (*)"));
    ASSERT_EQ(r.w->lstClipList->count(), 2);  // the playlist is not a row
    EXPECT_EQ(r.w->lstClipList->text(2, ColLocation), QStringLiteral("/music/b.wav"));
    r.w->OpenFile(QStringLiteral("/music/c.m3u8"));  // not a playlist
    EXPECT_EQ(r.w->lstClipList->count(), 3);

    bool ended = false;
    QObject::connect(r.w.get(), &frmPlayer::programEndRequested, [&] { ended = true; });
    int cancel = 0;
    r.dialogs.answerYes = false;
    r.w->Form_Unload(cancel);
    EXPECT_EQ(cancel, 1);
    EXPECT_FALSE(ended);
    EXPECT_EQ(r.dialogs.asked, QStringList{QStringLiteral("TAVLO Broadcast: Exit Program ?")});
    cancel = 0;
    r.dialogs.answerYes = true;
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
    EXPECT_EQ(insert.countDown, r.w->lblTimeLeft->text());
    EXPECT_EQ(insert.countDown, QStringLiteral("00:28"));
    ASSERT_TRUE(r.runUntil([&] { return insert.pressed > 0; }));
    EXPECT_EQ(r.w->ItemPlaying, 1);  // the next row waits for the music's return
    EXPECT_EQ(r.pathInPlay(), a);

    insert.ready = 2;  // insert under way: the song end holds
    r.time.advance(5000);
    EXPECT_EQ(insert.pressed, 1);
    EXPECT_EQ(r.w->ItemPlaying, 1);
    EXPECT_EQ(r.pathInPlay(), a);

    insert.ready = 0;
    r.time.advance(100);
    EXPECT_EQ(r.pathInPlay(), b);
}

TEST(frmPlayer, LogSwitchFollowsItsMenuItem)
{
    WindowRig r;
    EXPECT_FALSE(r.w->mnuWriteLog->checked());
    r.w->mnuWriteLog->click();
    EXPECT_TRUE(r.w->mnuWriteLog->checked());
    EXPECT_TRUE(r.w->logSwitch());
    r.w->mnuWriteLog->click();
    EXPECT_FALSE(r.w->logSwitch());
}
