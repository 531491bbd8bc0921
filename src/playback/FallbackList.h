#pragma once

#include <QString>
#include <QStringList>

namespace tavlo {

// What a player window plays while its own list has nothing playable: the
// songs of a playlist, of a folder (its audio files by name) or one media
// file, in order, round and round. The source is read again each time the
// fallback comes on, so a folder that changed meanwhile is seen.
// UI thread only.
class FallbackList {
public:
    // The playlist, folder or media file; empty for none.
    QString source() const { return m_source; }
    // A new source is read at once and starts from its first song.
    void setSource(const QString& source);
    bool isSet() const { return !m_source.isEmpty(); }

    // Reads the source again; the next song keeps its place in the order.
    void reload();
    int count() const { return static_cast<int>(m_songs.size()); }
    // The song after the one last taken, from the first again after the
    // last; empty when the source holds none.
    QString takeNext();
    // The next `n` songs takeNext would give, in order, without taking them.
    QStringList upcoming(int n) const;

    // The songs `source` names: a playlist's entries, a folder's audio files
    // sorted by name (letter case aside), or the file itself. Nothing for a
    // source that cannot be read.
    static QStringList songsIn(const QString& source);

private:
    QString m_source;
    QStringList m_songs;
    int m_next = 0;
};

}  // namespace tavlo
