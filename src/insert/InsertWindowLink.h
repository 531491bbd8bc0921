#pragma once

#include "insert/InsertState.h"

#include <QString>

namespace tavlo {

// What the music window asks of the insert window while its song plays: is
// a break waiting for the song to end, start it now, and show the music's
// time left in the insert window's countdown.
// UI thread only.
class InsertWindowLink {
public:
    virtual ~InsertWindowLink() = default;
    virtual InsertState insertState() const = 0;
    // The music's song has reached its hand-over point: the prepared break starts.
    virtual void startInsertAtSongEnd() = 0;
    // The insert window's countdown shows the music's time left.
    virtual void showMusicTimeLeft(const QString& text) = 0;
    // Whether a ramp into or out of a break is running.
    virtual bool rampRunning() const = 0;
};

// Until the insert window exists: never a break waiting.
class NullInsertWindowLink : public InsertWindowLink {
public:
    InsertState insertState() const override { return InsertState::Idle; }
    void startInsertAtSongEnd() override {}
    void showMusicTimeLeft(const QString&) override {}
    bool rampRunning() const override { return false; }
};

}  // namespace tavlo
