#pragma once

#include <QString>

namespace tavlo {

// The texts a list row shows from a media file's own tags; empty where the
// file has none.
struct SongTags {
    QString title, artist, album, year, comment, genre;
};

// Reads the tags of any file Tavlo plays, read-only and without decoding
// audio: ID3v2.2/2.3/2.4 (preferred), APE and ID3v1 in MP3; Vorbis comments
// in FLAC, Ogg Vorbis and Opus; MP4 atoms; RIFF INFO and ID3 chunks in WAV
// and AIFF. Each field comes from the newest tag that has it; text in every
// encoding the tags declare. A missing, unreadable or damaged file gives
// empty fields. The container is told by the file's first bytes, as the
// decoders tell it. Any thread; no shared state.
SongTags readSongTags(const QString& fileName);

// How: a plain ID3v2 tag at the front of an MP3 is read directly (see
// readPlainId3v2) unless TagLib is asked for everything.
enum class TagReading { PlainId3v2First, TagLibOnly };
SongTags readSongTags(const QString& fileName, TagReading how);

}  // namespace tavlo
