#include "playback/WindowRig.h"
#include "playlist/PlaylistModel.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {
const QString kStop = QStringLiteral("Stop");
const QString kPlay = QStringLiteral("Play");
const QString kPause = QStringLiteral("Pause");
}  // namespace

TEST(Deck, MasterVolumeSetsTheFaderInPlayByTheLevelLaw)
{
    WindowRig r;
    const QString a = r.add(QStringLiteral("a"), 300);
    r.w->btnPlay_Click();
    r.time.advance(3000);  // the ramp is over

    EXPECT_EQ(r.fader(r.incoming()), 21);
    EXPECT_EQ(r.stream(a)->volume(), -441);
    EXPECT_EQ(r.w->lblMasterVolume->text(), QStringLiteral("75%"));
    EXPECT_EQ(r.w->prgMasterVolume->value(), 75);
    EXPECT_EQ(r.w->lblVolume[static_cast<size_t>(r.incoming())]->text(), QStringLiteral("75"));

    r.w->hscVolume->setValue(0);
    EXPECT_EQ(r.fader(r.incoming()), 85);
    EXPECT_EQ(r.stream(a)->volume(), -7225);
    EXPECT_EQ(r.w->lblMasterVolume->text(), QStringLiteral("0%"));
    EXPECT_EQ(r.w->lblVolume[static_cast<size_t>(r.incoming())]->text(), QStringLiteral("0"));
    EXPECT_FALSE(r.w->hscVolume->setValue(86));  // the slider refuses it
}

TEST(Deck, SongsAreTrimmedAndHandedOverBeforeTheirTrimmedEnd)
{
    WindowRig r;
    r.w->spinCutFirst->setValue(10);
    r.w->spinCutLast->setValue(15);
    EXPECT_EQ(r.w->lblCutFirst->text(), QStringLiteral("10"));
    const QString a = r.add(QStringLiteral("a"), 200);
    const QString b = r.add(QStringLiteral("b"), 150);
    r.w->btnPlay_Click();

    EXPECT_EQ(r.stream(a)->position(), 10.0);
    r.time.advance(1000);
    EXPECT_EQ(r.w->lblTotal->text(), QStringLiteral("02:55"));
    EXPECT_EQ(r.w->lstClipList->text(1, ColLength), QStringLiteral("02:55"));
    EXPECT_EQ(r.w->lstClipList->text(1, ColTotLength), QStringLiteral("200"));
    // The time left counts to the hand-over (lead = the 1 s transition).
    EXPECT_EQ(r.w->lblTimeLeft->text(), QStringLiteral("02:53"));

    // The song change comes when the position reads 185 - 1.
    ASSERT_TRUE(r.runUntil([&] { return r.pathInPlay() == b; }));
    EXPECT_EQ(r.w->Players[static_cast<size_t>(r.outgoing())]->Position(), 184);

    // 150 s with cuts of 100 and 100 would leave nothing: it plays whole.
    r.w->spinCutFirst->setValue(100);
    r.w->spinCutLast->setValue(100);
    EXPECT_EQ(r.stream(b)->position(), 10.0);  // b was loaded with the old cuts
    r.w->btnBack_Click();                        // row 1 again, now with the new cuts
    EXPECT_EQ(r.w->songStart(), 0);
    EXPECT_EQ(r.w->songEnd(), 200);
    EXPECT_EQ(r.stream(a)->position(), 0.0);
    EXPECT_EQ(r.w->lstClipList->text(1, ColLength), QStringLiteral("03:20"));
}

