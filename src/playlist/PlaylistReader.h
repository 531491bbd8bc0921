#pragma once

#include "playlist/PlaylistText.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace tavlo {

// Where a playlist load stands after each line, for the window's progress
// bar and the line count in its status bar.
struct PlaylistProgress {
    std::int64_t lineCount = 0;  // lines read so far, comments included
    // Whole part of (1 + bytes of the lines so far, line ends not counted)
    // * 100 / file size in bytes; 0 for an empty file. The last line of a
    // file without a final line end can push it past 100.
    int percent = 0;
};

// Reads a playlist as other programs write them.
// - M3U and M3U8: one entry per line, lines ending in CR LF or a bare LF, a
//   UTF-8 byte-order mark ignored. An .m3u8 is UTF-8; in an .m3u each line
//   that is valid UTF-8 is read as UTF-8, any other as Latin-1. A line
//   starting with "#" is a comment, except that #EXTINF gives the title and
//   length of the entry after it; every other line, an empty one included,
//   is an entry, resolved as resolvePlaylistEntry() says.
// - PLS (by its name): FileN, TitleN and LengthN, in the order of N.
// A failure (missing file, read error) ends the read quietly; entries
// already handed over stay handed over.
// Any thread; the handlers run on the caller's thread.
class PlaylistReader {
public:
    // Return false to stop reading after this entry.
    using EntryHandler = std::function<bool(const PlaylistEntry& entry)>;
    using ProgressHandler = std::function<void(const PlaylistProgress& progress)>;

    struct Result {
        std::int64_t entries = 0;
        std::int64_t lines = 0;
        bool complete = false;  // the whole file was read and no handler stopped it
    };

    static Result read(const QString& fileName, const EntryHandler& onEntry,
                       const ProgressHandler& onProgress = {});
};

}  // namespace tavlo
