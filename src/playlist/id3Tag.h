#pragma once

#include <QString>

namespace tavlo {

// The ID3v1 record at the end of a media file: the six texts a list row shows.
// Fields stay empty until GetMP3Info finds a tag. Any thread; no shared state.
class id3Tag {
public:
    QString sTitle, sArtist, sAlbum, sYear, sComment, sGenre;

    // Reads the last 128 bytes of the file. A missing, short or unreadable
    // file, or one without "TAG" there, leaves the fields as they were.
    void GetMP3Info(const QString& sFileName);

    // Genre names 0..147; 148..255 (and anything else) give the empty text.
    static QString GenreName(int number);
};

}  // namespace tavlo
