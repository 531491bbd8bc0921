#pragma once

#include <QString>

#include <optional>

namespace tavlo {

// Where the remote listens: an IPv4 address, a bracketed IPv6 address or
// "localhost", and a port (0: any free port, said once bound).
struct WebAddress {
    QString host = QStringLiteral("127.0.0.1");
    int port = 8091;

    static constexpr int kDefaultPort = 8091;

    // "ADDRESS:PORT" as --web and the settings give it; nothing, with
    // `why` said, when it is neither.
    static std::optional<WebAddress> parse(const QString& text, QString* why = nullptr);
    // Only this machine can reach it (127.0.0.0/8, ::1, localhost).
    bool isLoopback() const;
    // Whether a Host header's name (no port, no brackets) is this machine's
    // own: localhost, ::1 or a whole 127.x.y.z address.
    static bool isLoopbackName(const QString& name);
    // "127.0.0.1:8091", "[::1]:8091".
    QString text() const;
    bool operator==(const WebAddress&) const = default;
};

}  // namespace tavlo
