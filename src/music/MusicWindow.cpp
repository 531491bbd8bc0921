#include "music/MusicWindow.h"

#include "insert/InsertWindow.h"
#include "nowplaying/NowPlayingReport.h"
#include "platform/AboutBoxLink.h"
#include "platform/AppServices.h"
#include "platform/MixerDevice.h"
#include "platform/Screen.h"
#include "platform/Shell.h"
#include "platform/UserDialogs.h"
#include "playlist/PlaylistModel.h"
#include "scheduler/SchedulerWindow.h"

namespace tavlo {

MusicWindow::MusicWindow(AppServices& services, QObject* parent)
    : PlayerWindow(QStringLiteral("MusicWindow"), windowCaption(), services, DeckVariant{}, parent),
      outputMeter(*this, services.media, services.timers),
      deadAir(services.media, services.clock),
      deadAirDialog(deadAir, services.dialogs),
      streaming(services, productName())
{
    viewMenu = new MenuItem(this, QStringLiteral("viewMenu"), QStringLiteral("&View"));
    lineUpWindowsItem = new MenuItem(this, QStringLiteral("lineUpWindowsItem"), QStringLiteral("Line Up Windows"), viewMenu);
    lineUpWindowsItem->onClick = [this] { lineUpWindows(); };
    buildOptionsMenu(QStringLiteral("Setup Log Folder..."));
    helpMenu = new MenuItem(this, QStringLiteral("helpMenu"), QStringLiteral("&Help"));
    onlineHelpItem = new MenuItem(this, QStringLiteral("onlineHelpItem"), QStringLiteral("Online &Help"), helpMenu);
    onlineHelpItem->onClick = [this] { openManual(); };
    aboutItem = new MenuItem(this, QStringLiteral("aboutItem"), QStringLiteral("&About"), helpMenu);
    aboutItem->onClick = [this] { openAbout(); };
    streamingItem = new MenuItem(this, QStringLiteral("streamingItem"), QStringLiteral("&Streaming..."), optionsMenu);
    streamingItem->onClick = [this] { openStreaming(); };
    deadAirItem = new MenuItem(this, QStringLiteral("deadAirItem"), QStringLiteral("&Dead Air..."), optionsMenu);
    deadAirItem->onClick = [this] { deadAirDialog.openFrom(*this); };
    fallbackListItem = new MenuItem(this, QStringLiteral("fallbackListItem"), QStringLiteral("&Fallback List..."), optionsMenu);
    fallbackListItem->onClick = [this] { chooseFallbackList(); };
    noFallbackListItem = new MenuItem(this, QStringLiteral("noFallbackListItem"), QStringLiteral("No Fallback List"), optionsMenu);
    noFallbackListItem->onClick = [this] { clearFallbackList(); };
    noFallbackListItem->setEnabled(false);
    startWithDesktopItem = new MenuItem(this, QStringLiteral("startWithDesktopItem"),
                                        QStringLiteral("Start &With The Desktop"), optionsMenu);
    startWithDesktopItem->onClick = [this] { toggleStartWithDesktop(); };
    startWithDesktopItem->setChecked(services.autostart.isEnabled());
    // The desktop's own settings may remove the entry: each opening of the menu looks again.
    optionsMenu->onClick = [this] { startWithDesktopItem->setChecked(this->services().autostart.isEnabled()); };
    streamingStatusLabel = new Label(this, QStringLiteral("streamingStatusLabel"), services.streamer.status().text);
    streaming.onStatusText = [this](const QString& text) { streamingStatusLabel->setText(text); };
    connect(this, &PlayerWindow::songStarted, this,
            [this](const QString& path) { streaming.songStarted(m_loadedArtist, m_loadedTitle, path); });

    micSwitch = new Button(this, QStringLiteral("micSwitch"), QStringLiteral("MIC"), Button::Kind::Check);
    micSwitch->setToolTip(QStringLiteral("MIC On/Off Switch"));
    micSwitch->onClick = [this] { onMicSwitch(); };
    lineSwitch = new Button(this, QStringLiteral("lineSwitch"), QStringLiteral("Line"), Button::Kind::Check);
    lineSwitch->setToolTip(QStringLiteral("Line In On/Off Switch"));
    lineSwitch->onClick = [this] { onLineSwitch(); };
    showInsertWindowButton = new Button(this, QStringLiteral("showInsertWindowButton"), QStringLiteral("ShowPlayer2"));
    showInsertWindowButton->onClick = [this] { showOtherWindows(); };
    nowPlayingButton = new Button(this, QStringLiteral("nowPlayingButton"), QStringLiteral("PlayingNow Live365"));
    nowPlayingButton->onClick = [this] { showNowPlayingReport(); };
}

MusicWindow::~MusicWindow() = default;

QString MusicWindow::loadedSongTitle(const QString& path) const
{
    return StreamingDialog::streamTitle(m_loadedArtist, m_loadedTitle, path);
}

void MusicWindow::load()
{
    MixerDevice& mixer = services().mixer;
    makeSecondPlayer();
    // Ticked means the line is on; a switch that changes writes it back and
    // takes its colour.
    micSwitch->setValue(mixer.micMute() ? 0 : 1);
    lineSwitch->setValue(mixer.lineMute() ? 0 : 1);
    outputMeter.start();
    showOtherWindows();
    loadSettings();
    lineUpWindows();
    finishLoading();
    streaming.load();
}

bool MusicWindow::mayClose()
{
    // Saved whatever the answer: a "No" keeps running with the settings already on disk.
    saveSettings();
    if (m_insertWindow)
        m_insertWindow->saveSettings();
    if (m_schedulerWindow)
        m_schedulerWindow->saveSettings();
    return confirmExit();
}

void MusicWindow::setInsertWindow(InsertWindow& window)
{
    m_insertWindow = &window;
    m_insert = &window.link();
}

void MusicWindow::showOtherWindows()
{
    if (m_insertWindow) {
        if (!m_insertWindow->isLoaded())
            m_insertWindow->load();
        m_insertWindow->show();
    }
    if (m_schedulerWindow) {
        if (!m_schedulerWindow->isLoaded())
            m_schedulerWindow->load();
        m_schedulerWindow->show();
    }
}

void MusicWindow::setNowPlayingReport(NowPlayingReport& window)
{
    m_nowPlayingReport = &window;
    m_songInfo = &window;
}

void MusicWindow::showNowPlayingReport()
{
    if (m_nowPlayingReport)
        m_nowPlayingReport->show();
}

void MusicWindow::onMicSwitch()
{
    services().mixer.setMicMute(micSwitch->value() != 1);
    micSwitch->setBackColour(micSwitch->value() == 1 ? kPureRed : kDarkRed);
}

void MusicWindow::onLineSwitch()
{
    services().mixer.setLineMute(lineSwitch->value() != 1);
    lineSwitch->setBackColour(lineSwitch->value() == 1 ? kPureRed : kDarkRed);
}

void MusicWindow::lineUpWindows()
{
    // Music down the left, inserts to its right, the scheduler under the
    // inserts. A height the screen has no room for is not applied: that
    // window keeps the height it had.
    constexpr int kMargin = 100;
    constexpr int kWidth = 6615;
    const int screenHeight = services().screen.availableTwips().height();
    auto heightOr = [](int wanted, int current) { return wanted > 0 ? wanted : current; };

    setWindowState(WindowState::Normal);
    setGeometry(kMargin, kMargin, kWidth, heightOr(screenHeight - 1000, height()));
    if (m_insertWindow) {
        InsertWindow& ins = *m_insertWindow;
        ins.setWindowState(WindowState::Normal);
        ins.setGeometry(left() + width(), top(), kWidth, heightOr(screenHeight - 4060, ins.height()));
        if (m_schedulerWindow) {
            m_schedulerWindow->setWindowState(WindowState::Normal);
            m_schedulerWindow->setGeometry(ins.left(), ins.top() + ins.height(), m_schedulerWindow->width(),
                                        m_schedulerWindow->height());
        }
    }
}

void MusicWindow::openManual() { services().shell.openManual(); }

void MusicWindow::openStreaming() { streaming.openFrom(*this); }

void MusicWindow::toggleStartWithDesktop()
{
    Autostart& autostart = services().autostart;
    const QString why = autostart.setEnabled(!autostart.isEnabled());
    if (!why.isEmpty())
        tellOperator(why);
    // The check shows what is on disk, whether the change worked or not.
    startWithDesktopItem->setChecked(autostart.isEnabled());
}

void MusicWindow::openAbout()
{
    if (m_aboutWindow)
        m_aboutWindow->open();
}

bool MusicWindow::positionTicked()
{
    // Silence is a fault only while a song should be sounding: not paused or
    // stopped, not while a ramp (ours or a break's) moves the levels.
    const Player* player = playerInPlay();
    const bool watching = status() == DeckStatus::Playing && player && player->isOpen() && !rampTimer().isEnabled() &&
                          !m_insert->rampRunning() && m_insert->insertState() == InsertState::Idle;
    if (!deadAir.tick(watching))
        return false;
    writeLog(0, QStringLiteral("**SILENCE**"), QLatin1Char(' ') + player->fileName());
    next();
    return true;
}

void MusicWindow::getOwnSettings(const QString& app)
{
    deadAir.read(services().settings, app);
    readFallbackChoice(app);
}

void MusicWindow::saveOwnSettings(const QString& app)
{
    deadAir.save(services().settings, app);
    saveFallbackChoice(app);
}

void MusicWindow::songLoaded(int row, int seconds, bool opened)
{
    Q_UNUSED(opened);
    reportSong(clipList->text(row, ColTitle), clipList->text(row, ColArtist), clipList->text(row, ColCd), seconds,
               clipList->text(row, ColLocation));
}

void MusicWindow::reportSong(const QString& title, const QString& artist, const QString& album, int seconds,
                             const QString& location)
{
    m_loadedArtist = artist;
    m_loadedTitle = title;
    const qsizetype slash = std::max(location.lastIndexOf(QLatin1Char('/')), location.lastIndexOf(QLatin1Char('\\')));
    m_songInfo->sendSongInfo(title, artist, album, seconds, location.mid(slash + 1));
}

}  // namespace tavlo
