#pragma once

#include <QString>

namespace tavlo {

// Per-user string settings addressed by application name, section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QString get(const QString& app, const QString& section, const QString& key,
                        const QString& defaultValue) const = 0;
    virtual void save(const QString& app, const QString& section, const QString& key,
                      const QString& value) = 0;
    // From now on the stored settings are readable by their owner only (a
    // secret is about to be saved). A store in memory has nothing to protect.
    virtual void keepPrivate() {}
};

}  // namespace tavlo
