#include "platform/dbus/MprisPlayer.h"

#include "platform/RemoteTransport.h"

#include <QFileInfo>
#include <QUrl>

namespace tavlo {

MprisPlayer::MprisPlayer(QObject* object, RemoteTransport& transport)
    : QDBusAbstractAdaptor(object), m_transport(transport)
{
}

QString MprisPlayer::PlaybackStatus() const
{
    switch (m_transport.status()) {
    case RemoteTransport::Status::Playing:
        return QStringLiteral("Playing");
    case RemoteTransport::Status::Paused:
        return QStringLiteral("Paused");
    case RemoteTransport::Status::Stopped:
        break;
    }
    return QStringLiteral("Stopped");
}

QVariantMap MprisPlayer::Metadata() const
{
    const RemoteTrack t = m_transport.track();
    QVariantMap m;
    if (t.serial == 0) {
        m.insert(QStringLiteral("mpris:trackid"),
                 QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"))));
        return m;
    }
    // Our own path space: the serial makes a song started twice two tracks.
    m.insert(QStringLiteral("mpris:trackid"),
             QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/tavlo/Tavlo/Track/%1").arg(t.serial))));
    m.insert(QStringLiteral("xesam:title"), t.title);
    if (!t.artist.isEmpty())
        m.insert(QStringLiteral("xesam:artist"), QStringList{t.artist});
    // A relative "Location" is read from the working folder, as the player opened it.
    m.insert(QStringLiteral("xesam:url"),
             QUrl::fromLocalFile(QFileInfo(t.path).absoluteFilePath()).toString(QUrl::FullyEncoded));
    if (t.lengthUs > 0)
        m.insert(QStringLiteral("mpris:length"), static_cast<qlonglong>(t.lengthUs));
    return m;
}

qlonglong MprisPlayer::Position() const { return m_transport.positionUs(); }

void MprisPlayer::Play() { m_transport.play(); }

void MprisPlayer::Pause() { m_transport.pause(); }

void MprisPlayer::PlayPause() { m_transport.playPause(); }

void MprisPlayer::Stop() { m_transport.stop(); }

void MprisPlayer::Next() { m_transport.next(); }

void MprisPlayer::Previous() { m_transport.previous(); }

}  // namespace tavlo
