#pragma once

#include "engine/AlsaMixerCard.h"
#include "engine/AudioEngine.h"
#include "engine/LoudnessAnalyzer.h"
#include "mixer/SoundCardMixer.h"
#include "platform/AppServices.h"
#include "platform/IniSettingsStore.h"
#include "platform/QtUiEvents.h"
#include "platform/SystemTime.h"
#include "platform/XdgAutostart.h"
#include "platform/net/QtHttpClient.h"
#include "platform/stream/IcecastStreamer.h"
#include "search/DirentFolderReader.h"

class QDBusConnection;

namespace tavlo {

class MprisService;

// The services the program runs its station on: the audio engine with the
// stream's tap in it, the settings file, the sound card's mixer, loudness
// measured in the background or, for a render, on the spot, the desktop's
// autostart folder, the web client and the folders on disk. What differs between the desktop and a console
// (time, dialogs, the screen and the desktop's shell) is handed in.
// UI thread only.
class ProgramServices {
public:
    ProgramServices(Clock& clock, TimerService& timers, UserDialogs& dialogs, Screen& screen, Shell& shell,
                    const AudioEngine::Options& output);
    ProgramServices(const ProgramServices&) = delete;
    ProgramServices& operator=(const ProgramServices&) = delete;

    // The program's own folder, without its final separator (the windows add one).
    static QString programFolder();
    // Offers the music window's remote on the session bus, when there is one;
    // another Tavlo holding the name costs one line on stderr.
    static void publishOnSessionBus(MprisService& mpris);

    ClockSeededRandom random;
    IcecastStreamer streamer;  // outlives the engine, which writes into its tap
    AudioEngine engine;
    IniSettingsStore settings;
    AlsaMixerCard mixerCard;
    SoundCardMixer mixer{mixerCard};
    QtUiEvents uiEvents;
    LoudnessAnalyzer loudness;
    XdgAutostart autostart;
    AppServices services;
    QtHttpClient http;
    DirentFolderReader folders;
};

}  // namespace tavlo
