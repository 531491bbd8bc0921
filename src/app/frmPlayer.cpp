#include "app/frmPlayer.h"

#include "platform/AppServices.h"
#include "platform/MixerDevice.h"
#include "platform/UserDialogs.h"
#include "playlist/PlaylistModel.h"

#include <QCoreApplication>

namespace tavlo {

frmPlayer::frmPlayer(AppServices& services, QObject* parent)
    : PlayerWindow(QStringLiteral("frmPlayer"), windowCaption(), services, DeckVariant{}, parent)
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

    chkMicMute = new Button(this, QStringLiteral("chkMicMute"), QStringLiteral("MIC"), Button::Kind::Check);
    chkMicMute->setToolTip(QStringLiteral("MIC On/Off Switch"));
    chkMicMute->onClick = [this] { chkMicMute_Click(); };
    chkLinMute = new Button(this, QStringLiteral("chkLinMute"), QStringLiteral("Line"), Button::Kind::Check);
    chkLinMute->setToolTip(QStringLiteral("Line In On/Off Switch"));
    chkLinMute->onClick = [this] { chkLinMute_Click(); };
    cmdShowPlayer2 = new Button(this, QStringLiteral("cmdShowPlayer2"), QStringLiteral("ShowPlayer2"));
    cmdShowPlayer2->onClick = [this] { cmdShowPlayer2_Click(); };

    if (QCoreApplication::instance())
        m_programFolder = QCoreApplication::applicationDirPath();
}

frmPlayer::~frmPlayer() = default;

void frmPlayer::Form_Load()
{
    MixerDevice& mixer = services().mixer;
    Players[1] = std::make_unique<Player>(services().media);
    // Ticked means the line is on; a switch that changes writes it back and
    // takes its colour.
    chkMicMute->setValue(mixer.micMute() ? 0 : 1);
    chkLinMute->setValue(mixer.lineMute() ? 0 : 1);
    cmdShowPlayer2_Click();
    GetSettings();
    mnuLineUpWindows_Click();
    if (strLogPath.isEmpty())
        strLogPath = m_programFolder + QLatin1Char('/');

    StatusBar1->addPanel();
    StatusBar1->setBold(true);
    StatusBar1->setPanelText(2, idleText());
    for (Label* l : {lblTotal, lblPosition, lblTimeLeft, lblCutFirst, lblCutLast, lblTransitionTime, lblMasterVolume,
                     lblStatus})
        l->setBold(true);
    lblStatus->setText(stoppedText());
    if (showOptions() == 0)
        cmdShowOptions_Click();

    if (!m_commandLine.isEmpty()) {
        QString file = m_commandLine;
        file.remove(QLatin1Char('"'));
        OpenFile(file, true, 0);
        btnPlay_Click();
    }
}

void frmPlayer::Form_Unload(int& Cancel)
{
    // Saved whatever the answer: a "No" keeps running with the settings already on disk.
    SaveSettings();
    // HOOK (insert window): its SaveSettings.
    // HOOK (scheduler): its settings.
    if (services().dialogs.askYesNo(productName(), QStringLiteral("Exit Program ?")))
        Q_EMIT programEndRequested();
    else
        Cancel = 1;
}

void frmPlayer::cmdShowPlayer2_Click()
{
    // HOOK (insert window, scheduler): load and show the insert window, then
    // the scheduler window.
}

void frmPlayer::chkMicMute_Click()
{
    services().mixer.setMicMute(chkMicMute->value() != 1);
    chkMicMute->setBackColour(chkMicMute->value() == 1 ? kPureRed : kDarkRed);
}

void frmPlayer::chkLinMute_Click()
{
    services().mixer.setLineMute(chkLinMute->value() != 1);
    chkLinMute->setBackColour(chkLinMute->value() == 1 ? kPureRed : kDarkRed);
}

void frmPlayer::mnuLineUpWindows_Click()
{
    // HOOK (layout): line the three main windows up on the screen.
}

void frmPlayer::mnuOnlineHelp_Click()
{
    // HOOK (layout and menus): open the help page in the desktop's browser.
}

void frmPlayer::mnuAbout_Click()
{
    // HOOK (about box).
}

void frmPlayer::timeLeftShown(const QString& text)
{
    if (m_insert->InsertReady() == 1)
        m_insert->setCountDownText(text);
}

void frmPlayer::songEndReached()
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

void frmPlayer::songLoaded(int row, int seconds)
{
    const QString location = lstClipList->text(row, ColLocation);
    const qsizetype slash = std::max(location.lastIndexOf(QLatin1Char('/')), location.lastIndexOf(QLatin1Char('\\')));
    m_songInfo->sendSongInfo(lstClipList->text(row, ColTitle), lstClipList->text(row, ColArtist),
                             lstClipList->text(row, ColCd), seconds, location.mid(slash + 1));
}

}  // namespace tavlo