TEST(Deck, TransportFollowsTheStateTable)
{
    WindowRig r;
    const QString a = r.add(QStringLiteral("a"), 300);
    const QString b = r.add(QStringLiteral("b"), 300);
    EXPECT_EQ(r.w->lblStatus->text(), kStop);

    r.w->btnPlay->press();  // stopped -> the first row starts
    EXPECT_EQ(r.w->CurrentStatus, 1);
    EXPECT_EQ(r.w->lblStatus->text(), kPlay);
    EXPECT_EQ(r.pathInPlay(), a);
    r.time.advance(5000);

    r.w->btnPlay->press();  // playing: nothing audible changes
    EXPECT_EQ(r.pathInPlay(), a);
    EXPECT_EQ(r.media.openCount(), 1);

    r.w->btnPause->press();
    EXPECT_EQ(r.w->CurrentStatus, 2);
    EXPECT_EQ(r.w->lblStatus->text(), kPause);
    EXPECT_EQ(r.stream(a)->state(), FakeStream::State::Paused);
    r.w->btnPause->press();  // pause again resumes
    EXPECT_EQ(r.w->CurrentStatus, 1);
    EXPECT_EQ(r.stream(a)->state(), FakeStream::State::Running);

    r.w->btnPause->press();
    r.w->btnNext->press();  // paused -> resumes, then the next song
    EXPECT_EQ(r.w->CurrentStatus, 1);
    EXPECT_EQ(r.pathInPlay(), b);
    EXPECT_EQ(r.stream(b)->state(), FakeStream::State::Running);
    r.time.advance(3000);

    r.w->btnStop->press();
    EXPECT_EQ(r.w->CurrentStatus, 0);
    EXPECT_EQ(r.w->lblStatus->text(), kStop);
    EXPECT_EQ(r.stream(b)->state(), FakeStream::State::Stopped);

    // Back and Next from stopped start a song but leave the status alone.
    r.w->btnBack->press();
    EXPECT_EQ(r.pathInPlay(), a);
    EXPECT_EQ(r.w->CurrentStatus, 0);
    r.w->btnPlay->press();  // from stopped: the first row again
    EXPECT_EQ(r.w->ItemPlaying, 1);
}

TEST(Deck, PositionSliderSeeksPitchAndBalanceActOnTheSongInPlay)
{
    WindowRig r;
    r.w->spinCutFirst->setValue(10);
    const QString a = r.add(QStringLiteral("a"), 200);
    r.w->btnPlay_Click();
    r.time.advance(2000);
    EXPECT_EQ(r.w->hscPosition->value(), 2);  // the tick moves it without seeking
    EXPECT_NEAR(r.stream(a)->position(), 12.0, 0.001);

    r.w->hscPosition->scrollTo(30);  // the user drags
    EXPECT_NEAR(r.stream(a)->position(), 40.0, 0.001);
    EXPECT_EQ(r.w->lblPosition->text(), QStringLiteral("00:30"));
    EXPECT_EQ(r.w->prgPosition->value(), 16);  // 30 of 190

    r.w->hscPitch->scrollTo(125);  // dragging: the label only
    EXPECT_EQ(r.w->lblPitch->text(), QStringLiteral("1.25"));
    EXPECT_DOUBLE_EQ(r.stream(a)->rate(), 1.0);
    r.w->hscPitch->release();
    EXPECT_DOUBLE_EQ(r.stream(a)->rate(), 1.25);
    r.w->hscPitch->setValue(20);
    EXPECT_EQ(r.w->lblPitch->text(), QStringLiteral("0.2"));

    r.w->hscBalance->setValue(10);
    EXPECT_EQ(r.stream(a)->balance(), 10000);
    EXPECT_EQ(r.w->lblBalance->text(), QStringLiteral("10"));
}

