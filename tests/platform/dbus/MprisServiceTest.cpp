#include "platform/dbus/MprisService.h"

#include "fakes/EventLoopApp.h"
#include "playback/PlayerWindowRemote.h"
#include "playback/WindowRig.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// A session bus of the test's own, so the machine's desktop is never
// touched; `address` stays empty when no daemon started.
struct PrivateBus {
    PrivateBus()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                       QStringLiteral("--print-address"),
                                                       QStringLiteral("--address=unix:dir=") + m_dir.path()});
        QByteArray line;
        while (!line.endsWith('\n') && m_daemon.waitForReadyRead(5000))
            line += m_daemon.readAllStandardOutput();
        address = QString::fromUtf8(line.trimmed());
    }
    ~PrivateBus()
    {
        for (const char* name : {"nowhere", "station", "desktop", "second"})
            QDBusConnection::disconnectFromBus(QLatin1String(name));
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
    QDBusConnection connect(const char* name) { return QDBusConnection::connectToBus(address, QLatin1String(name)); }
    EventLoopApp m_app;
    QTemporaryDir m_dir;
    QString address;
    QProcess m_daemon;
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
        // The station answers from this thread: its events must run meanwhile.
        const QVariantList out = m_bus.call(m, QDBus::BlockWithGui, 5000).arguments();
        return out.isEmpty() ? QVariant() : unwrap(out.first().value<QDBusVariant>().variant());
    }
    void press(const char* method) { call(kPlayer, QLatin1String(method)); }
    QVariant get(const char* property, const QString& interface = kPlayer)
    {
        return call(kProperties, QStringLiteral("Get"), {interface, QLatin1String(property)});
    }
    QString status() { return get("PlaybackStatus").toString(); }
    QVariantMap metadata() { return get("Metadata").toMap(); }

    // The latest of each player property PropertiesChanged told.
    QVariantMap told;

public Q_SLOTS:
    void heard(const QString& interface, const QVariantMap& changed, const QStringList&)
    {
        for (auto it = changed.begin(); interface == kPlayer && it != changed.end(); ++it)
            told[it.key()] = unwrap(it.value());
    }

private:
    QDBusConnection m_bus;
};

QVariant field(const QVariantMap& m, const char* key) { return m.value(QLatin1String(key)); }
QString trackId(const QVariantMap& m) { return field(m, "mpris:trackid").value<QDBusObjectPath>().path(); }
QString title(const QVariantMap& m) { return field(m, "xesam:title").toString(); }

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
    r.w->clipList->setText(2, ColArtist, QStringLiteral("The Band"));
    PlayerWindowRemote remote(*r.w);
    MprisService service(remote);
    // A bus that cannot be reached is refused quietly and leaves nothing behind.
    const QDBusConnection nowhere = QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("nowhere"));
    EXPECT_EQ(std::pair(service.publish(nowhere).isEmpty(), service.isPublished()), std::pair(false, false));
    ASSERT_EQ(service.publish(bus.connect("station")), QString());
    Desktop desktop(bus.connect("desktop"));

    EXPECT_EQ(desktop.get("Identity", QStringLiteral("org.mpris.MediaPlayer2")).toString(), QStringLiteral("Tavlo"));
    EXPECT_EQ(desktop.status(), QStringLiteral("Stopped"));
    EXPECT_EQ(trackId(desktop.metadata()), QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));

    desktop.press("Play");
    EXPECT_EQ(std::pair(r.pathInPlay(), desktop.status()), std::pair(a, QStringLiteral("Playing")));
    QVariantMap m = desktop.metadata();
    EXPECT_EQ(std::tuple(title(m), field(m, "xesam:url").toString(), field(m, "mpris:length").toLongLong()),
              std::tuple(QStringLiteral("Alpha"), QStringLiteral("file:///music/Alpha.mp3"), 200'000'000LL));
    const QString firstId = trackId(m);

    desktop.press("Next");
    EXPECT_EQ(r.pathInPlay(), b);
    m = desktop.metadata();
    EXPECT_EQ(std::pair(title(m), field(m, "xesam:artist").toStringList()),
              std::pair(QStringLiteral("Bravo"), QStringList{QStringLiteral("The Band")}));
    EXPECT_NE(trackId(m), firstId);

    // Pause holds; a second Pause must not resume it as the window's button would.
    desktop.press("Pause");
    desktop.press("Pause");
    EXPECT_EQ(std::pair(desktop.status(), r.stream(b)->state()), std::pair(QStringLiteral("Paused"), FakeStream::State::Paused));
    desktop.press("PlayPause");
    EXPECT_EQ(std::pair(desktop.status(), r.stream(b)->state()), std::pair(QStringLiteral("Playing"), FakeStream::State::Running));

    // The automation's own song change is announced like a key press's.
    ASSERT_TRUE(r.runUntil([&] { return r.pathInPlay() != b; }));
    const auto told = [&] { return desktop.told.value(QStringLiteral("Metadata")).toMap(); };
    ASSERT_TRUE(EventLoopApp::spinUntil([&] { return title(told()) == QStringLiteral("Charlie"); }));
    EXPECT_EQ(field(told(), "mpris:length").toLongLong(), 150'000'000);

    desktop.press("Previous");
    EXPECT_EQ(r.pathInPlay(), b);
    desktop.press("Stop");
    EXPECT_EQ(std::pair(desktop.status(), r.stream(b)->state()), std::pair(QStringLiteral("Stopped"), FakeStream::State::Stopped));
    EXPECT_TRUE(EventLoopApp::spinUntil([&] { return field(desktop.told, "PlaybackStatus") == QStringLiteral("Stopped"); }));

    // A second Tavlo on the same desktop finds the name taken and plays on without it.
    PlayerWindowRemote otherRemote(*r.ins);
    MprisService other(otherRemote);
    EXPECT_NE(other.publish(bus.connect("second")), QString());
    EXPECT_EQ(desktop.status(), QStringLiteral("Stopped"));
}

#include "MprisServiceTest.moc"
