#pragma once

#include "fakes/TestFiles.h"
#include "playback/WindowRig.h"
#include "search/DirentFolderReader.h"
#include "search/SearchWindow.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>

#include <memory>

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

// The search window beside the music window, over a folder tree the test makes.
struct SearchRig : WindowRig {
    QTemporaryDir dir;
    TestFolderReader reader;
    std::unique_ptr<SearchWindow> seek;

    explicit SearchRig(int capacity = SearchWindow::kListCapacity)
        : seek(std::make_unique<SearchWindow>(services, *w, reader, capacity))
    {
        reader.clock = &time;
        QDir().mkpath(top());
        settings.save(SearchWindow::settingsAppName(), QStringLiteral("Directory"), QStringLiteral("DefaultDir"), top());
        seek->link().showAt(300, 450);
    }
    QString top() const { return dir.path() + QStringLiteral("/top"); }
    // A file below the top folder (its folders made as needed), with an
    // ID3v1 record when a title is given.
    QString file(const QString& relative, const QByteArray& title = {}, const QByteArray& artist = {},
                 const QByteArray& year = {})
    {
        const QString path = top() + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(path).path());
        return writeFile(path, "\xff\xfb\x90\x00" + (title.isEmpty() ? QByteArray() : id3v1Record(title, artist, {}, year)));
    }
    QString folder(const QString& relative) const { return top() + QLatin1Char('/') + relative; }
    void searchFrom(const QString& folder)
    {
        seek->folderList->setPath(folder);
        seek->searchButton->press();
    }
    QStringList found() const { return seek->foundFiles->items(); }
    QStringList clipColumn(int col) const { return columnOf(*seek->foundRows, col); }
};

}  // namespace tavlo::test
