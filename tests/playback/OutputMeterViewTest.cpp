// The output meter on screen: two vertical bars beside the music window's
// channel faders that follow the engine's level, the held peak below each;
// the insert window has none.
#include "playback/PlayerWindowView.h"
#include "fakes/QtTestApp.h"
#include "playback/WindowRig.h"

#include <QProgressBar>

#include <gtest/gtest.h>

namespace tavlo::test {
namespace {

TEST(OutputMeterView, BarsBesideTheFadersFollowTheLevelInTheMusicWindowOnly)
{
    WindowRig r;
    PlayerWindowView music(*r.w);
    PlayerWindowView insert(*r.ins);
    auto* left = music.findChild<QProgressBar*>(QStringLiteral("prgOutputPeak(0)"));
    auto* right = music.findChild<QProgressBar*>(QStringLiteral("prgOutputPeak(1)"));
    auto* fader = music.findChild<QWidget*>(QStringLiteral("vscVolume(1)"));
    ASSERT_TRUE(left && right && fader);
    EXPECT_EQ(left->orientation(), Qt::Vertical);
    EXPECT_EQ(left->parentWidget(), fader->parentWidget());
    EXPECT_EQ(insert.findChild<QProgressBar*>(QStringLiteral("prgOutputPeak(0)")), nullptr);
    // The levels themselves are the meter's own test; the bars show them.
    r.media.outputPeak[1] = 0.1f;
    r.time.advance(40);
    EXPECT_EQ(right->value(), -200);
}

}  // namespace
}  // namespace tavlo::test
