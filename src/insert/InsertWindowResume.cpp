// InsertWindow, resuming: the break's step as the station keeps it, and the
// break put back after a restart.
#include "insert/InsertWindow.h"

#include "platform/TimerService.h"
#include "playback/FaderLaw.h"

#include <cmath>

namespace tavlo {

BreakState InsertWindow::breakState() const
{
    BreakState state;
    state.playOverMusic = m_playOverMusic;
    if (m_countDownTimer->isEnabled()) {
        state.step = BreakStep::CountingDown;
        state.countDown = m_countDown;
    } else if (m_insertState == InsertState::WaitingForSong) {
        state.step = BreakStep::WaitingForSong;
    } else if (status() == DeckStatus::Playing && !m_goingBackToMusic) {
        state.step = BreakStep::OnAir;
    }
    return state;
}

bool InsertWindow::resumeBreak(const BreakState& state, const DeckState& deck, double secondsAway)
{
    playOverMusicCheck->setValue(state.playOverMusic ? 1 : 0);
    switch (state.step) {
    case BreakStep::None:
        // The insert deck waits where it was; it had nothing on air.
        resumeDeck(deck.status == DeckStatus::Playing ? DeckState{deck.row, deck.location, DeckStatus::Stopped, 0}
                                                      : deck);
        return false;
    case BreakStep::CountingDown: {
        resumeDeck({deck.row, deck.location, DeckStatus::Stopped, 0});
        readyLabel->setVisible(true);
        abortButton->setVisible(true);
        const double left = state.countDown - std::max(0.0, secondsAway);
        if (left < 1) {
            insertNow();
            return true;
        }
        m_countDown = static_cast<int>(std::lround(left));
        countDownLabel->setText(QString::number(m_countDown));
        m_countDownTimer->setEnabled(true);
        return false;
    }
    case BreakStep::WaitingForSong:
        resumeDeck({deck.row, deck.location, DeckStatus::Stopped, 0});
        readyLabel->setVisible(true);
        abortButton->setVisible(true);
        m_insertState = InsertState::WaitingForSong;
        return false;
    case BreakStep::OnAir:
        break;
    }
    m_insertState = InsertState::Idle;
    m_failedRows.clear();
    const bool onAir = resumeDeck({deck.row, deck.location, DeckStatus::Playing, deck.position});
    if (status() != DeckStatus::Playing) {
        // No insert opens any more: the break is over, the music comes back.
        backToMusic();
        return false;
    }
    if (!m_playOverMusic && m_music.musicPlaying()) {
        // Stopped during the insert-in ramp: the music goes where the ramp
        // would have left it, its next song cued behind the break.
        m_music.setFaderInPlay(FaderStep::kSilent);
        m_music.cueNextSongForBreak();
    }
    return onAir;
}

}  // namespace tavlo
