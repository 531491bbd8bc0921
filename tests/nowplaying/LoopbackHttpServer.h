#pragma once

#include "fakes/EventLoopApp.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

namespace tavlo::test {

// A web server on 127.0.0.1 that records the target of every GET ("/path?query"
// exactly as sent) and answers each with a page "answer N", N counting from 1.
class LoopbackHttpServer : public QObject {
public:
    LoopbackHttpServer()
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = m_server.nextPendingConnection())
                connect(s, &QTcpSocket::readyRead, s, [this, s] { serve(*s); });
        });
    }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort())); }
    static QString page(int n) { return QStringLiteral("<html><body><p>answer %1</p></body></html>").arg(n); }

    QList<QByteArray> targets;

private:
    void serve(QTcpSocket& s)
    {
        QByteArray& buffer = m_buffers[&s];
        buffer += s.readAll();
        if (!buffer.contains("\r\n\r\n"))
            return;
        targets.append(buffer.left(buffer.indexOf("\r\n")).split(' ').value(1));
        buffer.clear();
        const QByteArray body = page(static_cast<int>(targets.size())).toUtf8();
        s.write("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\nContent-Length: " +
                QByteArray::number(body.size()) + "\r\n\r\n" + body);
        s.disconnectFromHost();
    }
    EventLoopApp m_app;  // before the sockets, which need its event loop
    QTcpServer m_server;
    QHash<QTcpSocket*, QByteArray> m_buffers;
};

}  // namespace tavlo::test
