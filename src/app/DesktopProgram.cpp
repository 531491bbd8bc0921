#include "app/DesktopProgram.h"

#include "app/AboutBoxView.h"
#include "app/CommandLine.h"
#include "app/ProgramServices.h"
#include "app/Station.h"
#include "app/StationStateKeeper.h"
#include "app/WebRemoteProgram.h"
#include "insert/InsertWindowView.h"
#include "log/LogFolderDialogView.h"
#include "music/MusicWindowView.h"
#include "nowplaying/NowPlayingReportView.h"
#include "platform/dbus/MprisService.h"
#include "platform/widgets/QtDialogsWidget.h"
#include "platform/widgets/QtScreen.h"
#include "platform/widgets/QtShell.h"
#include "playback/DeadAirDialogView.h"
#include "playback/PlayerWindowRemote.h"
#include "scheduler/SchedulerWindowView.h"
#include "search/SearchWindowView.h"
#include "stream/StreamingDialogView.h"
#include "web/WebRemoteDialogView.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <functional>
#include <optional>

namespace tavlo {

namespace {

bool haveDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
           || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// A window's X asks its logic first, which may keep it open.
template <typename Window>
std::function<bool()> askBeforeClosing(Window& window)
{
    return [&window] { return window.mayClose(); };
}

}  // namespace

int runDesktop(int argc, char** argv, const CommandLine& cl)
{
    if (!haveDisplay()) {
        std::fputs("tavlo: no display to open a window on.\n", stderr);
        std::fputs(CommandLine::usage(), stderr);
        return 2;
    }
    QApplication app(argc, argv);
    SystemTime time;
    QtUserDialogs dialogs;
    QtScreen screen;
    QtShell shell(ProgramServices::programFolder());
    ProgramServices real(time, time, dialogs, screen, shell, AudioEngine::Options{});
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tavlo.png")));

    Station station(real.services, real.http, real.folders);
    StationStateKeeper keeper(station, time, time, StationStateKeeper::defaultFolder());
    MusicWindow& window = station.music();
    // Its menu item goes on the music window before the view builds the menus.
    WebRemoteProgram web(station, real.services, cl, WebRemoteProgram::Run::Desktop);
    web.dialog().attachTo(window, window.optionsMenu);
    LogFolderDialogView logFolderView(station.logFolder());
    MusicWindowView view(window);
    InsertWindowView insertView(station.insert());
    SchedulerWindowView timingView(station.scheduler());
    SearchWindowView searchView(station.search());
    NowPlayingReportView live365View(station.report());
    StreamingDialogView streamingView(window.streaming);
    DeadAirDialogView deadAirView(window.deadAirDialog);
    WebRemoteDialogView webView(web.dialog());
    AboutBoxView aboutView(station.about());
    screen.follow(view);
    view.mayClose = askBeforeClosing(window);
    insertView.mayClose = askBeforeClosing(station.insert());
    timingView.mayClose = askBeforeClosing(station.scheduler());
    // The settings the closing just saved reach the disk before anything
    // else is torn down.
    auto endProgram = [&real, &station, &keeper] {
        station.search().rememberFolderAndStop();  // stops a search under way, keeps its folder
        keeper.saveNow();
        real.settings.flush();
        QCoreApplication::quit();
    };
    for (PlayerWindow* w : {static_cast<PlayerWindow*>(&window), static_cast<PlayerWindow*>(&station.insert())}) {
        QObject::connect(w, &PlayerWindow::programEndRequested, &app, endProgram, Qt::QueuedConnection);
        // The status bar shows a notice; a station's journal keeps it.
        QObject::connect(w, &PlayerWindow::notice, &app, [](const QString& text) {
            std::fprintf(stderr, "tavlo: %s\n", text.toLocal8Bit().constData());
        });
    }
    QObject::connect(&station.scheduler(), &SchedulerWindow::programEndRequested, &app, endProgram,
                     Qt::QueuedConnection);
    PlayerWindowRemote remote(window);
    MprisService mpris(remote, [&window, &view] {
        if (window.windowState() == Form::WindowState::Minimized)
            window.setWindowState(Form::WindowState::Normal);
        view.raise();
        view.activateWindow();
    });
    ProgramServices::publishOnSessionBus(mpris);
    view.show();
    station.setProgramFolder(ProgramServices::programFolder());
    station.setCommandLine(cl.file, cl.file);
    // Without a file the station goes on where it was when it last ran.
    std::optional<KeptStation> kept;
    QString warning;
    if (cl.file.isEmpty() && !cl.fresh)
        kept = keeper.read(&warning);
    station.start(cl.events);
    if (!warning.isEmpty())
        window.tellOperator(warning);
    if (kept)
        station.resume(std::move(*kept), time.now(), cl.events.isEmpty());
    keeper.start();
    web.start();
    return app.exec();
}

}  // namespace tavlo
