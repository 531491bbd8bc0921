#pragma once

// A steady load on the remote, as a station website polling it would make
// it: GET /api/now-playing at a fixed rate over a few kept-alive
// connections, each answer timed from the moment its request was due (a
// slow answer delays the ones behind it, and that delay counts too).
// Plain POSIX sockets on the calling thread, so it can run beside the
// station in a thread of its own or in another process.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <vector>

namespace tavlo::test {

struct WebLoadResult {
    std::vector<double> latenciesMs;
    int errors = 0;  // answers other than 200, lost connections, requests never answered
    double percentileMs(double p) const
    {
        if (latenciesMs.empty())
            return 0;
        std::vector<double> v = latenciesMs;
        std::sort(v.begin(), v.end());
        return v[std::min(v.size() - 1, static_cast<size_t>(p / 100.0 * static_cast<double>(v.size())))];
    }
};

inline WebLoadResult runWebLoad(int port, int perSecond, double seconds, int connections = 8)
{
    using Clock = std::chrono::steady_clock;
    struct Conn {
        int fd = -1;
        bool busy = false;
        Clock::time_point due;
        std::string in;
    };
    const std::string request = "GET /api/now-playing HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    WebLoadResult result;
    std::vector<Conn> conns(static_cast<size_t>(connections));
    auto open = [&](Conn& c) {
        c.fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<uint16_t>(port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const int one = 1;
        ::setsockopt(c.fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        if (::connect(c.fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            ::close(c.fd);
            c.fd = -1;
        }
        ::fcntl(c.fd, F_SETFL, O_NONBLOCK);
        c.busy = false;
        c.in.clear();
    };
    for (Conn& c : conns)
        open(c);

    const auto start = Clock::now();
    const auto interval = std::chrono::nanoseconds(1000000000LL / perSecond);
    const long total = static_cast<long>(seconds * perSecond);
    long sent = 0;
    std::vector<Clock::time_point> backlog;  // requests due while every connection was busy
    auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };

    while (sent < total || std::any_of(conns.begin(), conns.end(), [](const Conn& c) { return c.busy; })) {
        const auto now = Clock::now();
        while (sent < total && start + interval * sent <= now)
            backlog.push_back(start + interval * sent++);
        for (Conn& c : conns) {
            if (backlog.empty())
                break;
            if (c.busy)
                continue;
            if (c.fd < 0)
                open(c);
            if (c.fd < 0 || ::send(c.fd, request.data(), request.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(request.size())) {
                ++result.errors;
                backlog.erase(backlog.begin());
                if (c.fd >= 0)
                    ::close(c.fd);
                c.fd = -1;
                continue;
            }
            c.busy = true;
            c.due = backlog.front();
            backlog.erase(backlog.begin());
        }
        std::vector<pollfd> fds;
        for (Conn& c : conns)
            if (c.busy)
                fds.push_back(pollfd{c.fd, POLLIN, 0});
        ::poll(fds.data(), fds.size(), 1);
        for (Conn& c : conns) {
            if (!c.busy)
                continue;
            char buf[65536];
            const ssize_t n = ::recv(c.fd, buf, sizeof buf, 0);
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) {
                ++result.errors;
                ::close(c.fd);
                c.fd = -1;
                c.busy = false;
                continue;
            }
            if (n > 0)
                c.in.append(buf, static_cast<size_t>(n));
            const size_t end = c.in.find("\r\n\r\n");
            if (end == std::string::npos)
                continue;
            const size_t cl = c.in.find("Content-Length: ");
            const size_t length = cl < end ? std::stoul(c.in.substr(cl + 16)) : 0;
            if (c.in.size() < end + 4 + length)
                continue;
            if (c.in.compare(0, 12, "HTTP/1.1 200") != 0)
                ++result.errors;
            else
                result.latenciesMs.push_back(ms(Clock::now() - c.due));
            c.in.erase(0, end + 4 + length);
            c.busy = false;
        }
        if (ms(Clock::now() - start) > seconds * 1000 + 10000)
            break;  // whatever is still unanswered ten seconds on never will be
    }
    for (Conn& c : conns) {
        if (c.busy)
            ++result.errors;
        if (c.fd >= 0)
            ::close(c.fd);
    }
    return result;
}

}  // namespace tavlo::test
