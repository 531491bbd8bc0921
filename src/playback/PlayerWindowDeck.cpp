// PlayerWindow, deck: transport, the position tick, seeking, levels, pitch,
// balance and trimming.
#include "playback/PlayerWindow.h"

#include "platform/AppServices.h"
#include "platform/Random.h"
#include "platform/TimerService.h"
#include "playback/Rounding.h"
#include "playback/FaderLaw.h"
#include "playback/FormatMinutes.h"
#include "playlist/PlaylistModel.h"

#include <algorithm>

namespace tavlo {

void PlayerWindow::showStatus(DeckStatus status)
{
    m_status = status;
    statusLabel->setText(status == DeckStatus::Playing  ? playingText()
                         : status == DeckStatus::Paused ? pausedText()
                                                        : stoppedText());
}

void PlayerWindow::play()
{
    if (m_status == DeckStatus::Paused) {
        if (Player* p = playerIn(m_channelInPlay))
            p->play();
        // A song the song change cued while paused goes on air only now.
        if (const QString cued = takeUnloggedCue(); !cued.isEmpty()) {
            writeLog(0, QString(), cued);
            Q_EMIT songStarted(cued);
        }
    } else if (m_status == DeckStatus::Stopped) {
        m_rowInPlay = 1;
        tryListNow();
        // Nothing sounds while the list waits to be tried again: the deck says so.
        if (m_backingOff && !m_onFallback)
            return;
    }
    showStatus(DeckStatus::Playing);
}

void PlayerWindow::pause()
{
    if (m_status == DeckStatus::Paused) {
        play();
        return;
    }
    if (Player* p = playerIn(m_channelInPlay))
        p->pause();
    showStatus(DeckStatus::Paused);
}

void PlayerWindow::stop()
{
    // The operator's stop: nothing is tried again behind it.
    endBackOff(false);
    stopPlayers();
}

void PlayerWindow::stopPlayers()
{
    // A running ramp and the position tick go on: the ramp still has to
    // reach its end tick.
    for (int c = 0; c < 2; ++c) {
        if (Player* p = playerIn(c))
            p->stop();
    }
    showStatus(DeckStatus::Stopped);
}

void PlayerWindow::next()
{
    if (m_status == DeckStatus::Paused)
        play();
    ++m_rowInPlay;
    tryListNow();
}

void PlayerWindow::back()
{
    if (m_status == DeckStatus::Paused)
        play();
    --m_rowInPlay;
    tryListNow();
}

void PlayerWindow::onPositionTick()
{
    Player* player = playerIn(m_channelInPlay);
    const int p = player ? player->position() : 0;

    songLengthLabel->setText(formatMinutes(m_songEnd - m_songStart));
    timeLeftLabel->setText(formatMinutes(m_songEnd - p - timeLeftLead()));
    positionLabel->setText(formatMinutes(p - m_songStart));
    timeLeftShown(timeLeftLabel->text());
    if (positionTicked())
        return;

    m_positionUpdating = true;
    positionSlider->setValue(p - m_songStart);
    m_positionUpdating = false;

    // A song played by its cue points hands over at its segue, to the tenth
    // of a second (or at its end, should the file have come out shorter);
    // otherwise a transition time before its end.
    if (m_changeAt >= 0 ? !player || player->exactPosition() < std::min(m_changeAt, player->exactDuration() - 0.05)
                        : p < m_songEnd - m_transitionTime)
        return;

    // The song is in its last seconds: choose what follows. This runs on
    // every tick while the song is there, so an insert holding the end sees
    // the choice made and taken back each time.
    if (shuffleCheck->value() == 1) {
        m_services.random.reseed();
        m_rowInPlay = static_cast<int>(m_services.random.next() * clipList->count() + 1);
    } else {
        ++m_rowInPlay;
    }
    songEndReached();
}

void PlayerWindow::onMasterVolumeChange()
{
    const int m = masterVolume->value();
    const int max = masterVolume->max();
    if (m_channelInPlay == 0 || m_channelInPlay == 1)
        channelFaders[static_cast<size_t>(m_channelInPlay)]->setValue(max - m);
    const int percent = max > 0 ? nearestEven(static_cast<double>(m) / max * 100.0) : 0;
    masterVolumeLabel->setText(QString::number(percent) + QLatin1Char('%'));
    masterVolumeBar->setValue(percent);
}

void PlayerWindow::onMasterVolumeScroll() { onMasterVolumeChange(); }

void PlayerWindow::onChannelFaderChange(int channel)
{
    if (channel < 0 || channel > 1)
        return;
    const Slider* fader = channelFaders[static_cast<size_t>(channel)];
    const int v = fader->value();
    const int max = fader->max();
    if (Player* p = playerIn(channel))
        p->setVolume(FaderStep::volumeOf(v));
    const int percent = max > 0 ? nearestEven(static_cast<double>(max - v) / max * 100.0) : 0;
    channelLevelLabels[static_cast<size_t>(channel)]->setText(QString::number(percent));
    channelLevelBars[static_cast<size_t>(channel)]->setValue(percent);
}

void PlayerWindow::onPositionChange()
{
    const int s = positionSlider->value();
    const int max = positionSlider->max();
    positionBar->setValue(max > 0 ? nearestEven(static_cast<double>(s) / max * 100.0) : 0);
    positionLabel->setText(formatMinutes(s));
    timeLeftLabel->setText(formatMinutes(m_songEnd - m_songStart - s - timeLeftLead()));
    // The position tick moves the slider too; only the user's moves seek.
    if (!m_positionUpdating) {
        if (Player* p = playerIn(m_channelInPlay))
            p->setPosition(s + m_songStart);
    }
}

void PlayerWindow::onPositionScroll() { onPositionChange(); }

void PlayerWindow::onPitchChange()
{
    const double rate = pitchSlider->value() / 100.0;
    if (Player* p = playerIn(m_channelInPlay))
        p->setPitch(rate);
    pitchLabel->setText(QString::number(rate));
}

void PlayerWindow::onPitchScroll()
{
    // Only the label follows a drag; the speed changes on release.
    pitchLabel->setText(QString::number(pitchSlider->value() / 100.0));
}

void PlayerWindow::onBalanceChange()
{
    if (Player* p = playerIn(m_channelInPlay))
        p->setBalance(balanceSlider->value());
    balanceLabel->setText(QString::number(balanceSlider->value()));
}

void PlayerWindow::onBalanceScroll() { onBalanceChange(); }

void PlayerWindow::onCutFirstChange()
{
    m_cutFirst = cutFirstSpinner->value();
    cutFirstLabel->setText(QString::number(m_cutFirst));
}

void PlayerWindow::onCutLastChange()
{
    m_cutLast = cutLastSpinner->value();
    cutLastLabel->setText(QString::number(m_cutLast));
}

}  // namespace tavlo
