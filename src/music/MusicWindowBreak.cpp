// MusicWindow, the music's side of a break: whether its song end starts a
// break or waits for one, and the three steps the insert window asks of it
// (cue, resume, log). The insert window's side is InsertWindow.cpp and
// InsertWindowRamps.cpp; docs/architecture.md, "The break hand-over", draws both.
#include "music/MusicWindow.h"

#include "playback/FaderLaw.h"
#include "playlist/PlaylistModel.h"

namespace tavlo {

void MusicWindow::timeLeftShown(const QString& text)
{
    if (m_insert->insertState() == InsertState::WaitingForSong)
        m_insert->showMusicTimeLeft(text);
}

void MusicWindow::songEndReached()
{
    // The position tick has chosen the next row; a break takes it back, so
    // the music's return starts from the row after the song it ended.
    switch (m_insert->insertState()) {
    case InsertState::Idle:
        changeSong();
        break;
    case InsertState::WaitingForSong:
        m_insert->startInsertAtSongEnd();
        setRowInPlay(rowInPlay() - 1);
        break;
    case InsertState::Starting:
        // The insert-in ramp runs: hold at the end of the song.
        setRowInPlay(rowInPlay() - 1);
        break;
    }
}

int MusicWindow::masterLevel() const { return masterVolume->value(); }

void MusicWindow::setFaderInPlay(double level)
{
    stopResumeFade();
    if (const auto step = FaderStep::stepFor(level))
        setFader(channelInPlay(), *step);
}

void MusicWindow::followMasterLevel()
{
    stopResumeFade();
    onMasterVolumeChange();
}

bool MusicWindow::mayTryListNow() const
{
    // A break that is starting owns the music's faders and its song end.
    return m_insert->insertState() == InsertState::Idle && !m_insert->rampRunning();
}

void MusicWindow::cueNextSongForBreak()
{
    // The list is being tried again: the break hands back to the fallback.
    if (backingOff()) {
        cueFallbackSong();
        return;
    }
    PlaylistModel& list = *clipList;
    if (list.count() < 1)
        return;
    list.selectOnly(rowInPlay() < list.count() ? rowInPlay() + 1 : 1);
    cueSelected();
    showItemInPlay();
}

void MusicWindow::resumeAfterBreak()
{
    // Logged once the ramp is over (logSongBackOnAir), even a song the
    // song change cued during the break.
    takeUnloggedCue();
    if (status() != DeckStatus::Paused)
        play();
    else
        pause();
}

void MusicWindow::logSongBackOnAir()
{
    if (onFallback() && playerInPlay())
        writeLog(0, QString(), playerInPlay()->fileName());
    else
        writeLog(0, QString(), clipList->text(rowInPlay(), ColLocation));
}

}  // namespace tavlo
