#include "web/net/HttpConnection.h"

#include <QTcpSocket>

namespace tavlo {

namespace {

QByteArray reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 413: return "Content Too Large";
    case 415: return "Unsupported Media Type";
    case 431: return "Request Header Fields Too Large";
    case 501: return "Not Implemented";
    case 503: return "Service Unavailable";
    case 505: return "HTTP Version Not Supported";
    default: return "Status";
    }
}

}  // namespace

HttpConnection::HttpConnection(QTcpSocket* socket, const WebServerLimits& limits, Handler handler, QObject* parent)
    : QObject(parent), m_socket(socket), m_limits(limits), m_handler(std::move(handler)), m_parser(limits.request)
{
    m_socket->setParent(this);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        // A request begun and never finished answers 408; an idle connection just closes.
        if (m_parser.pendingBytes() > 0)
            refuse(408);
        else
            close();
    });
    connect(m_socket, &QTcpSocket::readyRead, this, &HttpConnection::onReadyRead);
    connect(m_socket, &QTcpSocket::disconnected, this, &HttpConnection::close);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &HttpConnection::close);
    // A fresh connection has the request time to send its first request.
    m_idle = false;
    m_deadline.start(m_limits.requestTimeoutMs);
}

void HttpConnection::awaitRequest()
{
    m_idle = true;
    m_deadline.start(m_limits.idleTimeoutMs);
}

void HttpConnection::requestBegun()
{
    // Only the first byte starts the clock: stray line breaks between
    // requests must not keep a connection open for ever.
    if (!m_idle)
        return;
    m_idle = false;
    m_deadline.start(m_limits.requestTimeoutMs);
}

HttpConnection::~HttpConnection() = default;

QByteArray HttpConnection::serialize(const HttpResponse& response, bool keepAlive)
{
    QByteArray out = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reason(response.status) + "\r\n";
    if (!response.contentType.isEmpty())
        out += "Content-Type: " + response.contentType + "\r\n";
    if (!response.eventStream)
        out += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    // Nothing the remote says is to be kept, sniffed into another type, framed or followed elsewhere.
    out += "Cache-Control: no-store\r\n"
           "X-Content-Type-Options: nosniff\r\n"
           "X-Frame-Options: DENY\r\n"
           "Referrer-Policy: no-referrer\r\n"
           "Content-Security-Policy: default-src 'self'; img-src 'self' data:; frame-ancestors 'none'; form-action 'none'\r\n";
    for (const auto& h : response.headers)
        out += h.first + ": " + h.second + "\r\n";
    out += keepAlive && !response.eventStream ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    out += "\r\n";
    out += response.body;
    return out;
}

void HttpConnection::onReadyRead()
{
    // A command may let the interface catch up (a long playlist loading);
    // what this client sends meanwhile waits its turn, so answers keep their order.
    if (m_handling)
        return;
    m_handling = true;
    while (!m_closing && m_socket->bytesAvailable() > 0) {
        const QByteArray bytes = m_socket->readAll();
        // An event stream only listens; whatever its client sends is dropped.
        if (m_eventStream)
            continue;
        if (!bytes.isEmpty())
            requestBegun();
        HttpRequestParser::State state = m_parser.feed(bytes);
        while (state == HttpRequestParser::State::Complete && !m_closing) {
            const HttpRequest request = m_parser.takeRequest();
            // The request is in: however long the station takes to act on it
            // is not the client's delay.
            m_deadline.stop();
            const HttpResponse response = m_handler(request);
            answer(response, request.keepAlive());
            if (m_eventStream || m_closing)
                break;
            state = m_parser.feed(QByteArray());
        }
        if (state == HttpRequestParser::State::Failed)
            refuse(m_parser.failureStatus());
    }
    m_handling = false;
    if (m_closing)
        finishClose();
}

void HttpConnection::answer(const HttpResponse& response, bool keepAlive)
{
    write(serialize(response, keepAlive));
    if (response.eventStream) {
        m_eventStream = true;
        m_deadline.stop();
    } else if (!keepAlive) {
        close();
    } else if (m_parser.pendingBytes() > 0) {
        m_idle = false;
        m_deadline.start(m_limits.requestTimeoutMs);
    } else {
        awaitRequest();
    }
}

void HttpConnection::refuse(int status)
{
    HttpResponse r;
    r.status = status;
    r.contentType = "application/json";
    r.body = "{\"error\":\"" + reason(status) + "\"}";
    write(serialize(r, false));
    close();
}

void HttpConnection::push(const QByteArray& bytes)
{
    if (m_eventStream && !m_closing)
        write(bytes);
}

void HttpConnection::write(const QByteArray& bytes)
{
    if (m_closing)
        return;
    // Only a stream's pushes can pile up without end; an answer, however
    // long (a long list), goes whole.
    if (m_eventStream && m_socket->bytesToWrite() + bytes.size() > m_limits.maxUnsentBytes) {
        m_socket->abort();
        close();
        return;
    }
    m_socket->write(bytes);
}

void HttpConnection::abort()
{
    m_socket->abort();
    close();
}

void HttpConnection::close()
{
    if (m_closing)
        return;
    m_closing = true;
    m_deadline.stop();
    Q_EMIT closed(this);
    if (!m_handling)
        finishClose();
}

void HttpConnection::finishClose()
{
    if (m_closed)
        return;
    m_closed = true;
    if (m_socket->state() != QAbstractSocket::ConnectedState) {
        deleteLater();
        return;
    }
    // The answer still goes out; then the socket closes. A client that never
    // takes it is cut off after a while.
    connect(m_socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    QTimer::singleShot(m_limits.requestTimeoutMs, this, [this] {
        m_socket->abort();
        deleteLater();
    });
    m_socket->disconnectFromHost();
}

}  // namespace tavlo
