#include "platform/dbus/MprisService.h"

#include "playback/PlayerWindowRemote.h"
#include "playback/WindowRig.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

template <typename Pred>
bool spinUntil(Pred done)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// A session bus of the test's own, so the machine's desktop is never
// touched; `address` stays empty when no daemon started.
class PrivateBus {
public:
    PrivateBus()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            return;
        m_daemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                QStringLiteral("--print-address"),
                                QStringLiteral("--address=unix:dir=") + m_dir.path()});
        QByteArray line;
        while (!line.endsWith('\n') && m_daemon.waitForReadyRead(5000))
            line += m_daemon.readAllStandardOutput();
        address = QString::fromUtf8(line.trimmed());
    }
    ~PrivateBus()
    {
        for (const QString& name : m_names)
            QDBusConnection::disconnectFromBus(name);
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
    QDBusConnection connect(const QString& name, const QString& elsewhere = QString())
    {
        m_names << name;
        return QDBusConnection::connectToBus(elsewhere.isEmpty() ? address : elsewhere, name);
    }
    QString address;

private:
    int m_argc = 1;
    char m_name[16] = "tavlo_dbus_test";
    char* m_argv[2] = {m_name, nullptr};
    QCoreApplication m_app{m_argc, m_argv};  // the event loop D-Bus needs
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QStringList m_names;
};

QVariant unwrap(const QVariant& v)
{
    return v.canConvert<QDBusArgument>() ? QVariant(qdbus_cast<QVariantMap>(v.value<QDBusArgument>())) : v;
}

// The desktop's side: calls the player and hears what it announces.
class Desktop : public QObject {
    Q_OBJECT
public:
    explicit Desktop(QDBusConnection bus) : m_bus(bus)
    {
        m_bus.connect(MprisService::busName(), MprisService::objectPath(), kProperties,
                      QStringLiteral("PropertiesChanged"), this, SLOT(heard(QString, QVariantMap, QStringList)));
    }
    QVariant call(const QString& interface, const QString& method, const QVariantList& args = {})
    {
        QDBusMessage m =
            QDBusMessage::createMethodCall(MprisService::busName(), MprisService::objectPath(), interface, method);
        m.setArguments(args);
        QDBusPendingCall pending = m_bus.asyncCall(m, 5000);
        spinUntil([&] { return pending.isFinished(); });
        const QVariantList out = pending.reply().arguments();
        return out.isEmpty() ? QVariant() : unwrap(out.first().value<QDBusVariant>().variant());
    }
    void press(const char* method) { call(kPlayer, QLatin1String(method)); }
    QVariant get(const QString& interface, const char* property)
    {
        return call(kProperties, QStringLiteral("Get"), {interface, QLatin1String(property)});
    }
    QString status() { return get(kPlayer, "PlaybackStatus").toString(); }
    QVariantMap metadata() { return get(kPlayer, "Metadata").toMap(); }

    // What PropertiesChanged told, in order.
    QList<QVariantMap> heardMetadata;
    QStringList heardStatus;

public Q_SLOTS:
    void heard(const QString& interface, const QVariantMap& changed, const QStringList&)
    {
        if (interface == kPlayer && changed.contains(QStringLiteral("Metadata")))
            heardMetadata << unwrap(changed.value(QStringLiteral("Metadata"))).toMap();
        if (interface == kPlayer && changed.contains(QStringLiteral("PlaybackStatus")))
            heardStatus << changed.value(QStringLiteral("PlaybackStatus")).toString();
    }

private:
    QDBusConnection m_bus;
};

QString trackId(const QVariantMap& m)
{
    return m.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path();
}
QString title(const QVariantMap& m) { return m.value(QStringLiteral("xesam:title")).toString(); }

}  // namespace

