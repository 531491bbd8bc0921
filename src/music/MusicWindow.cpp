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
    mnuView = new MenuItem(this, QStringLiteral("mnuView"), QStringLiteral("&View"));
    mnuLineUpWindows = new MenuItem(this, QStringLiteral("mnuLineUpWindows"), QStringLiteral("Line Up Windows"), mnuView);
    mnuLineUpWindows->onClick = [this] { mnuLineUpWindows_Click(); };
    buildOptionsMenu(QStringLiteral("Setup Log Folder..."));
    mnuHelp = new MenuItem(this, QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    mnuOnlineHelp = new MenuItem(this, QStringLiteral("mnuOnlineHelp"), QStringLiteral("Online &Help"), mnuHelp);
    mnuOnlineHelp->onClick = [this] { mnuOnlineHelp_Click(); };
    mnuAbout = new MenuItem(this, QStringLiteral("mnuAbout"), QStringLiteral("&About"), mnuHelp);
    mnuAbout->onClick = [this] { mnuAbout_Click(); };
    mnuStreaming = new MenuItem(this, QStringLiteral("mnuStreaming"), QStringLiteral("&Streaming..."), mnuOptions);
    mnuStreaming->onClick = [this] { mnuStreaming_Click(); };
    mnuDeadAir = new MenuItem(this, QStringLiteral("mnuDeadAir"), QStringLiteral("&Dead Air..."), mnuOptions);
    mnuDeadAir->onClick = [this] { deadAirDialog.openFrom(*this); };
    lblStreaming = new Label(this, QStringLiteral("lblStreaming"), services.streamer.status().text);
    streaming.onStatusText = [this](const QString& text) { lblStreaming->setText(text); };
    connect(this, &PlayerWindow::songStarted, this,
            [this](const QString& path) { streaming.songStarted(m_loadedArtist, m_loadedTitle, path); });

    chkMicMute = new Button(this, QStringLiteral("chkMicMute"), QStringLiteral("MIC"), Button::Kind::Check);
    chkMicMute->setToolTip(QStringLiteral("MIC On/Off Switch"));
    chkMicMute->onClick = [this] { chkMicMute_Click(); };
    chkLinMute = new Button(this, QStringLiteral("chkLinMute"), QStringLiteral("Line"), Button::Kind::Check);
    chkLinMute->setToolTip(QStringLiteral("Line In On/Off Switch"));
    chkLinMute->onClick = [this] { chkLinMute_Click(); };
    cmdShowPlayer2 = new Button(this, QStringLiteral("cmdShowPlayer2"), QStringLiteral("ShowPlayer2"));
    cmdShowPlayer2->onClick = [this] { cmdShowPlayer2_Click(); };
    cmdLive365id3 = new Button(this, QStringLiteral("cmdLive365id3"), QStringLiteral("PlayingNow Live365"));
    cmdLive365id3->onClick = [this] { cmdLive365id3_Click(); };
}

MusicWindow::~MusicWindow() = default;

void MusicWindow::Form_Load()
{
    MixerDevice& mixer = services().mixer;
    Players[1] = std::make_unique<Player>(services().media);
    // Ticked means the line is on; a switch that changes writes it back and
    // takes its colour.
    chkMicMute->setValue(mixer.micMute() ? 0 : 1);
    chkLinMute->setValue(mixer.lineMute() ? 0 : 1);
    outputMeter.start();
    cmdShowPlayer2_Click();
    GetSettings();
    mnuLineUpWindows_Click();
    finishLoading();
    streaming.load();
}

void MusicWindow::Form_Unload(int& Cancel)
{
    // Saved whatever the answer: a "No" keeps running with the settings already on disk.
    SaveSettings();
    if (m_insertWindow)
        m_insertWindow->SaveSettings();
    if (m_timingWindow)
        m_timingWindow->saveSettings();
    confirmExit(Cancel);
}

