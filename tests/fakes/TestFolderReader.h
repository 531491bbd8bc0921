#pragma once

#include "search/DirentFolderReader.h"

#include <QDir>
#include <QSet>
#include <QThread>

namespace tavlo::test {

// The real folder reader, except that the folders named in `failing` cannot
// be read (as if not allowed, or their mount went away: the tests run as
// root, where permissions would not stop it), and those in `slow` take 30 ms,
// long enough that the search lets the interface in while it reads them.
class TestFolderReader : public FolderReader {
public:
    bool read(const QString& folder, const Take& take) override
    {
        const QString path = QDir::cleanPath(folder);
        if (failing.contains(path))
            return false;
        if (slow.contains(path))
            QThread::msleep(30);
        return m_real.read(folder, take);
    }
    QSet<QString> failing;
    QSet<QString> slow;

private:
    DirentFolderReader m_real;
};

}  // namespace tavlo::test