// Media keys and the sound menu drive the music window as its buttons do,
// and hear every song change, whoever made it; no bus, or the name taken,
// costs the station nothing else.
TEST(MprisService, DesktopDrivesTheMusicWindowOverTheSessionBus)
{
    PrivateBus bus;
    if (bus.address.isEmpty())
        GTEST_SKIP() << "dbus-daemon is not installed or did not start";
    WindowRig r;
    const QString a = r.add(QStringLiteral("Alpha"), 200);
    const QString b = r.add(QStringLiteral("Bravo"), 180);
    r.add(QStringLiteral("Charlie"), 150);
    r.w->lstClipList->setText(2, ColArtist, QStringLiteral("The Band"));
    PlayerWindowRemote remote(*r.w);
    MprisService service(remote);
    // A bus that cannot be reached is refused quietly and leaves nothing behind.
    EXPECT_NE(service.publish(bus.connect(QStringLiteral("nowhere"), QStringLiteral("unix:path=/nonexistent/bus"))),
              QString());
    EXPECT_FALSE(service.isPublished());
    ASSERT_EQ(service.publish(bus.connect(QStringLiteral("station"))), QString());
    Desktop desktop(bus.connect(QStringLiteral("desktop")));

    EXPECT_EQ(desktop.get(QStringLiteral("org.mpris.MediaPlayer2"), "Identity").toString(), QStringLiteral("Tavlo"));
    EXPECT_EQ(desktop.status(), QStringLiteral("Stopped"));
    EXPECT_EQ(trackId(desktop.metadata()), QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));

    desktop.press("Play");
    EXPECT_EQ(r.pathInPlay(), a);
    EXPECT_EQ(desktop.status(), QStringLiteral("Playing"));
    QVariantMap m = desktop.metadata();
    EXPECT_EQ(title(m), QStringLiteral("Alpha"));
    EXPECT_EQ(m.value(QStringLiteral("xesam:url")).toString(), QStringLiteral("file:///music/Alpha.mp3"));
    EXPECT_EQ(m.value(QStringLiteral("mpris:length")).toLongLong(), 200'000'000);
    const QString firstId = trackId(m);

    desktop.press("Next");
    EXPECT_EQ(r.pathInPlay(), b);
    m = desktop.metadata();
    EXPECT_EQ(title(m), QStringLiteral("Bravo"));
    EXPECT_EQ(m.value(QStringLiteral("xesam:artist")).toStringList(), QStringList{QStringLiteral("The Band")});
    EXPECT_NE(trackId(m), firstId);

    // Pause holds; a second Pause must not resume it as the window's button would.
    desktop.press("Pause");
    desktop.press("Pause");
    EXPECT_EQ(desktop.status(), QStringLiteral("Paused"));
    EXPECT_EQ(r.stream(b)->state(), FakeStream::State::Paused);
    desktop.press("PlayPause");
    EXPECT_EQ(desktop.status(), QStringLiteral("Playing"));
    EXPECT_EQ(r.stream(b)->state(), FakeStream::State::Running);

    // The automation's own song change is announced like a key press's.
    ASSERT_TRUE(r.runUntil([&] { return r.pathInPlay() != b; }));
    ASSERT_TRUE(spinUntil([&] {
        return !desktop.heardMetadata.isEmpty() && title(desktop.heardMetadata.last()) == QStringLiteral("Charlie");
    }));
    EXPECT_EQ(desktop.heardMetadata.last().value(QStringLiteral("mpris:length")).toLongLong(), 150'000'000);

    desktop.press("Previous");
    EXPECT_EQ(r.pathInPlay(), b);
    desktop.press("Stop");
    EXPECT_EQ(desktop.status(), QStringLiteral("Stopped"));
    EXPECT_EQ(r.stream(b)->state(), FakeStream::State::Stopped);
    EXPECT_TRUE(spinUntil([&] { return desktop.heardStatus.endsWith(QStringLiteral("Stopped")); }));

    // A second Tavlo on the same desktop finds the name taken and plays on without it.
    PlayerWindowRemote otherRemote(*r.ins);
    MprisService other(otherRemote);
    EXPECT_NE(other.publish(bus.connect(QStringLiteral("second"))), QString());
    EXPECT_EQ(desktop.status(), QStringLiteral("Stopped"));
}

#include "MprisServiceTest.moc"
