// The tag reader on any file: a list row reads the tags of every song it
// shows, so nothing a file holds (a damaged ID3v2 frame, a comment block
// claiming gigabytes, text that is no UTF-8) may crash or hang the list; and
// the plain ID3v2 reader must never tell a list something TagLib would not.
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
    // Where the plain ID3v2 reader answers, it says what TagLib says.
    const SongTags full = readSongTags(file.path(), TagReading::TagLibOnly);
    fuzz::check(tags.title == full.title && tags.artist == full.artist && tags.album == full.album
                    && tags.comment == full.comment && tags.genre == full.genre && tags.year == full.year,
                "the plain ID3v2 reader agrees with TagLib");
    return 0;
}
