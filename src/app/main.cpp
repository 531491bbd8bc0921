// The program's entry: the music window with its view on a desktop, or the
// same window logic without views (--headless), or rendered to a WAV file in
// audio time (--render).

#include "platform/AppServices.h"
#include "playback/PlayerWindowView.h"
#include "app/frmPlayer.h"
#include "insert/frmPlayer2.h"
#include "insert/frmPlayer2View.h"
#include "log/AsRunLog.h"
#include "log/frmTavloOptions.h"
#include "log/frmTavloOptionsView.h"
#include "platform/IniSettingsStore.h"
#include "platform/MixerDevice.h"
#include "platform/widgets/QtDialogsWidget.h"
#include "platform/QtUiEvents.h"
#include "platform/SimulatedTime.h"
#include "platform/SystemTime.h"
#include "platform/audio/AudioEngine.h"

#include <QApplication>
#include <QDir>
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

struct CommandLine {
    enum class Mode { Gui, Headless, Render } mode = Mode::Gui;
    QString wavPath;
    double seconds = 60;
    QString file;  // the rest of the line, as the start-up takes it
};

constexpr const char* kUsage =
    "usage: tavlo [FILE]\n"
    "       tavlo --headless FILE\n"
    "       tavlo --render OUT.wav [--seconds N] FILE\n"
    "FILE is a media file or an M3U playlist; everything after the options is the file name.\n"
    "Without a display, use --headless.\n";

std::optional<CommandLine> parse(const QStringList& args)
{
    CommandLine cl;
    int i = 1;
    for (; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--headless")) {
            cl.mode = CommandLine::Mode::Headless;
        } else if (a == QLatin1String("--render") && i + 1 < args.size()) {
            cl.mode = CommandLine::Mode::Render;
            cl.wavPath = args.at(++i);
        } else if (a == QLatin1String("--seconds") && i + 1 < args.size()) {
            bool ok = false;
            cl.seconds = args.at(++i).toDouble(&ok);
            if (!ok || cl.seconds <= 0)
                return std::nullopt;
        } else if (a == QLatin1String("--")) {
            ++i;  // a file whose name starts with "--"
            break;
        } else if (a.startsWith(QLatin1String("--")) || a == QLatin1String("-h")) {
            return std::nullopt;  // --help, or an option we do not know
        } else {
            break;
        }
    }
    cl.file = args.mid(i).join(QLatin1Char(' '));
    if (cl.mode != CommandLine::Mode::Gui && cl.file.isEmpty())
        return std::nullopt;
    return cl;
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

// The two player windows as the program wires them; the file on the command
// line goes to the music window, and to the insert window when it is given.
void startWindows(frmPlayer& music, frmPlayer2& insert, frmTavloOptions& logFolderWindow, const QString& musicFile,
                  const QString& insertFile)
{
    music.setInsertWindow(insert);
    music.setLogFolderWindow(logFolderWindow);
    insert.setLogFolderWindow(logFolderWindow);
    for (PlayerWindow* w : {static_cast<PlayerWindow*>(&music), static_cast<PlayerWindow*>(&insert)})
        w->setProgramFolder(programFolder());
    music.setCommandLine(musicFile);
    insert.setCommandLine(insertFile);
    music.Form_Load();
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
    AudioEngine engine(AudioEngine::Options{});
    IniSettingsStore settings;
    QtUserDialogs dialogs;
    NullMixerDevice mixer;
    QtUiEvents uiEvents;
    AppServices services{engine, time, time, random, settings, dialogs, mixer, uiEvents};

    frmTavloOptions logFolderWindow;
    frmTavloOptionsView logFolderView(logFolderWindow);
    frmPlayer window(services);
    frmPlayer2 insertWindow(services, window);
    PlayerWindowView view(window);
    frmPlayer2View insertView(insertWindow);
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
    // The settings the closing just saved reach the disk before anything
    // else is torn down.
    for (PlayerWindow* w : {static_cast<PlayerWindow*>(&window), static_cast<PlayerWindow*>(&insertWindow)}) {
        QObject::connect(
            w, &PlayerWindow::programEndRequested, &app,
            [&settings] {
                settings.flush();
                QCoreApplication::quit();
            },
            Qt::QueuedConnection);
    }
    view.show();
    startWindows(window, insertWindow, logFolderWindow, cl.file, cl.file);
    // Until the windows line themselves up, the insert window stands to the
    // right of the music window.
    insertView.move(view.frameGeometry().topRight() + QPoint(1, 0));
    return app.exec();
}

// The player windows without views: the services a console has, and one
// line printed per song started. The file goes to the music window only; the
// insert window starts empty.
struct ConsoleStation {
    ConsoleStation(Clock& clock, TimerService& timers, const AudioEngine::Options& output, const QString& file)
        : random(clock), engine(output), services{engine, timers, clock, random, settings, dialogs, mixer, uiEvents}
    {
        printLogEntries(window, "music", clock);
        printLogEntries(insertWindow, "insert", clock);
        startWindows(window, insertWindow, logFolderWindow, file, QString());
    }
    ClockSeededRandom random;
    AudioEngine engine;
    IniSettingsStore settings;
    ConsoleDialogs dialogs;
    NullMixerDevice mixer;
    QtUiEvents uiEvents;
    AppServices services;
    frmTavloOptions logFolderWindow;
    frmPlayer window{services};
    frmPlayer2 insertWindow{services, window};
};

int runHeadless(int argc, char** argv, const CommandLine& cl)
{
    QCoreApplication app(argc, argv);
    catchTerminationSignals();
    SystemTime time;
    ConsoleStation station(time, time, AudioEngine::Options{}, cl.file);
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
    SimulatedTime time(QDateTime::currentDateTime());
    AudioEngine::Options output;
    output.output = AudioEngine::OutputKind::Offline;
    output.wavPath = cl.wavPath;
    ConsoleStation station(time, time, output, cl.file);

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
    const auto cl = parse(args);
    if (!cl) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    switch (cl->mode) {
    case CommandLine::Mode::Headless:
        return runHeadless(argc, argv, *cl);
    case CommandLine::Mode::Render:
        return runRender(argc, argv, *cl);
    case CommandLine::Mode::Gui:
        break;
    }
    return runGui(argc, argv, *cl);
}
