// The program's entry: the music window with its view on a desktop, or the
// same window logic without views (--headless), or rendered to a WAV file in
// audio time (--render).

#include "platform/AppServices.h"
#include "playback/PlayerWindowView.h"
#include "playback/DeadAirDialogView.h"
#include "playback/PlayerWindowRemote.h"
#include "playback/SongLoudness.h"
#include "app/AboutBox.h"
#include "app/AboutBoxView.h"
#include "music/MusicWindow.h"
#include "insert/InsertWindow.h"
#include "insert/InsertWindowView.h"
#include "nowplaying/NowPlayingReport.h"
#include "nowplaying/NowPlayingReportView.h"
#include "log/AsRunLog.h"
#include "log/LogFolderDialog.h"
#include "log/LogFolderDialogView.h"
#include "platform/IniSettingsStore.h"
#include "mixer/SoundCardMixer.h"
#include "platform/widgets/QtDialogsWidget.h"
#include "platform/widgets/QtScreen.h"
#include "platform/widgets/QtShell.h"
#include "platform/QtUiEvents.h"
#include "platform/SimulatedTime.h"
#include "platform/SystemTime.h"
#include "engine/AlsaMixerCard.h"
#include "engine/AudioEngine.h"
#include "engine/LoudnessAnalyzer.h"
#include "platform/dbus/MprisService.h"
#include "platform/net/QtHttpClient.h"
#include "platform/stream/IcecastStreamer.h"
#include "scheduler/SchedulerWindow.h"
#include "scheduler/SchedulerWindowView.h"
#include "search/DirentFolderReader.h"
#include "search/SearchWindow.h"
#include "search/SearchWindowView.h"
#include "stream/StreamingDialogView.h"

#include <QApplication>
#include <QIcon>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStringList>
#include <QTextStream>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <optional>
#include <unistd.h>

using namespace tavlo;

