#include "playback/FallbackList.h"

#include "platform/MediaFormat.h"
#include "playlist/PlaylistReader.h"

#include <QDir>

#include <algorithm>
#include <QFileInfo>

namespace tavlo {

void FallbackList::setSource(const QString& source)
{
    m_source = source;
    m_next = 0;
    reload();
}

void FallbackList::reload() { m_songs = songsIn(m_source); }

QString FallbackList::takeNext()
{
    if (m_songs.isEmpty())
        return QString();
    // The source may have shrunk since the last song was taken.
    if (m_next >= count())
        m_next = 0;
    return m_songs.at(m_next++);
}

QStringList FallbackList::upcoming(int n) const
{
    QStringList out;
    for (int i = 0; i < std::min(n, count()); ++i)
        out << m_songs.at((m_next + i) % count());
    return out;
}

QStringList FallbackList::songsIn(const QString& source)
{
    QStringList songs;
    if (source.isEmpty())
        return songs;
    const QFileInfo info(source);
    if (info.isDir()) {
        const QDir folder(source);
        const QStringList names = folder.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
        for (const QString& name : names)
            if (isAudioFileName(name))
                songs << folder.filePath(name);
    } else if (isPlaylistFileName(source)) {
        PlaylistReader::read(source, [&songs](const PlaylistEntry& entry) {
            songs << entry.location;
            return true;
        });
    } else {
        songs << source;
    }
    return songs;
}

}  // namespace tavlo
