#include "playback/OutputMeter.h"

#include "platform/MediaService.h"
#include "platform/TimerService.h"
#include "platform/controls/Label.h"
#include "platform/controls/ProgressBar.h"

#include <cmath>

namespace tavlo {

OutputMeter::OutputMeter(QObject& form, MediaService& media, TimerService& timers)
    : m_media(media), m_meterTimer(timers.createTimer())
{
    for (int ch = 0; ch < 2; ++ch) {
        peakBars[ch] = new ProgressBar(&form, QStringLiteral("prgOutputPeak(%1)").arg(ch), kFloorTenths, 0);
        peakBars[ch]->setValue(kFloorTenths);
        holdLabels[ch] = new Label(&form, QStringLiteral("lblOutputHold(%1)").arg(ch), QStringLiteral("-inf"));
    }
    m_meterTimer->setInterval(kIntervalMs);
    m_meterTimer->setHandler([this] { onMeterTick(); });
}

OutputMeter::~OutputMeter() = default;

void OutputMeter::start()
{
    m_meterTimer->setEnabled(true);
}

int OutputMeter::toTenths(float peak)
{
    if (!(peak > 0.0f))
        return kFloorTenths;
    const double tenths = std::round(200.0 * std::log10(static_cast<double>(peak)));
    return tenths < kFloorTenths ? kFloorTenths : static_cast<int>(tenths);
}

void OutputMeter::onMeterTick()
{
    for (int ch = 0; ch < 2; ++ch) {
        const int level = toTenths(m_media.takeOutputPeak(ch));
        m_level[ch] = level;
        if (level >= m_hold[ch] || ++m_held[ch] > kHoldTicks) {
            m_hold[ch] = level;
            m_held[ch] = 0;
        }
        peakBars[ch]->setValue(level);
        holdLabels[ch]->setText(m_hold[ch] <= kFloorTenths
                                       ? QStringLiteral("-inf")
                                       : QString::number(m_hold[ch] / 10.0, 'f', 1));
    }
}

}  // namespace tavlo
