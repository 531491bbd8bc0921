#pragma once

#include "playback/DeckStatus.h"

#include <QString>

namespace tavlo {

// What a player window's deck needs to go on where it was after the program
// was stopped by a crash or a power cut: the row in play, the file it held
// (so the row is found again if the list was saved a moment before or after),
// where in that file it was and whether it played. The list itself is kept
// beside it (ListSnapshot).
struct DeckState {
    int row = 0;           // from 1; 0 none
    QString location;      // that row's file
    DeckStatus status = DeckStatus::Stopped;
    double position = 0;   // seconds from the file's start

    bool operator==(const DeckState&) const = default;
};

}  // namespace tavlo
