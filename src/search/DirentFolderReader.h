#pragma once

#include "search/FolderReader.h"

namespace tavlo {

// Reads folders with opendir/readdir: the kind of each entry comes from the
// directory entry itself, and only an entry whose kind the file system does
// not tell (DT_UNKNOWN) or a symbolic link costs a stat.
// Any thread; no shared state.
class DirentFolderReader : public FolderReader {
public:
    bool read(const QString& folder, const Take& take) override;
};

}  // namespace tavlo
