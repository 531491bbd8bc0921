#include "platform/IniSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>

namespace tavlo {

namespace {

QString keyPath(const QString& app, const QString& section, const QString& key)
{
    return app + QLatin1Char('/') + section + QLatin1Char('/') + key;
}

// QSettings guards each write with "<file>.lock", and clears a stale lock
// under "<file>.lock.rmlock". A crash at the wrong moment leaves an empty
// lock or an rmlock behind, and QSettings then waits 30 s for them to age
// before every save: the next program would hang when it closes. Both exist
// only for microseconds in a running program, so at start-up they are
// leftovers. (A readable lock of a dead program QSettings clears itself.)
void removeLockLeftovers(const QString& filePath)
{
    const QString lockPath = filePath + QLatin1String(".lock");
    QFile::remove(lockPath + QLatin1String(".rmlock"));
    if (!QFile::exists(lockPath))
        return;
    qint64 pid = 0;
    QString host;
    QString application;
    if (!QLockFile(lockPath).getLockInfo(&pid, &host, &application))
        QFile::remove(lockPath);
}

}  // namespace

IniSettingsStore::IniSettingsStore() : IniSettingsStore(defaultFilePath()) {}

IniSettingsStore::IniSettingsStore(const QString& filePath)
    : m_settings(std::make_unique<QSettings>(filePath, QSettings::IniFormat))
{
    // Without this QSettings would fall back to rewriting the file in place
    // where a temporary file cannot be made, and a crash then could leave
    // half a file.
    m_settings->setAtomicSyncRequired(true);
    removeLockLeftovers(filePath);
}

IniSettingsStore::~IniSettingsStore() = default;  // QSettings's own destructor writes what is pending

QString IniSettingsStore::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/tavlo/tavlo.ini");
}

QString IniSettingsStore::filePath() const { return m_settings->fileName(); }

QString IniSettingsStore::get(const QString& app, const QString& section, const QString& key,
                              const QString& defaultValue) const
{
    const QVariant value = m_settings->value(keyPath(app, section, key));
    if (!value.isValid())
        return defaultValue;
    // A hand-edited "a, b" reads back as a list; the program only ever stores texts.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

void IniSettingsStore::save(const QString& app, const QString& section, const QString& key, const QString& value)
{
    m_settings->setValue(keyPath(app, section, key), value);
}

void IniSettingsStore::flush() { m_settings->sync(); }

void IniSettingsStore::keepPrivate()
{
    const QString path = m_settings->fileName();
    QFile file(path);
    if (!file.exists()) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (file.open(QIODevice::WriteOnly))
            file.close();
    }
    // QSettings writes through a temporary file that takes the old file's
    // permissions, so setting them once holds for every later write.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    m_settings->sync();
}

}  // namespace tavlo