TEST(Deck, EndsOfTheListAndUnopenableFiles)
{
    WindowRig r;
    r.random.script = {0.9, 0.5, 0.1};  // reverses three rows
    const QString a = r.add(QStringLiteral("a"), 60);
    const QString b = r.add(QStringLiteral("b"), 60);
    const QString c = r.add(QStringLiteral("c"), 60);

    // Back on the first row: index 0 loads row 1 again.
    r.w->btnPlay_Click();
    r.w->btnBack_Click();
    EXPECT_EQ(r.w->ItemPlaying, 1);
    EXPECT_EQ(r.pathInPlay(), a);

    // Next on the last row: the list is reordered, the song in play finishes,
    // then the new first row follows.
    r.w->btnNext_Click();
    r.w->btnNext_Click();
    ASSERT_EQ(r.pathInPlay(), c);
    r.time.advance(2000);
    r.w->btnNext_Click();
    EXPECT_EQ(r.w->ItemPlaying, 0);
    EXPECT_EQ(r.pathInPlay(), c);
    EXPECT_EQ(r.w->lstClipList->text(1, ColLocation), c);
    EXPECT_EQ(r.w->lstClipList->text(1, ColAzar), QStringLiteral("000001"));
    ASSERT_TRUE(r.runUntil([&] { return r.w->ItemPlaying == 1; }));
    EXPECT_EQ(r.w->Players[static_cast<size_t>(r.outgoing())]->Position(), 59);
    EXPECT_EQ(r.pathInPlay(), c);  // row 1 of the new order is c again
    EXPECT_EQ(r.w->lstClipList->firstSelected(), 1);

    // A row whose file will not open is skipped after one position tick.
    r.w->AddFileToList(QStringLiteral("/music/gone.mp3"), 2, *r.w->lstClipList);
    r.w->btnNext_Click();
    EXPECT_EQ(r.pathInPlay(), QStringLiteral("/music/gone.mp3"));
    r.time.advance(100);
    EXPECT_EQ(r.w->ItemPlaying, 3);
    EXPECT_EQ(r.pathInPlay(), b);

    // An emptied list stops the deck at the next song change.
    r.w->mnuClear_Click();
    r.w->btnNext_Click();
    EXPECT_EQ(r.w->ItemPlaying, -1);
    EXPECT_EQ(r.w->CurrentStatus, 0);
    EXPECT_FALSE(r.w->tmrTransition().isEnabled());
}

TEST(Deck, ListEditsKeepItemPlayingOnTheSameSong)
{
    WindowRig r;
    for (int i = 1; i <= 5; ++i)
        r.add(QStringLiteral("s%1").arg(i), 300);
    PlaylistModel& list = *r.w->lstClipList;
    list.setSelected(3, true);
    r.w->mnuPlaySelectedItem_Click();
    EXPECT_EQ(r.w->ItemPlaying, 3);
    EXPECT_EQ(list.firstSelected(), 3);  // the row in play is the selected row

    r.w->AddFileToList(QStringLiteral("/music/x.mp3"), 3, list);
    EXPECT_EQ(r.w->ItemPlaying, 4);
    r.w->AddFileToList(QStringLiteral("/music/y.mp3"), 5, list);
    EXPECT_EQ(r.w->ItemPlaying, 4);
    PlaylistModel other;  // another window's list never moves ours
    r.w->AddFileToList(QStringLiteral("/music/z.mp3"), 1, other);
    EXPECT_EQ(r.w->ItemPlaying, 4);

    // Rows: s1 s2 x s3 y s4 s5; in play: s3 (4). Delete 2 and 3, then 2.
    list.setSelected(4, false);
    list.setSelected(2, true);
    list.setSelected(3, true);
    r.w->mnuDeleteSelectedItem_Click();
    EXPECT_EQ(r.w->ItemPlaying, 2);
    EXPECT_EQ(list.text(2, ColLocation), QStringLiteral("/music/s3.mp3"));
    list.setSelected(2, true);
    r.w->mnuDeleteSelectedItem_Click();  // the row in play itself
    EXPECT_EQ(r.w->ItemPlaying, 1);
    EXPECT_EQ(r.pathInPlay(), QStringLiteral("/music/s3.mp3"));  // still playing

    // Cue: the song in play stops, the selected row waits paused at master level.
    list.setSelected(3, true);  // s4
    r.w->mnuCueSelectedItem_Click();
    EXPECT_EQ(r.w->CurrentStatus, 2);
    EXPECT_EQ(r.w->ItemPlaying, 3);
    EXPECT_EQ(r.w->lblStatus->text(), kPause);
    EXPECT_EQ(r.inPlay()->state(), FakeStream::State::Paused);
    EXPECT_EQ(r.inPlay()->volume(), -441);
    EXPECT_EQ(list.firstSelected(), 3);

    // Play Selected Item with nothing selected changes no row but says Play.
    list.setSelected(3, false);
    r.w->lstClipList_KeyDown(13);
    EXPECT_EQ(r.w->ItemPlaying, 3);
    EXPECT_EQ(r.w->lblStatus->text(), kPlay);

    r.w->mnuClear_Click();
    EXPECT_EQ(r.w->ItemPlaying, 0);
    r.w->mnuShowItemInPlay_Click();  // nothing to show
    EXPECT_EQ(list.count(), 0);
}
