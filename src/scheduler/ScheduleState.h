#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace tavlo {

// The scheduler as a restart needs it: its events, row by row as the list
// shows them, its two options, and the last second it examined, from which
// the catch-up after the restart runs (events due meanwhile fire when at
// most a minute late, older ones are logged as missed).
struct ScheduleState {
    std::vector<QStringList> events;  // each row's texts, column by column
    QString timeFormat;               // the options dialog's format label
    QString preloadTime;              // as its box holds it
    std::optional<std::int64_t> lastExamined;

    bool operator==(const ScheduleState&) const = default;
};

}  // namespace tavlo
