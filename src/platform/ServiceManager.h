#pragma once

#include <QByteArray>

#include <cstdint>

namespace tavlo {

// The service manager that started the program (systemd on Linux), told how
// the station is: ready, what is on air, still alive. A program started by
// hand has nobody to tell.
// UI thread only.
class ServiceManager {
public:
    virtual ~ServiceManager() = default;
    // Whether the manager gave the program somewhere to send its news.
    virtual bool listening() const = 0;
    // How often the manager wants a sign of life, in microseconds; 0 when it
    // watches nothing.
    virtual std::int64_t watchdogUsec() const = 0;
    // One message of "KEY=value" lines, as the manager reads them.
    virtual void notify(const QByteArray& message) = 0;
};

}  // namespace tavlo
