#pragma once

#include "platform/ServiceManager.h"

namespace tavlo {

// systemd's notify protocol through libsystemd: the socket is the one named
// in NOTIFY_SOCKET, the watchdog's interval WATCHDOG_USEC when WATCHDOG_PID
// names this process. Both are read when asked, never cached, so the
// program's environment is the only state.
// UI thread only.
class SystemdServiceManager : public ServiceManager {
public:
    bool listening() const override;
    std::int64_t watchdogUsec() const override;
    void notify(const QByteArray& message) override;
};

}  // namespace tavlo
