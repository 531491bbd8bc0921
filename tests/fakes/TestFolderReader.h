#pragma once

#include "platform/SimulatedTime.h"
#include "search/DirentFolderReader.h"

#include <QDir>
#include <QSet>

namespace tavlo::test {

// The real folder reader, except that the folders named in `failing` cannot
// be read (as if not allowed, or their mount went away: the tests run as
// root, where permissions would not stop it), and those in `slow` take 30 ms
// of the program's clock, long enough that the search lets the interface in
// while it reads them.
class TestFolderReader : public FolderReader {
public:
    bool read(const QString& folder, const Take& take) override
    {
        const QString path = QDir::cleanPath(folder);
        if (failing.contains(path))
            return false;
        if (slow.contains(path) && clock)
            clock->jumpClock(30);
        return m_real.read(folder, take);
    }
    QSet<QString> failing;
    QSet<QString> slow;
    SimulatedTime* clock = nullptr;

private:
    DirentFolderReader m_real;
};

}  // namespace tavlo::test
