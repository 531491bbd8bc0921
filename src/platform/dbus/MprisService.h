#pragma once

#include "platform/RemoteTransport.h"

#include <QDBusConnection>
#include <QObject>

#include <functional>
#include <optional>

namespace tavlo {

class MprisPlayer;

// Puts a RemoteTransport on a D-Bus as an MPRIS 2 player, the object the
// desktop's media keys and sound menu look for, and tells listeners
// (PropertiesChanged) when the status or the song in play changes. Several
// changes within one pass of the event loop go out as one.
//
// Publishing is best effort: no bus, or the name held by another program,
// leaves the station playing as before.
// UI thread only.
class MprisService : public QObject {
    Q_OBJECT
public:
    // `raise` brings the window to the front; without one the desktop is
    // told it cannot.
    explicit MprisService(RemoteTransport& transport, std::function<void()> raise = {}, QObject* parent = nullptr);
    ~MprisService() override;

    static QString busName() { return QStringLiteral("org.mpris.MediaPlayer2.tavlo"); }
    static QString objectPath() { return QStringLiteral("/org/mpris/MediaPlayer2"); }

    // Registers the object and takes the name. Empty when done, else why
    // not, with nothing left behind on the bus.
    QString publish(const QDBusConnection& bus);
    bool isPublished() const { return m_bus.has_value(); }

private:
    void changed();
    void announce();

    RemoteTransport& m_transport;
    MprisPlayer* m_player;
    std::optional<QDBusConnection> m_bus;
    bool m_announcing = false;
    // What listeners were last told.
    RemoteTransport::Status m_sentStatus;
    quint64 m_sentSerial;
};

}  // namespace tavlo
