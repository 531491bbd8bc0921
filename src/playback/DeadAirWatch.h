#pragma once

#include <QDateTime>
#include <QString>

namespace tavlo {

class Clock;
class MediaService;
class SettingsStore;

// Hears when the station has gone silent: the output below a threshold for
// long enough while a song should be sounding. It reads the engine's output
// level (lock-free, through the media service) on the music window's
// position tick, and measures time with the program's clock, so that in a
// render it counts audio time like everything else. UI thread only.
class DeadAirWatch {
public:
    struct Settings {
        bool enabled = true;
        double thresholdDb = -50.0;  // dBFS
        int seconds = 15;
    };

    DeadAirWatch(MediaService& media, Clock& clock);

    const Settings& settings() const { return m_settings; }
    void setSettings(const Settings& settings);
    // The level and time a station may set: -90 dBFS up to (not including)
    // 0, and a whole number of seconds from 1 to 600.
    static constexpr double kLowestThresholdDb = -90.0;
    static constexpr int kLongestSeconds = 600;
    static bool acceptable(double thresholdDb, double seconds);
    // Section "DeadAir" of the window's settings; a stored value that is not
    // acceptable keeps the default.
    void read(const SettingsStore& store, const QString& app);
    void save(SettingsStore& store, const QString& app) const;

    // One look at the output. `watching` is false while silence is no fault
    // (nothing playing, a ramp running). True once the silence has lasted the
    // set time; the count then starts over.
    bool tick(bool watching);

private:
    MediaService& m_media;
    Clock& m_clock;
    Settings m_settings;
    QDateTime m_last;
    qint64 m_silentMs = 0;
};

}  // namespace tavlo
