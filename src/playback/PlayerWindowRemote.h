#pragma once

#include "platform/RemoteTransport.h"

#include <QObject>

namespace tavlo {

class PlayerWindow;

// A player window as a remote sees it: each command is the window's own
// transport command, as its button runs it; the status is what statusLabel
// shows, and the track is the song the window last started (or cued, once
// the status shows it).
//
// It listens to the window's songStarted and to statusLabel, and changes
// nothing in the window itself; it must not outlive the window.
// UI thread only.
class PlayerWindowRemote : public RemoteTransport {
public:
    explicit PlayerWindowRemote(PlayerWindow& window);

    void play() override;
    void pause() override;
    void playPause() override;
    void stop() override;
    void next() override;
    void previous() override;

    Status status() const override;
    RemoteTrack track() const override { return m_track; }
    qint64 positionUs() override;

private:
    // Reads the song in play into m_track; a new serial when `started` or
    // when the window's song is another than the one held.
    void refresh(bool started);

    PlayerWindow& m_window;
    RemoteTrack m_track;
    QObject m_listening;  // the connections' context: they end with this object
};

}  // namespace tavlo
