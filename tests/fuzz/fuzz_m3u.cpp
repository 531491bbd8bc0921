// The M3U reader on any file: a playlist is often hand-edited or written by
// another program, and the player loads one unattended at every scheduled event.
#include "ScratchFile.h"

#include "playlist/M3uReader.h"

using namespace tavlo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::ScratchFile file(".m3u");
    std::int64_t entries = 0;
    std::int64_t lastLine = 0;
    const M3uReader::Result all = M3uReader::read(
        file.write(data, size),
        [&](const QString& entry) {
            fuzz::check(!entry.contains(QLatin1Char('\n')) && !entry.startsWith(QLatin1Char('#')),
                        "an entry is one line and no comment");
            ++entries;
            return true;
        },
        [&](const M3uProgress& p) {
            fuzz::check(p.lineCount == lastLine + 1 && p.percent >= 0, "progress counts every line once");
            lastLine = p.lineCount;
        });
    fuzz::check(all.complete && all.entries == entries && all.lines == lastLine, "the whole list is read and counted");

    // Stopped after its first entry, a read hands over exactly that one.
    std::int64_t handed = 0;
    const M3uReader::Result first = M3uReader::read(file.path(), [&](const QString&) { return ++handed < 1; });
    fuzz::check(handed == std::min<std::int64_t>(entries, 1) && first.complete == (entries == 0),
                "a stopped read stops at once");
    return 0;
}
