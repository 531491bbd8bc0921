#include "web/net/WebRemote.h"

#include "platform/Clock.h"
#include "platform/TimerService.h"

// The page's files are compiled into this library; a static library's
// resources are registered by hand, outside any namespace.
static void registerPageFiles() { Q_INIT_RESOURCE(web); }

namespace tavlo {

WebRemote::WebRemote(MusicWindow& music, InsertWindow& insert, SchedulerWindow& scheduler, const Clock& clock,
                     TimerService& timers, WebServerLimits limits)
    : m_clock(clock),
      m_api(music, insert, scheduler, clock),
      m_server(limits, [this](const HttpRequest& request) { return m_api.handle(request); }),
      m_pushTimer(timers.createTimer())
{
    registerPageFiles();
    m_pushTimer->setInterval(kPushIntervalMs);
    m_pushTimer->setHandler([this] { onPushTick(); });
}

WebRemote::~WebRemote() = default;

bool WebRemote::start(const WebAddress& address, const QString& token, const QString& allowedOrigin, QString* why)
{
    stop();
    m_api.setToken(token);
    m_api.setLoopbackOnly(address.isLoopback());
    m_api.setAllowedOrigin(allowedOrigin);
    if (!m_server.listen(address, why))
        return false;
    m_address = address;
    m_address.port = m_server.port();
    m_pushTimer->setEnabled(true);
    return true;
}

void WebRemote::stop()
{
    m_pushTimer->setEnabled(false);
    m_server.close();
}

WebAddress WebRemote::address() const { return m_address; }

QString WebRemote::url() const
{
    // A remote on every address is reached through any of them; this machine's own is the one to show.
    WebAddress shown = m_address;
    if (shown.host == QLatin1String("0.0.0.0"))
        shown.host = QStringLiteral("127.0.0.1");
    else if (shown.host == QLatin1String("::"))
        shown.host = QStringLiteral("::1");
    return QStringLiteral("http://") + shown.text() + QLatin1Char('/');
}

void WebRemote::onPushTick()
{
    if (m_server.eventStreamCount() == 0)
        return;
    m_tick = (m_tick + 1) % 2;
    m_server.push(m_api.feed().poll(m_clock.now(), m_tick == 0));
}

}  // namespace tavlo
