#include "web/WebRemoteSettings.h"

#include "platform/SettingsStore.h"
#include "web/WebToken.h"

namespace tavlo {

namespace {

const QString kSection = QStringLiteral("Web Remote");

}  // namespace

WebRemoteSettings::WebRemoteSettings(SettingsStore& store, const QString& app) : m_store(store), m_app(app) {}

WebRemoteChoice WebRemoteSettings::read() const
{
    WebRemoteChoice c;
    c.enabled = m_store.get(m_app, kSection, QStringLiteral("Enabled"), QStringLiteral("0")) == QLatin1String("1");
    const QString host = m_store.get(m_app, kSection, QStringLiteral("Address"), c.address.host);
    const QString port = m_store.get(m_app, kSection, QStringLiteral("Port"), QString::number(c.address.port));
    // A hand-edited value that makes no address keeps the default one.
    const QString text = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    if (const auto a = WebAddress::parse(text + QLatin1Char(':') + port))
        c.address = *a;
    c.allowedOrigin = m_store.get(m_app, kSection, QStringLiteral("AllowOrigin"), QString());
    return c;
}

void WebRemoteSettings::save(const WebRemoteChoice& choice)
{
    m_store.save(m_app, kSection, QStringLiteral("Enabled"), choice.enabled ? QStringLiteral("1") : QStringLiteral("0"));
    m_store.save(m_app, kSection, QStringLiteral("Address"), choice.address.host);
    m_store.save(m_app, kSection, QStringLiteral("Port"), QString::number(choice.address.port));
    m_store.save(m_app, kSection, QStringLiteral("AllowOrigin"), choice.allowedOrigin);
}

bool WebRemoteSettings::tokenFromEnvironment() { return !qEnvironmentVariableIsEmpty(kEnvironmentToken); }

QString WebRemoteSettings::token()
{
    if (tokenFromEnvironment())
        return qEnvironmentVariable(kEnvironmentToken);
    const QString stored = m_store.get(m_app, kSection, QStringLiteral("Token"), QString());
    if (!stored.isEmpty())
        return stored;
    return renewToken();
}

QString WebRemoteSettings::renewToken()
{
    storeToken(WebToken::newToken());
    return tokenFromEnvironment() ? qEnvironmentVariable(kEnvironmentToken)
                                  : m_store.get(m_app, kSection, QStringLiteral("Token"), QString());
}

void WebRemoteSettings::storeToken(const QString& token)
{
    m_store.keepPrivate();
    m_store.save(m_app, kSection, QStringLiteral("Token"), token);
}

}  // namespace tavlo
