#pragma once

#include "platform/Loudness.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

namespace tavlo {

// Measurements kept between runs in one text file, a line per measurement
// appended as it is made: size, modification time, loudness, true peak, cue
// points and path. A line without cue points (an older Tavlo's) is passed
// over, so its file is measured again. A file that changed (its size or time differs) is measured again;
// the later line wins when the file is read back, and a file grown mostly
// of superseded lines is written afresh then. Nothing here is
// thread-safe: the owner serialises the calls.
class LoudnessCache {
public:
    // What identifies one version of a file.
    struct Key {
        qint64 size = 0;
        qint64 modifiedMs = 0;
        bool operator==(const Key&) const = default;
    };
    // Nothing when the file is not there.
    static std::optional<Key> keyOf(const QString& path);

    explicit LoudnessCache(QString file) : m_file(std::move(file)) {}

    // The file is read the first time anything is looked up.
    std::optional<LoudnessMeasurement> find(const QString& path, const Key& key);
    void insert(const QString& path, const Key& key, const LoudnessMeasurement& m);

private:
    struct Entry {
        Key key;
        LoudnessMeasurement measurement;
    };
    void load();
    void compact() const;
    static QByteArray lineFor(const QString& path, const Entry& e);

    QString m_file;
    bool m_loaded = false;
    QHash<QString, Entry> m_entries;
};

}  // namespace tavlo
