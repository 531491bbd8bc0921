#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <vector>

namespace tavlo {

// One song a playlist names: where it is (resolved, or a URL as written),
// and the title and length the list gives for it, if any.
struct PlaylistEntry {
    QString location;
    QString title;     // from #EXTINF or PLS "TitleN"; empty if none
    int seconds = -1;  // from #EXTINF or PLS "LengthN"; -1 if unknown
};

// The text rules every playlist format shares. Pure functions; any thread.

// True for a playlist by its name: ".m3u", ".m3u8" or ".pls" in any letter
// case (and any name ending in "m3u", as lists have always been told).
bool isPlaylistFileName(const QString& fileName);
bool isPlsFileName(const QString& fileName);
bool isExtendedM3uFileName(const QString& fileName);  // ".m3u8"

bool isValidUtf8(QByteArrayView bytes);
// A line of a playlist as text: UTF-8 when `utf8` (an .m3u8) or when its
// bytes are valid UTF-8, Latin-1 otherwise, so that lists written by old
// Windows programs and by new ones both read right.
QString playlistLineText(QByteArrayView line, bool utf8);

// "#EXTINF:123,Artist - Title": the length (-1 when not a number) and the
// title; nothing for a line that is not an #EXTINF line.
std::optional<PlaylistEntry> parseExtInf(QStringView line);

// Where an entry points: a file:// URI percent-decoded to its path; another
// URL (http://...) kept as written; a relative path, with either slash,
// resolved against the playlist's folder; an absolute path as it is.
QString resolvePlaylistEntry(const QString& entry, const QString& playlistFolder);

// The entries of a PLS playlist ([playlist], FileN=, TitleN=, LengthN=), in
// the order of their numbers.
std::vector<PlaylistEntry> parsePls(QByteArrayView bytes, const QString& playlistFolder);

// How a saved playlist names a location: relative to the playlist's folder
// when the file is in that folder or below it, as written otherwise.
QString locationForPlaylist(const QString& location, const QString& playlistFolder);

}  // namespace tavlo
