#include "platform/Streamer.h"

#include <QUrl>

namespace tavlo {

QString StreamTarget::fromUrl(const QString& url, StreamTarget& target)
{
    const QUrl u(url, QUrl::StrictMode);
    // An address is only ever echoed without its password.
    const QString shown = u.isValid() ? u.toString(QUrl::RemovePassword) : QStringLiteral("(not an address)");
    if (!u.isValid() || u.scheme() != QLatin1String("icecast"))
        return QStringLiteral("--stream needs icecast://user@host:port/mount, not \"%1\"").arg(shown);
    if (u.host().isEmpty())
        return QStringLiteral("--stream needs a server name in \"%1\"").arg(shown);
    if (!u.password().isEmpty())
        return QStringLiteral("--stream takes no password in the address; set TAVLO_STREAM_PASSWORD or the settings");
    const int port = u.port(8000);
    if (port <= 0 || port > 65535)
        return QStringLiteral("--stream needs a port from 1 to 65535 in \"%1\"").arg(shown);
    target.host = u.host();
    target.port = port;
    if (!u.userName().isEmpty())
        target.user = u.userName();
    const QString path = u.path();
    if (path.size() > 1)
        target.mount = path;
    return QString();
}

QString StreamTarget::displayText() const
{
    return QStringLiteral("%1:%2%3").arg(host).arg(port).arg(mount);
}

}  // namespace tavlo
