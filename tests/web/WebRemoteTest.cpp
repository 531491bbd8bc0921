// The web remote end to end: a station on simulated time and fake media,
// asked over real connections on the loopback address as a browser or a
// script would ask it.
#include "playback/WindowRig.h"
#include "web/WebClient.h"
#include "web/net/WebRemote.h"

#include <QJsonArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

const QByteArray kToken = "test-token-0123456789";

struct RemoteRig {
    EventLoopApp app;
    WindowRig r;
    QStringList music;
    WebRemote remote;
    std::unique_ptr<WebClient> client;
    QStringList logged;  // the music window's as-run entries, as "error|path"

    explicit RemoteRig(WebServerLimits limits = {})
        : remote(*r.w, *r.ins, *r.tim, r.time, r.time, limits)
    {
        for (int i = 1; i <= 4; ++i)
            music << r.add(QStringLiteral("m%1").arg(i), 300);
        r.addInsert(QStringLiteral("ad1"), 30);
        QObject::connect(r.w, &PlayerWindow::logEntryWritten, r.w,
                         [this](const QString& error, const QString& line) { logged << error + QLatin1Char('|') + line; });
        QString why;
        EXPECT_TRUE(remote.start(WebAddress{QStringLiteral("127.0.0.1"), 0}, QString::fromLatin1(kToken), QString(), &why))
            << qPrintable(why);
        client = std::make_unique<WebClient>(remote.address().port);
    }
    // Station time moves; the sockets get their turn.
    void run(int ms)
    {
        for (int t = 0; t < ms; t += 100) {
            r.time.advance(100);
            QCoreApplication::processEvents();
        }
    }
    QString songTitle(const WebReply& reply) const
    {
        return reply.json().value(QStringLiteral("song")).toObject().value(QStringLiteral("title")).toString();
    }
};

// The events of a stream's text, as (name, JSON) in order.
QList<QPair<QByteArray, QJsonObject>> eventsIn(const QByteArray& text)
{
    QList<QPair<QByteArray, QJsonObject>> out;
    for (const QByteArray& chunk : QByteArray(text).replace("\r", "").split('\n')) {
        if (chunk.startsWith("event: "))
            out.append({chunk.mid(7), QJsonObject()});
        else if (chunk.startsWith("data: ") && !out.isEmpty())
            out.last().second = QJsonDocument::fromJson(chunk.mid(6)).object();
    }
    return out;
}

}  // namespace

