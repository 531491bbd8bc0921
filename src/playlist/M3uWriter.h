#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QSaveFile;

namespace tavlo {

class PlaylistModel;

// Writes a list as an M3U playlist: each location followed by CR LF, in list
// order, no header and no comments; an empty list gives an empty file. Text
// is Latin-1, the same 8-bit encoding the reader uses (characters outside it
// become "?").
//
// The list goes to a temporary file in the target's folder that replaces the
// target only once every byte is written, so a crash or a full disk during
// the save leaves the previous playlist whole.
// Any thread.
class M3uWriter {
public:
    struct Result {
        bool ok = false;
        QString error;  // why it failed, for the message box; empty on success
    };

    virtual ~M3uWriter() = default;

    Result save(const QString& fileName, const QStringList& locations);
    // The "Location" of rows 1 to count.
    Result save(const QString& fileName, const PlaylistModel& list);

protected:
    // The file the playlist is written through. A test subclass returns one
    // that fails part way to check that nothing of the old file is lost.
    virtual std::unique_ptr<QSaveFile> createFile(const QString& fileName);
};

}  // namespace tavlo
