// InsertWindow, ramps: the insert-in ramp (insertInRampTimer) that brings the
// insert up and the music down, and the back-to-music ramp (backToMusicRampTimer)
// that does the reverse. Both take their shape from the insert window's
// transition type and their length from its transition time; both share the
// ramp step counter with the window's own song changes.
//
// Names as in the level law: c the tick, iv the insert master, mv the music
// master, M the masters' maximum (85), r the ratio mv / iv. A fader is 0 at
// full level and 85 silent. With "Play Ads Over Music" the music's fader is
// never touched by the insert-in ramp.
#include "insert/InsertWindow.h"

#include "platform/TimerService.h"
#include "playback/FaderLaw.h"
#include "playlist/PlaylistModel.h"

namespace tavlo {

void InsertWindow::setLevel(Slider* fader, double level)
{
    if (const auto step = FaderStep::stepFor(level); fader && step)
        fader->setValue(*step);
}

Slider* InsertWindow::insertFader() const
{
    return channelFaders[static_cast<size_t>(channelInPlay())];
}

std::optional<InsertWindow::RampTick> InsertWindow::nextRampTick(void (InsertWindow::*endActions)())
{
    const int c = advanceRampStep();
    // Read on every tick: moving the insert master reshapes the rest of the ramp.
    const int iv = masterVolume->value();
    if (c >= iv + 1) {
        (this->*endActions)();
        return std::nullopt;
    }
    return RampTick{c, iv, masterVolume->max(), static_cast<double>(m_music.masterLevel()), m_ratio,
                    !m_playOverMusic, 2 * c <= iv};
}

void InsertWindow::onInsertInRampTick()
{
    const auto tick = nextRampTick(&InsertWindow::endInsertIn);
    if (!tick)
        return;
    const auto [c, iv, M, mv, r, music, firstHalf] = *tick;

    switch (transitionType()) {
    case TransitionType::CrossDissolve:  // "Cross Dissolve"
        setLevel(insertFader(), M - c);
        if (music)
            m_music.setFaderInPlay((c + 1) * r + (M - mv));
        break;
    case TransitionType::UpDown:  // "Up Down": the insert up first, then the music down
        if (firstHalf)
            setLevel(insertFader(), M - 2 * c);
        else if (music)
            m_music.setFaderInPlay((c * r - mv / 2) * 2 + (M - mv));
        break;
    case TransitionType::DownUp:  // "Down  Up": the music down first, then the insert up
        if (firstHalf) {
            if (music)
                m_music.setFaderInPlay(2 * c * r + (M - mv));
        } else {
            if (music)
                m_music.setFaderInPlay(FaderStep::kSilent);
            setLevel(insertFader(), M - 2 * (c - iv / 2.0));
        }
        break;
    case TransitionType::Mix:  // "Mix": the music keeps its level until the end
        onMasterVolumeChange();
        break;
    case TransitionType::Cut:  // "Cut"
        if (music)
            m_music.setFaderInPlay(FaderStep::kSilent);
        setLevel(insertFader(), M - iv);
        cutMade(iv);
        break;
    default:
        break;
    }
}

void InsertWindow::cutMade(int iv)
{
    // The next tick ends the ramp; the insert window's other channel goes now.
    setRampStep(iv + 1);
    if (Player* p = playerIn(1 - channelInPlay()))
        p->stop();
}

void InsertWindow::endInsertIn()
{
    setRampStep(0);
    m_insertInRampTimer->setEnabled(false);
    const bool music = !m_playOverMusic;
    if (music)
        m_music.setFaderInPlay(FaderStep::kSilent);
    m_insertState = InsertState::Idle;
    readyLabel->setVisible(false);
    countDownLabel->setText(QString());
    abortButton->setVisible(false);
    showItemInPlay();

    if (music)
        m_music.cueNextSongForBreak();

    if (m_backAfterInsertIn) {
        m_backAfterInsertIn = false;
        backToMusic();
    }
}

void InsertWindow::onBackToMusicRampTick()
{
    const auto tick = nextRampTick(&InsertWindow::endBackToMusic);
    if (!tick)
        return;
    const auto [c, iv, M, mv, r, music, firstHalf] = *tick;

    switch (transitionType()) {
    case TransitionType::CrossDissolve:  // "Cross Dissolve"
        if (music)
            m_music.setFaderInPlay(M - c * r);
        setLevel(insertFader(), c + (M - iv));
        break;
    case TransitionType::UpDown:  // "Up Down": the music up first, then the insert down
        if (firstHalf) {
            if (music)
                m_music.setFaderInPlay(M - 2 * c * r);
        } else {
            setLevel(insertFader(), (c - iv / 2.0) * 2 + (M - iv));
        }
        break;
    case TransitionType::DownUp:  // "Down  Up": the insert down first, then the music up
        if (firstHalf) {
            setLevel(insertFader(), 2 * c + (M - iv));
        } else {
            setLevel(insertFader(), FaderStep::kSilent);
            if (music)
                m_music.setFaderInPlay(M - (c * r - mv / 2) * 2);
        }
        break;
    case TransitionType::Mix:  // "Mix": both at their master levels until the insert stops
        onMasterVolumeChange();
        m_music.followMasterLevel();
        break;
    case TransitionType::Cut:  // "Cut"
        setLevel(insertFader(), M);
        if (music)
            m_music.setFaderInPlay(M - mv);
        cutMade(iv);
        break;
    default:
        break;
    }
}

void InsertWindow::endBackToMusic()
{
    setRampStep(0);
    m_backToMusicRampTimer->setEnabled(false);
    setLevel(insertFader(), FaderStep::kSilent);
    stop();
    m_goingBackToMusic = false;
    m_music.logSongBackOnAir();
}

}  // namespace tavlo