namespace {

// The engine's output with the stream's tap in it: whatever the station
// plays can then go on air beyond the room.
AudioEngine::Options withTap(AudioEngine::Options output, IcecastStreamer& streamer)
{
    output.streamTap = &streamer.tap();
    return output;
}

struct CommandLine {
    enum class Mode { Gui, Headless, Render } mode = Mode::Gui;
    QString wavPath;
    double seconds = 60;
    QString events;            // an event file opened into the scheduler at start-up
    std::optional<QTime> start;  // the render's first sample, as a local time of day today
    std::optional<double> loudness;  // --loudness: both windows normalize to this many LUFS
    std::optional<StreamTarget> stream;  // --stream: where the output goes, whatever the settings say
    QString file;              // the rest of the line, as the start-up takes it
};

constexpr const char* kUsage =
    "usage: tavlo [--events FILE.tmg] [FILE]\n"
    "       tavlo --headless [--events FILE.tmg] [--loudness LUFS] [--stream URL] FILE\n"
    "       tavlo --render OUT.wav [--seconds N] [--start HH:MM:SS] [--events FILE.tmg] [--loudness LUFS]\n"
    "             [--stream URL] FILE\n"
    "       tavlo --help | --version\n"
    "FILE is an audio file (MP3, WAV, AIFF, FLAC, Ogg Vorbis, Opus, AAC or ALAC) or an M3U, M3U8 or PLS\n"
    "playlist; everything after the options is the file name.\n"
    "\n"
    "  --headless          play FILE in the music window without windows, one line per song started\n"
    "  --render OUT.wav    render the station's output to a WAV file, faster than real time\n"
    "  --seconds N         with --render: render N seconds (60 unless given)\n"
    "  --start HH:MM:SS    with --render: the station clock's time of day at the first sample\n"
    "  --events FILE.tmg   open this event list in the scheduler at start-up\n"
    "  --loudness LUFS     with --headless or --render: play every song at this loudness, -18 for example\n"
    "  --stream URL        with --headless or --render: stream to icecast://USER@HOST:PORT/MOUNT\n"
    "  -h, --help          print this text and exit\n"
    "  -v, --version       print the program's version and exit\n"
    "\n"
    "Without a display, use --headless or --render. The stream's password comes from the environment\n"
    "variable TAVLO_STREAM_PASSWORD or from the settings, never from the command line.\n";

// What is wrong with the command line, or nothing.
QString parse(const QStringList& args, CommandLine& cl)
{
    QCommandLineParser parser;
    // The first word that is not an option starts the file name, and the
    // file name runs to the end of the line, spaces, dashes and all.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption headless(QStringLiteral("headless"));
    const QCommandLineOption render(QStringLiteral("render"), QString(), QStringLiteral("OUT.wav"));
    const QCommandLineOption seconds(QStringLiteral("seconds"), QString(), QStringLiteral("N"));
    const QCommandLineOption events(QStringLiteral("events"), QString(), QStringLiteral("FILE.tmg"));
    const QCommandLineOption start(QStringLiteral("start"), QString(), QStringLiteral("HH:MM:SS"));
    const QCommandLineOption loudness(QStringLiteral("loudness"), QString(), QStringLiteral("LUFS"));
    const QCommandLineOption stream(QStringLiteral("stream"), QString(), QStringLiteral("URL"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions({headless, render, seconds, events, start, stream, loudness, help, version});
    if (!parser.parse(args))
        return parser.errorText();
    if (parser.isSet(help))
        return QStringLiteral("help");
    if (parser.isSet(version))
        return QStringLiteral("version");
    if (parser.isSet(headless) && parser.isSet(render))
        return QStringLiteral("--headless and --render exclude each other");
    if (parser.isSet(headless))
        cl.mode = CommandLine::Mode::Headless;
    if (parser.isSet(render)) {
        cl.mode = CommandLine::Mode::Render;
        cl.wavPath = parser.value(render);
    }
    if (parser.isSet(seconds)) {
        if (cl.mode != CommandLine::Mode::Render)
            return QStringLiteral("--seconds goes with --render");
        bool ok = false;
        cl.seconds = parser.value(seconds).toDouble(&ok);
        if (!ok || !(cl.seconds > 0) || cl.seconds > 366.0 * 86400)
            return QStringLiteral("--seconds needs a number of seconds above 0, not \"%1\"").arg(parser.value(seconds));
    }
    if (parser.isSet(start)) {
        if (cl.mode != CommandLine::Mode::Render)
            return QStringLiteral("--start goes with --render");
        const QTime t = QTime::fromString(parser.value(start), QStringLiteral("H:mm:ss"));
        if (!t.isValid())
            return QStringLiteral("--start needs a time of day as HH:MM:SS, not \"%1\"").arg(parser.value(start));
        cl.start = t;
    }
    if (parser.isSet(stream)) {
        if (cl.mode == CommandLine::Mode::Gui)
            return QStringLiteral("--stream goes with --headless or --render; on a desktop use Options > Streaming...");
        StreamTarget target;
        const QString why = StreamTarget::fromUrl(parser.value(stream), target);
        if (!why.isEmpty())
            return why;
        cl.stream = target;
    }
    if (parser.isSet(loudness)) {
        if (cl.mode == CommandLine::Mode::Gui)
            return QStringLiteral(
                "--loudness goes with --headless or --render; on a desktop use Options > Normalize Loudness");
        bool ok = false;
        const double lufs = parser.value(loudness).toDouble(&ok);
        if (!ok || !SongLoudness::plausibleTarget(lufs))
            return QStringLiteral("--loudness needs a target in LUFS above -70 and at most 0, such as -18, not \"%1\"")
                .arg(parser.value(loudness));
        cl.loudness = lufs;
    }
    if (parser.isSet(events)) {
        cl.events = parser.value(events);
        // Opened, not read: the scheduler reads it once, at start-up.
        QFile file(cl.events);
        if (QFileInfo(cl.events).isDir() || !file.open(QIODevice::ReadOnly))
            return QStringLiteral("the event file \"%1\" cannot be read").arg(cl.events);
    }
    cl.file = parser.positionalArguments().join(QLatin1Char(' '));
    if (cl.mode != CommandLine::Mode::Gui && cl.file.isEmpty() && cl.events.isEmpty())
        return QStringLiteral("nothing to play: give a FILE or --events");
    return QString();
}

// Without a desktop nobody answers questions: the program just goes on.
class ConsoleDialogs : public UserDialogs {
public:
    bool askYesNo(const QString&, const QString&) override { return true; }
    void inform(const QString& title, const QString& text) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
    QStringList chooseFilesToOpen(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseFileToSave(const QString&, const QString&, const QString&) override { return {}; }
};

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

std::atomic<bool> g_stop{false};
int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    g_stop = true;
    if (g_signalPipe[1] >= 0) {
        const char c = 1;
        [[maybe_unused]] auto n = ::write(g_signalPipe[1], &c, 1);
    }
}

void catchTerminationSignals()
{
    if (::pipe(g_signalPipe) != 0)
        g_signalPipe[0] = g_signalPipe[1] = -1;
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
}

// Without its final separator: the window adds one when it makes it the log folder.
QString programFolder() { return QDir(QCoreApplication::applicationDirPath()).absolutePath(); }

// The windows as the program wires them; the file on the command line
// goes to the music window, and to the insert window when it is given; the
// event file, when there is one, to the scheduler once it has started.
void startWindows(MusicWindow& music, InsertWindow& insert, SchedulerWindow& timing, LogFolderDialog& logFolderWindow,
                  SearchWindow& search, NowPlayingReport& live365, const QString& musicFile, const QString& insertFile,
                  const QString& events)
{
    music.setInsertWindow(insert);
    music.setLive365Window(live365);
    music.setTimingWindow(timing);
    insert.setSchedulerWindow(timing.link());
    music.setLogFolderWindow(logFolderWindow);
    insert.setLogFolderWindow(logFolderWindow);
    music.setSearchWindow(search.link());
    insert.setSearchWindow(search.link());
    for (PlayerWindow* w : {static_cast<PlayerWindow*>(&music), static_cast<PlayerWindow*>(&insert)})
        w->setProgramFolder(programFolder());
    music.setCommandLine(musicFile);
    insert.setCommandLine(insertFile);
    music.Form_Load();
    if (!events.isEmpty())
        timing.openEventList(events);
}

// The desktop's media keys and sound menu reach the music window over the
// session bus. Without one (a console, a server) there is nobody to tell;
// another Tavlo holding the name is worth a line.
void publishOnSessionBus(MprisService& mpris)
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    const QString why = mpris.publish(bus);
    if (!why.isEmpty())
        std::fprintf(stderr, "tavlo: no media keys: %s\n", why.toLocal8Bit().constData());
}

bool haveDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
           || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

int runGui(int argc, char** argv, const CommandLine& cl)
{
    if (!haveDisplay()) {
        std::fputs("tavlo: no display to open a window on.\n", stderr);
        std::fputs(kUsage, stderr);
        return 2;
    }
    QApplication app(argc, argv);
    SystemTime time;
    ClockSeededRandom random(time);
    IcecastStreamer streamer;  // outlives the engine, which writes into its tap
    AudioEngine engine(withTap({}, streamer));
    IniSettingsStore settings;
    QtUserDialogs dialogs;
    AlsaMixerCard mixerCard;
    SoundCardMixer mixer{mixerCard};
    QtUiEvents uiEvents;
    QtScreen screen;
    QtShell shell(programFolder());
    LoudnessAnalyzer loudness(LoudnessAnalyzer::defaultCacheFile(), LoudnessAnalyzer::Mode::Background);
    AppServices services{engine, time, time, random, settings, dialogs, mixer, uiEvents, screen, shell, loudness,
                         streamer};
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tavlo.png")));

    LogFolderDialog logFolderWindow;
    LogFolderDialogView logFolderView(logFolderWindow);
    MusicWindow window(services);
    InsertWindow insertWindow(services, window);
    SchedulerWindow timingWindow(services, window, insertWindow);
    DirentFolderReader folders;
    SearchWindow searchWindow(services, window, folders);
    QtHttpClient http;
    NowPlayingReport live365Window(http);
    PlayerWindowView view(window);
    InsertWindowView insertView(insertWindow);
    SchedulerWindowView timingView(timingWindow);
    SearchWindowView searchView(searchWindow);
    NowPlayingReportView live365View(live365Window);
    StreamingDialogView streamingView(window.streaming);
    DeadAirDialogView deadAirView(window.deadAirDialog);
    AboutBox aboutWindow(shell, screen);
    AboutBoxView aboutView(aboutWindow);
    window.setAboutWindow(aboutWindow);
    insertWindow.setAboutWindow(aboutWindow);
    timingWindow.setAboutWindow(aboutWindow);
    screen.follow(view);
    view.mayClose = [&window] {
        int cancel = 0;
        window.Form_Unload(cancel);
        return cancel == 0;
    };
    insertView.mayClose = [&insertWindow] {
        int cancel = 0;
        insertWindow.Form_Unload(cancel);
        return cancel == 0;
    };
    timingView.mayClose = [&timingWindow] { return timingWindow.mayClose(); };
    // The settings the closing just saved reach the disk before anything
    // else is torn down.
    auto endProgram = [&settings, &searchWindow] {
        searchWindow.rememberFolderAndStop();  // stops a search under way, keeps its folder
        settings.flush();
        QCoreApplication::quit();
    };
    for (PlayerWindow* w : {static_cast<PlayerWindow*>(&window), static_cast<PlayerWindow*>(&insertWindow)})
        QObject::connect(w, &PlayerWindow::programEndRequested, &app, endProgram, Qt::QueuedConnection);
    QObject::connect(&timingWindow, &SchedulerWindow::programEndRequested, &app, endProgram, Qt::QueuedConnection);
    PlayerWindowRemote remote(window);
    MprisService mpris(remote, [&window, &view] {
        if (window.windowState() == Form::WindowState::Minimized)
            window.setWindowState(Form::WindowState::Normal);
        view.raise();
        view.activateWindow();
    });
    publishOnSessionBus(mpris);
    view.show();
    startWindows(window, insertWindow, timingWindow, logFolderWindow, searchWindow, live365Window, cl.file, cl.file,
                 cl.events);
    return app.exec();
}

// The windows without views: the services a console has, and one line
// printed per song started and per event fired. The file goes to the music
// window only; the insert window starts empty.
struct ConsoleStation {
    ConsoleStation(Clock& clock, TimerService& timers, const AudioEngine::Options& output, const CommandLine& cl)
        : random(clock),
          streamer(IcecastStreamer::Options{output.sampleRate}),
          engine(withTap(output, streamer)),
          // A render measures each song before it starts, so every render of a
          // station sounds the same; live play never waits for a measurement.
          loudness(LoudnessAnalyzer::defaultCacheFile(), output.output == AudioEngine::OutputKind::Offline
                                                             ? LoudnessAnalyzer::Mode::OnDemand
                                                             : LoudnessAnalyzer::Mode::Background),
          services{engine, timers, clock, random, settings, dialogs, mixer, uiEvents, noScreen(), noShell(), loudness,
                   streamer}
    {
        printLogEntries(window, "music", clock);
        printLogEntries(insertWindow, "insert", clock);
        printFiredEvents(timingWindow, clock);
        // The stream's state on stderr as it changes; never the password.
        window.streaming.onStatusText = [shown = window.streaming.onStatusText](const QString& text) {
            if (shown)
                shown(text);
            std::fprintf(stderr, "[stream] %s\n", text.toLocal8Bit().constData());
        };
        // Before the start-up plays the first song, and over the stored choice.
        if (cl.loudness)
            for (PlayerWindow* w : {static_cast<PlayerWindow*>(&window), static_cast<PlayerWindow*>(&insertWindow)})
                w->loudness().force(*cl.loudness);
        startWindows(window, insertWindow, timingWindow, logFolderWindow, searchWindow, live365, cl.file, QString(),
                     cl.events);
        if (cl.stream)
            window.streaming.streamTo(*cl.stream);
    }
    ClockSeededRandom random;
    IcecastStreamer streamer;  // outlives the engine, which writes into its tap
    AudioEngine engine;
    IniSettingsStore settings;
    ConsoleDialogs dialogs;
    AlsaMixerCard mixerCard;
    SoundCardMixer mixer{mixerCard};
    QtUiEvents uiEvents;
    LoudnessAnalyzer loudness;
    AppServices services;
    LogFolderDialog logFolderWindow;
    MusicWindow window{services};
    InsertWindow insertWindow{services, window};
    SchedulerWindow timingWindow{services, window, insertWindow};
    // Nobody can open it without a desktop; made for the wiring, it reads nothing.
    DirentFolderReader folders;
    SearchWindow searchWindow{services, window, folders};
    // Wired like the desktop's; its switch starts off and nobody can turn it on here.
    QtHttpClient http;
    NowPlayingReport live365{http};
};

int runHeadless(int argc, char** argv, const CommandLine& cl)
{
    QCoreApplication app(argc, argv);
    catchTerminationSignals();
    SystemTime time;
    ConsoleStation station(time, time, AudioEngine::Options{}, cl);
    PlayerWindowRemote remote(station.window);
    MprisService mpris(remote);
    publishOnSessionBus(mpris);
    QSocketNotifier stopper(g_signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&stopper, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    return app.exec();
}

int runRender(int argc, char** argv, const CommandLine& cl)
{
    QCoreApplication app(argc, argv);
    catchTerminationSignals();
    // The clock and the window timers follow the rendered samples, so the
    // station's hour takes as long as the CPU needs to make it.
    SimulatedTime time(cl.start ? QDateTime(QDate::currentDate(), *cl.start) : QDateTime::currentDateTime());
    AudioEngine::Options output;
    output.output = AudioEngine::OutputKind::Offline;
    output.wavPath = cl.wavPath;
    ConsoleStation station(time, time, output, cl);

    AudioEngine& engine = station.engine;
    const int rate = engine.sampleRate();
    const int blockFrames = rate / 100;  // 10 ms
    const auto total = static_cast<std::int64_t>(cl.seconds * rate);
    while (engine.framesRendered() < total && !g_stop) {
        const auto frames = static_cast<int>(std::min<std::int64_t>(blockFrames, total - engine.framesRendered()));
        engine.renderOffline(frames);
        time.advance(static_cast<std::int64_t>(frames) * 1000 / rate);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    CommandLine cl;
    const QString error = parse(args, cl);
    if (error == QLatin1String("help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (error == QLatin1String("version")) {
        // The project's version, as the about box shows it.
        const AboutBox::Version v = AboutBox::programVersion();
        std::printf("tavlo %d.%d.%d\n", v.major, v.minor, v.revision);
        return 0;
    }
    if (!error.isEmpty()) {
        std::fprintf(stderr, "tavlo: %s\n", error.toLocal8Bit().constData());
        std::fputs(kUsage, stderr);
        return 2;
    }
    switch (cl.mode) {
    case CommandLine::Mode::Headless:
        return runHeadless(argc, argv, cl);
    case CommandLine::Mode::Render:
        return runRender(argc, argv, cl);
    case CommandLine::Mode::Gui:
        break;
    }
    return runGui(argc, argv, cl);
}
