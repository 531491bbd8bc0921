#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QVariantMap>

namespace tavlo {

class RemoteTransport;

// org.mpris.MediaPlayer2.Player: the transport, the status and the song in
// play. Every command is the window's button; seeking and opening are not
// offered (the deck's position belongs to the operator and the ramps).
// UI thread only.
class MprisPlayer : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(double Rate READ Rate)
    Q_PROPERTY(double MinimumRate READ Rate)
    Q_PROPERTY(double MaximumRate READ Rate)
    Q_PROPERTY(double Volume READ Volume)
    Q_PROPERTY(bool CanGoNext READ CanControl)
    Q_PROPERTY(bool CanGoPrevious READ CanControl)
    Q_PROPERTY(bool CanPlay READ CanControl)
    Q_PROPERTY(bool CanPause READ CanControl)
    Q_PROPERTY(bool CanSeek READ CanSeek)
    Q_PROPERTY(bool CanControl READ CanControl)
public:
    MprisPlayer(QObject* object, RemoteTransport& transport);

    static QString interfaceName() { return QStringLiteral("org.mpris.MediaPlayer2.Player"); }

    QString PlaybackStatus() const;
    QVariantMap Metadata() const;
    qlonglong Position() const;
    double Rate() const { return 1.0; }
    double Volume() const { return 1.0; }
    bool CanSeek() const { return false; }
    bool CanControl() const { return true; }

public Q_SLOTS:
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    void Previous();
    void Seek(qlonglong Offset) { Q_UNUSED(Offset); }
    void SetPosition(const QDBusObjectPath& TrackId, qlonglong Position)
    {
        Q_UNUSED(TrackId);
        Q_UNUSED(Position);
    }
    void OpenUri(const QString& Uri) { Q_UNUSED(Uri); }

Q_SIGNALS:
    void Seeked(qlonglong Position);

private:
    RemoteTransport& m_transport;
};

}  // namespace tavlo
