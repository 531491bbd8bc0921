#pragma once

#include "playlist/ColumnSortMemory.h"
#include "playlist/PlaylistModel.h"
#include "playlist/PlaylistText.h"

#include <QString>

#include <vector>

namespace tavlo {

class Random;

// Row edits and re-orderings of a player window's list. The window keeps
// the row in play; these take its value and return the new one. UI thread only.

// The display title: the tag title if not empty, else the file name without
// its extension (an audio file's whole extension, or else its last 4
// characters; a name of 4 characters or fewer unchanged) and without
// everything up to its last "/" or "\"; an address (http://...) whole.
QString displayTitle(const QString& tagTitle, const QString& fileName);

// The row addFileRow adds for a media file: title from its tags, else
// the title its playlist gives it, else its name; the tags' fields; the path
// as "Location". Long playlists build their rows with it and append them in
// batches.
PlaylistRow rowForFile(const QString& fileName, const QString& listedTitle = QString());

// Adds one row for a media file at insertPos (0, or a position outside
// 1..count+1: append). Returns the position used. Never fails: a file that
// cannot be read still gets a row titled from its name.
int addFileRow(const QString& fileName, int insertPos, PlaylistModel& destination);

// What a saved playlist says of rows 1 to count: "Location", the title as
// "Artist - Title" where there is an artist, and the length in seconds once known.
std::vector<PlaylistEntry> playlistEntries(const PlaylistModel& list);

// Removes every selected row; returns the new row in play, lowered by one for
// each removed row at or before it, so it still names the same song (or, when
// that song's own row went, the row before it).
int deleteSelectedRows(PlaylistModel& list, int itemPlaying);

// Writes a fresh random key ("Azar", 000001..count) into every row and sorts
// by it; returns the new row of the song in play (itemPlaying unchanged when
// nothing is in play).
int randomOrder(PlaylistModel& list, int itemPlaying, Random& random);

// Sorts by header column 1..10 ("Title".."TotLength") as text; returns the new
// row of the song in play.
int sortTrackingInPlay(PlaylistModel& list, int itemPlaying, int column, bool descending);

}  // namespace tavlo
