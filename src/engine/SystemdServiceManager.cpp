#include "engine/SystemdServiceManager.h"

#include <systemd/sd-daemon.h>

#include <cstdint>
#include <cstdlib>

namespace tavlo {

bool SystemdServiceManager::listening() const
{
    const char* socket = std::getenv("NOTIFY_SOCKET");
    return socket && *socket;
}

std::int64_t SystemdServiceManager::watchdogUsec() const
{
    std::uint64_t usec = 0;
    // Left in the environment, so every asker finds the same answer.
    if (sd_watchdog_enabled(0, &usec) <= 0)
        return 0;
    return static_cast<std::int64_t>(usec);
}

void SystemdServiceManager::notify(const QByteArray& message)
{
    // A manager that went away costs nothing but the message.
    sd_notify(0, message.constData());
}

}  // namespace tavlo
