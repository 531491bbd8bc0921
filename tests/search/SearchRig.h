#pragma once

#include "fakes/TestFiles.h"
#include "playback/WindowRig.h"

#include <QDir>
#include <QTemporaryDir>

namespace tavlo::test {

// The search window beside the music window, over a folder tree the test makes.
struct SearchRig : WindowRig {
    QTemporaryDir dir;

    explicit SearchRig(int capacity = SearchWindow::kListCapacity) : WindowRig(defaultStart(), true, capacity)
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
