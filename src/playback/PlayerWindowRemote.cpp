#include "playback/PlayerWindowRemote.h"

#include "playback/PlayerWindow.h"
#include "playlist/PlaylistModel.h"

#include <QFileInfo>

#include <algorithm>

namespace tavlo {

PlayerWindowRemote::PlayerWindowRemote(PlayerWindow& window) : m_window(window)
{
    QObject::connect(&window, &PlayerWindow::songStarted, &m_listening, [this] { refresh(true); });
    // The status label repaints whenever Play, Pause or Stop shows a new
    // state, whoever pressed them (the operator, a break, the scheduler).
    QObject::connect(window.statusLabel, &Control::changed, &m_listening, [this] { refresh(false); });
    // Made after the first song started, the remote still knows it.
    refresh(false);
}

void PlayerWindowRemote::play() { m_window.play(); }

void PlayerWindowRemote::pause()
{
    // The window's Pause resumes a paused song; a remote's Pause never does.
    if (m_window.status() != DeckStatus::Paused)
        m_window.pause();
}

void PlayerWindowRemote::playPause()
{
    // Pause toggles by itself; from a stop only Play starts the list.
    if (m_window.status() == DeckStatus::Stopped)
        m_window.play();
    else
        m_window.pause();
}

void PlayerWindowRemote::stop() { m_window.stop(); }

void PlayerWindowRemote::next() { m_window.next(); }

void PlayerWindowRemote::previous() { m_window.back(); }

RemoteTransport::Status PlayerWindowRemote::status() const
{
    switch (m_window.status()) {
    case DeckStatus::Playing:
        return Status::Playing;
    case DeckStatus::Paused:
        return Status::Paused;
    case DeckStatus::Stopped:
        break;
    }
    return Status::Stopped;
}

qint64 PlayerWindowRemote::positionUs()
{
    Player* player = m_window.playerInPlay();
    if (!player || !player->isOpen())
        return 0;
    return std::max(0, player->position() - m_window.songStart()) * qint64(1000000);
}

void PlayerWindowRemote::refresh(bool started)
{
    const Player* player = m_window.playerInPlay();
    const QString path = player ? player->fileName() : QString();
    if (!path.isEmpty() && (started || path != m_track.path)) {
        RemoteTrack t;
        t.serial = m_track.serial + 1;
        t.path = path;
        // The row in play holds the tags; if the list moved under it since,
        // the file's name is title enough.
        const PlaylistModel& list = *m_window.clipList;
        const int row = m_window.rowInPlay();
        if (row >= 1 && row <= list.count() && list.text(row, ColLocation) == path) {
            t.title = list.text(row, ColTitle);
            t.artist = list.text(row, ColArtist);
        }
        if (t.title.isEmpty())
            t.title = QFileInfo(path).completeBaseName();
        t.lengthUs = std::max(0, m_window.songEnd() - m_window.songStart()) * qint64(1000000);
        m_track = t;
    }
    if (onChanged)
        onChanged();
}

}  // namespace tavlo
