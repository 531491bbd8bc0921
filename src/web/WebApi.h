#pragma once

#include "web/HttpMessage.h"
#include "web/WebEventFeed.h"

#include <QHash>
#include <QString>

#include <functional>

namespace tavlo {

class Clock;
class InsertWindow;
class MusicWindow;
class SchedulerWindow;

// The remote's answers: one parsed request in, one response out, acting on
// the windows through the very methods their buttons call (Play is
// MusicWindow::play, "Insert Now" InsertWindow::insertNow), so a command
// from a phone plays, ramps and logs exactly as a click would.
//
// Who may ask what is WebToken::accessFor: on the loopback address reading
// is open, commands need "Authorization: Bearer TOKEN"; elsewhere every
// request does. A wrong or missing token answers 401 and is counted. No
// cookies are read or set, so another site's page cannot act with a
// visitor's rights, and no CORS header is sent unless an origin is allowed.
// Knows nothing of sockets. UI thread only.
class WebApi {
public:
    WebApi(MusicWindow& music, InsertWindow& insert, SchedulerWindow& scheduler, const Clock& clock);

    // The token commands need; empty: no command is accepted.
    void setToken(const QString& token) { m_token = token.toUtf8(); }
    // Bound to the loopback address only: reading is open, and the Host a
    // browser sends must be a loopback name (a rebound DNS name gets 403).
    void setLoopbackOnly(bool on) { m_loopbackOnly = on; }
    // An origin whose pages may call the API from a browser ("" none).
    void setAllowedOrigin(const QString& origin) { m_allowedOrigin = origin.toUtf8(); }

    HttpResponse handle(const HttpRequest& request);

    // Requests refused for a wrong or missing token since the start.
    qint64 refusedCount() const { return m_refused; }
    std::function<void(qint64 refused)> onRefused;

    WebEventFeed& feed() { return m_feed; }

private:
    HttpResponse route(const HttpRequest& request, const QString& path);
    HttpResponse command(const QString& path, const QByteArray& method);
    HttpResponse addRows(const HttpRequest& request);
    HttpResponse deleteRow(const QString& number);
    HttpResponse log(const QByteArray& query);
    HttpResponse pageFile(const QString& path);
    bool hostAllowed(const QByteArray& host) const;
    static bool proxied(const HttpRequest& request);

    MusicWindow& m_music;
    InsertWindow& m_insert;
    SchedulerWindow& m_scheduler;
    const Clock& m_clock;
    WebEventFeed m_feed;
    QByteArray m_token;
    QByteArray m_allowedOrigin;
    bool m_loopbackOnly = true;
    qint64 m_refused = 0;
    QHash<QString, QByteArray> m_files;  // the page's files, read once
};

}  // namespace tavlo
