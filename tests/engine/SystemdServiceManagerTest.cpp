// The station's news to systemd, read from a notify socket of the test's own:
// what a unit with Type=notify and WatchdogSec= would be told.
#include "engine/SystemdServiceManager.h"
#include "platform/ServiceNotifier.h"
#include "platform/SimulatedTime.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace tavlo;

namespace {

// A datagram socket bound in a temporary folder, named in NOTIFY_SOCKET with
// a 30 s watchdog for this process while it lives.
class NotifySocket {
public:
    NotifySocket()
    {
        m_fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        const QByteArray path = (m_dir.path() + QStringLiteral("/notify")).toLocal8Bit();
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
        m_bound = m_fd >= 0 && ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::setenv("NOTIFY_SOCKET", path.constData(), 1);
        ::setenv("WATCHDOG_USEC", "30000000", 1);
        ::setenv("WATCHDOG_PID", std::to_string(::getpid()).c_str(), 1);
    }
    ~NotifySocket()
    {
        for (const char* name : {"NOTIFY_SOCKET", "WATCHDOG_USEC", "WATCHDOG_PID"})
            ::unsetenv(name);
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool bound() const { return m_bound; }
    // Every message that arrived since the last call.
    QStringList take()
    {
        QStringList messages;
        char buffer[4096];
        for (ssize_t n; (n = ::recv(m_fd, buffer, sizeof buffer, 0)) >= 0;)
            messages << QString::fromUtf8(buffer, n);
        return messages;
    }

private:
    QTemporaryDir m_dir;
    int m_fd = -1;
    bool m_bound = false;
};

}  // namespace

TEST(ServiceNotifier, TellsSystemdReadyOnAirAndAliveOnlyWhileTheAudioClockMoves)
{
    NotifySocket socket;
    ASSERT_TRUE(socket.bound());
    SimulatedTime time;
    SystemdServiceManager systemd;
    std::int64_t frames = 0;
    ServiceNotifier notifier(systemd, time, [&] { return frames; });
    // The audio clock runs 1 s at a time, as a sound card's does.
    auto run = [&](int seconds, bool clockMoves) {
        for (int s = 0; s < seconds; ++s) {
            if (clockMoves)
                frames += 44100;
            time.advance(1000);
        }
    };
    const QStringList pings15s{QStringLiteral("WATCHDOG=1")};

    // Silence before the first song still moves the clock: the station is alive, not yet ready.
    run(15, true);
    EXPECT_EQ(socket.take(), pings15s);
    notifier.songStarted(QStringLiteral("Artist - Title"));
    notifier.startupEnded(QStringLiteral("Stopped: waiting for Play"));  // ready already; nothing more
    notifier.songStarted(QStringLiteral("Second\nline"));
    EXPECT_EQ(socket.take(), (QStringList{QStringLiteral("READY=1\nSTATUS=On air: Artist - Title"),
                                          QStringLiteral("STATUS=On air: Second line")}));

    // Half the watchdog's 30 s: a ping every 15 s while the clock moves.
    run(60, true);
    EXPECT_EQ(socket.take().size(), 4);
    // The engine hangs: no ping for as long as the clock stands, so systemd
    // restarts the program, however lively the UI thread's timers are.
    run(90, false);
    EXPECT_TRUE(socket.take().isEmpty());
    run(15, true);
    EXPECT_EQ(socket.take(), pings15s);

    // A station whose start-up leaves the deck stopped is ready all the same.
    ServiceNotifier waiting(systemd, time, [&] { return frames; });
    waiting.startupEnded(QStringLiteral("Stopped: waiting for Play"));
    EXPECT_EQ(socket.take(), QStringList{QStringLiteral("READY=1\nSTATUS=Stopped: waiting for Play")});

    // Started by hand (no NOTIFY_SOCKET): nothing is sent, nothing ticks.
    ::unsetenv("NOTIFY_SOCKET");
    socket.take();
    ServiceNotifier byHand(systemd, time, [&] { return frames; });
    byHand.songStarted(QStringLiteral("Artist - Title"));
    EXPECT_FALSE(byHand.isReady());
    run(30, true);
    // `notifier` and `waiting` still tick, but now into nowhere.
    EXPECT_TRUE(socket.take().isEmpty());
}
