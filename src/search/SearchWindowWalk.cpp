// SearchWindow, the walk: reading each folder once, matching its names, and
// adding what matches to the results in batches, with the interface kept
// alive throughout.
#include "search/SearchWindow.h"

#include "platform/AppServices.h"
#include "platform/Clock.h"
#include "platform/UserDialogs.h"
#include "playback/PlayerWindow.h"
#include "playlist/PlaylistModel.h"
#include "search/FolderReader.h"

namespace tavlo {

namespace {

// Well inside the 50 ms in which a click should be answered, allowing for
// the step (a batch read, a sort of a few thousand names) that runs past it.
constexpr qint64 kYieldEveryMs = 25;
// Paths held back at most before they go to their list in one insertion,
// which its view takes in at once.
constexpr qsizetype kBatch = 4096;

}  // namespace

void SearchWindow::runSearch(const QString& folder)
{
    m_walking = true;
    m_unreadable = 0;
    m_pattern = fileList->compiledPattern();
    // The count goes on from what the label shows: results stay until "&Back".
    m_found = countLabel->text().trimmed().toInt();
    m_shownFound = m_found;
    m_lastYield = m_services.clock.now();
    searchFolder(folder);
    flushFound();
    m_walking = false;
    if (m_unreadable > 0) {
        const QString text = m_unreadable == 1
                                 ? QStringLiteral("1 folder could not be read; the files in it are not listed.")
                                 : QStringLiteral("%1 folders could not be read; the files in them are not listed.")
                                       .arg(m_unreadable);
        m_services.dialogs.inform(PlayerWindow::productName(), text);
    }
}

bool SearchWindow::searchFolder(const QString& folderPath)
{
    setCaption(folderPath);
    m_searching = true;
    // A "Cancel" click is seen whenever the interface has its turn.
    if (!yieldIfDue())
        return true;

    std::vector<QString> subfolders, files;
    if (!readForWalk(folderPath, subfolders, files)) {
        ++m_unreadable;
        return !m_searching;
    }
    if (!m_searching)
        return true;
    for (size_t n = subfolders.size(); n > 0 && m_searching; --n) {
        if (searchFolder(FileListBox::joinPath(folderPath, subfolders[n - 1]))) {
            setCaption(windowCaption());
            return true;
        }
    }
    if (!m_searching)
        return true;
    return !addFound(folderPath, files);
}

bool SearchWindow::readForWalk(const QString& folder, std::vector<QString>& subfolders, std::vector<QString>& files)
{
    const bool read = m_reader.read(folder, [&](std::vector<FolderEntry>& batch) {
        for (FolderEntry& e : batch) {
            if (FileListBox::isHidden(e.name))
                continue;
            if (e.kind == FolderEntry::Kind::Folder)
                subfolders.push_back(std::move(e.name));
            else if (e.kind == FolderEntry::Kind::File && m_pattern.matches(e.name))
                files.push_back(std::move(e.name));
        }
        return yieldIfDue();
    });
    if (!read)
        return false;
    const auto tick = [this] { yieldIfDue(); };
    m_order.sort(subfolders, tick);
    m_order.sort(files, tick);
    return true;
}

bool SearchWindow::addFound(const QString& folder, const std::vector<QString>& files)
{
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    for (const QString& name : files) {
        // Read for every file: the operator may tick it while the search runs.
        const bool tags = readTagsCheck->value() == 1;
        const qsizetype held = tags ? foundRows->count() : foundFiles->listCount() + m_pendingPaths.size();
        if (held >= m_capacity) {
            flushFound();
            m_services.dialogs.inform(PlayerWindow::productName(), fullListMessage());
            m_searching = false;
            return false;
        }
        const QString path = prefix + name;
        // A tagged row goes straight in, as the music window adds one (a
        // table takes rows one by one as cheaply as in batches); plain paths
        // wait for a batch.
        if (tags)
            m_music.addFileToList(path, 0, *foundRows);
        else
            m_pendingPaths.append(path);
        ++m_found;
        if (m_pendingPaths.size() >= kBatch)
            flushFound();
        if (!yieldIfDue())
            return false;
    }
    showCount();
    return true;
}

bool SearchWindow::yieldIfDue()
{
    const QDateTime now = m_services.clock.now();
    // A clock set back counts as due, so a correction never holds the interface out.
    const qint64 since = m_lastYield.msecsTo(now);
    if (since >= kYieldEveryMs || since < 0) {
        // Whatever the interface shows or acts on is complete up to here.
        flushFound();
        m_services.uiEvents.processPending();
        m_lastYield = m_services.clock.now();
    }
    return m_searching;
}

void SearchWindow::flushFound()
{
    if (!m_pendingPaths.isEmpty()) {
        foundFiles->addItems(m_pendingPaths);
        m_pendingPaths.clear();
    }
    showCount();
}

void SearchWindow::showCount()
{
    if (m_found == m_shownFound)
        return;
    m_shownFound = m_found;
    // Written as a number with its sign's place: " 12".
    const QString count = QLatin1Char(' ') + QString::number(m_found);
    countLabel->setText(count);
    setCaption(QStringLiteral("Searching... ") + count + QStringLiteral(" Files Found "));
}

}  // namespace tavlo
