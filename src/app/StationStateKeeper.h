#pragma once

#include "app/StationState.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class QLockFile;

namespace tavlo {

class Clock;
class Station;
class Timer;
class TimerService;

// Keeps the station's state on disk as it plays, so that a crash or a power
// cut costs a second of the song on air and nothing else: state.json (the
// decks, the break, the scheduler, the stream) every second and at each song
// start and fired event, and a copy of each window's list (music.list,
// insert.list) whenever it changed, all in one folder, by default
// $XDG_STATE_HOME/tavlo.
//
// Every file is written whole beside the old one and then put in its place,
// so a crash during a save leaves the previous state readable. A folder that
// cannot be written never touches the music: the operator is told once, the
// keeper tries again every minute and says when it works again.
// UI thread only.
class StationStateKeeper : public QObject {
public:
    StationStateKeeper(Station& station, TimerService& timers, const Clock& clock, const QString& folder);
    ~StationStateKeeper() override;

    // $XDG_STATE_HOME/tavlo, or ~/.local/state/tavlo.
    static QString defaultFolder();
    QString stateFile() const;

    // What the last run kept; none when it kept nothing. A state that cannot
    // be used (not JSON, truncated, from a newer Tavlo, a list missing) is
    // set aside under a new name and `warning` says so: the station then
    // starts fresh rather than guess.
    std::optional<KeptStation> read(QString* warning);

    // Keeps from now on.
    void start();
    // Writes the state now (and the lists that changed); false before
    // start(), when another Tavlo keeps this folder, when the folder cannot
    // be written, or while waiting to try again.
    bool saveNow();

private:
    bool write();
    void listChanged(int window) { m_listDirty[window] = true; }

    Station& m_station;
    const Clock& m_clock;
    const QString m_folder;
    std::unique_ptr<Timer> m_timer;
    std::unique_ptr<Timer> m_soon;
    std::unique_ptr<QLockFile> m_lock;
    bool m_keeping = false;  // started, and the state folder is this program's
    bool m_listDirty[2] = {true, true};
    // Set while the folder cannot be written: when to try again.
    std::optional<QDateTime> m_retryAt;
};

}  // namespace tavlo
