#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace tavlo {

// The containers Tavlo plays, told apart by what a file holds rather than
// by its name: an MP3 named ".wav" is still an MP3.
enum class MediaFormat { Unknown, Mp3, Wav, Aiff, Flac, Ogg, Mp4, Adts };

// How many of a file's first bytes sniffMediaFormat() wants to see. An ID3v2
// tag in front of the audio can be longer; then only what follows within
// these bytes is looked at, and a long tag counts as MP3.
constexpr qsizetype kMediaSniffBytes = 4096;

// The container of a file whose first bytes are `head`. The name decides only
// when the bytes say nothing (a headerless MP3 stream starting mid-frame).
// Pure; any thread.
MediaFormat sniffMediaFormat(QByteArrayView head, const QString& fileName);

// The whole size of the ID3v2 tag `head` starts with, header and footer
// included (it may be larger than head), or 0 when it starts with none.
qsizetype id3v2Size(QByteArrayView head);

// Lower-case extensions, without the dot, of every file type Tavlo plays.
const QStringList& audioFileExtensions();
// True when the name ends in one of them, in any letter case.
bool isAudioFileName(const QString& fileName);
// "*.mp3 *.wav ..." for a file dialog's "Audio files" filter.
QString audioFilePatterns(QChar separator = QLatin1Char(' '));

}  // namespace tavlo
