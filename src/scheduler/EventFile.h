#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace tavlo {

// One event as its file holds it: three texts.
struct EventFields {
    QString time;
    QString playlist;
    QString window;
};

// The scheduler's event files (".tmg"): one event a line, "time;playlist;window".
//
// Written as UTF-8 with CR LF line ends. Read with CR LF or LF line ends, as
// UTF-8, a line that is not valid UTF-8 as Windows-1252 (the 8-bit files of
// older stations). A line with only two fields is an "Ads" event; fields
// past the third are ignored; a line with fewer than two fields (an empty
// one too) is skipped. There is no escaping: a path holding ";" does not
// survive a save and a reload.
// Any thread.
namespace EventFile {

// Nothing when the file cannot be opened or read.
std::optional<std::vector<EventFields>> read(const QString& fileName);
// Replaces the file only once the whole list is written; on failure the old
// file stays as it was and `error` says why.
bool write(const QString& fileName, const std::vector<EventFields>& events, QString* error = nullptr);

// One line's bytes, without its line end, as text.
QString decodeLine(const QByteArray& bytes);

}  // namespace EventFile
}  // namespace tavlo
