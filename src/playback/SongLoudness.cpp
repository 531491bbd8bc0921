#include "playback/SongLoudness.h"

#include "platform/SettingValues.h"
#include "platform/SettingsStore.h"
#include "platform/controls/MenuItem.h"

#include <algorithm>
#include <cmath>

namespace tavlo {

namespace {
const QString kSection = QStringLiteral("Loudness");
}  // namespace

bool SongLoudness::plausibleTarget(double lufs) { return std::isfinite(lufs) && lufs > -70.0 && lufs <= 0.0; }

void SongLoudness::setEnabled(bool on)
{
    m_enabled = on;
    if (m_item)
        m_item->setChecked(on);
}

void SongLoudness::setTargetLufs(double lufs)
{
    if (plausibleTarget(lufs))
        m_target = lufs;
}

void SongLoudness::setMenuItem(MenuItem* item)
{
    m_item = item;
    setEnabled(m_enabled);
}

void SongLoudness::force(double targetLufs)
{
    setTargetLufs(targetLufs);
    setEnabled(true);
    m_forced = true;
}

void SongLoudness::read(const SettingsStore& store, const QString& app)
{
    if (m_forced)
        return;
    const QString on = store.get(app, kSection, QStringLiteral("Normalize"), QStringLiteral("False"));
    if (const auto v = SettingValues::toBool(on))
        setEnabled(*v);
    const QString byDefault = SettingValues::fromDouble(kDefaultTargetLufs);
    if (const auto t = SettingValues::toDouble(store.get(app, kSection, QStringLiteral("TargetLUFS"), byDefault)))
        setTargetLufs(*t);
}

void SongLoudness::save(SettingsStore& store, const QString& app) const
{
    if (m_forced)
        return;
    store.save(app, kSection, QStringLiteral("Normalize"), SettingValues::fromBool(m_enabled));
    store.save(app, kSection, QStringLiteral("TargetLUFS"), SettingValues::fromDouble(m_target));
}

int SongLoudness::trimForSong(const QString& path)
{
    if (!m_enabled)
        return 0;
    const LoudnessMeasurement m = m_service.lookup(path);
    if (m.state == LoudnessMeasurement::State::NotReady)
        ++m_startsNotReady;
    return trimFor(m, m_target);
}

int SongLoudness::trimFor(const LoudnessMeasurement& m, double targetLufs)
{
    if (m.state != LoudnessMeasurement::State::Measured || !std::isfinite(m.integratedLufs))
        return 0;
    double gain = targetLufs - m.integratedLufs;
    if (std::isfinite(m.truePeakDbtp))
        gain = std::min(gain, kPeakCeilingDbtp - m.truePeakDbtp);
    // Rounded down, so a capped song never lands a hair above the ceiling.
    return static_cast<int>(std::floor(gain * 100.0));
}

}  // namespace tavlo
