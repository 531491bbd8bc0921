// PlayerWindow, deck: transport, the position tick, seeking, levels, pitch,
// balance and trimming.
#include "playback/PlayerWindow.h"

#include "platform/AppServices.h"
#include "platform/Random.h"
#include "platform/TimerService.h"
#include "playback/Rounding.h"
#include "playback/SegToMin.h"
#include "playlist/PlaylistModel.h"

namespace tavlo {

QString PlayerWindow::SegToMin(double Segundos) { return tavlo::SegToMin(Segundos); }

void PlayerWindow::showStatus(int status)
{
    CurrentStatus = status;
    lblStatus->setText(status == 1 ? playingText() : status == 2 ? pausedText() : stoppedText());
}

void PlayerWindow::btnPlay_Click()
{
    if (CurrentStatus == 2) {
        if (Player* p = playerIn(ChannelPlaying))
            p->play();
        // A song the song change cued while paused goes on air only now.
        if (const QString cued = takeUnloggedCue(); !cued.isEmpty()) {
            WriteLog(0, QString(), cued);
            Q_EMIT songStarted(cued);
        }
    } else if (CurrentStatus == 0) {
        ItemPlaying = 1;
        DoTransition();
    }
    showStatus(1);
}

void PlayerWindow::btnPause_Click()
{
    if (CurrentStatus == 2) {
        btnPlay_Click();
        return;
    }
    if (Player* p = playerIn(ChannelPlaying))
        p->pause();
    showStatus(2);
}

void PlayerWindow::btnStop_Click()
{
    // A running ramp and the position tick go on: the ramp still has to
    // reach its end tick.
    for (int c = 0; c < 2; ++c) {
        if (Player* p = playerIn(c))
            p->stop();
    }
    showStatus(0);
}

void PlayerWindow::btnNext_Click()
{
    if (CurrentStatus == 2)
        btnPlay_Click();
    ++ItemPlaying;
    DoTransition();
}

void PlayerWindow::btnBack_Click()
{
    if (CurrentStatus == 2)
        btnPlay_Click();
    --ItemPlaying;
    DoTransition();
}

void PlayerWindow::tmrPosition_Timer()
{
    Player* player = playerIn(ChannelPlaying);
    const int p = player ? player->position() : 0;

    lblTotal->setText(SegToMin(m_songEnd - m_songStart));
    lblTimeLeft->setText(SegToMin(m_songEnd - p - timeLeftLead()));
    lblPosition->setText(SegToMin(p - m_songStart));
    timeLeftShown(lblTimeLeft->text());
    if (positionTicked())
        return;

    m_positionUpdating = true;
    hscPosition->setValue(p - m_songStart);
    m_positionUpdating = false;

    if (p < m_songEnd - TransitionTime)
        return;

    // The song is in its last seconds: choose what follows. This runs on
    // every tick while the song is there, so an insert holding the end sees
    // the choice made and taken back each time.
    if (chkRndPlay->value() == 1) {
        m_services.random.reseed();
        ItemPlaying = static_cast<int>(m_services.random.next() * lstClipList->count() + 1);
    } else {
        ++ItemPlaying;
    }
    songEndReached();
}

void PlayerWindow::hscVolume_Change()
{
    const int m = hscVolume->value();
    const int max = hscVolume->max();
    if (ChannelPlaying == 0 || ChannelPlaying == 1)
        vscVolume[static_cast<size_t>(ChannelPlaying)]->setValue(max - m);
    const int percent = max > 0 ? nearestEven(static_cast<double>(m) / max * 100.0) : 0;
    lblMasterVolume->setText(QString::number(percent) + QLatin1Char('%'));
    prgMasterVolume->setValue(percent);
}

void PlayerWindow::hscVolume_Scroll() { hscVolume_Change(); }

void PlayerWindow::vscVolume_Change(int Index)
{
    if (Index < 0 || Index > 1)
        return;
    const Slider* fader = vscVolume[static_cast<size_t>(Index)];
    const int v = fader->value();
    const int max = fader->max();
    if (Player* p = playerIn(Index))
        p->setVolume(-(v * v));
    const int percent = max > 0 ? nearestEven(static_cast<double>(max - v) / max * 100.0) : 0;
    lblVolume[static_cast<size_t>(Index)]->setText(QString::number(percent));
    prgVolume[static_cast<size_t>(Index)]->setValue(percent);
}

void PlayerWindow::hscPosition_Change()
{
    const int s = hscPosition->value();
    const int max = hscPosition->max();
    prgPosition->setValue(max > 0 ? nearestEven(static_cast<double>(s) / max * 100.0) : 0);
    lblPosition->setText(SegToMin(s));
    lblTimeLeft->setText(SegToMin(m_songEnd - m_songStart - s - timeLeftLead()));
    // The position tick moves the slider too; only the user's moves seek.
    if (!m_positionUpdating) {
        if (Player* p = playerIn(ChannelPlaying))
            p->setPosition(s + m_songStart);
    }
}

void PlayerWindow::hscPosition_Scroll() { hscPosition_Change(); }

void PlayerWindow::hscPitch_Change()
{
    const double rate = hscPitch->value() / 100.0;
    if (Player* p = playerIn(ChannelPlaying))
        p->setPitch(rate);
    lblPitch->setText(QString::number(rate));
}

void PlayerWindow::hscPitch_Scroll()
{
    // Only the label follows a drag; the speed changes on release.
    lblPitch->setText(QString::number(hscPitch->value() / 100.0));
}

void PlayerWindow::hscBalance_Change()
{
    if (Player* p = playerIn(ChannelPlaying))
        p->setBalance(hscBalance->value());
    lblBalance->setText(QString::number(hscBalance->value()));
}

void PlayerWindow::hscBalance_Scroll() { hscBalance_Change(); }

void PlayerWindow::spinCutFirst_Change()
{
    m_cutFirst = spinCutFirst->value();
    lblCutFirst->setText(QString::number(m_cutFirst));
}

void PlayerWindow::spinCutLast_Change()
{
    m_cutLast = spinCutLast->value();
    lblCutLast->setText(QString::number(m_cutLast));
}

}  // namespace tavlo
