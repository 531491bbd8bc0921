#pragma once

#include "platform/Loudness.h"
#include "playback/TransitionType.h"

#include <QString>

#include <optional>

namespace tavlo {

class MenuItem;
class SettingsStore;

// Where a song plays from and where the next one takes over, in seconds of
// the file.
struct SongSpan {
    double start = 0;
    double changeAt = 0;
};

// A player window's "Auto Cue": whether songs play from where their sound
// starts to where their ending may be played over (the cue points the
// loudness analysis found), instead of from 0 to the end. A song whose
// analysis is not ready when it loads plays by the window's cuts alone.
// UI thread only.
class AutoCue {
public:
    AutoCue(LoudnessService& service, bool onByDefault) : m_service(service), m_default(onByDefault)
    {
        m_enabled = onByDefault;
    }

    bool enabled() const { return m_enabled; }
    void setEnabled(bool on);
    // The check mark that shows the switch.
    void setMenuItem(MenuItem* item);
    // The command line's choice, whatever the settings say; the stored
    // choice is then left as it was.
    void force(bool on);

    // "AutoCue" in section "Trimming" of the window's own settings.
    void read(const SettingsStore& store, const QString& app);
    void save(SettingsStore& store, const QString& app) const;

    // The cue points to play `path` by: none while the switch is off, or when
    // its analysis is not ready or found no sound in it.
    std::optional<CuePoints> cuesFor(const QString& path);

    // The span a song of `duration` seconds plays with these cues and the
    // window's cuts on top of them (the cues alone when the cuts would leave
    // nothing). The change comes at the segue, or earlier when the song's
    // sound ends less than `overlap` seconds after it: the song in play must
    // still be heard while the next one comes up (a song with a cold ending).
    // None when the points leave nothing to play.
    static std::optional<SongSpan> span(const CuePoints& cues, double duration, int cutFirst, int cutLast,
                                        double overlap = 0);
    // How long a song must still sound once a change of this type starts:
    // half the transition for the ramps that bring the next song up (so it
    // is up before the old one is gone), none for "Mix" and "Cut", which
    // start it at its level.
    static double overlapFor(TransitionType type, int transitionSeconds);
    // How the list shows a cue point: minutes, seconds and tenths.
    static QString text(double seconds);

private:
    LoudnessService& m_service;
    MenuItem* m_item = nullptr;
    bool m_default;
    bool m_enabled = true;
    bool m_forced = false;
};

}  // namespace tavlo
