// PlayerWindow, song change: loading the next row into the other channel and
// the five ramps that hand over from the old song to the new one.
#include "playback/PlayerWindow.h"

#include "platform/TimerService.h"
#include "playback/Rounding.h"
#include "playlist/PlaylistModel.h"
#include "platform/AppServices.h"
#include "platform/Random.h"

#include <algorithm>
#include <utility>
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
    const ListTry why = std::exchange(m_listTry, ListTry::AtSongEnd);
    if (m_rowInPlay == -1)
        return;
    // While backing off, a song's end goes on with the fallback (or
    // silence) without trying the list: only the retry and the operator do.
    if (m_backingOff && why == ListTry::AtSongEnd) {
        nothingPlayable(why);
        return;
    }
    const int count = clipList->count();
    if (count == 0) {
        nothingPlayable(why);
        return;
    }
    if (m_rowInPlay > count) {
        // The song in play goes on; the next song end starts the new order's
        // first row.
        if (m_variant.reorderWhenListRunsOut)
            shuffleList();
        m_rowInPlay = 0;
        return;
    }

    switch (loadPlayableSong()) {
    case ListPass::Loaded:
        startIncomingSong();
        break;
    case ListPass::RanOut:
        break;
    case ListPass::NothingPlayable:
        nothingPlayable(why);
        break;
    }
}

void PlayerWindow::startIncomingSong()
{
    stopResumeFade();  // the song change's ramp takes the faders from here
    const bool cueOnly = m_variant.pausedSongChange && m_status == DeckStatus::Paused;
    Player* incoming = playerIn(m_channelInPlay);
    if (incoming) {
        incoming->play();
        if (cueOnly)
            incoming->pause();
    }
    const QString path = incoming ? incoming->fileName() : QString();
    if (cueOnly) {
        // Cued, not on air: logged when it is resumed.
        m_cuedUnlogged = path;
    } else {
        m_cuedUnlogged.clear();
        writeLog(0, QString(), path);
        Q_EMIT songStarted(path);
    }
    showItemInPlay();
    m_rampStep = 0;

    if (m_transitionTime == 0) {
        onRampTick();
        return;
    }
    // One fader step per tick, V steps over the transition time. A master
    // volume of 0 keeps the interval it had: the first tick ends the ramp.
    const int V = masterVolume->value();
    if (V != 0)
        m_rampTimer->setInterval(m_transitionTime * 1000 / V);
    if (m_variant.zeroRampIntervalIs100ms && m_rampTimer->interval() == 0)
        m_rampTimer->setInterval(100);

    if (!cueOnly) {
        m_rampTimer->setEnabled(true);
        return;
    }
    // Cued: the new song waits at the master level, the old one silent.
    onRampTick();
    setFader(1 - m_channelInPlay, masterVolume->max());
    onMasterVolumeChange();
}

PlayerWindow::DeckPlace PlayerWindow::deckPlace() const
{
    return {m_channelInPlay, m_songStart, m_songEnd, positionSlider->max(), positionSlider->value(), m_changeAt};
}

void PlayerWindow::restoreDeckPlace(const DeckPlace& place)
{
    m_channelInPlay = place.channel;
    m_songStart = place.songStart;
    m_songEnd = place.songEnd;
    m_changeAt = place.changeAt;
    m_positionUpdating = true;
    positionSlider->setMax(place.positionMax);
    positionSlider->setValue(place.positionValue);
    m_positionUpdating = false;
}

ListPass PlayerWindow::loadPlayableSong()
{
    // A row that will not open is passed over in the same tick, so the song
    // in play gets its whole ramp out and the first playable song its whole
    // ramp in, in the channel the change would have used anyway.
    const int count = clipList->count();
    const DeckPlace before = deckPlace();
    m_channelInPlay = 1 - m_channelInPlay;
    // The song in play goes on as at the end of its list: the music
    // window's list starts over in a new order, the insert window's break
    // ends with it.
    auto keepSongInPlay = [&] {
        restoreDeckPlace(before);
        if (m_variant.reorderWhenListRunsOut) {
            shuffleList();
            m_rowInPlay = 0;
        } else {
            m_rowInPlay = count;
        }
        return ListPass::RanOut;
    };
    std::vector<bool> tried(static_cast<size_t>(count) + 1, false);
    for (int left = count;;) {
        if (loadSong())
            return ListPass::Loaded;
        tried[static_cast<size_t>(m_rowInPlay)] = true;  // loadSong keeps it inside the list
        if (--left <= 0) {
            if (!m_variant.reorderWhenListRunsOut)
                return keepSongInPlay();
            // Whatever follows (the fallback, or silence) takes over from
            // the song in play as it stands.
            restoreDeckPlace(before);
            return ListPass::NothingPlayable;
        }
        if (shuffleCheck->value() == 1) {
            m_services.random.reseed();
            int n = std::clamp(static_cast<int>(m_services.random.next() * count + 1), 1, count);
            while (tried[static_cast<size_t>(n)])
                n = n % count + 1;
            m_rowInPlay = n;
        } else if (m_rowInPlay < count) {
            ++m_rowInPlay;
        } else {
            return keepSongInPlay();
        }
    }
}

void PlayerWindow::onRampTick()
{
    const int S = ++m_rampStep;
    const int M = masterVolume->max();
    // Read on every tick: moving the master volume reshapes the rest of the ramp.
    const int V = masterVolume->value();
    const int in = m_channelInPlay;
    const int out = 1 - m_channelInPlay;

    if (S >= V + 1) {
        m_rampStep = 0;
        m_rampTimer->setEnabled(false);
        if (Player* p = playerIn(out))
            p->stop();
        return;
    }

    switch (m_transitionType) {
    case TransitionType::CrossDissolve:  // "Cross Dissolve": one step each way per tick
        setFader(in, M - S);
        setFader(out, (M - V) + S);
        break;
    case TransitionType::UpDown:  // "Up Down": the new song up at double speed, then the old one down
        if (2 * S <= V)
            setFader(in, M - 2 * S);
        else
            setFader(out, (M - V) + 2 * S - V);
        break;
    case TransitionType::DownUp:  // "Down  Up": the old song down at double speed, then the new one up
        if (2 * S <= V)
            setFader(out, (M - V) + 2 * S);
        else
            setFader(in, M - 2 * S + V);
        break;
    case TransitionType::Mix:  // "Mix": both at the master level until the end tick
        onMasterVolumeChange();
        break;
    case TransitionType::Cut:  // "Cut"
        setFader(out, M);
        setFader(in, M - V);
        if (Player* p = playerIn(out))
            p->stop();
        break;
    default:
        break;
    }
}

void PlayerWindow::chooseTransition(TransitionType type)
{
    m_transitionType = type;
    if (m_variant.zeroTransitionTimeMeansCut && type != TransitionType::Cut && m_transitionTime == 0)
        transitionTimeSpinner->setValue(1);
}

void PlayerWindow::onTransitionTimeChange()
{
    m_transitionTime = transitionTimeSpinner->value();
    transitionTimeLabel->setText(QString::number(m_transitionTime));
    if (m_variant.zeroTransitionTimeMeansCut && m_transitionTime == 0)
        transitionButtons[toInt(TransitionType::Cut)]->setValue(1);
    // Only here, not on a type change: "Down  Up" is half over when the new
    // song is heard, so the time left counts to that point.
    m_lead = m_transitionType == TransitionType::DownUp ? nearestEven(m_transitionTime / 2.0) : m_transitionTime;
}

}  // namespace tavlo
