#pragma once

#include <QDBusAbstractAdaptor>
#include <QStringList>

#include <functional>

namespace tavlo {

// org.mpris.MediaPlayer2: who the player is and what the desktop may do to
// its window. The program cannot be quit from outside: a station's operator
// confirms every exit.
// UI thread only.
class MprisRoot : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ CanQuit)
    Q_PROPERTY(bool CanRaise READ CanRaise)
    Q_PROPERTY(bool HasTrackList READ HasTrackList)
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)
public:
    // `raise` brings the window to the front; without one, nothing can.
    MprisRoot(QObject* object, std::function<void()> raise);

    bool CanQuit() const { return false; }
    bool CanRaise() const { return static_cast<bool>(m_raise); }
    bool HasTrackList() const { return false; }
    QString Identity() const { return QStringLiteral("Tavlo"); }
    QString DesktopEntry() const { return QStringLiteral("tavlo"); }
    QStringList SupportedUriSchemes() const { return {QStringLiteral("file")}; }
    QStringList SupportedMimeTypes() const;

public Q_SLOTS:
    void Raise();
    void Quit() {}

private:
    std::function<void()> m_raise;
};

}  // namespace tavlo
