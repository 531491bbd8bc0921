#include "playback/AutoCue.h"

#include "platform/SettingValues.h"
#include "platform/SettingsStore.h"
#include "platform/controls/MenuItem.h"

#include <algorithm>
#include <cmath>

namespace tavlo {

namespace {
const QString kAutoCueSection = QStringLiteral("Trimming");
const QString kAutoCueKey = QStringLiteral("AutoCue");
}  // namespace

void AutoCue::setEnabled(bool on)
{
    m_enabled = on;
    if (m_item)
        m_item->setChecked(on);
}

void AutoCue::setMenuItem(MenuItem* item)
{
    m_item = item;
    setEnabled(m_enabled);
}

void AutoCue::force(bool on)
{
    setEnabled(on);
    m_forced = true;
}

void AutoCue::read(const SettingsStore& store, const QString& app)
{
    if (m_forced)
        return;
    const QString on = store.get(app, kAutoCueSection, kAutoCueKey, SettingValues::fromBool(m_default));
    if (const auto v = SettingValues::toBool(on))
        setEnabled(*v);
}

void AutoCue::save(SettingsStore& store, const QString& app) const
{
    if (!m_forced)
        store.save(app, kAutoCueSection, kAutoCueKey, SettingValues::fromBool(m_enabled));
}

std::optional<CuePoints> AutoCue::cuesFor(const QString& path)
{
    if (!m_enabled)
        return std::nullopt;
    const LoudnessMeasurement m = m_service.lookup(path);
    if (m.state != LoudnessMeasurement::State::Measured)
        return std::nullopt;
    return m.cues;
}

std::optional<SongSpan> AutoCue::span(const CuePoints& cues, double duration, int cutFirst, int cutLast,
                                       double overlap)
{
    // The points were rounded when cached, and the file may have changed
    // length since: they never reach past the end the player will reach, or
    // the change would wait for a position the song never gets to.
    const double last = duration > 0 ? std::min(cues.cueOut, duration) : cues.cueOut;
    const double end = std::min(cues.segue, last - std::max(0.0, overlap));
    SongSpan s{cues.cueIn + cutFirst, end - cutLast};
    if (!(s.changeAt > s.start))
        s = {cues.cueIn, end};
    if (!(s.changeAt > s.start))
        s = {cues.cueIn, std::min(cues.segue, last)};
    if (!(s.changeAt > s.start) || s.start < 0)
        return std::nullopt;
    return s;
}

double AutoCue::overlapFor(TransitionType type, int transitionSeconds)
{
    if (type == TransitionType::Mix || type == TransitionType::Cut)
        return 0;
    return transitionSeconds / 2.0;
}

QString AutoCue::text(double seconds)
{
    const long tenths = std::lround(std::max(0.0, seconds) * 10.0);
    return QStringLiteral("%1:%2.%3")
        .arg(tenths / 600)
        .arg((tenths / 10) % 60, 2, 10, QLatin1Char('0'))
        .arg(tenths % 10);
}

}  // namespace tavlo