TEST(WebRemote, CommandsActAsTheButtonsAndNeedTheToken)
{
    RemoteRig x;
    x.r.w->play();
    x.run(2000);

    // Reading is open on the loopback address.
    WebReply now = x.client->ask("GET", "/api/now-playing");
    ASSERT_EQ(now.status, 200) << now.body.constData();
    EXPECT_EQ(x.songTitle(now), QStringLiteral("m1"));
    EXPECT_EQ(now.json().value(QStringLiteral("onAir")).toString(), QStringLiteral("music"));
    EXPECT_EQ(now.json().value(QStringLiteral("next")).toObject().value(QStringLiteral("title")).toString(), QStringLiteral("m2"));
    EXPECT_GE(now.json().value(QStringLiteral("song")).toObject().value(QStringLiteral("elapsed")).toInt(), 1);
    EXPECT_EQ(now.json().value(QStringLiteral("song")).toObject().value(QStringLiteral("duration")).toInt(), 300);

    // A command without the token, or with a wrong one, does nothing and is counted.
    EXPECT_EQ(x.client->ask("POST", "/api/music/next").status, 401);
    EXPECT_EQ(x.client->ask("POST", "/api/music/next", "wrong-token").status, 401);
    EXPECT_EQ(x.remote.api().refusedCount(), 2);
    EXPECT_EQ(x.r.pathInPlay(), x.music[0]);

    // Next, as the button: the next song starts and is logged as a click would log it.
    x.logged.clear();
    WebReply next = x.client->ask("POST", "/api/music/next", kToken);
    ASSERT_EQ(next.status, 200);
    x.run(15000);
    EXPECT_EQ(x.r.pathInPlay(), x.music[1]);
    EXPECT_TRUE(x.logged.contains(QLatin1Char('|') + x.music[1])) << qPrintable(x.logged.join(QLatin1Char('\n')));
    EXPECT_EQ(x.songTitle(x.client->ask("GET", "/api/now-playing")), QStringLiteral("m2"));

    // Pause toggles as its button does; Stop stops; Play starts again.
    EXPECT_EQ(x.client->ask("POST", "/api/music/pause", kToken).json().value(QStringLiteral("status")).toString(),
              QStringLiteral("paused"));
    EXPECT_EQ(x.client->ask("POST", "/api/music/pause", kToken).json().value(QStringLiteral("status")).toString(),
              QStringLiteral("playing"));
    EXPECT_EQ(x.client->ask("POST", "/api/music/stop", kToken).json().value(QStringLiteral("status")).toString(),
              QStringLiteral("stopped"));
    EXPECT_EQ(x.client->ask("POST", "/api/music/play", kToken).json().value(QStringLiteral("status")).toString(),
              QStringLiteral("playing"));
    x.run(15000);

    // A break: prepared, on air, back to the music, through the insert window's own methods.
    const QJsonObject prepared = x.client->ask("POST", "/api/insert/prepare", kToken).json();
    EXPECT_NE(prepared.value(QStringLiteral("break")).toObject().value(QStringLiteral("state")).toString(), QStringLiteral("idle"));
    x.client->ask("POST", "/api/insert/now", kToken);
    x.run(15000);
    WebReply onAir = x.client->ask("GET", "/api/now-playing");
    EXPECT_EQ(onAir.json().value(QStringLiteral("onAir")).toString(), QStringLiteral("insert"));
    EXPECT_EQ(x.songTitle(onAir), QStringLiteral("ad1"));
    x.client->ask("POST", "/api/insert/back-to-music", kToken);
    x.run(15000);
    EXPECT_EQ(x.client->ask("GET", "/api/now-playing").json().value(QStringLiteral("onAir")).toString(), QStringLiteral("music"));

    // Rows: added at a place, deleted, and refused when they do not exist.
    x.r.media.addFile(QStringLiteral("/music/new.mp3"), 100);
    WebReply added = x.client->ask("POST", "/api/lists/music/rows", kToken, R"({"files":["/music/new.mp3"],"position":1})");
    ASSERT_EQ(added.status, 200) << added.body.constData();
    EXPECT_EQ(x.r.w->clipList->count(), 5);
    EXPECT_EQ(x.r.w->clipList->text(1, ColLocation), QStringLiteral("/music/new.mp3"));
    EXPECT_EQ(x.client->ask("DELETE", "/api/lists/music/rows/1", kToken).status, 200);
    EXPECT_EQ(x.r.w->clipList->count(), 4);
    EXPECT_EQ(x.client->ask("DELETE", "/api/lists/music/rows/9", kToken).status, 404);
    EXPECT_EQ(x.client->ask("DELETE", "/api/lists/music/rows/x", kToken).status, 404);
    EXPECT_EQ(x.client->ask("POST", "/api/lists/music/rows", kToken, R"({"files":["/a.mp3"],"position":9})").status, 404);
    EXPECT_EQ(x.client->ask("POST", "/api/lists/music/rows", kToken, "{\"files\": [").status, 400);
    EXPECT_EQ(x.client->ask("POST", "/api/lists/music/rows", kToken, R"({"files":["/a.mp3"]})", "text/plain").status, 415);
    EXPECT_EQ(x.r.w->clipList->count(), 4);
    EXPECT_EQ(x.client->ask("GET", "/api/lists/music").json().value(QStringLiteral("rows")).toArray().size(), 4);
    EXPECT_EQ(x.client->ask("GET", "/api/lists/insert").json().value(QStringLiteral("rows")).toArray().size(), 1);
    EXPECT_EQ(x.client->ask("GET", "/api/music/next").status, 405);
    EXPECT_EQ(x.client->ask("POST", "/api/music/rewind", kToken).status, 404);
}

