// The M3U and M3U8 readers on any file: a playlist is often hand-edited or
// written by another program, and the player loads one unattended at every
// scheduled event. The text rules (UTF-8 or Latin-1, #EXTINF, file:// and
// relative entries) are reached through it.
#include "ScratchFile.h"

#include "playlist/PlaylistReader.h"

#include <QDir>

using namespace tavlo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Half the inputs are read as .m3u8 (UTF-8 always), half as .m3u.
    static fuzz::ScratchFile m3u(".m3u");
    static fuzz::ScratchFile m3u8(".m3u8");
    fuzz::ScratchFile& file = size % 2 ? m3u8 : m3u;
    std::int64_t entries = 0;
    std::int64_t lastLine = 0;
    const PlaylistReader::Result all = PlaylistReader::read(
        file.write(data, size),
        [&](const PlaylistEntry& entry) {
            fuzz::check(!entry.location.contains(QLatin1Char('\n')) && entry.seconds >= -1,
                        "an entry is one line with a length or none");
            fuzz::check(entry.location.isEmpty() || entry.location.contains(QStringLiteral("://"))
                            || entry.location.startsWith(QLatin1Char('/')),
                        "an entry is resolved against the list's folder");
            ++entries;
            return true;
        },
        [&](const PlaylistProgress& p) {
            fuzz::check(p.lineCount == lastLine + 1 && p.percent >= 0, "progress counts every line once");
            lastLine = p.lineCount;
        });
    fuzz::check(all.complete && all.entries == entries && all.lines == lastLine, "the whole list is read and counted");

    // Stopped after its first entry, a read hands over exactly that one.
    std::int64_t handed = 0;
    const PlaylistReader::Result first = PlaylistReader::read(file.path(), [&](const PlaylistEntry&) { return ++handed < 1; });
    fuzz::check(handed == std::min<std::int64_t>(entries, 1) && first.complete == (entries == 0),
                "a stopped read stops at once");
    return 0;
}
