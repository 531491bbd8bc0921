// The tag reader on any file: a list row reads the tags of every song it
// shows, so nothing a file holds (a damaged ID3v2 frame, a comment block
// claiming gigabytes, text that is no UTF-8) may crash or hang the list.
#include "ScratchFile.h"

#include "playlist/SongTags.h"

using namespace tavlo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::ScratchFile file(".mp3");
    const SongTags tags = readSongTags(file.write(data, size));
    for (const QString* field : {&tags.title, &tags.artist, &tags.album, &tags.comment, &tags.genre, &tags.year})
        fuzz::check(field->trimmed() == *field && field->size() <= static_cast<qsizetype>(size),
                    "a tag text has no spaces around it and is no longer than the file");
    return 0;
}
