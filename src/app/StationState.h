#pragma once

#include "insert/BreakState.h"
#include "platform/Streamer.h"
#include "playback/DeckState.h"
#include "playlist/PlaylistModel.h"
#include "scheduler/ScheduleState.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace tavlo {

// Everything a restart needs to put the station back on air where it was,
// but the two lists, which are kept beside it (ListSnapshot): each window's
// deck, the break, the scheduler and the stream a console started.
struct StationState {
    // Raised when the file's shape changes; a newer file than this program
    // knows is not guessed at.
    static constexpr int kVersion = 1;

    QDateTime savedAt;
    DeckState music;
    DeckState insert;
    BreakState insertBreak;
    ScheduleState schedule;
    std::optional<StreamTarget> stream;  // never with a password

    bool operator==(const StationState&) const = default;

    QByteArray toJson() const;
    // The state a file holds; none, with `error` saying why, when the text
    // is not JSON, not ours, from a newer version, or missing a part.
    static std::optional<StationState> fromJson(const QByteArray& json, QString* error);
};

// The state and both lists, as a restart reads them back.
struct KeptStation {
    StationState state;
    std::vector<PlaylistRow> musicRows;
    std::vector<PlaylistRow> insertRows;
};

}  // namespace tavlo
