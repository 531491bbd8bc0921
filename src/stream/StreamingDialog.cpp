#include "stream/StreamingDialog.h"

#include "platform/AppServices.h"
#include "platform/SettingsStore.h"
#include "platform/UserDialogs.h"


namespace tavlo {

namespace {

const QString kSection = QStringLiteral("Streaming");
const QStringList kBitrates = {QStringLiteral("64"),  QStringLiteral("96"),  QStringLiteral("128"),
                               QStringLiteral("160"), QStringLiteral("192"), QStringLiteral("256"),
                               QStringLiteral("320")};

}  // namespace

StreamingDialog::StreamingDialog(AppServices& services, const QString& settingsApp, QObject* parent)
    : Form(QStringLiteral("StreamingDialog"), QStringLiteral("Streaming"), parent),
      m_services(services),
      m_settingsApp(settingsApp),
      m_tmrStatus(services.timers.createTimer())
{
    lblServer = new Label(this, QStringLiteral("lblServer"), QStringLiteral("Server"));
    txtServer = new TextBox(this, QStringLiteral("txtServer"));
    lblPort = new Label(this, QStringLiteral("lblPort"), QStringLiteral("Port"));
    txtPort = new TextBox(this, QStringLiteral("txtPort"), QStringLiteral("8000"));
    lblMount = new Label(this, QStringLiteral("lblMount"), QStringLiteral("Mount"));
    txtMount = new TextBox(this, QStringLiteral("txtMount"), QStringLiteral("/live"));
    lblUser = new Label(this, QStringLiteral("lblUser"), QStringLiteral("User"));
    txtUser = new TextBox(this, QStringLiteral("txtUser"), QStringLiteral("source"));
    lblPassword = new Label(this, QStringLiteral("lblPassword"), QStringLiteral("Password"));
    txtPassword = new TextBox(this, QStringLiteral("txtPassword"));
    lblBitrate = new Label(this, QStringLiteral("lblBitrate"), QStringLiteral("Bitrate (kbit/s)"));
    cboBitrate = new ComboBox(this, QStringLiteral("cboBitrate"));
    for (const QString& b : kBitrates)
        cboBitrate->addItem(b);
    cboBitrate->setListIndex(static_cast<int>(kBitrates.indexOf(QStringLiteral("128"))));
    chkEnabled = new Button(this, QStringLiteral("chkEnabled"), QStringLiteral("Stream to the server"), Button::Kind::Check);
    lblStatus = new Label(this, QStringLiteral("lblStatus"), services.streamer.status().text);
    cmdOk = new Button(this, QStringLiteral("cmdOk"), QStringLiteral("OK"));
    cmdOk->onClick = [this] { cmdOk_Click(); };
    cmdCancel = new Button(this, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
    cmdCancel->onClick = [this] { cmdCancel_Click(); };
    m_tmrStatus->setInterval(1000);
    m_tmrStatus->setHandler([this] { tmrStatus_Timer(); });
}

StreamingDialog::~StreamingDialog() = default;

QString StreamingDialog::setting(const QString& key, const QString& def) const
{
    return m_services.settings.get(m_settingsApp, kSection, key, def);
}

void StreamingDialog::fillFromSettings()
{
    txtServer->setText(setting(QStringLiteral("Server"), QString()));
    txtPort->setText(setting(QStringLiteral("Port"), QStringLiteral("8000")));
    txtMount->setText(setting(QStringLiteral("Mount"), QStringLiteral("/live")));
    txtUser->setText(setting(QStringLiteral("User"), QStringLiteral("source")));
    txtPassword->setText(setting(QStringLiteral("Password"), QString()));
    const qsizetype bitrate = kBitrates.indexOf(setting(QStringLiteral("Bitrate"), QStringLiteral("128")));
    cboBitrate->setListIndex(bitrate >= 0 ? static_cast<int>(bitrate) : 2);
    chkEnabled->setValue(setting(QStringLiteral("Enabled"), QStringLiteral("0")) == QLatin1String("1") ? 1 : 0);
}

QString StreamingDialog::passwordOr(const QString& stored) const
{
    const QString fromEnvironment = qEnvironmentVariable("TAVLO_STREAM_PASSWORD");
    return fromEnvironment.isEmpty() ? stored : fromEnvironment;
}

StreamTarget StreamingDialog::targetFromBoxes() const
{
    StreamTarget target;
    target.host = txtServer->text().trimmed();
    target.port = txtPort->text().trimmed().toInt();
    target.mount = txtMount->text().trimmed();
    if (!target.mount.startsWith(QLatin1Char('/')))
        target.mount.prepend(QLatin1Char('/'));
    target.user = txtUser->text().trimmed();
    target.bitrate = cboBitrate->text().toInt();
    return target;
}

void StreamingDialog::Form_Load()
{
    fillFromSettings();
    if (chkEnabled->value() == 1 && !txtServer->text().trimmed().isEmpty())
        streamTo(targetFromBoxes());
}

void StreamingDialog::openFrom(const Form& window)
{
    fillFromSettings();
    setGeometry(window.left() + 100, window.top() + 100, width(), height());
    show();
}

void StreamingDialog::cmdOk_Click()
{
    const StreamTarget target = targetFromBoxes();
    const bool on = chkEnabled->value() == 1;
    if (on && target.host.isEmpty()) {
        m_services.dialogs.inform(caption(), QStringLiteral("Type the streaming server's name or address."));
        return;
    }
    if (target.port <= 0 || target.port > 65535) {
        m_services.dialogs.inform(caption(), QStringLiteral("The port is a number from 1 to 65535."));
        return;
    }

    SettingsStore& settings = m_services.settings;
    settings.save(m_settingsApp, kSection, QStringLiteral("Server"), target.host);
    settings.save(m_settingsApp, kSection, QStringLiteral("Port"), QString::number(target.port));
    settings.save(m_settingsApp, kSection, QStringLiteral("Mount"), target.mount);
    settings.save(m_settingsApp, kSection, QStringLiteral("User"), target.user);
    settings.save(m_settingsApp, kSection, QStringLiteral("Bitrate"), QString::number(target.bitrate));
    settings.save(m_settingsApp, kSection, QStringLiteral("Enabled"), on ? QStringLiteral("1") : QStringLiteral("0"));
    // Made private before the password reaches the file, not after.
    if (!txtPassword->text().isEmpty())
        settings.keepPrivate();
    settings.save(m_settingsApp, kSection, QStringLiteral("Password"), txtPassword->text());

    if (on) {
        streamTo(target);  // with the password just saved, unless the environment gives one
    } else {
        m_services.streamer.stop();
        tmrStatus_Timer();
        m_tmrStatus->setEnabled(false);
    }
    hide();
}

void StreamingDialog::cmdCancel_Click() { hide(); }

void StreamingDialog::streamTo(StreamTarget target)
{
    target.password = passwordOr(setting(QStringLiteral("Password"), QString()));
    m_services.streamer.start(target);
    startStatusPolling();
}

void StreamingDialog::startStatusPolling()
{
    tmrStatus_Timer();
    m_tmrStatus->setEnabled(true);
}

void StreamingDialog::tmrStatus_Timer()
{
    const StreamStatus status = m_services.streamer.status();
    if (status.serial == m_shownSerial)
        return;
    m_shownSerial = status.serial;
    lblStatus->setText(status.text);
    if (onStatusText)
        onStatusText(status.text);
}

void StreamingDialog::songStarted(const QString& artist, const QString& title, const QString& path)
{
    m_services.streamer.setTitle(streamTitle(artist, title, path));
}

QString StreamingDialog::streamTitle(const QString& artist, const QString& title, const QString& path)
{
    const QString a = artist.trimmed();
    const QString t = title.trimmed();
    if (!a.isEmpty() && !t.isEmpty())
        return a + QStringLiteral(" - ") + t;
    if (!a.isEmpty() || !t.isEmpty())
        return a + t;
    // A path written on Windows too: its file name without the folders or the extension.
    QString name = path.mid(std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? name.left(dot) : name;
}

}  // namespace tavlo
