#pragma once

#include <QString>

#include <cstdint>
#include <functional>

namespace tavlo {

// True when the name's last three characters are "M3U" in any letter case:
// "a.m3u", "b.M3u" and even "xm3u" are playlists, "c.m3u8" is a media file.
bool isPlaylistFileName(const QString& fileName);

// Where a playlist load stands after each line, for the window's progress
// bar and the line count in its status bar.
struct M3uProgress {
    std::int64_t lineCount = 0;  // lines read so far, comments included
    // Whole part of (1 + characters of the lines so far, line ends not
    // counted) * 100 / file size in bytes; 0 for an empty file. The last
    // line of a file without a final line end can push it past 100.
    int percent = 0;
};

// Reads an M3U playlist: 8-bit text (Latin-1), one entry per line, lines
// ending in CR LF or a bare LF. A line starting with "#" is a comment (this
// covers #EXTM3U and #EXTINF); every other line, an empty one included, is
// an entry taken character for character and never resolved against the
// playlist's folder. A failure (missing file, read error) ends the read
// quietly; entries already handed over stay handed over.
// Any thread; the handlers run on the caller's thread.
class M3uReader {
public:
    // Return false to stop reading after this entry.
    using EntryHandler = std::function<bool(const QString& entry)>;
    using ProgressHandler = std::function<void(const M3uProgress& progress)>;

    struct Result {
        std::int64_t entries = 0;
        std::int64_t lines = 0;
        bool complete = false;  // the whole file was read and no handler stopped it
    };

    static Result read(const QString& fileName, const EntryHandler& onEntry,
                       const ProgressHandler& onProgress = {});
};

}  // namespace tavlo
