#pragma once

#include "web/HttpRequestParser.h"
#include "web/net/WebServerLimits.h"

#include <QObject>
#include <QTimer>

#include <functional>

class QTcpSocket;

namespace tavlo {

// One client's connection: reads its requests with HttpRequestParser, hands
// each to the handler and writes the answer; keeps the connection for the
// next request, or, for an event stream, for every event pushed to it.
// Closes it on a malformed or oversized request (after a 4xx answer), on a
// request that takes too long to arrive, after a long idle time, and when
// the client leaves too much output unread. Deletes itself once closed.
// The sockets' time is real time (the QTimers), whatever clock the station runs on.
// UI thread only.
class HttpConnection : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<HttpResponse(const HttpRequest&)>;

    HttpConnection(QTcpSocket* socket, const WebServerLimits& limits, Handler handler, QObject* parent = nullptr);
    ~HttpConnection() override;

    bool isEventStream() const { return m_eventStream; }
    // Sends pushed events down an event stream.
    void push(const QByteArray& bytes);
    // Closes the connection now, whatever it was doing (the server stops).
    void abort();
    // The whole answer as it goes on the wire.
    static QByteArray serialize(const HttpResponse& response, bool keepAlive);

Q_SIGNALS:
    void closed(tavlo::HttpConnection* connection);

private:
    void onReadyRead();
    void answer(const HttpResponse& response, bool keepAlive);
    void refuse(int status);
    void write(const QByteArray& bytes);
    void close();
    // The socket closed (its answer sent first) and this object deleted
    // later: never while a request is being answered further up the stack,
    // since the handler may let the event loop run.
    void finishClose();
    // A request's time starts at its first byte, an idle wait's at the answer.
    void awaitRequest();
    void requestBegun();

    QTcpSocket* m_socket;
    WebServerLimits m_limits;
    Handler m_handler;
    HttpRequestParser m_parser;
    QTimer m_deadline;
    bool m_eventStream = false;
    bool m_closing = false;
    bool m_closed = false;
    bool m_handling = false;
    bool m_idle = true;  // waiting for a request's first byte
};

}  // namespace tavlo
