#pragma once

#include "web/WebAddress.h"
#include "web/net/HttpConnection.h"
#include "web/net/WebServerLimits.h"

#include <QObject>
#include <QHash>
#include <QHostAddress>
#include <QSet>
#include <QTcpServer>

namespace tavlo {

// The remote's HTTP/1.1 server on the UI thread's event loop: accepts up to
// `maxConnections` clients (one more is answered 503 and closed), hands each
// request to the handler and pushes events to the open event streams.
// Everything it does per client is bounded by WebServerLimits, so a slow or
// hostile client costs the UI thread little and the audio thread nothing.
// UI thread only.
class WebServer : public QObject {
    Q_OBJECT
public:
    WebServer(WebServerLimits limits, HttpConnection::Handler handler, QObject* parent = nullptr);
    ~WebServer() override;

    // Listens there; false, with the system's reason in `why`, when the
    // address or port cannot be had.
    bool listen(const WebAddress& address, QString* why);
    void close();
    bool isListening() const { return m_server.isListening(); }
    // The port listened on (the one the system chose for port 0).
    int port() const { return m_server.serverPort(); }

    void push(const QByteArray& bytes);
    int eventStreamCount() const;
    // Ends every event stream (a renewed token: what was opened with the old
    // one must ask again).
    void closeEventStreams();
    int connectionCount() const { return static_cast<int>(m_connections.size()); }

private:
    void onNewConnection();

    WebServerLimits m_limits;
    HttpConnection::Handler m_handler;
    QTcpServer m_server;
    QSet<HttpConnection*> m_connections;
    QHash<HttpConnection*, QHostAddress> m_peers;  // the network's clients, not this machine's
};

}  // namespace tavlo
