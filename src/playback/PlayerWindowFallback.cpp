// PlayerWindow, nothing playable: a list whose rows all fail to open (an
// unmounted share) is tried again on a back-off schedule rather than on every
// tick, each bad file is logged once, and the fallback list plays meanwhile.
#include "playback/PlayerWindow.h"

#include "platform/TimerService.h"
#include "platform/AppServices.h"
#include "playback/AutoCue.h"
#include "playback/SongLoudness.h"
#include "playlist/PlaylistModel.h"

#include <algorithm>

namespace tavlo {

namespace {

constexpr int kFirstWaitMs = 1000;
constexpr int kLongestWaitMs = 60000;
// Rows just added are tried this soon: after the edit that added them, not inside it.
constexpr int kRowsAddedWaitMs = 1;
// A retry due while a ramp runs looks again this much later, so it never
// takes the channel of the song ramping out.
constexpr int kRampWaitMs = 1000;

}  // namespace

void PlayerWindow::tryListNow()
{
    m_listTry = ListTry::Now;
    changeSong();
}

void PlayerWindow::tryListAgain()
{
    const bool silent = m_status == DeckStatus::Stopped;
    // A whole pass, from the top: a pass that starts lower could run out
    // and wait for a song end that silence never reaches.
    m_rowInPlay = 1;
    m_listTry = ListTry::Again;
    changeSong();
    if (silent && (!m_backingOff || m_onFallback))
        showStatus(DeckStatus::Playing);
}

void PlayerWindow::nothingPlayable(ListTry why)
{
    if (!m_variant.retryWhenNothingPlayable) {
        stop();
        m_rowInPlay = -1;
        m_rampTimer->setEnabled(false);
        return;
    }
    if (!m_backingOff) {
        m_backingOff = true;
        m_retryWaitMs = kFirstWaitMs;
    }
    // The operator's own tries leave the schedule as it is.
    if (!m_retryTimer->isEnabled()) {
        m_retryTimer->setInterval(m_retryWaitMs);
        m_retryTimer->setEnabled(true);
        m_retryWaitMs = std::min(2 * m_retryWaitMs, kLongestWaitMs);
    }
    // Only a song's end or the operator moves the fallback on.
    if (why == ListTry::Again && m_onFallback) {
        m_rowInPlay = -1;
        return;
    }
    if (playFallbackSong()) {
        tellOnce(fallbackPlaysText());
        return;
    }
    stopPlayers();
    m_rowInPlay = -1;
    m_rampTimer->setEnabled(false);
    // Nothing sounds: no tick has anything to do until the next try.
    m_positionTimer->setEnabled(false);
    tellOnce(nothingPlayableText());
}

bool PlayerWindow::playFallbackSong()
{
    if (!m_fallback.isSet()) {
        m_onFallback = false;
        return false;
    }
    if (!m_onFallback)
        m_fallback.reload();
    const DeckPlace before = deckPlace();
    m_channelInPlay = 1 - before.channel;
    if (loadFallbackSong()) {
        startIncomingSong();
        return true;
    }
    restoreDeckPlace(before);
    return false;
}

void PlayerWindow::cueFallbackSong()
{
    if (m_fallback.isSet() && !m_onFallback)
        m_fallback.reload();
    if (!m_fallback.isSet() || !loadFallbackSong()) {
        // Nothing to cue: the break's end tries the list as Play does.
        m_onFallback = false;
        stopPlayers();
        return;
    }
    if (Player* p = playerInPlay()) {
        p->play();
        p->pause();
    }
    onMasterVolumeChange();
    showStatus(DeckStatus::Paused);
}

bool PlayerWindow::loadFallbackSong()
{
    // One round at most: a file that will not open is passed over.
    for (int left = m_fallback.count(); left > 0; --left) {
        m_cuedUnlogged.clear();
        if (!openInChannelInPlay(m_fallback.takeNext()))
            continue;
        Player& player = *playerIn(m_channelInPlay);
        player.setTrim(m_loudness->trimForSong(player.fileName()));
        prepareLoadedSong(player);
        // The fallback's next songs are analysed ahead as the list's rows are.
        if (m_loudness->enabled() || m_autoCue->enabled()) {
            if (const QStringList next = m_fallback.upcoming(3); !next.isEmpty())
                m_services.loudness.measure(next);
        }
        fallbackSongLoaded(player.fileName(), m_songEnd - m_songStart);
        m_onFallback = true;
        // No row of the list is in play; the next try starts at its top.
        m_rowInPlay = -1;
        return true;
    }
    m_onFallback = false;
    return false;
}

bool PlayerWindow::listTryWaits() const
{
    // Never while a ramp runs (the try would take the channel of the song
    // ramping out), while a list is loading, or while the window says so.
    return m_rampTimer->isEnabled() || m_loadingList || !mayTryListNow();
}

void PlayerWindow::onRetryTimer()
{
    if (listTryWaits()) {
        m_retryTimer->setInterval(kRampWaitMs);
        return;
    }
    m_retryTimer->setEnabled(false);
    tryListAgain();
}

void PlayerWindow::onRowsAddedTimer()
{
    m_rowsAddedTimer->setEnabled(false);
    if (!m_backingOff)
        return;
    if (listTryWaits()) {
        // The retry timer takes it over.
        m_retryTimer->setInterval(kRampWaitMs);
        m_retryTimer->setEnabled(true);
        return;
    }
    m_retryTimer->setEnabled(false);
    tryListAgain();
}

void PlayerWindow::onRowsAdded()
{
    if (m_backingOff) {
        m_rowsAddedTimer->setInterval(kRowsAddedWaitMs);
        m_rowsAddedTimer->setEnabled(true);
    }
}

void PlayerWindow::listSongOpened()
{
    m_loggedFailures.clear();
    // The song change under way hands over from the fallback song.
    endBackOff(true);
}

void PlayerWindow::endBackOff(bool listPlays)
{
    m_onFallback = false;
    m_retryTimer->setEnabled(false);
    m_rowsAddedTimer->setEnabled(false);
    if (!m_backingOff)
        return;
    m_backingOff = false;
    if (listPlays && !m_toldOperator.isEmpty())
        tellOperator(listPlaysAgainText());
    m_toldOperator.clear();
}

void PlayerWindow::tellOnce(const QString& text)
{
    if (text == m_toldOperator)
        return;
    m_toldOperator = text;
    tellOperator(text);
}

void PlayerWindow::logOpenFailure(const QString& path)
{
    // A list tried again and again logs each bad file once, until a row opens.
    if (m_loggedFailures.contains(path))
        return;
    m_loggedFailures.insert(path);
    writeLog(0, QStringLiteral("**ERROR**"), QLatin1Char(' ') + path);
}

}  // namespace tavlo
