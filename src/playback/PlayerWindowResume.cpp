// PlayerWindow, resuming: the deck's state as the station keeps it on disk,
// and the deck put back from it after a restart, the song on air faded in
// where it was.
#include "playback/PlayerWindow.h"

#include "platform/AppServices.h"
#include "platform/TimerService.h"
#include "playback/FaderLaw.h"
#include "playback/FormatMinutes.h"
#include "playlist/PlaylistModel.h"

#include <cmath>

namespace tavlo {

namespace {
// Half a second from silence to the master level: no click, and the
// listener hears the song come back rather than jump in.
constexpr int kResumeFadeTicks = 20;
constexpr int kResumeFadeTickMs = 25;
}  // namespace

void PlayerWindow::restoreList(std::vector<PlaylistRow> rows)
{
    clipList->clear();
    clipList->append(std::move(rows));
    m_rowInPlay = 0;
    loudnessForOpenedList();
}

DeckState PlayerWindow::deckState() const
{
    DeckState state;
    // Waiting to try a list that had nothing playable is still meant to be
    // on air: a restart goes on trying rather than wait for Play.
    state.status = m_backingOff ? DeckStatus::Playing : m_status;
    if (m_rowInPlay >= 1 && m_rowInPlay <= clipList->count()) {
        state.row = m_rowInPlay;
        state.location = clipList->text(m_rowInPlay, ColLocation);
    }
    if (const Player* p = playerInPlay(); p && p->isOpen()) {
        state.position = p->exactPosition();
        // A song of the fallback is none of the list's: a restart finds no
        // row for it and goes on with the list, or the fallback again.
        state.location = p->fileName();
    }
    return state;
}

int PlayerWindow::findResumedRow(const DeckState& state) const
{
    const int count = clipList->count();
    if (state.row >= 1 && state.row <= count && clipList->text(state.row, ColLocation) == state.location)
        return state.row;
    // The list was saved a moment apart from the deck: the same file nearest
    // the row it was in.
    int best = 0;
    for (int n = 1; n <= count; ++n) {
        if (clipList->text(n, ColLocation) == state.location
            && (best == 0 || std::abs(n - state.row) < std::abs(best - state.row)))
            best = n;
    }
    return best;
}

bool PlayerWindow::resumeDeck(const DeckState& state)
{
    const int row = state.status == DeckStatus::Stopped ? 0 : findResumedRow(state);
    if (row == 0) {
        // Stopped, or its song has left the list (or was the fallback's).
        m_rowInPlay = state.status == DeckStatus::Stopped ? std::clamp(state.row, 0, clipList->count()) : 0;
        if (state.status == DeckStatus::Playing) {
            // It was on air: go on with the list, or the fallback, rather than stay silent.
            play();
            return m_status == DeckStatus::Playing;
        }
        return false;
    }
    m_rowInPlay = row;
    if (!loadSong()) {
        // Its file has gone since: the next song that opens, as a song change would.
        if (state.status == DeckStatus::Playing) {
            showStatus(DeckStatus::Playing);
            ++m_rowInPlay;
            changeSong();
        }
        return false;
    }
    Player* player = playerInPlay();
    // The same seek the position slider makes, to the fraction of a second.
    const double at = std::clamp(state.position, static_cast<double>(m_songStart), static_cast<double>(m_songEnd));
    player->seekExact(at);
    m_positionUpdating = true;
    positionSlider->setValue(static_cast<int>(at) - m_songStart);
    m_positionUpdating = false;
    showItemInPlay();
    if (state.status == DeckStatus::Paused) {
        player->play();
        player->pause();
        onMasterVolumeChange();
        showStatus(DeckStatus::Paused);
        return false;
    }
    // Playing: from silence to the master level over half a second.
    player->play();
    showStatus(DeckStatus::Playing);
    m_resumeFadeTick = 0;
    m_resumeFadeTimer->setInterval(kResumeFadeTickMs);
    m_resumeFadeTimer->setEnabled(true);
    Q_EMIT songStarted(player->fileName());
    return true;
}

void PlayerWindow::stopResumeFade() { m_resumeFadeTimer->setEnabled(false); }

void PlayerWindow::onResumeFadeTick()
{
    const int target = masterVolume->max() - masterVolume->value();
    const int tick = ++m_resumeFadeTick;
    if (tick >= kResumeFadeTicks) {
        m_resumeFadeTimer->setEnabled(false);
        onMasterVolumeChange();
        return;
    }
    const double step = FaderStep::kSilent + (target - FaderStep::kSilent) * static_cast<double>(tick) / kResumeFadeTicks;
    setFader(m_channelInPlay, static_cast<int>(std::lround(step)));
}

QString PlayerWindow::resumedText() const
{
    const Player* p = playerInPlay();
    if (!p || !p->isOpen())
        return m_status == DeckStatus::Stopped ? QStringLiteral(" (stopped)") : QString();
    QString text = QLatin1Char(' ') + p->fileName() + QStringLiteral(" at ") + formatMinutes(p->exactPosition() - m_songStart);
    if (m_status == DeckStatus::Paused)
        text += QStringLiteral(" (paused)");
    return text;
}

}  // namespace tavlo
