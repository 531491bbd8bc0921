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
      m_statusTimer(services.timers.createTimer())
{
    serverLabel = new Label(this, QStringLiteral("lblServer"), QStringLiteral("Server"));
    serverBox = new TextBox(this, QStringLiteral("txtServer"));
    portLabel = new Label(this, QStringLiteral("lblPort"), QStringLiteral("Port"));
    portBox = new TextBox(this, QStringLiteral("txtPort"), QStringLiteral("8000"));
    mountLabel = new Label(this, QStringLiteral("lblMount"), QStringLiteral("Mount"));
    mountBox = new TextBox(this, QStringLiteral("txtMount"), QStringLiteral("/live"));
    userLabel = new Label(this, QStringLiteral("lblUser"), QStringLiteral("User"));
    userBox = new TextBox(this, QStringLiteral("txtUser"), QStringLiteral("source"));
    passwordLabel = new Label(this, QStringLiteral("lblPassword"), QStringLiteral("Password"));
    passwordBox = new TextBox(this, QStringLiteral("txtPassword"));
    bitrateLabel = new Label(this, QStringLiteral("lblBitrate"), QStringLiteral("Bitrate (kbit/s)"));
    bitrateBox = new ComboBox(this, QStringLiteral("cboBitrate"));
    for (const QString& b : kBitrates)
        bitrateBox->addItem(b);
    bitrateBox->setListIndex(static_cast<int>(kBitrates.indexOf(QStringLiteral("128"))));
    enabledCheck = new Button(this, QStringLiteral("chkEnabled"), QStringLiteral("Stream to the server"), Button::Kind::Check);
    statusLabel = new Label(this, QStringLiteral("lblStatus"), services.streamer.status().text);
    okButton = new Button(this, QStringLiteral("cmdOk"), QStringLiteral("OK"));
    okButton->onClick = [this] { accept(); };
    cancelButton = new Button(this, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"));
    cancelButton->onClick = [this] { cancel(); };
    m_statusTimer->setInterval(1000);
    m_statusTimer->setHandler([this] { onStatusTick(); });
}

StreamingDialog::~StreamingDialog() = default;

QString StreamingDialog::setting(const QString& key, const QString& def) const
{
    return m_services.settings.get(m_settingsApp, kSection, key, def);
}

void StreamingDialog::fillFromSettings()
{
    serverBox->setText(setting(QStringLiteral("Server"), QString()));
    portBox->setText(setting(QStringLiteral("Port"), QStringLiteral("8000")));
    mountBox->setText(setting(QStringLiteral("Mount"), QStringLiteral("/live")));
    userBox->setText(setting(QStringLiteral("User"), QStringLiteral("source")));
    passwordBox->setText(setting(QStringLiteral("Password"), QString()));
    const qsizetype bitrate = kBitrates.indexOf(setting(QStringLiteral("Bitrate"), QStringLiteral("128")));
    bitrateBox->setListIndex(bitrate >= 0 ? static_cast<int>(bitrate) : 2);
    enabledCheck->setValue(setting(QStringLiteral("Enabled"), QStringLiteral("0")) == QLatin1String("1") ? 1 : 0);
}

QString StreamingDialog::passwordOr(const QString& stored) const
{
    const QString fromEnvironment = qEnvironmentVariable("TAVLO_STREAM_PASSWORD");
    return fromEnvironment.isEmpty() ? stored : fromEnvironment;
}

StreamTarget StreamingDialog::targetFromBoxes() const
{
    StreamTarget target;
    target.host = serverBox->text().trimmed();
    target.port = portBox->text().trimmed().toInt();
    target.mount = mountBox->text().trimmed();
    if (!target.mount.startsWith(QLatin1Char('/')))
        target.mount.prepend(QLatin1Char('/'));
    target.user = userBox->text().trimmed();
    target.bitrate = bitrateBox->text().toInt();
    return target;
}

void StreamingDialog::load()
{
    fillFromSettings();
    if (enabledCheck->value() == 1 && !serverBox->text().trimmed().isEmpty())
        startStream(targetFromBoxes());
}

void StreamingDialog::openFrom(const Form& window)
{
    fillFromSettings();
    setGeometry(window.left() + 100, window.top() + 100, width(), height());
    show();
}

void StreamingDialog::accept()
{
    const StreamTarget target = targetFromBoxes();
    const bool on = enabledCheck->value() == 1;
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
    if (!passwordBox->text().isEmpty())
        settings.keepPrivate();
    settings.save(m_settingsApp, kSection, QStringLiteral("Password"), passwordBox->text());

    m_consoleTarget.reset();  // the operator's choice stands from now on
    if (on) {
        startStream(target);  // with the password just saved, unless the environment gives one
    } else {
        m_services.streamer.stop();
        onStatusTick();
        m_statusTimer->setEnabled(false);
    }
    hide();
}

void StreamingDialog::cancel() { hide(); }

void StreamingDialog::streamTo(StreamTarget target)
{
    m_consoleTarget = target;
    m_consoleTarget->password.clear();
    startStream(std::move(target));
}

void StreamingDialog::startStream(StreamTarget target)
{
    target.password = passwordOr(setting(QStringLiteral("Password"), QString()));
    m_services.streamer.start(target);
    startStatusPolling();
}

void StreamingDialog::startStatusPolling()
{
    onStatusTick();
    m_statusTimer->setEnabled(true);
}

void StreamingDialog::onStatusTick()
{
    const StreamStatus status = m_services.streamer.status();
    if (status.serial == m_shownSerial)
        return;
    m_shownSerial = status.serial;
    statusLabel->setText(status.text);
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
