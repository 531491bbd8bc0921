#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstring>

namespace tavlo::test {

// A 128-byte ID3v1 record; each text is written as given (NULs and spaces
// included) and padded with NULs.
inline QByteArray id3v1Record(const QByteArray& title, const QByteArray& artist = {}, const QByteArray& album = {},
                              const QByteArray& year = {}, const QByteArray& comment = {}, int genre = 255)
{
    QByteArray r(128, '\0');
    std::memcpy(r.data(), "TAG", 3);
    auto put = [&r](int at, int size, const QByteArray& text) {
        std::memcpy(r.data() + at, text.constData(), static_cast<size_t>(std::min<qsizetype>(size, text.size())));
    };
    put(3, 30, title);
    put(33, 30, artist);
    put(63, 30, album);
    put(93, 4, year);
    put(97, 30, comment);
    r[127] = static_cast<char>(genre);
    return r;
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

}  // namespace tavlo::test
