#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace tavlo {

// One entry of a folder as its listing says it: no file is opened to learn it.
struct FolderEntry {
    enum class Kind : unsigned char {
        File,
        Folder,
        // A symbolic link to a folder: listed for browsing, never walked
        // into by a search, so a link back up the tree cannot loop it.
        LinkedFolder,
    };
    QString name;
    Kind kind = Kind::File;

    bool isFolder() const { return kind != Kind::File; }
};

// Lists folders for the search window. Handed in at construction, so the
// window can be shown a folder that fails to read whatever the file system
// and the user running it allow.
// Any thread; one read at a time per reader.
class FolderReader {
public:
    // Takes one batch of entries; may move from it. False stops the read.
    using Take = std::function<bool(std::vector<FolderEntry>& batch)>;

    virtual ~FolderReader() = default;
    // Hands the files and folders of `folder` to `take` a batch at a time, in
    // no particular order ("." and ".." left out, as are devices, pipes and
    // sockets), so a caller can let the interface catch up inside a folder of
    // 100,000 files. False when the folder cannot be read (missing, not
    // allowed, a mount that went away); the batches already taken stay taken.
    virtual bool read(const QString& folder, const Take& take) = 0;
};

}  // namespace tavlo
