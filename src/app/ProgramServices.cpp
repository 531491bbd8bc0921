#include "app/ProgramServices.h"

#include "platform/dbus/MprisService.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDir>

#include <cstdio>

namespace tavlo {

namespace {

// The engine's output with the stream's tap in it: whatever the station
// plays can then go on air beyond the room.
AudioEngine::Options withTap(AudioEngine::Options output, IcecastStreamer& streamer)
{
    output.streamTap = &streamer.tap();
    return output;
}

}  // namespace

ProgramServices::ProgramServices(Clock& clock, TimerService& timers, UserDialogs& dialogs, Screen& screen,
                                 Shell& shell, const AudioEngine::Options& output)
    : random(clock),
      streamer(IcecastStreamer::Options{output.sampleRate}),
      engine(withTap(output, streamer)),
      // A render measures each song before it starts, so every render of a
      // station sounds the same; live play never waits for a measurement.
      loudness(LoudnessAnalyzer::defaultCacheFile(), output.output == AudioEngine::OutputKind::Offline
                                                         ? LoudnessAnalyzer::Mode::OnDemand
                                                         : LoudnessAnalyzer::Mode::Background),
      services{engine, timers, clock, random, settings, dialogs, mixer, uiEvents, screen, shell, loudness, streamer,
               autostart}
{
}

QString ProgramServices::programFolder() { return QDir(QCoreApplication::applicationDirPath()).absolutePath(); }

void ProgramServices::publishOnSessionBus(MprisService& mpris)
{
    // Without a session bus (a console, a server) there is nobody to tell.
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    const QString why = mpris.publish(bus);
    if (!why.isEmpty())
        std::fprintf(stderr, "tavlo: no media keys: %s\n", why.toLocal8Bit().constData());
}

}  // namespace tavlo
