#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace tavlo::test {

// Whole files put on disk and read back by tests (a failure shows as a wrong
// result in the test itself), and the tag record the list reads from them.
inline QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A 128-byte ID3v1 record, each text written as given and padded with NULs.
inline QByteArray id3v1Record(const QByteArray& title, const QByteArray& artist = {}, const QByteArray& album = {},
                              const QByteArray& year = {}, const QByteArray& comment = {}, int genre = 255)
{
    return "TAG" + title.leftJustified(30, '\0', true) + artist.leftJustified(30, '\0', true) +
           album.leftJustified(30, '\0', true) + year.leftJustified(4, '\0', true) +
           comment.leftJustified(30, '\0', true) + char(genre);
}

}  // namespace tavlo::test
