#pragma once

#include "platform/Autostart.h"
#include "platform/Loudness.h"
#include "platform/Screen.h"
#include "platform/Shell.h"
#include "platform/Streamer.h"
#include "platform/UiEvents.h"

namespace tavlo {

class Clock;
class MediaService;
class MixerDevice;
class Random;
class SettingsStore;
class TimerService;
class UserDialogs;

// The services a window is handed when it is made. ProgramServices builds it from the
// real implementations, tests from fakes; windows never build a backend.
struct AppServices {
    MediaService& media;
    TimerService& timers;
    Clock& clock;
    Random& random;
    SettingsStore& settings;
    UserDialogs& dialogs;
    MixerDevice& mixer;
    // Long operations on the UI thread let the interface catch up through it.
    UiEvents& uiEvents = noUiEvents();
    // Where the windows line up, and who opens the manual and the about box's links.
    Screen& screen = noScreen();
    Shell& shell = noShell();
    // Measures songs ahead so the player windows can even out their loudness.
    LoudnessService& loudness = noLoudness();
    // Where the station's output is streamed to, when it is.
    Streamer& streamer = noStreamer();
    // Whether the desktop starts the program when its user logs in.
    Autostart& autostart = noAutostart();
};

}  // namespace tavlo
