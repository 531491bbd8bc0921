// The output meter reading the real engine: a rendered tone's level, within
// half a decibel, as the fader moves it.
#include "OfflineRig.h"
#include "TestMedia.h"
#include "playback/OutputMeter.h"
#include "platform/SimulatedTime.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tavlo::test {
namespace {

TEST(EngineOutputMeter, ShowsARenderedTonesLevelWithinHalfADecibel)
{
    OfflineRig rig("outputmeter");
    SimulatedTime time;
    QObject form;
    OutputMeter meter(form, rig.engine(), time);
    meter.start();
    auto song = rig.open("tone10.wav");  // 1 kHz at half of full scale
    song->run();
    for (int hundredthsDb : {0, -600, -2000}) {
        song->setVolume(hundredthsDb);
        rig.render(0.3);  // past the gain's glide
        (void)rig.engine().takeOutputPeak(0);
        (void)rig.engine().takeOutputPeak(1);
        rig.render(0.04);
        time.advance(OutputMeter::kIntervalMs);
        const double expected = 20.0 * std::log10(0.5) + hundredthsDb / 100.0;
        for (int ch = 0; ch < 2; ++ch)
            EXPECT_NEAR(meter.levelTenths(ch) / 10.0, expected, 0.5) << hundredthsDb << " channel " << ch;
    }
    song->stop();
    rig.render(0.3);
    (void)rig.engine().takeOutputPeak(0);
    (void)rig.engine().takeOutputPeak(1);
    time.advance(OutputMeter::kIntervalMs);
    EXPECT_EQ(meter.levelTenths(0), OutputMeter::kFloorTenths);
}

}  // namespace
}  // namespace tavlo::test
