#include "web/WebAddress.h"

#include <QStringList>

namespace tavlo {

namespace {

bool isIpv4(const QString& host)
{
    const QStringList parts = host.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString& p : parts) {
        bool ok = false;
        const int v = p.toInt(&ok);
        if (!ok || p.isEmpty() || p.size() > 3 || v < 0 || v > 255 || !p.at(0).isDigit())
            return false;
    }
    return true;
}

// Hex digits, colons and at most one "::"; the network layer has the last word.
bool looksLikeIpv6(const QString& host)
{
    if (host.size() < 2 || host.count(QStringLiteral("::")) > 1)
        return false;
    for (QChar c : host)
        if (!(c.isDigit() || (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f')) || c == QLatin1Char(':')))
            return false;
    return host.contains(QLatin1Char(':'));
}

}  // namespace

std::optional<WebAddress> WebAddress::parse(const QString& text, QString* why)
{
    auto refuse = [&](const QString& reason) -> std::optional<WebAddress> {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return refuse(QStringLiteral("the web remote's address is ADDRESS:PORT, such as 127.0.0.1:8091, not \"%1\"").arg(text));
    QString host = text.left(colon);
    bool ok = false;
    const int port = text.mid(colon + 1).toInt(&ok);
    if (!ok || port < 0 || port > 65535 || text.mid(colon + 1).startsWith(QLatin1Char('+')))
        return refuse(QStringLiteral("the web remote's port is a number from 0 to 65535, not \"%1\"").arg(text.mid(colon + 1)));
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']'))) {
        host = host.mid(1, host.size() - 2);
        if (!looksLikeIpv6(host))
            return refuse(QStringLiteral("\"%1\" is no IPv6 address").arg(host));
    } else if (host == QLatin1String("localhost")) {
        host = QStringLiteral("127.0.0.1");
    } else if (!isIpv4(host)) {
        return refuse(QStringLiteral("the web remote listens on an IP address (127.0.0.1, 0.0.0.0, [::1] ...), not \"%1\"").arg(host));
    }
    WebAddress a;
    a.host = host;
    a.port = port;
    return a;
}

bool WebAddress::isLoopback() const
{
    return host.startsWith(QLatin1String("127.")) || host == QLatin1String("::1");
}

bool WebAddress::isLoopbackName(const QString& name)
{
    if (name == QLatin1String("localhost") || name == QLatin1String("::1"))
        return true;
    // Read as an address, four numbers: "127.0.0.1.evil.example" is a name.
    return isIpv4(name) && name.startsWith(QLatin1String("127."));
}

QString WebAddress::text() const
{
    const QString h = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    return h + QLatin1Char(':') + QString::number(port);
}

}  // namespace tavlo
