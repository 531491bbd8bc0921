#pragma once

namespace tavlo {

// What the insert window asks of the music window during a break: the
// music's levels for the ramps, and the three steps of the hand-over on the
// music's side (cue the next song when the break is in, resume it when the
// break ends, log it once it is back on air).
// UI thread only.
class MusicWindowLink {
public:
    virtual ~MusicWindowLink() = default;
    // The music's master volume, in fader steps (0..85, 85 the loudest).
    virtual int masterLevel() const = 0;
    // Moves the fader of the music's channel in play to a ramp's computed
    // level; a level past either end of the fader is not applied.
    virtual void setFaderInPlay(double level) = 0;
    // Both music faders back where the master volume puts them ("Mix").
    virtual void followMasterLevel() = 0;
    // The music's song is on air (not paused or stopped).
    virtual bool musicPlaying() const = 0;
    // The break is in: the music waits, paused at its next song, silent.
    virtual void cueNextSongForBreak() = 0;
    // The break ends: the cued (or paused) song plays again. Its as-run
    // line waits for logSongBackOnAir.
    virtual void resumeAfterBreak() = 0;
    // The music is back at its level: its song in play is logged.
    virtual void logSongBackOnAir() = 0;
    virtual void saveSettings() = 0;
};

}  // namespace tavlo
