#include "platform/XdgAutostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tavlo {

XdgAutostart::XdgAutostart(QString folder) : m_folder(folder.isEmpty() ? defaultFolder() : std::move(folder)) {}

QString XdgAutostart::defaultFolder()
{
    // An empty or relative XDG_CONFIG_HOME is to be ignored, as the freedesktop.org rules say.
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!config.isEmpty() && QDir::isAbsolutePath(config))
        return config + QStringLiteral("/autostart");
    return QDir::homePath() + QStringLiteral("/.config/autostart");
}

QByteArray XdgAutostart::entryText()
{
    return QByteArrayLiteral("[Desktop Entry]\n"
                             "Type=Application\n"
                             "Name=Tavlo\n"
                             "Comment=Radio-automation player, started with the desktop\n"
                             "Exec=tavlo\n"
                             "Icon=tavlo\n"
                             "Terminal=false\n"
                             "X-GNOME-Autostart-enabled=true\n");
}

QString XdgAutostart::entryPath() const { return m_folder + QStringLiteral("/tavlo.desktop"); }

bool XdgAutostart::isEnabled() const { return QFileInfo::exists(entryPath()); }

QString XdgAutostart::setEnabled(bool on)
{
    const QString path = entryPath();
    if (!on) {
        QFile entry(path);
        if (!entry.exists() || entry.remove())
            return QString();
        return QStringLiteral("Tavlo could not stop starting with the desktop: %1 cannot be removed: %2")
            .arg(QDir::toNativeSeparators(path), entry.errorString());
    }
    // Written whole or not at all: a half entry would start nothing, or worse.
    QSaveFile entry(path);
    QString why;
    if (!QDir().mkpath(m_folder))
        why = QStringLiteral("the folder cannot be made");
    else if (!entry.open(QIODevice::WriteOnly) || entry.write(entryText()) < 0 || !entry.commit())
        why = entry.errorString();
    if (why.isEmpty())
        return QString();
    return QStringLiteral("Tavlo cannot start with the desktop: %1 cannot be written: %2")
        .arg(QDir::toNativeSeparators(path), why);
}

}  // namespace tavlo
