#include "playlist/PlaylistEdits.h"

#include "platform/MediaFormat.h"
#include "platform/Random.h"
#include "playlist/SongTags.h"

#include <algorithm>
#include <vector>

namespace tavlo {

namespace {

// The key the row in play carries while the list is re-ordered.
QString inPlayMarker() { return QStringLiteral("inplay"); }

// A random key as the list shows it: at least six digits, zero-filled.
QString azarKey(qint64 value)
{
    char digits[24];
    int len = 0;
    do {
        digits[len++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    while (len < 6)
        digits[len++] = '0';
    std::reverse(digits, digits + len);
    return QString::fromLatin1(digits, len);
}

// Sorts by a model column with the row in play marked, and finds it again.
int sortKeepingInPlay(PlaylistModel& list, int itemPlaying, int column, bool descending)
{
    const bool marked = itemPlaying > 0 && itemPlaying <= list.count();
    if (marked)
        list.setKey(itemPlaying, inPlayMarker());
    list.sortByColumn(column, descending);
    if (!marked)
        return itemPlaying;
    const int now = list.findKey(inPlayMarker());
    if (now == 0)
        return itemPlaying;
    list.setKey(now, QString());
    return now;
}

}  // namespace

QString displayTitle(const QString& tagTitle, const QString& fileName)
{
    if (!tagTitle.isEmpty())
        return tagTitle;
    // An address a list names (http://...) is its own best title.
    if (fileName.contains(QStringLiteral("://")))
        return fileName;
    // The name without its extension: one Tavlo plays, however long, or else
    // the last 4 characters as the list has always cut them (a name of 4
    // characters or fewer unchanged).
    qsizetype cut = fileName.size() > 4 ? 4 : 0;
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot > 0 && isAudioFileName(fileName))
        cut = fileName.size() - dot;
    // Playlists from other machines mix both separators, so either one counts.
    const QStringView stem = QStringView(fileName).left(fileName.size() - cut);
    const qsizetype slash = std::max(stem.lastIndexOf(u'/'), stem.lastIndexOf(u'\\'));
    return stem.mid(slash + 1).toString();
}

PlaylistRow rowForFile(const QString& fileName, const QString& listedTitle)
{
    SongTags tags = readSongTags(fileName);

    PlaylistRow row;
    row.fields[ColTitle] = displayTitle(tags.title.isEmpty() ? listedTitle : tags.title, fileName);
    row.fields[ColArtist] = std::move(tags.artist);
    row.fields[ColCd] = std::move(tags.album);
    row.fields[ColYear] = std::move(tags.year);
    row.fields[ColGenre] = std::move(tags.genre);
    row.fields[ColComment] = std::move(tags.comment);
    row.fields[ColLocation] = fileName;
    return row;
}

int addFileRow(const QString& fileName, int insertPos, PlaylistModel& destination)
{
    PlaylistRow row = rowForFile(fileName);
    const int pos = insertPos >= 1 && insertPos <= destination.count() + 1 ? insertPos : destination.count() + 1;
    destination.insert(pos, std::move(row));
    return pos;
}

std::vector<PlaylistEntry> playlistEntries(const PlaylistModel& list)
{
    std::vector<PlaylistEntry> entries;
    entries.reserve(static_cast<size_t>(list.count()));
    for (int n = 1; n <= list.count(); ++n) {
        const PlaylistRow& row = list.row(n);
        PlaylistEntry entry{row.location(), row.title(), -1};
        const QString& artist = row.fields[ColArtist];
        if (!artist.isEmpty())
            entry.title = artist + QStringLiteral(" - ") + row.title();
        bool known = false;
        const int seconds = row.fields[ColPlaySeconds].toInt(&known);
        if (known)
            entry.seconds = seconds;
        entries.push_back(std::move(entry));
    }
    return entries;
}

int deleteSelectedRows(PlaylistModel& list, int itemPlaying)
{
    // Removing rows one by one from the top, each removal at or before the
    // row in play moves it up by one: that is one step for every selected row
    // numbered up to the row in play, counted before anything moves.
    int playing = itemPlaying;
    const int last = std::min(itemPlaying, list.count());
    for (int n = 1; n <= last; ++n) {
        if (list.isSelected(n))
            --playing;
    }
    list.removeSelected();
    return playing;
}

int randomOrder(PlaylistModel& list, int itemPlaying, Random& random)
{
    random.reseed();
    const int n = list.count();
    std::vector<QString> keys;
    keys.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const auto drawn = static_cast<qint64>(random.next() * n) + 1;
        keys.push_back(azarKey(std::clamp<qint64>(drawn, 1, n)));
    }
    list.setColumnTexts(ColShuffleKey, std::move(keys));
    return sortKeepingInPlay(list, itemPlaying, ColShuffleKey, false);
}

int sortTrackingInPlay(PlaylistModel& list, int itemPlaying, int column, bool descending)
{
    if (column < 1 || column > ColumnCount)
        return itemPlaying;
    return sortKeepingInPlay(list, itemPlaying, column - 1, descending);
}

}  // namespace tavlo
