// The ID3v1 reader on any file: a list row reads the tag of every song it
// shows, so nothing in the last 128 bytes of a file may crash the list.
#include "ScratchFile.h"

#include "playlist/id3Tag.h"

using namespace tavlo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::ScratchFile file(".mp3");
    id3Tag tag;
    tag.GetMP3Info(file.write(data, size));
    for (const QString* field : {&tag.sTitle, &tag.sArtist, &tag.sAlbum, &tag.sComment})
        fuzz::check(field->size() <= 30 && !field->startsWith(QLatin1Char(' ')) && !field->endsWith(QLatin1Char(' ')),
                    "a tag text is at most 30 characters, without spaces around it");
    fuzz::check(tag.sYear.size() <= 4, "a year is at most 4 characters");
    return 0;
}
