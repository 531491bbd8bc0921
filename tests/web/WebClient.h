#pragma once

#include "fakes/EventLoopApp.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>

#include <memory>

namespace tavlo::test {

// One answer as a client received it.
struct WebReply {
    int status = 0;  // 0: the connection closed without an answer
    QByteArray head;
    QByteArray body;
    QJsonObject json() const { return QJsonDocument::fromJson(body).object(); }
};

// A plain client for the remote on the loopback address: raw bytes out, one
// answer back, the event loop spun meanwhile (the server lives on it).
class WebClient {
public:
    explicit WebClient(int port) : m_port(port) {}

    std::unique_ptr<QTcpSocket> connect() const
    {
        auto s = std::make_unique<QTcpSocket>();
        s->connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(m_port));
        // A refusing server may have answered and closed before the state is looked at.
        EventLoopApp::spinUntil([&] {
            return s->state() != QAbstractSocket::HostLookupState && s->state() != QAbstractSocket::ConnectingState;
        });
        return s;
    }

    // Reads one answer off `s`: its head, then Content-Length bytes (or up to the close).
    static WebReply read(QTcpSocket& s, int ms = 5000)
    {
        QByteArray in;
        WebReply r;
        EventLoopApp::spinUntil(
            [&] {
                in += s.readAll();
                const qsizetype end = in.indexOf("\r\n\r\n");
                if (end < 0)
                    return s.state() != QAbstractSocket::ConnectedState;
                const QByteArray head = in.left(end);
                const qsizetype cl = head.toLower().indexOf("content-length: ");
                if (cl < 0)
                    return s.state() != QAbstractSocket::ConnectedState;
                const qsizetype length = head.mid(cl + 16, head.indexOf('\r', cl) - cl - 16).toLongLong();
                return in.size() >= end + 4 + length;
            },
            ms);
        const qsizetype end = in.indexOf("\r\n\r\n");
        if (end < 0)
            return r;
        r.head = in.left(end);
        r.body = in.mid(end + 4);
        r.status = r.head.mid(9, 3).toInt();
        return r;
    }

    WebReply raw(const QByteArray& bytes, int ms = 5000) const
    {
        auto s = connect();
        s->write(bytes);
        return read(*s, ms);
    }

    WebReply ask(const QByteArray& method, const QByteArray& target, const QByteArray& token = QByteArray(),
                 const QByteArray& body = QByteArray(), const QByteArray& type = "application/json") const
    {
        QByteArray r = method + ' ' + target + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(m_port) + "\r\n";
        if (!token.isEmpty())
            r += "Authorization: Bearer " + token + "\r\n";
        if (!body.isEmpty())
            r += "Content-Type: " + type + "\r\n";
        r += "Content-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
        return raw(r);
    }

private:
    int m_port;
};

}  // namespace tavlo::test
