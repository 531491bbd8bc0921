#include "fakes/FakeMediaService.h"
#include "platform/controls/TextBox.h"
#include "playback/Player.h"
#include "playback/FormatMinutes.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

TEST(Player, ConvertsUnitsRoundsHalvesToEvenAndDoesNothingUnopened)
{
    SimulatedTime time;
    FakeMediaService media(time);
    media.addFile(QStringLiteral("a.mp3"), 179.5);
    media.addFile(QStringLiteral("b.mp3"), 178.5);

    Player a(media);
    a.play();                // before any open: nothing
    EXPECT_GT(a.open(), 0);  // empty name
    a.setFileName(QStringLiteral("/missing.mp3"));
    EXPECT_GT(a.open(), 0);
    EXPECT_EQ(a.duration(), 0);
    EXPECT_TRUE(media.streams().empty());
    a.setFileName(QStringLiteral("a.mp3"));
    ASSERT_EQ(a.open(), 0);
    EXPECT_EQ(a.duration(), 180);

    Player b(media);
    b.setFileName(QStringLiteral("b.mp3"));
    ASSERT_EQ(b.open(), 0);
    EXPECT_EQ(b.duration(), 178);
    FakeStream* s = media.newest();
    b.setBalance(10);
    EXPECT_EQ(s->balance(), 10000);
    b.setPosition(2);
    b.play();
    time.advance(1500);
    EXPECT_EQ(b.position(), 4);  // 3.5, halves to even as the length

    ComboBox box(nullptr, QStringLiteral("outputDeviceCombo"));
    b.listOutputDevices(box);
    b.listOutputDevices(box);  // appends again
    EXPECT_EQ(box.items().size(), 4);
}

TEST(formatMinutes, MinutesAndSecondsTruncatedWithSignsKept)
{
    EXPECT_EQ(formatMinutes(75), QStringLiteral("01:15"));
    EXPECT_EQ(formatMinutes(6000), QStringLiteral("100:00"));
    EXPECT_EQ(formatMinutes(59.9), QStringLiteral("00:59"));
    EXPECT_EQ(formatMinutes(-5), QStringLiteral("00:-05"));
    EXPECT_EQ(formatMinutes(-65), QStringLiteral("-01:-05"));
}
