#pragma once

#include <QDateTime>

namespace tavlo {

// The time of day as the program sees it. Logs, the scheduler and the random
// seed all read it through here so tests and offline renders can move it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

}  // namespace tavlo
