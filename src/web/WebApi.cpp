#include "web/WebApi.h"

#include "insert/InsertWindow.h"
#include "log/AsRunLog.h"
#include "music/MusicWindow.h"
#include "platform/Clock.h"
#include "playlist/PlaylistModel.h"
#include "scheduler/SchedulerWindow.h"
#include "web/WebAddress.h"
#include "web/WebJson.h"
#include "web/WebPaths.h"
#include "web/WebRequestBody.h"
#include "web/WebToken.h"

#include <QFile>
#include <QJsonDocument>

namespace tavlo {

namespace {

// A day's log is read whole; a bigger file is no as-run log of ours.
constexpr qint64 kMaxLogBytes = 16 * 1024 * 1024;

HttpResponse json(int status, const QJsonObject& body)
{
    HttpResponse r;
    r.status = status;
    r.contentType = "application/json";
    r.body = QJsonDocument(body).toJson(QJsonDocument::Compact);
    return r;
}

HttpResponse failure(int status, const QString& why) { return json(status, WebJson::error(why)); }

HttpResponse notAllowed(const QByteArray& allow)
{
    HttpResponse r = failure(405, QStringLiteral("method not allowed"));
    r.addHeader("Allow", allow);
    return r;
}

bool isDigits(const QString& s)
{
    if (s.isEmpty() || s.size() > 9)
        return false;
    for (QChar c : s)
        if (!c.isDigit() || c.unicode() > 127)
            return false;
    return true;
}

}  // namespace

WebApi::WebApi(MusicWindow& music, InsertWindow& insert, SchedulerWindow& scheduler, const Clock& clock)
    : m_music(music), m_insert(insert), m_scheduler(scheduler), m_clock(clock), m_feed(music, insert, scheduler)
{
}

bool WebApi::proxied(const HttpRequest& request)
{
    // A web server on this machine passing requests on connects from the
    // loopback address for whoever asked it, maybe anyone on the internet.
    return !request.header("forwarded").isEmpty() || !request.header("x-forwarded-for").isEmpty() ||
           !request.header("x-real-ip").isEmpty();
}

bool WebApi::hostAllowed(const QByteArray& host) const
{
    if (!m_loopbackOnly || host.isEmpty())
        return true;
    QByteArray name = host.toLower();
    if (name.startsWith('[')) {
        const qsizetype end = name.indexOf(']');
        name = end < 0 ? QByteArray() : name.mid(1, end - 1);
    } else if (const qsizetype colon = name.lastIndexOf(':'); colon >= 0) {
        name.truncate(colon);
    }
    // A name such as "127.0.0.1.evil.example" is another site's, however it starts.
    return WebAddress::isLoopbackName(QString::fromLatin1(name));
}

HttpResponse WebApi::handle(const HttpRequest& request)
{
    HttpResponse r;
    const auto path = WebPaths::decodePath(request.path);
    if (!path) {
        r = failure(400, QStringLiteral("no such path"));
    } else if (!hostAllowed(request.header("host"))) {
        r = failure(403, QStringLiteral("this remote answers to its loopback address only"));
    } else if (request.method == "OPTIONS" && !m_allowedOrigin.isEmpty()) {
        r.status = 204;
        r.addHeader("Access-Control-Allow-Methods", "GET, POST, DELETE");
        r.addHeader("Access-Control-Allow-Headers", "Authorization, Content-Type");
        r.addHeader("Access-Control-Max-Age", "600");
    } else if (WebToken::accessFor(request.method, m_loopbackOnly && !proxied(request),
                                   WebPaths::pageFile(*path).has_value()) == WebToken::Access::NeedsToken
               && !WebToken::matches(WebToken::bearerToken(request.header("authorization")), m_token)) {
        ++m_refused;
        if (onRefused)
            onRefused(m_refused);
        r = failure(401, QStringLiteral("this needs the remote's token (Options > Web Remote...)"));
        r.addHeader("WWW-Authenticate", "Bearer realm=\"tavlo\"");
    } else {
        r = route(request, *path);
    }
    if (!m_allowedOrigin.isEmpty() && request.header("origin") == m_allowedOrigin)
        r.addHeader("Access-Control-Allow-Origin", m_allowedOrigin);
    return r;
}

HttpResponse WebApi::route(const HttpRequest& request, const QString& path)
{
    const QByteArray& method = request.method;
    const bool get = method == "GET";
    if (path == QLatin1String("/api/now-playing"))
        return get ? json(200, WebJson::nowPlaying(m_music, m_insert, m_clock.now())) : notAllowed("GET");
    if (path == QLatin1String("/api/station"))
        return get ? json(200, WebJson::station(m_music, m_insert, m_scheduler, m_clock.now())) : notAllowed("GET");
    if (path == QLatin1String("/api/events")) {
        if (!get)
            return notAllowed("GET");
        HttpResponse r;
        r.contentType = "text/event-stream";
        r.eventStream = true;
        // The browser's reconnect delay, should the stream drop.
        r.body = "retry: 1000\n\n" + m_feed.snapshot(m_clock.now());
        return r;
    }
    if (path == QLatin1String("/api/lists/music"))
        return get ? json(200, WebJson::listRows(m_music)) : notAllowed("GET");
    if (path == QLatin1String("/api/lists/insert"))
        return get ? json(200, WebJson::listRows(m_insert)) : notAllowed("GET");
    if (path == QLatin1String("/api/schedule"))
        return get ? json(200, WebJson::schedule(m_scheduler, m_clock.now())) : notAllowed("GET");
    if (path == QLatin1String("/api/log"))
        return get ? log(request.query) : notAllowed("GET");
    if (path == QLatin1String("/api/lists/music/rows"))
        return method == "POST" ? addRows(request) : notAllowed("POST");
    if (path.startsWith(QLatin1String("/api/lists/music/rows/")))
        return method == "DELETE" ? deleteRow(path.mid(22)) : notAllowed("DELETE");
    if (path.startsWith(QLatin1String("/api/music/")) || path.startsWith(QLatin1String("/api/insert/")))
        return command(path, method);
    if (WebPaths::pageFile(path))
        return get ? pageFile(path) : notAllowed("GET");
    return failure(404, QStringLiteral("no such path"));
}

HttpResponse WebApi::command(const QString& path, const QByteArray& method)
{
    using Action = void (*)(MusicWindow&, InsertWindow&);
    static const QHash<QString, Action> actions = {
        {QStringLiteral("/api/music/play"), [](MusicWindow& m, InsertWindow&) { m.play(); }},
        {QStringLiteral("/api/music/pause"), [](MusicWindow& m, InsertWindow&) { m.pause(); }},
        {QStringLiteral("/api/music/stop"), [](MusicWindow& m, InsertWindow&) { m.stop(); }},
        {QStringLiteral("/api/music/next"), [](MusicWindow& m, InsertWindow&) { m.next(); }},
        {QStringLiteral("/api/music/back"), [](MusicWindow& m, InsertWindow&) { m.back(); }},
        {QStringLiteral("/api/insert/prepare"), [](MusicWindow&, InsertWindow& i) { i.prepareInsert(); }},
        {QStringLiteral("/api/insert/now"), [](MusicWindow&, InsertWindow& i) { i.insertNow(); }},
        {QStringLiteral("/api/insert/back-to-music"), [](MusicWindow&, InsertWindow& i) { i.backToMusic(); }},
    };
    const auto it = actions.find(path);
    if (it == actions.end())
        return failure(404, QStringLiteral("no such command"));
    if (method != "POST")
        return notAllowed("POST");
    (*it)(m_music, m_insert);
    return json(200, WebJson::nowPlaying(m_music, m_insert, m_clock.now()));
}

HttpResponse WebApi::addRows(const HttpRequest& request)
{
    if (!request.header("content-type").toLower().startsWith("application/json"))
        return failure(415, QStringLiteral("the body is application/json"));
    QString why;
    const auto rows = WebRequestBody::rowsToAdd(request.body, &why);
    if (!rows)
        return failure(400, why);
    PlaylistModel& list = *m_music.clipList;
    if (rows->position > list.count() + 1)
        return failure(404, QStringLiteral("no row %1: the list has %2").arg(rows->position).arg(list.count()));
    // What "Open..." does with the files chosen in its dialog.
    if (!rows->playlist.isEmpty()) {
        m_music.openFile(rows->playlist, false, rows->position);
    } else {
        int at = rows->position;
        for (const QString& file : rows->files) {
            m_music.openFile(file, false, at);
            if (at > 0)
                ++at;
        }
    }
    return json(200, WebJson::listRows(m_music));
}

HttpResponse WebApi::deleteRow(const QString& number)
{
    PlaylistModel& list = *m_music.clipList;
    const int n = isDigits(number) ? number.toInt() : 0;
    if (n < 1 || n > list.count())
        return failure(404, QStringLiteral("no row %1: the list has %2").arg(number).arg(list.count()));
    // "Delete Selected" on that one row, so the song in play keeps its place as it would.
    list.selectOnly(n);
    m_music.deleteSelected();
    return json(200, WebJson::listRows(m_music));
}

HttpResponse WebApi::log(const QByteArray& query)
{
    const auto values = WebPaths::parseQuery(query);
    if (!values)
        return failure(400, QStringLiteral("malformed query"));
    const QString text = values->value(QStringLiteral("date"));
    const QDate date = text.isEmpty() ? m_clock.now().date() : QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        return failure(400, QStringLiteral("the date is YYYY-MM-DD"));
    QJsonArray rows;
    QStringList files{AsRunLog::fileName(m_music.logFolder(), date)};
    const QString insertFile = AsRunLog::fileName(m_insert.logFolder(), date);
    if (!files.contains(insertFile))
        files << insertFile;
    for (const QString& name : files) {
        QFile f(name);
        if (f.size() > kMaxLogBytes || !f.open(QIODevice::ReadOnly))
            continue;
        for (const QJsonValue& row : WebJson::logRows(f.readAll()))
            rows.append(row);
    }
    return json(200, QJsonObject{{QStringLiteral("date"), date.toString(Qt::ISODate)}, {QStringLiteral("rows"), rows}});
}

HttpResponse WebApi::pageFile(const QString& path)
{
    const auto file = WebPaths::pageFile(path);
    auto it = m_files.find(file->resource);
    if (it == m_files.end()) {
        QFile f(file->resource);
        if (!f.open(QIODevice::ReadOnly))
            return failure(404, QStringLiteral("no such path"));
        it = m_files.insert(file->resource, f.readAll());
    }
    HttpResponse r;
    r.contentType = file->contentType;
    r.body = *it;
    return r;
}

}  // namespace tavlo
