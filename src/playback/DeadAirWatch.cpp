#include "playback/DeadAirWatch.h"

#include "platform/Clock.h"
#include "platform/MediaService.h"
#include "platform/SettingValues.h"
#include "platform/SettingsStore.h"

#include <algorithm>
#include <cmath>

namespace tavlo {

namespace {
// A tick counts for at most this much: a clock set forward, or a machine
// waking from sleep, is not silence heard.
constexpr qint64 kLongestTickMs = 1000;
const QString kSection = QStringLiteral("DeadAir");
}  // namespace

bool DeadAirWatch::acceptable(double thresholdDb, double seconds)
{
    return thresholdDb >= kLowestThresholdDb && thresholdDb < 0.0 && seconds >= 1 && seconds <= kLongestSeconds &&
           seconds == std::floor(seconds);
}

void DeadAirWatch::read(const SettingsStore& store, const QString& app)
{
    using namespace SettingValues;
    const Settings byDefault;
    Settings s;
    if (const auto v = toBool(store.get(app, kSection, QStringLiteral("Enabled"), fromBool(byDefault.enabled))))
        s.enabled = *v;
    const auto level = toDouble(store.get(app, kSection, QStringLiteral("ThresholdDb"), fromDouble(byDefault.thresholdDb)));
    const auto time = toInt32(store.get(app, kSection, QStringLiteral("Seconds"), fromInt(byDefault.seconds)));
    if (level && time && acceptable(*level, *time)) {
        s.thresholdDb = *level;
        s.seconds = *time;
    }
    setSettings(s);
}

void DeadAirWatch::save(SettingsStore& store, const QString& app) const
{
    using namespace SettingValues;
    store.save(app, kSection, QStringLiteral("Enabled"), fromBool(m_settings.enabled));
    store.save(app, kSection, QStringLiteral("ThresholdDb"), fromDouble(m_settings.thresholdDb));
    store.save(app, kSection, QStringLiteral("Seconds"), fromInt(m_settings.seconds));
}

DeadAirWatch::DeadAirWatch(MediaService& media, Clock& clock) : m_media(media), m_clock(clock) {}

void DeadAirWatch::setSettings(const Settings& settings)
{
    m_settings = settings;
    m_silentMs = 0;
}

bool DeadAirWatch::tick(bool watching)
{
    // Read on every tick, so the level looked at next is only what played since.
    using Reader = MediaService::PeakReader;
    const float peak =
        std::max(m_media.takeOutputPeak(0, Reader::DeadAirWatch), m_media.takeOutputPeak(1, Reader::DeadAirWatch));
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
