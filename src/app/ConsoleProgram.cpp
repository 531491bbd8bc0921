#include "app/ConsoleProgram.h"

#include "app/CommandLine.h"
#include "app/ProgramServices.h"
#include "app/Station.h"
#include "log/AsRunLog.h"
#include "platform/ConsoleDialogs.h"
#include "platform/SimulatedTime.h"
#include "platform/TerminationSignals.h"
#include "platform/dbus/MprisService.h"
#include "playback/PlayerWindowRemote.h"
#include "playback/SongLoudness.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>

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

// The station on the services a console has, started. The file goes to the
// music window only; the insert window starts empty. Nobody can open the
// search window or switch the playing-now report on here; they are made for
// the wiring.
struct ConsoleStation {
    ConsoleStation(Clock& clock, TimerService& timers, const AudioEngine::Options& output, const CommandLine& cl)
        : real(clock, timers, dialogs, noScreen(), noShell(), output),
          station(real.services, real.http, real.folders)
    {
        MusicWindow& music = station.music();
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
        // Over the stored choice, which stays stored.
        if (!cl.fallback.isEmpty())
            music.forceFallbackList(cl.fallback);
        station.setProgramFolder(ProgramServices::programFolder());
        station.setCommandLine(cl.file, QString());
        station.start(cl.events);
        // No file to start with: the music window's empty list plays the fallback.
        if (cl.file.isEmpty() && !cl.fallback.isEmpty())
            music.play();
        if (cl.stream)
            music.streaming.streamTo(*cl.stream);
    }
    ConsoleDialogs dialogs;
    ProgramServices real;
    Station station;
};

}  // namespace

int runHeadless(int argc, char** argv, const CommandLine& cl)
{
    QCoreApplication app(argc, argv);
    TerminationSignals termination;
    SystemTime time;
    ConsoleStation console(time, time, AudioEngine::Options{}, cl);
    PlayerWindowRemote remote(console.station.music());
    MprisService mpris(remote);
    ProgramServices::publishOnSessionBus(mpris);
    QObject::connect(&termination, &TerminationSignals::arrived, &app, &QCoreApplication::quit);
    return app.exec();
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
    ConsoleStation console(time, time, output, cl);

    AudioEngine& engine = console.real.engine;
    const int rate = engine.sampleRate();
    const int blockFrames = rate / 100;  // 10 ms
    const auto total = static_cast<std::int64_t>(cl.seconds * rate);
    while (engine.framesRendered() < total && !TerminationSignals::received()) {
        const auto frames = static_cast<int>(std::min<std::int64_t>(blockFrames, total - engine.framesRendered()));
        engine.renderOffline(frames);
        time.advance(static_cast<std::int64_t>(frames) * 1000 / rate);
    }
    return 0;
}

}  // namespace tavlo
