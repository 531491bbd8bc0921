#include "platform/TerminationSignals.h"

#include <QSocketNotifier>

#include <atomic>
#include <csignal>
#include <unistd.h>

namespace tavlo {

namespace {

std::atomic<bool> g_received{false};
int g_pipe[2] = {-1, -1};

void onSignal(int)
{
    g_received = true;
    if (g_pipe[1] >= 0) {
        const char c = 1;
        [[maybe_unused]] auto n = ::write(g_pipe[1], &c, 1);
    }
}

}  // namespace

TerminationSignals::TerminationSignals(QObject* parent) : QObject(parent)
{
    if (g_pipe[0] < 0 && ::pipe(g_pipe) != 0)
        g_pipe[0] = g_pipe[1] = -1;
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
    if (g_pipe[0] >= 0) {
        auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, &TerminationSignals::arrived);
    }
}

bool TerminationSignals::received() { return g_received; }

}  // namespace tavlo
