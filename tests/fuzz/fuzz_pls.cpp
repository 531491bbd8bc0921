// The PLS reader on any file, and the playlist writer on what it read: a
// list saved as .m3u8 and read back gives the same entries.
#include "ScratchFile.h"

#include "playlist/PlaylistReader.h"
#include "playlist/PlaylistWriter.h"

#include <vector>

using namespace tavlo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::ScratchFile pls(".pls");
    static fuzz::ScratchFile saved8(".m3u8");
    static fuzz::ScratchFile saved(".m3u");
    std::vector<PlaylistEntry> entries;
    const PlaylistReader::Result read = PlaylistReader::read(pls.write(data, size), [&](const PlaylistEntry& entry) {
        fuzz::check(!entry.location.isEmpty() && entry.seconds >= -1, "a PLS entry names a file");
        entries.push_back(entry);
        return true;
    });
    fuzz::check(read.complete == (size <= (64u << 20)), "a PLS file is read whole");

    // Locations that are one line survive a save as .m3u8 or .m3u unchanged.
    std::vector<PlaylistEntry> lines;
    for (const PlaylistEntry& e : entries) {
        if (e.location.startsWith(QLatin1Char('/')) && !e.location.contains(QLatin1Char('\n'))
            && !e.location.contains(QLatin1Char('\r')))
            lines.push_back(e);
    }
    for (const fuzz::ScratchFile* file : {&saved8, &saved}) {
        fuzz::check(PlaylistWriter().save(file->path(), lines).ok, "the list saves");
        std::size_t n = 0;
        PlaylistReader::read(file->path(), [&](const PlaylistEntry& e) {
            fuzz::check(n < lines.size() && e.location == lines[n].location, "a saved list reads back the same");
            ++n;
            return true;
        });
        fuzz::check(n == lines.size(), "every saved entry comes back");
    }
    return 0;
}
