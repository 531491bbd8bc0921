#include "web/WebRemoteDialog.h"

#include "platform/UserDialogs.h"

namespace tavlo {

WebRemoteDialog::WebRemoteDialog(WebRemoteSettings& settings, UserDialogs& dialogs, QObject* parent)
    : Form(QStringLiteral("WebRemoteDialog"), QStringLiteral("Web Remote"), parent),
      m_settings(settings),
      m_dialogs(dialogs)
{
    enabledCheck = new Button(this, QStringLiteral("chkWebEnabled"), QStringLiteral("Run the web remote"), Button::Kind::Check);
    addressLabel = new Label(this, QStringLiteral("lblWebAddress"), QStringLiteral("Address"));
    addressBox = new TextBox(this, QStringLiteral("txtWebAddress"));
    portLabel = new Label(this, QStringLiteral("lblWebPort"), QStringLiteral("Port"));
    portBox = new TextBox(this, QStringLiteral("txtWebPort"));
    tokenCaption = new Label(this, QStringLiteral("lblWebTokenCaption"), QStringLiteral("Token"));
    tokenLabel = new Label(this, QStringLiteral("lblWebToken"));
    renewTokenButton = new Button(this, QStringLiteral("cmdRenewToken"), QStringLiteral("New Token"));
    renewTokenButton->onClick = [this] { renewToken(); };
    statusLabel = new Label(this, QStringLiteral("lblWebStatus"));
    okButton = new Button(this, QStringLiteral("cmdOk"), QStringLiteral("OK"));
    okButton->onClick = [this] { accept(); };
    cancelButton = new Button(this, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
    cancelButton->onClick = [this] { hide(); };
}

void WebRemoteDialog::attachTo(Form& window, MenuItem* optionsMenu)
{
    auto* item = new MenuItem(&window, QStringLiteral("webRemoteItem"), QStringLiteral("&Web Remote..."), optionsMenu);
    item->onClick = [this, &window] { openFrom(window); };
}

void WebRemoteDialog::fill()
{
    const WebRemoteChoice c = m_settings.read();
    enabledCheck->setValue(c.enabled ? 1 : 0);
    addressBox->setText(c.address.host);
    portBox->setText(QString::number(c.address.port));
    if (WebRemoteSettings::tokenFromEnvironment()) {
        tokenLabel->setText(QStringLiteral("(from TAVLO_WEB_TOKEN)"));
        renewTokenButton->setEnabled(false);
    } else {
        tokenLabel->setText(m_settings.token());
    }
    statusLabel->setText(currentStatus ? currentStatus() : QString());
}

void WebRemoteDialog::openFrom(const Form& window)
{
    fill();
    setGeometry(window.left() + 100, window.top() + 100, width(), height());
    show();
}

void WebRemoteDialog::accept()
{
    QString host = addressBox->text().trimmed();
    if (host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('[')))
        host = QLatin1Char('[') + host + QLatin1Char(']');
    QString why;
    const auto address = WebAddress::parse(host + QLatin1Char(':') + portBox->text().trimmed(), &why);
    if (!address) {
        m_dialogs.inform(caption(), why);
        return;
    }
    WebRemoteChoice c = m_settings.read();
    c.enabled = enabledCheck->value() == 1;
    c.address = *address;
    m_settings.save(c);
    if (onApply)
        statusLabel->setText(onApply(c));
    hide();
}

void WebRemoteDialog::renewToken()
{
    const QString token = m_settings.renewToken();
    tokenLabel->setText(token);
    if (onTokenRenewed)
        onTokenRenewed(token);
}

}  // namespace tavlo
