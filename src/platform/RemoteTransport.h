#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

namespace tavlo {

// The song a remote sees in play. `serial` counts song starts and is 0 while
// nothing has played; a song started twice in a row gets two serials, so a
// remote shows it as a new song.
struct RemoteTrack {
    quint64 serial = 0;
    QString path;  // as the list's "Location" holds it
    QString title;
    QString artist;
    qint64 lengthUs = 0;  // what will be played of it, cuts taken off; 0 unknown
};

// What a remote outside the program (the desktop's media keys and sound
// menu) may do to the station's music and see of it. The commands act as
// the window's own buttons do, so a key press and a click never differ.
// UI thread only.
class RemoteTransport {
public:
    enum class Status { Stopped, Playing, Paused };

    virtual ~RemoteTransport() = default;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void playPause() = 0;
    virtual void stop() = 0;
    virtual void next() = 0;
    virtual void previous() = 0;

    virtual Status status() const = 0;
    virtual RemoteTrack track() const = 0;
    // Microseconds into the song in play, from its trimmed start.
    virtual qint64 positionUs() = 0;

    // Runs after each song start and each change of status, on the UI thread.
    std::function<void()> onChanged;
};

}  // namespace tavlo
