#pragma once

#include "platform/SettingsStore.h"

#include <QString>

#include <memory>

class QSettings;

namespace tavlo {

// The per-user settings store as an INI file, by default
// $XDG_CONFIG_HOME/tavlo/tavlo.ini. Each application name is a group, with the
// section and key below it, so "TAVLO BroadcastTAVLO Broadcast Music" /
// "Window" / "Top" stays apart from the insert window's keys of the same name.
//
// When it hits the disk: save() only changes the copy in memory. The file is
// written by flush(), by the destructor, and, while an event loop runs,
// shortly after a burst of saves (QSettings posts itself one update). So a
// window saving fifteen keys costs one file write, and closing the program,
// which destroys the store, loses nothing.
//
// Every write goes to a temporary file in the same folder that then replaces
// the old one, so a crash or a full disk during a write leaves the previous
// file whole. A file that is not valid INI reads as "nothing stored".
// UI thread only.
class IniSettingsStore : public SettingsStore {
public:
    // The user's own file.
    IniSettingsStore();
    // A file of the caller's choice (tests, a portable setup).
    explicit IniSettingsStore(const QString& filePath);
    ~IniSettingsStore() override;

    static QString defaultFilePath();
    QString filePath() const;

    QString get(const QString& app, const QString& section, const QString& key,
                const QString& defaultValue) const override;
    void save(const QString& app, const QString& section, const QString& key,
              const QString& value) override;
    // The file becomes owner-only (0600) at once, created empty if it does
    // not exist yet, so no copy of a password is ever readable by others;
    // later writes keep those permissions.
    void keepPrivate() override;

    // Writes pending changes now. A write that fails (folder not writable,
    // disk full) keeps the changes pending; the next flush or the destructor
    // tries again. Nothing is reported: the windows expect every save to work.
    void flush();

private:
    std::unique_ptr<QSettings> m_settings;
};

}  // namespace tavlo
