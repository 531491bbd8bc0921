#pragma once

#include "playlist/PlaylistText.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QSaveFile;

namespace tavlo {

// Writes a list as a playlist, each line followed by CR LF, in list order.
// - ".m3u8": UTF-8, "#EXTM3U" first, and an "#EXTINF:seconds,title" line
//   before each location ("Artist - Title" where the row has an artist).
// - any other name: plain M3U, the locations only, no header; Latin-1 where
//   that reads back as written, else UTF-8 (which the reader tells apart), so
//   no name is ever lost to a "?" or misread.
// A location in the playlist's folder or below is written relative to it.
//
// The list goes to a temporary file in the target's folder that replaces the
// target only once every byte is written, so a crash or a full disk during
// the save leaves the previous playlist whole.
// Any thread.
class PlaylistWriter {
public:
    struct Result {
        bool ok = false;
        QString error;  // why it failed, for the message box; empty on success
    };

    virtual ~PlaylistWriter() = default;

    Result save(const QString& fileName, const std::vector<PlaylistEntry>& entries);
    Result save(const QString& fileName, const QStringList& locations);

protected:
    // The file the playlist is written through. A test subclass returns one
    // that fails part way to check that nothing of the old file is lost.
    virtual std::unique_ptr<QSaveFile> createFile(const QString& fileName);
};

}  // namespace tavlo
