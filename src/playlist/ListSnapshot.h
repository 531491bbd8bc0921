#pragma once

#include "playlist/PlaylistModel.h"

#include <QString>

#include <optional>
#include <vector>

namespace tavlo {

// A player window's list kept whole for a restart: every row with all its
// texts, in order, so the list comes back exactly as it was (titles, tags,
// lengths and a random order included) without reading a tag again.
//
// The file is "tavlo-list 1" and then one row a line, its texts separated by
// tabs, with "\\", "\t", "\n" and "\r" escaped. It is written to a temporary
// file that replaces the old one only when complete, so a crash or a full
// disk during a save leaves the previous list whole.
// Any thread.
namespace ListSnapshot {

struct SaveResult {
    bool ok = false;
    QString error;
};

SaveResult save(const QString& fileName, const PlaylistModel& list);
// The rows; none when the file is missing or not such a list.
std::optional<std::vector<PlaylistRow>> read(const QString& fileName);

}  // namespace ListSnapshot

}  // namespace tavlo
