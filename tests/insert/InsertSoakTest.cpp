// Breaks one after another through every shape: the five ramp types, with and
// without "Play Ads Over Music" and "Wait for current song to end". Each must
// play its whole list, end by itself and bring the music back. (What the logs
// say of such breaks is the simulated week's to check.)
#include "insert/InsertRig.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

TEST(InsertSoak, EveryShapeOfBreakPlaysItsWholeListAndBringsTheMusicBack)
{
    BreakRig b(0);
    for (int i = 5; i <= 14; ++i)
        b.music << b.r.add(QStringLiteral("m%1").arg(i), 150 + 13 * i);
    for (int i = 1; i <= 3; ++i)
        b.ads << b.r.addInsert(QStringLiteral("ad%1").arg(i), 15 + 10 * i);
    b.in().transitionTimeSpinner->setValue(2);
    b.r.tim->setPreloadTime(3);
    int inserts = 0;
    QObject::connect(&b.in(), &PlayerWindow::songStarted, [&inserts](const QString&) { ++inserts; });

    b.m().play();
    b.r.time.advance(60000);
    for (int i = 0; i < 20; ++i) {
        const int type = i % 5, over = (i / 5) % 2, wait = (i / 10) % 2;
        SCOPED_TRACE(QStringLiteral("break %1: type %2, over %3, wait %4").arg(i).arg(type).arg(over).arg(wait).toStdString());
        b.in().transitionButtons[static_cast<size_t>(type)]->setValue(1);
        b.in().playOverMusicCheck->setValue(over);
        b.in().waitForSongCheck->setValue(wait);
        b.in().prepareInsertButton->press();

        // The break ends by itself once its list is exhausted, well within ten minutes.
        b.r.time.advance(570000);
        EXPECT_EQ(std::tuple(inserts, b.in().insertState(), b.in().goingBackToMusic(), b.in().status(), b.m().status()),
                  std::tuple(3 * (i + 1), InsertState::Idle, false, DeckStatus::Stopped, DeckStatus::Playing));
        EXPECT_FALSE(b.in().insertInRampTimer().isEnabled() || b.in().backToMusicRampTimer().isEnabled() ||
                     b.in().countDownTimer().isEnabled());
        EXPECT_TRUE(b.audible(b.m()));
        b.r.time.advance(30000);
    }
}