TEST(WebRemote, EventsArePushedInOrderAndTheLogReads)
{
    RemoteRig x;
    QTemporaryDir logs;
    x.r.w->setLogFolder(logs.path() + QLatin1Char('/'));
    x.r.w->setLogSwitch(true);
    x.r.w->play();
    x.run(1000);

    auto stream = x.client->connect();
    stream->write("GET /api/events HTTP/1.1\r\nHost: localhost\r\n\r\n");
    QByteArray text;
    auto collect = [&](int ms) {
        x.run(ms);
        EventLoopApp::spinUntil([&] {
            text += stream->readAll();
            return false;
        }, 30);
    };
    collect(300);
    ASSERT_TRUE(text.startsWith("HTTP/1.1 200")) << text.constData();
    EXPECT_TRUE(text.contains("Content-Type: text/event-stream"));
    // The first events are the station as it stands.
    const auto first = eventsIn(text);
    ASSERT_GE(first.size(), 3);
    EXPECT_EQ(first[0].first, "now-playing");
    EXPECT_EQ(first[1].first, "station");
    EXPECT_EQ(first[2].first, "meter");

    // Two Nexts: the pushed songs follow in order, each within 200 ms of its start.
    for (int i = 0; i < 2; ++i) {
        x.client->ask("POST", "/api/music/next", kToken);
        for (int ms = 0; ms < 20000 && x.r.pathInPlay() != x.music[i + 1]; ms += 10) {
            x.r.time.advance(10);
            QCoreApplication::processEvents();
        }
        collect(200);
        const auto events = eventsIn(text);
        ASSERT_FALSE(events.isEmpty());
        QString lastTitle;
        for (const auto& e : events)
            if (e.first == "now-playing")
                lastTitle = e.second.value(QStringLiteral("song")).toObject().value(QStringLiteral("title")).toString();
        EXPECT_EQ(lastTitle, QStringLiteral("m%1").arg(i + 2));
    }
    QStringList titles;
    for (const auto& e : eventsIn(text)) {
        const QString t = e.second.value(QStringLiteral("song")).toObject().value(QStringLiteral("title")).toString();
        if (e.first == "now-playing" && (titles.isEmpty() || titles.last() != t))
            titles << t;
    }
    EXPECT_EQ(titles, (QStringList{QStringLiteral("m1"), QStringLiteral("m2"), QStringLiteral("m3")}));

    // The day's as-run log, as rows.
    const WebReply log = x.client->ask("GET", "/api/log?date=" + x.r.time.now().date().toString(Qt::ISODate).toLatin1());
    ASSERT_EQ(log.status, 200) << log.body.constData();
    QStringList entries;
    for (const QJsonValue& row : log.json().value(QStringLiteral("rows")).toArray())
        entries << row.toObject().value(QStringLiteral("entry")).toString();
    EXPECT_TRUE(entries.contains(x.music[2])) << qPrintable(entries.join(QLatin1Char('\n')));
    EXPECT_EQ(x.client->ask("GET", "/api/log?date=2026-13-01").status, 400);
    EXPECT_EQ(x.client->ask("GET", "/api/log?date=1999-01-01").json().value(QStringLiteral("rows")).toArray().size(), 0);
    EXPECT_EQ(x.client->ask("GET", "/api/schedule").status, 200);

    // A renewed token ends the streams opened under the old one.
    ASSERT_EQ(x.remote.server().eventStreamCount(), 1);
    x.remote.setToken(QStringLiteral("renewed-token-0123456789"));
    EventLoopApp::spinUntil([&] { return stream->state() != QAbstractSocket::ConnectedState; }, 2000);
    EXPECT_NE(stream->state(), QAbstractSocket::ConnectedState);
    EXPECT_EQ(x.remote.server().eventStreamCount(), 0);
}

