#include "playback/WindowRig.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace tavlo;
using namespace tavlo::test;

TEST(Deck, LevelsTrimmingAndTheHandOverPoint)
{
    WindowRig r;
    r.w->cutFirstSpinner->setValue(10);
    r.w->cutLastSpinner->setValue(15);
    const QString a = r.add(QStringLiteral("a"), 200);
    const QString b = r.add(QStringLiteral("b"), 150);
    r.w->play();
    EXPECT_EQ(r.stream(a)->position(), 10.0);
    r.time.advance(1000);  // the 1 s ramp is over
    EXPECT_EQ(std::pair(r.w->songLengthLabel->text(), r.w->timeLeftLabel->text()),
              std::pair(QStringLiteral("02:55"), QStringLiteral("02:53")));  // to the hand-over, 1 s early

    // The master level reaches the channel in play: fader, player, label.
    EXPECT_EQ(std::tuple(r.fader(r.w->channelInPlay()), r.stream(a)->volume(), r.w->masterVolumeLabel->text()),
              std::tuple(21, -441, QStringLiteral("75%")));  // master 64, -4.41 dB

    // The change starts when the position reads 185 - 1.
    ASSERT_TRUE(r.runUntil([&] { return r.pathInPlay() == b; }));
    EXPECT_EQ(r.w->playerIn(static_cast<size_t>(r.outgoing()))->position(), 184);
}

TEST(Deck, PauseAndASongChangeWhilePaused)
{
    WindowRig r;
    r.w->cutFirstSpinner->setValue(5);
    const QString a = r.add(QStringLiteral("a"), 300);
    const QString b = r.add(QStringLiteral("b"), 300);
    const QString c = r.add(QStringLiteral("c"), 300);
    auto state = [&](const QString& p) { return r.stream(p)->state(); };

    r.w->playButton->press();
    r.time.advance(3000);  // past the first ramp

    // A song change while paused cues the new song at its trimmed start and
    // the master level; the old one stays paused and silent.
    r.w->pauseButton->press();
    r.w->clipList->selectOnly(2);
    r.w->playSelected();
    r.time.advance(10000);
    EXPECT_EQ(std::tuple(state(b), r.stream(b)->position(), r.stream(b)->volume()),
              std::tuple(FakeStream::State::Paused, 5.0, -441));
    EXPECT_EQ(std::pair(state(a), r.stream(a)->volume()), std::pair(FakeStream::State::Paused, -7225));
    EXPECT_FALSE(r.w->rampTimer().isEnabled());

    r.w->nextButton->press();  // resumes, then changes
    EXPECT_EQ(std::pair(r.w->status(), state(c)), std::pair(DeckStatus::Playing, FakeStream::State::Running));
}

TEST(Deck, EndsOfTheListAndUnopenableFiles)
{
    WindowRig r;
    r.random.script = {0.9, 0.5, 0.1};  // reverses three rows
    r.add(QStringLiteral("a"), 60);
    const QString b = r.add(QStringLiteral("b"), 60);
    const QString c = r.add(QStringLiteral("c"), 60);
    r.w->play();
    r.w->back();  // index 0 loads row 1
    EXPECT_EQ(r.w->rowInPlay(), 1);

    // Next on the last row reorders; the song in play finishes first.
    for (int i = 0; i < 3; ++i)
        r.w->next();
    ASSERT_TRUE(r.runUntil([&] { return r.w->rowInPlay() == 1; }));
    // c is row 1 of the new order.
    EXPECT_EQ(std::pair(r.w->playerIn(static_cast<size_t>(r.outgoing()))->position(), r.pathInPlay()), std::pair(59, c));

    // Files that will not open are passed over in the same song change,
    // which then runs in the channel it would have used.
    r.w->addFileToList(QStringLiteral("/music/gone.mp3"), 2, *r.w->clipList);
    r.w->addFileToList(QStringLiteral("/music/gone2.mp3"), 3, *r.w->clipList);
    const int channel = 1 - r.w->channelInPlay();
    r.w->next();
    EXPECT_EQ(std::tuple(r.pathInPlay(), r.w->channelInPlay(), r.w->rowInPlay(), r.w->rampTimer().isEnabled()),
              std::tuple(b, channel, 4, true));

    // Bad rows to the end of the list: the song in play keeps its channel
    // and its end, and the list starts over in a new order after it.
    r.w->clearList();
    const QString d = r.add(QStringLiteral("d"), 60);
    r.w->addFileToList(QStringLiteral("/music/gone.mp3"), 0, *r.w->clipList);
    r.w->play();
    r.time.advance(3000);
    r.w->next();
    r.time.advance(100);
    EXPECT_EQ(r.pathInPlay(), d);
    ASSERT_TRUE(r.runUntil([&] { return r.w->playerIn(static_cast<size_t>(r.outgoing())) &&
                                        r.w->playerIn(static_cast<size_t>(r.outgoing()))->fileName() == d; }, 70000));
    EXPECT_EQ(std::pair(r.pathInPlay(), r.w->status()), std::pair(d, DeckStatus::Playing));  // d again, whole ramp out of the old d

    // A whole list that will not open stops the deck as an empty list does.
    r.w->clearList();
    r.w->addFileToList(QStringLiteral("/music/gone.mp3"), 0, *r.w->clipList);
    r.w->addFileToList(QStringLiteral("/music/gone2.mp3"), 0, *r.w->clipList);
    r.w->next();
    EXPECT_EQ(std::tuple(r.w->rowInPlay(), r.w->status()), std::tuple(-1, DeckStatus::Stopped));
}

TEST(Deck, ListCommandsKeepItemPlayingOnTheSameSong)
{
    WindowRig r;
    for (int i = 1; i <= 5; ++i)
        r.add(QStringLiteral("s%1").arg(i), 300);
    PlaylistModel& list = *r.w->clipList;
    list.setSelected(3, true);
    r.w->onListDoubleClick();
    EXPECT_EQ(std::pair(r.w->rowInPlay(), list.firstSelected()), std::pair(3, 3));  // shown selected

    r.w->addFileToList(QStringLiteral("/music/x.mp3"), 3, list);  // at the row in play
    r.w->addFileToList(QStringLiteral("/music/y.mp3"), 5, list);  // after it
    EXPECT_EQ(r.w->rowInPlay(), 4);

    // s1 s2 x s3 y s4 s5, s3 in play: delete s1 and x (two runs of rows),
    // then s3 itself; it plays on, and the row before it is the one in play.
    list.selectOnly(1);
    list.setSelected(3, true);
    r.w->deleteSelected();
    EXPECT_EQ(r.w->rowInPlay(), 2);
    list.selectOnly(2);
    r.w->deleteSelected();
    EXPECT_EQ(std::pair(r.w->rowInPlay(), r.pathInPlay()), std::pair(1, QStringLiteral("/music/s3.mp3")));
    EXPECT_EQ(r.column(ColTitle), (QStringList{QStringLiteral("s2"), QStringLiteral("y"), QStringLiteral("s4"), QStringLiteral("s5")}));
}
