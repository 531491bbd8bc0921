#pragma once

#include "platform/Loudness.h"

#include <QString>
#include <QStringList>

namespace tavlo {

class MenuItem;
class SettingsStore;

// A player window's "Normalize Loudness": whether it is on, the loudness
// every song is brought to, and the trim that does it for one song. The
// files are never touched; the trim is a fixed gain the engine applies under
// the faders, chosen when the song loads and kept while it plays.
// UI thread only.
class SongLoudness {
public:
    static constexpr double kDefaultTargetLufs = -18.0;
    // No song is raised so far that its true peak would pass this.
    static constexpr double kPeakCeilingDbtp = -1.0;

    explicit SongLoudness(LoudnessService& service) : m_service(service) {}

    // Targets a station could mean (above -70, at most 0 LUFS); anything
    // else, in the settings or on the command line, is a typo.
    static bool plausibleTarget(double lufs);

    bool enabled() const { return m_enabled; }
    void setEnabled(bool on);
    double targetLufs() const { return m_target; }
    void setTargetLufs(double lufs);
    // The check mark that shows the switch.
    void setMenuItem(MenuItem* item);
    // The command line's choice: on at this target, whatever the settings
    // say; the stored choice is then left as it was.
    void force(double targetLufs);

    // Section "Loudness" of the window's own settings.
    void read(const SettingsStore& store, const QString& app);
    void save(SettingsStore& store, const QString& app) const;

    // The trim, in hundredths of a dB, for a song about to start: 0 when the
    // switch is off, the file could not be measured, or its measurement is
    // not ready yet (counted: those songs play as they are).
    int trimForSong(const QString& path);
    int startsNotReady() const { return m_startsNotReady; }

    // target - integrated, lowered so the true peak stays at the ceiling.
    static int trimFor(const LoudnessMeasurement& m, double targetLufs);

private:
    LoudnessService& m_service;
    MenuItem* m_item = nullptr;
    bool m_enabled = false;
    bool m_forced = false;
    double m_target = kDefaultTargetLufs;
    int m_startsNotReady = 0;
};

}  // namespace tavlo