TEST(WebRemote, HostileRequestsCostLittleAndGetNothing)
{
    WebServerLimits limits;
    limits.maxConnections = 8;
    limits.requestTimeoutMs = 300;
    RemoteRig x(limits);

    // A long answer goes whole: only an event stream's pushes are capped.
    std::vector<PlaylistRow> rows(6000);
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i].fields[ColLocation] = QStringLiteral("/music/") + QString(200, QLatin1Char('x')) + QString::number(i) + QStringLiteral(".mp3");
    x.r.w->clipList->append(std::move(rows));
    const WebReply long_ = x.client->ask("GET", "/api/lists/music");
    EXPECT_EQ(long_.status, 200);
    EXPECT_GT(long_.body.size(), limits.maxUnsentBytes);

    // Only the page's files, however the path is written.
    EXPECT_EQ(x.client->ask("GET", "/").status, 200);
    EXPECT_EQ(x.client->ask("GET", "/remote.js").status, 200);
    EXPECT_EQ(x.client->ask("GET", "/api/openapi.json").json().value(QStringLiteral("openapi")).toString().left(2),
              QStringLiteral("3."));
    for (const char* path : {"/%2e%2e/%2e%2e/etc/passwd", "/..%2f..%2fetc%2fpasswd", "/%2E%2E/", "/remote.js%00.html",
                             "/web/../etc/passwd"}) {
        const WebReply r = x.client->ask("GET", path);
        EXPECT_EQ(r.status, 400) << path;
        EXPECT_FALSE(r.body.contains("root:")) << path;
    }
    EXPECT_EQ(x.client->ask("GET", "/etc/passwd").status, 404);

    // Too big, too many, too slow: answered and closed.
    EXPECT_EQ(x.client->ask("POST", "/api/lists/music/rows", kToken, QByteArray(300 * 1024, ' ')).status, 413);
    EXPECT_EQ(x.client->raw("GET / HTTP/1.1\r\nX: " + QByteArray(9000, 'a') + "\r\n\r\n").status, 431);
    EXPECT_EQ(x.client->raw("GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n").status, 408);  // never finished

    // A page from elsewhere that rebinds its name to the loopback address is
    // refused, whatever its name starts with; loopback names and addresses are not.
    EXPECT_EQ(x.client->raw("GET /api/now-playing HTTP/1.1\r\nHost: evil.example:8091\r\n\r\n").status, 403);
    EXPECT_EQ(x.client->raw("GET /api/now-playing HTTP/1.1\r\nHost: 127.0.0.1.evil.example\r\n\r\n").status, 403);
    EXPECT_EQ(x.client->raw("GET /api/now-playing HTTP/1.1\r\nHost: [::1]:8091\r\n\r\n").status, 200);
    EXPECT_EQ(x.client->raw("GET /api/now-playing HTTP/1.1\r\nHost: localhost:8091\r\n\r\n").status, 200);
    // Asked through a web server on this machine, reading needs the token too.
    EXPECT_EQ(x.client->raw("GET /api/now-playing HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Forwarded-For: 203.0.113.9\r\n\r\n").status, 401);
    // Line breaks dribbled between requests do not keep a connection: it
    // closes once the request time has passed since the first.
    {
        auto s = x.client->connect();
        for (int i = 0; i < 6 && s->state() == QAbstractSocket::ConnectedState; ++i) {
            s->write("\r\n");
            s->flush();
            EventLoopApp::spinUntil([] { return false; }, 100);
        }
        EventLoopApp::spinUntil([&] { return s->state() != QAbstractSocket::ConnectedState; }, 1000);
        EXPECT_NE(s->state(), QAbstractSocket::ConnectedState);
    }
    // No CORS, no cookies.
    const WebReply plain = x.client->raw("GET /api/now-playing HTTP/1.1\r\nHost: 127.0.0.1\r\nOrigin: http://evil.example\r\n\r\n");
    EXPECT_FALSE(plain.head.toLower().contains("access-control-allow-origin"));
    EXPECT_FALSE(plain.head.toLower().contains("set-cookie"));

    // Connections beyond the limit are told so at once.
    EventLoopApp::spinUntil([&] { return x.remote.server().connectionCount() == 0; });
    std::vector<std::unique_ptr<QTcpSocket>> held;
    for (int i = 0; i < limits.maxConnections; ++i) {
        held.push_back(x.client->connect());
        held.back()->write("GET / HTTP/1.1\r\n");  // begun, never ended
    }
    EventLoopApp::spinUntil([&] { return x.remote.server().connectionCount() == limits.maxConnections; });
    EXPECT_EQ(x.client->ask("GET", "/api/now-playing").status, 503);
    // They time out, and the remote answers again.
    EventLoopApp::spinUntil([&] { return x.remote.server().connectionCount() == 0; }, 3000);
    EXPECT_EQ(x.client->ask("GET", "/api/now-playing").status, 200);

    // Bound to another address than loopback, reading needs the token too;
    // the page itself does not, or a phone could never open it.
    x.remote.api().setLoopbackOnly(false);
    EXPECT_EQ(x.client->ask("GET", "/api/now-playing").status, 401);
    EXPECT_EQ(x.client->ask("GET", "/api/now-playing", kToken).status, 200);
    EXPECT_EQ(x.client->ask("GET", "/").status, 200);
    EXPECT_EQ(x.client->ask("GET", "/remote.js").status, 200);
    EXPECT_EQ(x.client->ask("POST", "/").status, 401);
}

// A command that lets the event loop run (a long playlist loading) may see
// its client leave, its time run out or the remote stop meanwhile: the
// connection goes once the command is over, never under it, and the server
// answers the next client.
TEST(WebRemote, AClientGoneDuringALongCommandLeavesTheServerWhole)
{
    EventLoopApp app;
    WebServerLimits limits;
    limits.requestTimeoutMs = 100;
    int handled = 0;
    WebServer server(limits, [&](const HttpRequest&) {
        ++handled;
        EventLoopApp::spinUntil([] { return false; }, 300);  // the client hangs up meanwhile
        return HttpResponse{200, "application/json", "{}", {}, false};
    });
    QString why;
    ASSERT_TRUE(server.listen(WebAddress{QStringLiteral("127.0.0.1"), 0}, &why)) << qPrintable(why);
    WebClient client(server.port());
    {
        auto s = client.connect();
        s->write("GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
        s->flush();
        EventLoopApp::spinUntil([&] { return handled == 1; }, 2000);
        s->abort();
    }
    EventLoopApp::spinUntil([&] { return server.connectionCount() == 0; }, 2000);
    // And the server itself stopped under a command.
    auto s = client.connect();
    s->write("GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    s->flush();
    EventLoopApp::spinUntil([&] { return handled == 2; }, 2000);
    server.close();
    EventLoopApp::spinUntil([] { return false; }, 400);
    ASSERT_TRUE(server.listen(WebAddress{QStringLiteral("127.0.0.1"), 0}, &why)) << qPrintable(why);
    EXPECT_EQ(WebClient(server.port()).raw("GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n").status, 200);
}
