// PlayerWindow, song change: loading the next row into the other channel and
// the five ramps that hand over from the old song to the new one.
#include "playback/PlayerWindow.h"

#include "platform/TimerService.h"
#include "playback/Rounding.h"
#include "playlist/PlaylistModel.h"
#include "platform/AppServices.h"
#include "platform/Random.h"

#include <algorithm>
#include <vector>

namespace tavlo {

void PlayerWindow::setFader(int channel, int value)
{
    // A value outside 0..85 is refused by the fader and changes nothing.
    if (channel == 0 || channel == 1)
        channelFaders[static_cast<size_t>(channel)]->setValue(value);
}

void PlayerWindow::changeSong()
{
    if (ItemPlaying == -1)
        return;
    const int count = clipList->count();
    if (count == 0) {
        stop();
        ItemPlaying = -1;
        m_rampTimer->setEnabled(false);
        return;
    }
    if (ItemPlaying > count) {
        // The song in play goes on; the next song end starts the new order's
        // first row.
        if (m_variant.reorderWhenListRunsOut)
            shuffleList();
        ItemPlaying = 0;
        return;
    }

    if (!loadPlayableSong())
        return;
    const bool cueOnly = m_variant.pausedSongChange && CurrentStatus == 2;
    Player* incoming = playerIn(ChannelPlaying);
    if (incoming) {
        incoming->PlayFile();
        if (cueOnly)
            incoming->PauseFile();
    }
    const QString path = incoming ? incoming->FileName() : QString();
    if (cueOnly) {
        // Cued, not on air: logged when it is resumed.
        m_cuedUnlogged = path;
    } else {
        m_cuedUnlogged.clear();
        writeLog(0, QString(), path);
        Q_EMIT songStarted(path);
    }
    showItemInPlay();
    DoingTransition = 0;

    if (TransitionTime == 0) {
        onRampTick();
        return;
    }
    // One fader step per tick, V steps over the transition time. A master
    // volume of 0 keeps the interval it had: the first tick ends the ramp.
    const int V = masterVolume->value();
    if (V != 0)
        m_rampTimer->setInterval(TransitionTime * 1000 / V);
    if (m_variant.zeroRampIntervalIs100ms && m_rampTimer->interval() == 0)
        m_rampTimer->setInterval(100);

    if (!cueOnly) {
        m_rampTimer->setEnabled(true);
        return;
    }
    // Cued: the new song waits at the master level, the old one silent.
    onRampTick();
    setFader(1 - ChannelPlaying, masterVolume->max());
    onMasterVolumeChange();
}

bool PlayerWindow::loadPlayableSong()
{
    // A row that will not open is passed over in the same tick, so the song
    // in play gets its whole ramp out and the first playable song its whole
    // ramp in, in the channel the change would have used anyway.
    const int count = clipList->count();
    const int channelBefore = ChannelPlaying;
    const int startBefore = m_songStart;
    const int endBefore = m_songEnd;
    const int positionMax = positionSlider->max();
    const int positionValue = positionSlider->value();
    ChannelPlaying = 1 - ChannelPlaying;
    // The song in play goes on as at the end of its list: the music
    // window's list starts over in a new order, the insert window's break
    // ends with it.
    auto keepSongInPlay = [&] {
        ChannelPlaying = channelBefore;
        m_songStart = startBefore;
        m_songEnd = endBefore;
        m_positionUpdating = true;
        positionSlider->setMax(positionMax);
        positionSlider->setValue(positionValue);
        m_positionUpdating = false;
        if (m_variant.reorderWhenListRunsOut) {
            shuffleList();
            ItemPlaying = 0;
        } else {
            ItemPlaying = count;
        }
        return false;
    };
    std::vector<bool> tried(static_cast<size_t>(count) + 1, false);
    for (int left = count;;) {
        if (loadSong())
            return true;
        tried[static_cast<size_t>(ItemPlaying)] = true;  // loadSong keeps it inside the list
        if (--left <= 0) {
            if (!m_variant.reorderWhenListRunsOut)
                return keepSongInPlay();
            // Nothing in the list plays: stop as on an empty list.
            stop();
            ItemPlaying = -1;
            m_rampTimer->setEnabled(false);
            return false;
        }
        if (shuffleCheck->value() == 1) {
            m_services.random.reseed();
            int n = std::clamp(static_cast<int>(m_services.random.next() * count + 1), 1, count);
            while (tried[static_cast<size_t>(n)])
                n = n % count + 1;
            ItemPlaying = n;
        } else if (ItemPlaying < count) {
            ++ItemPlaying;
        } else {
            return keepSongInPlay();
        }
    }
}

void PlayerWindow::onRampTick()
{
    const int S = ++DoingTransition;
    const int M = masterVolume->max();
    // Read on every tick: moving the master volume reshapes the rest of the ramp.
    const int V = masterVolume->value();
    const int in = ChannelPlaying;
    const int out = 1 - ChannelPlaying;

    if (S >= V + 1) {
        DoingTransition = 0;
        m_rampTimer->setEnabled(false);
        if (Player* p = playerIn(out))
            p->StopFile();
        return;
    }

    switch (TransitionType) {
    case 0:  // "Cross Dissolve": one step each way per tick
        setFader(in, M - S);
        setFader(out, (M - V) + S);
        break;
    case 1:  // "Up Down": the new song up at double speed, then the old one down
        if (2 * S <= V)
            setFader(in, M - 2 * S);
        else
            setFader(out, (M - V) + 2 * S - V);
        break;
    case 2:  // "Down  Up": the old song down at double speed, then the new one up
        if (2 * S <= V)
            setFader(out, (M - V) + 2 * S);
        else
            setFader(in, M - 2 * S + V);
        break;
    case 3:  // "Mix": both at the master level until the end tick
        onMasterVolumeChange();
        break;
    case 4:  // "Cut"
        setFader(out, M);
        setFader(in, M - V);
        if (Player* p = playerIn(out))
            p->StopFile();
        break;
    default:
        break;
    }
}

void PlayerWindow::chooseTransition(int Index)
{
    TransitionType = Index;
    if (m_variant.zeroTransitionTimeMeansCut && Index != 4 && TransitionTime == 0)
        transitionTimeSpinner->setValue(1);
}

void PlayerWindow::onTransitionTimeChange()
{
    TransitionTime = transitionTimeSpinner->value();
    transitionTimeLabel->setText(QString::number(TransitionTime));
    if (m_variant.zeroTransitionTimeMeansCut && TransitionTime == 0)
        transitionButtons[4]->setValue(1);
    // Only here, not on a type change: "Down  Up" is half over when the new
    // song is heard, so the time left counts to that point.
    m_lead = TransitionType == 2 ? nearestEven(TransitionTime / 2.0) : TransitionTime;
}

}  // namespace tavlo
