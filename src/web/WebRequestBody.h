#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace tavlo {

// What POST /api/lists/music/rows asks for: files, or one playlist, put in
// at a row (1 = the top; 0 = after the last row).
struct RowsToAdd {
    QStringList files;
    QString playlist;
    int position = 0;
};

namespace WebRequestBody {

constexpr int kMaxFiles = 1000;

// {"files": ["/a.mp3", ...]} or {"playlist": "/b.m3u"}, with an optional
// "position"; every path absolute. Nothing, with `why` said, for anything else.
std::optional<RowsToAdd> rowsToAdd(const QByteArray& json, QString* why);

}  // namespace WebRequestBody

}  // namespace tavlo
