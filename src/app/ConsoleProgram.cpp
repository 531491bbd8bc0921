#include "app/ConsoleProgram.h"

#include "app/CommandLine.h"
#include "app/ProgramServices.h"
#include "app/Station.h"
#include "app/StationStateKeeper.h"
#include "app/WebRemoteProgram.h"
#include "engine/SystemdServiceManager.h"
#include "log/AsRunLog.h"
#include "platform/ConsoleDialogs.h"
#include "platform/ServiceNotifier.h"
#include "platform/SimulatedTime.h"
#include "platform/TerminationSignals.h"
#include "platform/dbus/MprisService.h"
#include "playback/PlayerWindowRemote.h"
#include "playback/AutoCue.h"
#include "playback/SongLoudness.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>

namespace tavlo {

namespace {

// Prints each as-run entry of a window the way its log writes it, after the
// window's name: song starts on stdout, files that failed to open on stderr.
void printLogEntries(PlayerWindow& window, const char* label, const Clock& clock)
{
    auto log = std::make_shared<AsRunLog>(clock);
    QObject::connect(&window, &PlayerWindow::logEntryWritten, &window,
                     [log, label, &clock](const QString& error, const QString& path) {
                         const QString line = log->lineText(clock.now(), AsRunLog::LogEntry, error, path);
                         std::FILE* out = error.isEmpty() ? stdout : stderr;
                         std::fprintf(out, "[%s] %s\n", label, line.toLocal8Bit().constData());
                         std::fflush(out);
                     });
    QObject::connect(&window, &PlayerWindow::notice, &window, [label](const QString& text) {
        std::fprintf(stderr, "[%s] %s\n", label, text.toLocal8Bit().constData());
    });
}

// Prints each event the scheduler fires, as its row reads, after the time it fired.
void printFiredEvents(SchedulerWindow& timing, const Clock& clock)
{
    auto log = std::make_shared<AsRunLog>(clock);
    QObject::connect(&timing, &SchedulerWindow::eventFired, &timing,
                     [log, &clock](const QString& time, const QString& playlist, const QString& window) {
                         std::printf("[timing] %s ; %s;%s;%s\n", log->dateTimeText(clock.now()).toLocal8Bit().constData(),
                                     time.toLocal8Bit().constData(), playlist.toLocal8Bit().constData(),
                                     window.toLocal8Bit().constData());
                         std::fflush(stdout);
                     });
}

// What the service manager shows for a station whose start-up put no song on air.
QString waitingStatus(DeckStatus status)
{
    switch (status) {
    case DeckStatus::Paused:
        return QStringLiteral("Paused: waiting for Play");
    case DeckStatus::Playing:
        return QStringLiteral("Playing");
    case DeckStatus::Stopped:
        break;
    }
    return QStringLiteral("Stopped: waiting for Play");
}

// The station on the services a console has, started. The file goes to the
// music window only; the insert window starts empty. Without a file the
// station resumes from what the keeper kept, unless --fresh. Nobody can open
// the search window or switch the playing-now report on here; they are made
// for the wiring. `keep`: the state is kept from now on (a render only reads
// it, so a preview never overwrites the station's own). With a service
// manager it is told of the start-up's end, of each song and, while the
// audio clock moves, that the station lives.
struct ConsoleStation {
    ConsoleStation(Clock& clock, TimerService& timers, const AudioEngine::Options& output, const CommandLine& cl,
                   bool keep, ServiceManager* manager = nullptr)
        : real(clock, timers, dialogs, noScreen(), noShell(), output),
          notifier(manager ? std::make_unique<ServiceNotifier>(*manager, timers,
                                                               [&engine = real.engine] { return engine.framesRendered(); })
                           : nullptr),
          station(real.services, real.http, real.folders),
          keeper(station, timers, clock, StationStateKeeper::defaultFolder())
    {
        MusicWindow& music = station.music();
        // Before the start-up, which may already start the first song.
        if (notifier)
            QObject::connect(&music, &PlayerWindow::songStarted, &music, [this, &music](const QString& path) {
                notifier->songStarted(music.loadedSongTitle(path));
            });
        printLogEntries(music, "music", clock);
        printLogEntries(station.insert(), "insert", clock);
        printFiredEvents(station.scheduler(), clock);
        // The stream's state on stderr as it changes; never the password.
        music.streaming.onStatusText = [shown = music.streaming.onStatusText](const QString& text) {
            if (shown)
                shown(text);
            std::fprintf(stderr, "[stream] %s\n", text.toLocal8Bit().constData());
        };
        // Before the start-up plays the first song, and over the stored choice.
        if (cl.loudness)
            for (PlayerWindow* w : {static_cast<PlayerWindow*>(&music), static_cast<PlayerWindow*>(&station.insert())})
                w->loudness().force(*cl.loudness);
        if (cl.autoCue)
            for (PlayerWindow* w : {static_cast<PlayerWindow*>(&music), static_cast<PlayerWindow*>(&station.insert())})
                w->autoCue().force(*cl.autoCue);
        // Over the stored choice, which stays stored.
        if (!cl.fallback.isEmpty())
            music.forceFallbackList(cl.fallback);
        station.setProgramFolder(ProgramServices::programFolder());
        station.setCommandLine(cl.file, QString());
        std::optional<KeptStation> kept;
        if (cl.file.isEmpty() && !cl.fresh) {
            QString warning;
            kept = keeper.read(&warning);
            if (!warning.isEmpty())
                std::fprintf(stderr, "tavlo: %s\n", warning.toLocal8Bit().constData());
        }
        station.start(cl.events);
        if (kept) {
            // A kept station with nothing in it (a start that found nothing
            // to play) is nothing to resume.
            const StationState& s = kept->state;
            resumed = !kept->musicRows.empty() || !kept->insertRows.empty() || !s.schedule.events.empty()
                      || s.music.status == DeckStatus::Playing;
            if (s.stream && !cl.stream)
                music.streaming.streamTo(*s.stream);
            station.resume(std::move(*kept), clock.now(), cl.events.isEmpty());
        }
        if (!resumed && cl.file.isEmpty() && !cl.fallback.isEmpty()) {
            // No file to start with: the music window's empty list plays the fallback.
            music.play();
        }
        if (cl.stream)
            music.streaming.streamTo(*cl.stream);
        // Kept only once there is something to keep: a start refused for
        // having nothing to play leaves the last state as it was.
        if (keep && hasWork(cl))
            keeper.start();
        if (notifier && hasWork(cl))
            notifier->startupEnded(waitingStatus(music.status()));
    }
    // Something to play: a file, events, a fallback, or a station resumed.
    bool hasWork(const CommandLine& cl) const
    {
        return resumed || !cl.file.isEmpty() || !cl.events.isEmpty() || !cl.fallback.isEmpty();
    }
    // Says there is nothing to play; the exit status for it.
    int refuse() const
    {
        std::fprintf(stderr, "tavlo: nothing to play: give a FILE, --events or --fallback (nothing kept in %s to resume)\n",
                     StationStateKeeper::defaultFolder().toLocal8Bit().constData());
        return 2;
    }
    ConsoleDialogs dialogs;
    ProgramServices real;
    std::unique_ptr<ServiceNotifier> notifier;  // outlives the windows that tell it
    Station station;
    StationStateKeeper keeper;
    bool resumed = false;
};

}  // namespace

int runHeadless(int argc, char** argv, const CommandLine& cl)
{
    QCoreApplication app(argc, argv);
    TerminationSignals termination;
    SystemTime time;
    // Under systemd (the unit tavlo.service) the station reports itself ready and alive.
    SystemdServiceManager systemd;
    ConsoleStation console(time, time, AudioEngine::Options{}, cl, true, &systemd);
    if (!console.hasWork(cl))
        return console.refuse();
    PlayerWindowRemote remote(console.station.music());
    MprisService mpris(remote);
    ProgramServices::publishOnSessionBus(mpris);
    WebRemoteProgram web(console.station, console.real.services, cl, WebRemoteProgram::Run::Headless);
    web.start();
    QObject::connect(&termination, &TerminationSignals::arrived, &app, &QCoreApplication::quit);
    const int status = app.exec();
    // Stopped on purpose: the state as it is now, for the next start.
    console.keeper.saveNow();
    return status;
}

int runRender(int argc, char** argv, const CommandLine& cl)
{
    QCoreApplication app(argc, argv);
    TerminationSignals termination;
    // The clock and the window timers follow the rendered samples, so the
    // station's hour takes as long as the CPU needs to make it.
    SimulatedTime time(cl.start ? QDateTime(QDate::currentDate(), *cl.start) : QDateTime::currentDateTime());
    AudioEngine::Options output;
    output.output = AudioEngine::OutputKind::Offline;
    output.wavPath = cl.wavPath;
    ConsoleStation console(time, time, output, cl, false);
    if (!console.hasWork(cl))
        return console.refuse();

    WebRemoteProgram web(console.station, console.real.services, cl, WebRemoteProgram::Run::Render);
    web.start();
    // The loop below is the render's event loop: with a remote, its clients get their turn each block.
    const bool serving = web.isListening();
    AudioEngine& engine = console.real.engine;
    const int rate = engine.sampleRate();
    const int blockFrames = rate / 100;  // 10 ms
    const auto total = static_cast<std::int64_t>(cl.seconds * rate);
    while (engine.framesRendered() < total && !TerminationSignals::received()) {
        const auto frames = static_cast<int>(std::min<std::int64_t>(blockFrames, total - engine.framesRendered()));
        engine.renderOffline(frames);
        time.advance(static_cast<std::int64_t>(frames) * 1000 / rate);
        if (serving)
            QCoreApplication::processEvents();
    }
    return 0;
}

}  // namespace tavlo