void MusicWindow::setInsertWindow(InsertWindow& window)
{
    m_insertWindow = &window;
    m_insert = &window.link();
}

void MusicWindow::cmdShowPlayer2_Click()
{
    if (m_insertWindow) {
        if (!m_insertWindow->isLoaded())
            m_insertWindow->Form_Load();
        m_insertWindow->show();
    }
    if (m_timingWindow) {
        if (!m_timingWindow->isLoaded())
            m_timingWindow->load();
        m_timingWindow->show();
    }
}

void MusicWindow::setLive365Window(NowPlayingReport& window)
{
    m_live365Window = &window;
    m_songInfo = &window;
}

void MusicWindow::cmdLive365id3_Click()
{
    if (m_live365Window)
        m_live365Window->show();
}

void MusicWindow::chkMicMute_Click()
{
    services().mixer.setMicMute(chkMicMute->value() != 1);
    chkMicMute->setBackColour(chkMicMute->value() == 1 ? kPureRed : kDarkRed);
}

void MusicWindow::chkLinMute_Click()
{
    services().mixer.setLineMute(chkLinMute->value() != 1);
    chkLinMute->setBackColour(chkLinMute->value() == 1 ? kPureRed : kDarkRed);
}

void MusicWindow::mnuLineUpWindows_Click()
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
        if (m_timingWindow) {
            m_timingWindow->setWindowState(WindowState::Normal);
            m_timingWindow->setGeometry(ins.left(), ins.top() + ins.height(), m_timingWindow->width(),
                                        m_timingWindow->height());
        }
    }
}

void MusicWindow::mnuOnlineHelp_Click() { services().shell.openManual(); }

void MusicWindow::mnuStreaming_Click() { streaming.openFrom(*this); }

void MusicWindow::mnuAbout_Click()
{
    if (m_aboutWindow)
        m_aboutWindow->open();
}

bool MusicWindow::positionTicked()
{
    // Silence is a fault only while a song should be sounding: not paused or
    // stopped, not while a ramp (ours or a break's) moves the levels.
    const Player* player = playerIn(ChannelPlaying);
    const bool watching = CurrentStatus == 1 && player && player->isOpen() && !tmrTransition().isEnabled() &&
                          !m_insert->rampRunning() && m_insert->InsertReady() == 0;
    if (!deadAir.tick(watching))
        return false;
    WriteLog(0, QStringLiteral("**SILENCE**"), QLatin1Char(' ') + player->FileName());
    btnNext_Click();
    return true;
}

void MusicWindow::getOwnSettings(const QString& app) { deadAir.read(services().settings, app); }

void MusicWindow::saveOwnSettings(const QString& app) { deadAir.save(services().settings, app); }

void MusicWindow::timeLeftShown(const QString& text)
{
    if (m_insert->InsertReady() == 1)
        m_insert->setCountDownText(text);
}

void MusicWindow::songEndReached()
{
    switch (m_insert->InsertReady()) {
    case 0:
        DoTransition();
        break;
    case 1:
        // The insert takes the song's place; the row chosen waits for the music's return.
        m_insert->pressInsertNow();
        --ItemPlaying;
        break;
    default:
        // An insert is under way: hold at the end of the song.
        --ItemPlaying;
        break;
    }
}

void MusicWindow::songLoaded(int row, int seconds, bool opened)
{
    Q_UNUSED(opened);
    m_loadedArtist = lstClipList->text(row, ColArtist);
    m_loadedTitle = lstClipList->text(row, ColTitle);
    const QString location = lstClipList->text(row, ColLocation);
    const qsizetype slash = std::max(location.lastIndexOf(QLatin1Char('/')), location.lastIndexOf(QLatin1Char('\\')));
    m_songInfo->sendSongInfo(lstClipList->text(row, ColTitle), lstClipList->text(row, ColArtist),
                             lstClipList->text(row, ColCd), seconds, location.mid(slash + 1));
}

}  // namespace tavlo
