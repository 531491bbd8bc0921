#include "search/DirentFolderReader.h"

#include <QFile>

#include <cerrno>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tavlo {

namespace {

// Big enough that a folder of 100,000 files costs a hundred hand-overs,
// small enough that each one is over in well under a millisecond.
constexpr size_t kEntriesPerRead = 1024;

struct DirCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};

enum class Seen { Skip, File, Folder, LinkedFolder };

Seen kindOfMode(mode_t mode)
{
    if (S_ISDIR(mode))
        return Seen::Folder;
    return S_ISREG(mode) ? Seen::File : Seen::Skip;
}

Seen kindOf(int dirFd, const dirent& e)
{
    switch (e.d_type) {
    case DT_REG: return Seen::File;
    case DT_DIR: return Seen::Folder;
    case DT_LNK: {
        struct stat st {};
        if (::fstatat(dirFd, e.d_name, &st, 0) != 0)
            return Seen::Skip;  // a dangling link
        const Seen target = kindOfMode(st.st_mode);
        return target == Seen::Folder ? Seen::LinkedFolder : target;
    }
    case DT_UNKNOWN: {
        struct stat st {};
        if (::fstatat(dirFd, e.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return Seen::Skip;
        if (!S_ISLNK(st.st_mode))
            return kindOfMode(st.st_mode);
        if (::fstatat(dirFd, e.d_name, &st, 0) != 0)
            return Seen::Skip;
        const Seen target = kindOfMode(st.st_mode);
        return target == Seen::Folder ? Seen::LinkedFolder : target;
    }
    default: return Seen::Skip;
    }
}

}  // namespace

bool DirentFolderReader::read(const QString& folder, const Take& take)
{
    const QByteArray path = QFile::encodeName(folder);
    const int fd = ::open(path.isEmpty() ? "." : path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd));
    if (!dir) {
        ::close(fd);
        return false;
    }
    std::vector<FolderEntry> batch;
    batch.reserve(kEntriesPerRead);
    for (;;) {
        errno = 0;
        const dirent* e = ::readdir(dir.get());
        if (!e) {
            if (errno != 0)
                return false;
            break;
        }
        const char* name = e->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        FolderEntry entry;
        switch (kindOf(fd, *e)) {
        case Seen::Skip: continue;
        case Seen::File: entry.kind = FolderEntry::Kind::File; break;
        case Seen::Folder: entry.kind = FolderEntry::Kind::Folder; break;
        case Seen::LinkedFolder: entry.kind = FolderEntry::Kind::LinkedFolder; break;
        }
        entry.name = QFile::decodeName(name);
        batch.push_back(std::move(entry));
        if (batch.size() == kEntriesPerRead) {
            if (!take(batch))
                return true;
            batch.clear();
        }
    }
    if (!batch.empty())
        take(batch);
    return true;
}

}  // namespace tavlo
