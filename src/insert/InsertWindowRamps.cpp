// InsertWindow, ramps: the insert-in ramp (insertInRampTimer) that brings the
// insert up and the music down, and the back-to-music ramp (backToMusicRampTimer)
// that does the reverse. Both take their shape from the insert window's
// transition type and their length from its transition time; both share the
// tick counter DoingTransition with the window's own song changes.
//
// Names as in the level law: c the tick, iv the insert master, mv the music
// master, M the masters' maximum (85), r the ratio mv / iv. A fader is 0 at
// full level and 85 silent. With "Play Ads Over Music" the music's fader is
// never touched by the insert-in ramp.
#include "insert/InsertWindow.h"

#include "platform/TimerService.h"
#include "playback/Rounding.h"
#include "playlist/PlaylistModel.h"

namespace tavlo {

void InsertWindow::setLevel(Slider* fader, double level)
{
    // Out of range (the step past silence on a ramp's last tick) is not applied.
    if (!fader || !(level >= -0.5 && level <= 85.5))
        return;
    fader->setValue(nearestEven(level));
}

Slider* InsertWindow::insertFader() const
{
    return ChannelPlaying == 0 || ChannelPlaying == 1 ? channelFaders[static_cast<size_t>(ChannelPlaying)] : nullptr;
}

Slider* InsertWindow::musicFader() const
{
    const int ch = m_music.ChannelPlaying;
    return ch == 0 || ch == 1 ? m_music.channelFaders[static_cast<size_t>(ch)] : nullptr;
}

std::optional<InsertWindow::RampTick> InsertWindow::nextRampTick(void (InsertWindow::*endActions)())
{
    const int c = ++DoingTransition;
    // Read on every tick: moving the insert master reshapes the rest of the ramp.
    const int iv = masterVolume->value();
    if (c >= iv + 1) {
        (this->*endActions)();
        return std::nullopt;
    }
    return RampTick{c, iv, masterVolume->max(), static_cast<double>(m_music.masterVolume->value()), m_ratio,
                    PlayOverMusic == 0, 2 * c <= iv};
}

void InsertWindow::onInsertInRampTick()
{
    const auto tick = nextRampTick(&InsertWindow::endInsertIn);
    if (!tick)
        return;
    const auto [c, iv, M, mv, r, music, firstHalf] = *tick;

    switch (TransitionType) {
    case 0:  // "Cross Dissolve"
        setLevel(insertFader(), M - c);
        if (music)
            setLevel(musicFader(), (c + 1) * r + (M - mv));
        break;
    case 1:  // "Up Down": the insert up first, then the music down
        if (firstHalf)
            setLevel(insertFader(), M - 2 * c);
        else if (music)
            setLevel(musicFader(), (c * r - mv / 2) * 2 + (M - mv));
        break;
    case 2:  // "Down  Up": the music down first, then the insert up
        if (firstHalf) {
            if (music)
                setLevel(musicFader(), 2 * c * r + (M - mv));
        } else {
            if (music)
                setLevel(musicFader(), 85);
            setLevel(insertFader(), M - 2 * (c - iv / 2.0));
        }
        break;
    case 3:  // "Mix": the music keeps its level until the end
        onMasterVolumeChange();
        break;
    case 4:  // "Cut"
        if (music)
            setLevel(musicFader(), 85);
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
    DoingTransition = iv + 1;
    if (Player* p = playerIn(1 - ChannelPlaying))
        p->StopFile();
}

void InsertWindow::endInsertIn()
{
    DoingTransition = 0;
    m_insertInRampTimer->setEnabled(false);
    const bool music = PlayOverMusic == 0;
    if (music)
        setLevel(musicFader(), 85);
    InsertReady = 0;
    readyLabel->setVisible(false);
    countDownLabel->setText(QString());
    abortButton->setVisible(false);
    showItemInPlay();

    if (music) {
        // The music waits, paused at its next song, for the break to end.
        PlaylistModel& list = *m_music.clipList;
        const int next = m_music.ItemPlaying < list.count() ? m_music.ItemPlaying + 1 : 1;
        if (list.count() >= 1) {
            list.selectOnly(next);
            m_music.cueSelected();
            m_music.showItemInPlay();
        }
    }

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

    switch (TransitionType) {
    case 0:  // "Cross Dissolve"
        if (music)
            setLevel(musicFader(), M - c * r);
        setLevel(insertFader(), c + (M - iv));
        break;
    case 1:  // "Up Down": the music up first, then the insert down
        if (firstHalf) {
            if (music)
                setLevel(musicFader(), M - 2 * c * r);
        } else {
            setLevel(insertFader(), (c - iv / 2.0) * 2 + (M - iv));
        }
        break;
    case 2:  // "Down  Up": the insert down first, then the music up
        if (firstHalf) {
            setLevel(insertFader(), 2 * c + (M - iv));
        } else {
            setLevel(insertFader(), 85);
            if (music)
                setLevel(musicFader(), M - (c * r - mv / 2) * 2);
        }
        break;
    case 3:  // "Mix": both at their master levels until the insert stops
        onMasterVolumeChange();
        m_music.onMasterVolumeChange();
        break;
    case 4:  // "Cut"
        setLevel(insertFader(), M);
        if (music)
            setLevel(musicFader(), M - mv);
        cutMade(iv);
        break;
    default:
        break;
    }
}

void InsertWindow::endBackToMusic()
{
    DoingTransition = 0;
    m_backToMusicRampTimer->setEnabled(false);
    setLevel(insertFader(), 85);
    stop();
    GoingBackToMusic = 0;
    m_music.writeLog(0, QString(), m_music.clipList->text(m_music.ItemPlaying, ColLocation));
}

}  // namespace tavlo
