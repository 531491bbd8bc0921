#pragma once

#include "playlist/SongTags.h"

#include <QByteArrayView>

#include <optional>

namespace tavlo {

// The plain ID3v2.3 or 2.4 tag most taggers put in front of an MP3, read
// straight from the file's first bytes (`head`) and last ones (`tail`, at
// least the last 160): TIT2, TPE1, TALB, TCON, TYER/TDRC and COMM in
// Latin-1, UTF-16 or UTF-8. A long list reads its tags in a fraction of
// TagLib's time this way.
//
// Nothing is guessed: a tag with anything more (unsynchronisation, an
// extended header, compressed or encrypted text frames, several values in
// one frame, a frame twice, a genre given by number, a described comment, a
// year that is not a number) or an ID3v1 or APE tag at the end gives
// nothing, and the caller asks TagLib, whose result this equals wherever it
// answers. Pure; any thread.
std::optional<SongTags> readPlainId3v2(QByteArrayView head, QByteArrayView tail);

}  // namespace tavlo
