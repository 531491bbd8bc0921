#include "web/net/WebServer.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace tavlo {

WebServer::WebServer(WebServerLimits limits, HttpConnection::Handler handler, QObject* parent)
    : QObject(parent), m_limits(limits), m_handler(std::move(handler))
{
    connect(&m_server, &QTcpServer::newConnection, this, &WebServer::onNewConnection);
}

WebServer::~WebServer()
{
    // The connections are children of this object; they go with it, unannounced.
    for (HttpConnection* c : std::as_const(m_connections))
        c->disconnect(this);
}

bool WebServer::listen(const WebAddress& address, QString* why)
{
    close();
    QHostAddress host;
    if (!host.setAddress(address.host)) {
        *why = QStringLiteral("\"%1\" is no address of this machine").arg(address.host);
        return false;
    }
    if (!m_server.listen(host, static_cast<quint16>(address.port))) {
        *why = m_server.errorString();
        return false;
    }
    return true;
}

void WebServer::close()
{
    m_server.close();
    // Each goes at the next turn of the event loop: one of them may be
    // answering a request further up the stack.
    const QSet<HttpConnection*> open = m_connections;
    for (HttpConnection* c : open)
        c->abort();
    m_connections.clear();
    m_peers.clear();
}

void WebServer::onNewConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        const QHostAddress peer = socket->peerAddress();
        const bool fromNetwork = !peer.isLoopback();
        const auto fromPeer = fromNetwork ? std::count(m_peers.cbegin(), m_peers.cend(), peer) : 0;
        if (m_connections.size() >= m_limits.maxConnections || fromPeer >= m_limits.maxConnectionsPerPeer) {
            socket->write(HttpConnection::serialize(HttpResponse{503, "application/json", "{\"error\":\"busy\"}", {}, false}, false));
            socket->disconnectFromHost();
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QTimer::singleShot(m_limits.requestTimeoutMs, socket, [socket] { socket->deleteLater(); });
            continue;
        }
        auto* c = new HttpConnection(socket, m_limits, m_handler, this);
        m_connections.insert(c);
        if (fromNetwork)
            m_peers.insert(c, peer);
        connect(c, &HttpConnection::closed, this, [this](HttpConnection* gone) {
            m_connections.remove(gone);
            m_peers.remove(gone);
        });
    }
}

void WebServer::push(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    const QSet<HttpConnection*> open = m_connections;
    for (HttpConnection* c : open)
        if (c->isEventStream())
            c->push(bytes);
}

void WebServer::closeEventStreams()
{
    const QSet<HttpConnection*> open = m_connections;
    for (HttpConnection* c : open)
        if (c->isEventStream())
            c->abort();
}

int WebServer::eventStreamCount() const
{
    int n = 0;
    for (HttpConnection* c : m_connections)
        n += c->isEventStream() ? 1 : 0;
    return n;
}

}  // namespace tavlo
