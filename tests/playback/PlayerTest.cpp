#include "fakes/FakeMediaService.h"
#include "platform/controls/TextBox.h"
#include "playback/Player.h"
#include "playback/SegToMin.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

TEST(Player, RoundsTimesHalvesToEvenAndScalesBalance)
{
    SimulatedTime time;
    FakeMediaService media(time);
    media.addFile(QStringLiteral("a.mp3"), 179.5);
    media.addFile(QStringLiteral("b.mp3"), 178.5);

    Player a(media);
    a.setFileName(QStringLiteral("a.mp3"));
    ASSERT_EQ(a.OpenFile(), 0);
    EXPECT_EQ(a.Duration(), 180);
    Player b(media);
    b.setFileName(QStringLiteral("b.mp3"));
    ASSERT_EQ(b.OpenFile(), 0);
    EXPECT_EQ(b.Duration(), 178);

    FakeStream* s = media.newest();
    EXPECT_EQ(s->state(), FakeStream::State::Stopped);
    b.setBalance(10);
    EXPECT_EQ(s->balance(), 10000);
    b.setBalance(-3);
    EXPECT_EQ(s->balance(), -3000);
    b.setVolume(-7225);
    EXPECT_EQ(s->volume(), -7225);
    EXPECT_EQ(b.Volume(), -7225);
    b.setPitch(1.25);
    EXPECT_DOUBLE_EQ(s->rate(), 1.25);

    // Position reads the running file, rounded: 2.5 s -> 2, 3.5 s -> 4.
    b.setPitch(1.0);
    b.setPosition(2);
    b.PlayFile();
    time.advance(500);
    EXPECT_EQ(b.Position(), 2);
    time.advance(1000);
    b.PauseFile();
    time.advance(5000);
    EXPECT_EQ(b.Position(), 4);
}

TEST(Player, DoesNothingBeforeASuccessfulOpenAndListsOutputsEveryCall)
{
    SimulatedTime time;
    FakeMediaService media(time);
    Player p(media);
    p.PlayFile();
    p.setVolume(-100);
    p.setPosition(30);
    EXPECT_EQ(p.Volume(), -100);  // the stored copy
    EXPECT_EQ(p.Position(), 30);
    EXPECT_TRUE(media.streams().empty());

    EXPECT_GT(p.OpenFile(), 0);  // empty name
    p.setFileName(QStringLiteral("/missing.mp3"));
    EXPECT_GT(p.OpenFile(), 0);
    EXPECT_EQ(p.Duration(), 0);
    p.PlayFile();
    EXPECT_TRUE(media.streams().empty());

    ComboBox box(nullptr, QStringLiteral("cmbOutputDevices"));
    p.EnumDirectSoundDevices(box);
    p.EnumDirectSoundDevices(box);
    EXPECT_EQ(box.items(), (QStringList{QStringLiteral("Default output"), QStringLiteral("WAV file writer"),
                                        QStringLiteral("Default output"), QStringLiteral("WAV file writer")}));
    QStringList names;
    p.EnumDirectSoundDevices(names);
    EXPECT_EQ(names.size(), 2);
}

TEST(SegToMin, MinutesAndSecondsTruncatedWithSignsKept)
{
    EXPECT_EQ(SegToMin(75), QStringLiteral("01:15"));
    EXPECT_EQ(SegToMin(3600), QStringLiteral("60:00"));
    EXPECT_EQ(SegToMin(6000), QStringLiteral("100:00"));
    EXPECT_EQ(SegToMin(59.9), QStringLiteral("00:59"));
    EXPECT_EQ(SegToMin(-5), QStringLiteral("00:-05"));
    EXPECT_EQ(SegToMin(-65), QStringLiteral("-01:-05"));
}
