#include "app/WebRemoteProgram.h"

#include "app/Station.h"
#include "platform/AppServices.h"
#include "web/WebToken.h"

namespace tavlo {

WebRemoteProgram::WebRemoteProgram(Station& station, AppServices& services, const CommandLine& cl, Run run)
    : m_station(station),
      m_settings(services.settings, PlayerWindow::productName()),
      m_remote(station.music(), station.insert(), station.scheduler(), services.clock, services.timers),
      m_dialog(m_settings, services.dialogs)
{
    WebRemoteChoice choice = m_settings.read();
    if (cl.webOff) {
        m_choice.reset();
    } else if (cl.web) {
        choice.address = *cl.web;
        m_choice = choice;
    } else if (run == Run::Headless || (run == Run::Desktop && choice.enabled)) {
        // A console station is steered from elsewhere or not at all: on by
        // default, where only this machine reaches it.
        if (run == Run::Headless)
            choice.address = WebAddress{};
        m_choice = choice;
    }
    m_dialog.onApply = [this](const WebRemoteChoice& c) { return apply(c); };
    m_dialog.onTokenRenewed = [this](const QString& token) { m_remote.setToken(token); };
    m_dialog.currentStatus = [this] { return status(); };
    m_remote.api().onRefused = [this](qint64 refused) {
        // Said at the 1st, 10th, 100th ... so a guessing client cannot flood the journal.
        for (qint64 n = 1; n <= refused; n *= 10)
            if (n == refused)
                tell(QStringLiteral("The web remote refused %1 request(s) for a missing or wrong token.").arg(refused));
    };
}

void WebRemoteProgram::start()
{
    if (m_choice)
        listen(*m_choice);
}

QString WebRemoteProgram::apply(const WebRemoteChoice& choice)
{
    if (choice.enabled) {
        listen(choice);
    } else {
        m_failure.clear();
        m_remote.stop();
        tell(QStringLiteral("The web remote is off."));
    }
    return status();
}

void WebRemoteProgram::listen(const WebRemoteChoice& choice)
{
    m_failure.clear();
    QString why;
    QString token = m_settings.token();
    if (!WebToken::usable(token.toUtf8())) {
        // Only the environment's can be: made and stored ones are long and plain.
        tell(QStringLiteral("TAVLO_WEB_TOKEN is not used: a token is at least 16 letters, digits or - . _ ~ + / =; "
                            "the remote refuses every command until it is mended."));
        token.clear();
    }
    if (!m_remote.start(choice.address, token, choice.allowedOrigin, &why)) {
        m_failure = QStringLiteral("The web remote cannot listen at %1: %2").arg(choice.address.text(), why);
        tell(m_failure);
        return;
    }
    tell(QStringLiteral("Web remote at %1").arg(m_remote.url()));
}

QString WebRemoteProgram::status() const
{
    if (!m_failure.isEmpty())
        return m_failure;
    if (!m_remote.isListening())
        return QStringLiteral("Off");
    QString text = QStringLiteral("Listening at %1").arg(m_remote.url());
    if (const qint64 refused = m_remote.api().refusedCount())
        text += QStringLiteral("; %1 request(s) refused for a wrong token").arg(refused);
    return text;
}

void WebRemoteProgram::tell(const QString& text) const { m_station.music().tellOperator(text); }

}  // namespace tavlo
