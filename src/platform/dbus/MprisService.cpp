#include "platform/dbus/MprisService.h"

#include "platform/dbus/MprisPlayer.h"
#include "platform/dbus/MprisRoot.h"

#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>

namespace tavlo {

MprisService::MprisService(RemoteTransport& transport, std::function<void()> raise, QObject* parent)
    : QObject(parent),
      m_transport(transport),
      m_player(new MprisPlayer(this, transport)),
      m_sentStatus(transport.status()),
      m_sentSerial(transport.track().serial)
{
    new MprisRoot(this, std::move(raise));
    m_transport.onChanged = [this] { changed(); };
}

MprisService::~MprisService()
{
    m_transport.onChanged = nullptr;
    if (m_bus) {
        m_bus->unregisterService(busName());
        m_bus->unregisterObject(objectPath());
    }
}

QString MprisService::publish(const QDBusConnection& bus)
{
    if (m_bus)
        return QStringLiteral("already published");
    if (!bus.isConnected())
        return bus.lastError().isValid() ? bus.lastError().message() : QStringLiteral("no session bus");
    QDBusConnection c = bus;
    if (!c.registerObject(objectPath(), this, QDBusConnection::ExportAdaptors))
        return QStringLiteral("the object path %1 is taken").arg(objectPath());
    if (!c.registerService(busName())) {
        c.unregisterObject(objectPath());
        return QStringLiteral("the name %1 is taken").arg(busName());
    }
    m_bus = c;
    m_sentStatus = m_transport.status();
    m_sentSerial = m_transport.track().serial;
    return QString();
}

void MprisService::changed()
{
    // A song change runs several handlers in a row (the start, then the
    // status); listeners hear the state they leave, once.
    if (!m_bus || m_announcing)
        return;
    m_announcing = true;
    QMetaObject::invokeMethod(this, &MprisService::announce, Qt::QueuedConnection);
}

void MprisService::announce()
{
    m_announcing = false;
    if (!m_bus)
        return;
    QVariantMap props;
    if (m_transport.status() != m_sentStatus) {
        m_sentStatus = m_transport.status();
        props.insert(QStringLiteral("PlaybackStatus"), m_player->PlaybackStatus());
    }
    if (m_transport.track().serial != m_sentSerial) {
        m_sentSerial = m_transport.track().serial;
        props.insert(QStringLiteral("Metadata"), m_player->Metadata());
    }
    if (props.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(objectPath(), QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << MprisPlayer::interfaceName() << props << QStringList();
    m_bus->send(signal);
}

}  // namespace tavlo
