#pragma once

// An Icecast server of our own on the loopback address, for the streaming
// test and the streaming benchmark: a generated configuration, a free port,
// and, as root, the unprivileged user Icecast insists on becoming.

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

namespace tavlo::test {

inline constexpr const char* kIcecastProgram = "/usr/bin/icecast2";

// A TCP socket on 127.0.0.1: connected to `port` (-1 when refused), or with
// port 0 bound to a free port, whose number is then returned.
inline int loopbackSocket(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (port == 0) {
        ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        socklen_t len = sizeof addr;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
        ::close(fd);
        return ntohs(addr.sin_port);
    }
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    timeval tv{2, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    return fd;
}

// The body of a plain HTTP GET; with `stop`, read until it is set rather than
// until the server ends the answer.
inline QByteArray httpGet(int port, const QByteArray& path, const std::atomic<bool>* stop = nullptr)
{
    const int fd = loopbackSocket(port);
    if (fd < 0)
        return {};
    const QByteArray request = "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
    [[maybe_unused]] auto sent = ::send(fd, request.constData(), static_cast<size_t>(request.size()), MSG_NOSIGNAL);
    QByteArray reply;
    char buf[8192];
    for (ssize_t n; (n = ::recv(fd, buf, sizeof buf, 0)) != 0 && (n > 0 || (stop && !*stop));)
        reply.append(buf, std::max<ssize_t>(n, 0));
    ::close(fd);
    const qsizetype body = reply.indexOf("\r\n\r\n");
    return body < 0 ? QByteArray() : reply.mid(body + 4);
}

class IcecastServer {
public:
    // Sources log in with `password`. Its files go in a new folder of the
    // system's temporary folder: as root the server runs as nobody, who may
    // not enter the folder a checkout is in (root's home, say).
    explicit IcecastServer(const QString& password) : m_port(loopbackSocket(0))
    {
        m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/tavlo-icecast-XXXXXX"));
        const QString logs = m_dir->filePath(QStringLiteral("log"));
        QDir().mkpath(logs);
        // As root Icecast insists on changing to an unprivileged user, who must read
        // the configuration and write the logs.
        const bool root = ::geteuid() == 0;
        if (root) {
            QFile::setPermissions(m_dir->path(), QFileDevice::Permissions(0x7755));
            QFile::setPermissions(logs, QFileDevice::Permissions(0x7777));
        }
        const QString config = QStringLiteral(R"(<icecast>
  <location>test</location><admin>test@localhost</admin><hostname>127.0.0.1</hostname>
  <limits><clients>20</clients><sources>4</sources><queue-size>1048576</queue-size><client-timeout>30</client-timeout>
    <header-timeout>15</header-timeout><source-timeout>10</source-timeout><burst-on-connect>0</burst-on-connect></limits>
  <authentication><source-password>%1</source-password><admin-user>admin</admin-user><admin-password>admin-pw</admin-password></authentication>
  <listen-socket><port>%2</port><bind-address>127.0.0.1</bind-address></listen-socket>
  <fileserve>1</fileserve>
  <paths><basedir>/usr/share/icecast2</basedir><logdir>%3</logdir><webroot>/usr/share/icecast2/web</webroot>
    <adminroot>/usr/share/icecast2/admin</adminroot></paths>
  <logging><accesslog>access.log</accesslog><errorlog>error.log</errorlog><loglevel>3</loglevel></logging>
  <security><chroot>0</chroot>%4</security>
</icecast>
)")
                                   .arg(password)
                                   .arg(m_port)
                                   .arg(logs)
                                   .arg(root ? QStringLiteral("<changeowner><user>nobody</user><group>nogroup</group></changeowner>")
                                             : QString());
        m_config = m_dir->filePath(QStringLiteral("icecast.xml"));
        QFile f(m_config);
        f.open(QIODevice::WriteOnly);
        f.write(config.toUtf8());
        f.close();
        QFile::setPermissions(m_config, QFileDevice::Permissions(0x6644));
    }
    ~IcecastServer() { stop(); }

    int port() const { return m_port; }
    bool start()
    {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QString::fromLatin1(kIcecastProgram), {QStringLiteral("-c"), m_config});
        if (!m_process.waitForStarted(5000))
            return false;
        for (int tries = 0; tries < 250 && m_process.state() != QProcess::NotRunning; ++tries) {
            if (const int fd = loopbackSocket(m_port); fd >= 0) {
                ::close(fd);
                // Answered by ours, not by some other program that took the port
                // meanwhile: Icecast ends at once when it cannot have the port.
                return !m_process.waitForFinished(200);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }
    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(2000);
    }
    // The song title the server shows for its one mount, or empty.
    QString title() const
    {
        const QJsonObject stats = QJsonDocument::fromJson(httpGet(m_port, "/status-json.xsl")).object()[QStringLiteral("icestats")].toObject();
        return stats[QStringLiteral("source")].toObject()[QStringLiteral("title")].toString();
    }
    QString logs() const
    {
        QFile f(m_dir->filePath(QStringLiteral("log/error.log")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll().right(2000)) : QString();
    }

private:
    int m_port;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_config;
    QProcess m_process;
};

}  // namespace tavlo::test
