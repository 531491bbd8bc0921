#pragma once

namespace tavlo {

// Where the insert window's deck differs from the music window's. The music
// window takes the defaults.
struct DeckVariant {
    // The time-left displays subtract the lead (the transition time, or half
    // of it for "Down  Up"), so they count down to the hand-over.
    bool timeLeftLead = true;
    // A list that has run out is put in random order and plays on.
    bool reorderWhenListRunsOut = true;
    // A list with nothing playable is tried again on a back-off schedule,
    // the fallback list playing meanwhile; otherwise the deck just stops.
    bool retryWhenNothingPlayable = true;
    // A song change while paused cues the new song instead of starting it.
    bool pausedSongChange = true;
    // A ramp interval that comes out as 0 ms runs at 100 ms instead.
    bool zeroRampIntervalIs100ms = false;
    // The transition spinner also offers 0, which means "Cut"; choosing
    // another type at 0 brings the time up to 1.
    bool zeroTransitionTimeMeansCut = false;
    // "Auto Cue" in fresh settings: the music window plays songs by their
    // cue points, the insert window's ads are edited tight.
    bool autoCueByDefault = true;
    // Twips between the window's top and its list; the insert window keeps
    // its workflow controls there.
    int listTop = 0;
};

// Where a player window puts its list, options panel and progress bar, in
// twips inside the window. The list's bottom meets the panel's top; the
// panel ends 1000 twips above the window's bottom edge.
struct PlayerLayout {
    int listLeft = 120;
    int listTop = 0;
    int listWidth = 0;
    int listHeight = 0;
    int panelTop = 0;
    int panelHeight = 4335;
    int progressTop = 0;
};

// What a pass over the list for the next song came to.
enum class ListPass {
    Loaded,           // a row opened and waits in the other channel
    RanOut,           // the list ran out before a row opened; the song in play goes on
    NothingPlayable,  // no row of the whole list opened
};

}  // namespace tavlo
