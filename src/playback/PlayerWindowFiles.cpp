// PlayerWindow, files: media files and M3U playlists into the list, the list
// saved as a playlist, and the as-run log with its two menu entries.
#include "playback/PlayerWindow.h"

#include "platform/AppServices.h"
#include "platform/MediaFormat.h"
#include "log/AsRunLog.h"
#include "log/LogFolderDialog.h"
#include "platform/TimerService.h"
#include "platform/UiEvents.h"
#include "platform/UserDialogs.h"
#include "playlist/PlaylistReader.h"
#include "playlist/PlaylistWriter.h"
#include "playlist/PlaylistEdits.h"
#include "playlist/PlaylistModel.h"
#include "playback/FormatMinutes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QScopeGuard>

#include <algorithm>
#include <vector>

namespace tavlo {

namespace {

// A long playlist lets the interface repaint its progress this often.
constexpr qint64 kRepaintEveryMs = 50;
// Rows reach the list in batches, so a view attached to it hears of a
// 100,000-row playlist a few dozen times instead of once a row.
constexpr size_t kRowsPerBatch = 4096;

}  // namespace

void PlayerWindow::openFile(const QString& fileName, bool clearList, int insertPos)
{
    // The list is never emptied here: callers that want it replaced clear it first.
    Q_UNUSED(clearList);
    if (isPlaylistFileName(fileName)) {
        loadPlaylist(fileName);
        playListOpened(fileName);
    } else {
        addFileToList(fileName, insertPos, *clipList);
    }
    loudnessForOpenedList();
}

void PlayerWindow::loadPlaylist(const QString& fileName)
{
    m_loadingList = true;
    const auto loaded = qScopeGuard([this] { m_loadingList = false; });
    PlaylistModel& list = *clipList;
    // Rows read but not yet in the list. They go in before anything else can
    // look at the list (the interface catching up, the end of the load), so
    // nobody ever sees it differ from a row-by-row load.
    std::vector<PlaylistRow> pending;
    auto flush = [&] {
        if (pending.empty())
            return;
        list.append(std::move(pending));
        pending.clear();
    };
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();

    PlaylistReader::read(
        fileName,
        [&](const PlaylistEntry& entry) {
            // Each entry is appended after the last row, as addFileToList
            // would put it, with the same care for m_rowInPlay.
            const int pos = list.count() + static_cast<int>(pending.size()) + 1;
            pending.push_back(rowForFile(entry.location, entry.title));
            // The list's own length stands until the song is opened.
            if (entry.seconds >= 0) {
                pending.back().fields[ColPlaySeconds] = QString::number(entry.seconds);
                pending.back().fields[ColLength] = formatMinutes(entry.seconds - m_cutFirst - m_cutLast);
            }
            if (pos <= m_rowInPlay)
                ++m_rowInPlay;
            if (pending.size() >= kRowsPerBatch)
                flush();
            return true;
        },
        [&](const PlaylistProgress& progress) {
            const int before = loadProgressBar->value();
            loadProgressBar->setValue(progress.percent);
            const bool repaint = sinceRepaint.elapsed() >= kRepaintEveryMs;
            // The line count is only ever seen when the window repaints, so
            // it is brought up to date then and whenever the bar moves, not
            // for each of 100,000 lines (a status bar label is slow to set).
            if (repaint || loadProgressBar->value() != before)
                statusBar->setPanelText(2, QString::number(progress.lineCount));
            if (repaint) {
                flush();
                m_services.uiEvents.processPending();
                sinceRepaint.restart();
            }
        });
    flush();
    loadProgressBar->setValue(0);
    statusBar->setPanelText(2, idleText());
}

void PlayerWindow::savePlaylist(const QString& fileName)
{
    const PlaylistWriter::Result saved = PlaylistWriter().save(fileName, playlistEntries(*clipList));
    if (!saved.ok) {
        m_services.dialogs.inform(productName(), QStringLiteral("The list could not be saved as %1.\n%2")
                                                     .arg(QDir::toNativeSeparators(fileName), saved.error));
    }
}

void PlayerWindow::openFromDialog()
{
    const QStringList files = m_services.dialogs.chooseFilesToOpen(
        QStringLiteral("Open"), QString(),
        QStringLiteral("M3U PlayList (*.M3U)|*.M3U|Playlists (*.m3u *.m3u8 *.pls)|*.m3u *.m3u8 *.pls|"
                       "Audio files (%1)|%1|Anything (*.*)|*.*")
            .arg(audioFilePatterns()));
    for (const QString& file : files)
        openFile(file, false, 0);
}

void PlayerWindow::saveListAs()
{
    // The name is taken as typed: no extension is added.
    const QString file = m_services.dialogs.chooseFileToSave(
        QStringLiteral("Save As"), QString(),
        QStringLiteral("M3U PlayList (*.M3U)|*.M3U|M3U8 PlayList, UTF-8 (*.m3u8)|*.m3u8"));
    if (!file.isEmpty())
        savePlaylist(file);
}

void PlayerWindow::writeLog(int activation, const QString& error, const QString& line)
{
    m_log->write(m_logSwitch, m_logFolder, activation, error, line);
    scheduleLogRetry();
    if (activation != AsRunLog::LogStart && activation != AsRunLog::LogEnd)
        Q_EMIT logEntryWritten(error, line);
}

void PlayerWindow::retryLog()
{
    m_log->retry(m_logFolder);
    scheduleLogRetry();
}

void PlayerWindow::scheduleLogRetry()
{
    if (!m_log->hasKeptLines()) {
        m_logRetryTimer->setEnabled(false);
        return;
    }
    // Aimed at the log's own minute, counted from its latest failure.
    m_logRetryTimer->setInterval(static_cast<int>(std::max<qint64>(1, m_log->msUntilRetry())));
    m_logRetryTimer->setEnabled(true);
}

void PlayerWindow::toggleWriteLog()
{
    if (!writeLogItem)
        return;
    writeLogItem->setChecked(!writeLogItem->checked());
    m_logSwitch = writeLogItem->checked();
    writeLog(m_logSwitch ? AsRunLog::LogStart : AsRunLog::LogEnd);
}

void PlayerWindow::chooseLogFolder()
{
    if (m_logFolderWindow)
        m_logFolderWindow->openFrom(logFolderOpener(), *this, m_logFolder);
}

}  // namespace tavlo
