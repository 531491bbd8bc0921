#include "playback/DeadAirWatch.h"

#include "platform/Clock.h"
#include "platform/MediaService.h"

#include <algorithm>
#include <cmath>

namespace tavlo {

namespace {
// A tick counts for at most this much: a clock set forward, or a machine
// waking from sleep, is not silence heard.
constexpr qint64 kLongestTickMs = 1000;
}  // namespace

DeadAirWatch::DeadAirWatch(MediaService& media, Clock& clock) : m_media(media), m_clock(clock) {}

void DeadAirWatch::setSettings(const Settings& settings)
{
    m_settings = settings;
    m_silentMs = 0;
}

bool DeadAirWatch::tick(bool watching)
{
    // Read on every tick, so the level looked at next is only what played since.
    const float peak = m_media.takeWatchPeak();
    const QDateTime now = m_clock.now();
    const qint64 step = m_last.isValid() ? std::clamp<qint64>(m_last.msecsTo(now), 0, kLongestTickMs) : 0;
    m_last = now;
    const double db = peak > 0.0f ? 20.0 * std::log10(peak) : -1000.0;
    if (!m_settings.enabled || !watching || db >= m_settings.thresholdDb) {
        m_silentMs = 0;
        return false;
    }
    m_silentMs += step;
    if (m_silentMs < static_cast<qint64>(m_settings.seconds) * 1000)
        return false;
    m_silentMs = 0;
    return true;
}

}  // namespace tavlo
