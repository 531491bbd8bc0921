// The music window's output meter: levels in dBFS, the peak held for a
// second and a half, and silence at the floor.
#include "playback/WindowRig.h"
#include "platform/controls/Label.h"
#include "platform/controls/ProgressBar.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

TEST(OutputMeter, FollowsTheOutputHoldsItsPeakAndRestsAtTheFloor)
{
    WindowRig r;
    OutputMeter& m = r.w->outputMeter;
    r.media.outputPeak[0] = 0.5f;
    r.media.outputPeak[1] = 0.25f;
    r.time.advance(40);  // one tick, 25 a second
    EXPECT_EQ(std::tuple(m.peakBars[0]->value(), m.peakBars[1]->value(), m.holdLabels[0]->text()),
              std::tuple(-60, -120, QStringLiteral("-6.0")));

    // Quieter: the bar drops at once, the hold stays for 1.5 s, then follows;
    // a louder peak takes the hold at once.
    r.media.outputPeak[0] = 0.1f;
    r.time.advance(40);
    EXPECT_EQ(std::pair(m.levelTenths(0), m.holdTenths(0)), std::pair(-200, -60));
    r.time.advance(1400);
    EXPECT_EQ(m.holdTenths(0), -60);
    r.time.advance(200);
    EXPECT_EQ(m.holdTenths(0), -200);
    r.media.outputPeak[0] = 1.0f;
    r.time.advance(40);
    EXPECT_EQ(m.holdTenths(0), 0);

    // Silence and anything below -60 dB rest at the floor.
    r.media.outputPeak[0] = 0.0f;
    r.media.outputPeak[1] = 0.0005f;
    r.time.advance(2000);
    EXPECT_EQ(std::tuple(m.levelTenths(0), m.levelTenths(1), m.holdLabels[1]->text()),
              std::tuple(-600, -600, QStringLiteral("-inf")));
}
