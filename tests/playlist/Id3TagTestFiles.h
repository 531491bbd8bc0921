#pragma once

#include "fakes/TestFiles.h"

namespace tavlo::test {

// A 128-byte ID3v1 record, each text written as given and padded with NULs.
inline QByteArray id3v1Record(const QByteArray& title, const QByteArray& artist = {}, const QByteArray& album = {},
                              const QByteArray& year = {}, const QByteArray& comment = {}, int genre = 255)
{
    QByteArray r = "TAG" + title.leftJustified(30, '\0', true) + artist.leftJustified(30, '\0', true) +
                   album.leftJustified(30, '\0', true) + year.leftJustified(4, '\0', true) +
                   comment.leftJustified(30, '\0', true);
    return r + char(genre);
}

}  // namespace tavlo::test
