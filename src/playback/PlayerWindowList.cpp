// PlayerWindow, list: adding files, loading the row in play into a channel,
// and the list commands of the "&File" and "&List" menus and the list's
// mouse and keys.
#include "playback/PlayerWindow.h"

#include "app/AppServices.h"
#include "platform/TimerService.h"
#include "platform/UserDialogs.h"
#include "playback/SegToMin.h"
#include "playlist/PlaylistEdits.h"
#include "playlist/PlaylistModel.h"

namespace tavlo {

namespace {
constexpr int kEnterKey = 13;
constexpr int kRightButton = 2;
}  // namespace

int PlayerWindow::AddFileToList(const QString& FileName, int InsertPos, PlaylistModel& DestinationList)
{
    const int pos = tavlo::AddFileToList(FileName, InsertPos, DestinationList);
    // Keep ItemPlaying on the same song when a row goes in above it.
    if (&DestinationList == lstClipList && pos <= ItemPlaying)
        ++ItemPlaying;
    return pos;
}

void PlayerWindow::OpenFile(const QString& FileName, bool ClearList, int InsertPos)
{
    // The list is never emptied here: callers that want it replaced clear it first.
    Q_UNUSED(ClearList);
    if (FileName.size() >= 3 && FileName.right(3).compare(QLatin1String("m3u"), Qt::CaseInsensitive) == 0) {
        LoadPlayList(FileName);
        playListOpened(FileName);
    } else {
        AddFileToList(FileName, InsertPos, *lstClipList);
    }
}

void PlayerWindow::LoadPlayList(const QString& FileName)
{
    // HOOK (M3U playlists): read FileName and append each entry with
    // AddFileToList(entry, count + 1, *lstClipList), showing progress in
    // ProgressBar1 and the line count in StatusBar1's second panel. Until the
    // playlist reader lands a playlist adds nothing.
    Q_UNUSED(FileName);
}

void PlayerWindow::LoadSong()
{
    const int ch = ChannelPlaying == 1 ? 1 : 0;
    auto& slot = Players[static_cast<size_t>(ch)];
    // Every song gets a new player; the old one stops and lets its file go.
    if (slot)
        slot->StopFile();
    slot.reset();
    slot = std::make_unique<Player>(m_services.media);
    Player& player = *slot;
    player.setOutputDevice(cmbOutputDevices->text());

    if (ItemPlaying < 1 || ItemPlaying > lstClipList->count())
        ItemPlaying = 1;
    const int row = ItemPlaying;

    player.setFileName(lstClipList->text(row, ColLocation));
    if (player.OpenFile() > 0)
        WriteLog(0, QStringLiteral("**ERROR**"), QString());

    m_songStart = m_cutFirst;
    m_songEnd = player.Duration() - m_cutLast;
    lstClipList->setText(row, ColTotLength, QString::number(player.Duration()));
    // A song no longer than both cuts together plays whole.
    if (m_songStart >= m_songEnd) {
        m_songStart = 0;
        m_songEnd = player.Duration();
    }
    lstClipList->setText(row, ColLength, SegToMin(m_songEnd - m_songStart));

    player.setPosition(m_songStart);
    // Silent until the song change fades it in.
    vscVolume[static_cast<size_t>(ch)]->setValue(vscVolume[static_cast<size_t>(ch)]->max());
    vscVolume_Change(ch);
    m_tmrPosition->setEnabled(true);
    m_positionUpdating = true;
    hscPosition->setValue(m_songStart);
    hscPosition->setMax(m_songEnd - m_songStart);
    m_positionUpdating = false;

    songLoaded(row, m_songEnd - m_songStart);
}

void PlayerWindow::WriteLog(int LogActivation, const QString& strError, const QString& LogLine)
{
    // HOOK (as-run log): the daily log file is written here once the log
    // writer is wired to the window.
    Q_UNUSED(LogActivation);
    Q_UNUSED(strError);
    Q_UNUSED(LogLine);
}

void PlayerWindow::mnuOpen_Click()
{
    const QStringList files = m_services.dialogs.chooseFilesToOpen(
        QStringLiteral("Open"), QString(),
        QStringLiteral("M3U PlayList (*.M3U);;Media File (*.mp3 *.wav);;Anything (*)"));
    for (const QString& file : files)
        OpenFile(file, false, 0);
}

void PlayerWindow::mnuSaveListAs_Click()
{
    // HOOK (M3U playlists): ask for a name and write the list as a playlist.
}

void PlayerWindow::mnuScanDrive_Click() { cmdWinSeek_Click(); }

void PlayerWindow::cmdWinSeek_Click()
{
    // HOOK (file search): show the search window at this window's position.
}

void PlayerWindow::mnuShowItemInPlay_Click()
{
    if (ItemPlaying < 1 || ItemPlaying > lstClipList->count())
        return;
    lstClipList->setMultiSelect(false);
    lstClipList->selectOnly(ItemPlaying);
    lstClipList->setMultiSelect(true);
}

void PlayerWindow::mnuCueSelectedItem_Click()
{
    // A fresh player in the channel in play: whatever it played stops now.
    auto& slot = Players[static_cast<size_t>(ChannelPlaying == 1 ? 1 : 0)];
    slot.reset();
    slot = std::make_unique<Player>(m_services.media);

    const int selected = lstClipList->firstSelected();
    if (selected >= 1 && selected <= lstClipList->count()) {
        lstClipList->setSelected(selected, false);
        ItemPlaying = selected;
        LoadSong();
        if (Player* p = playerIn(ChannelPlaying)) {
            p->PlayFile();
            p->PauseFile();
        }
        hscVolume_Change();
    }
    showStatus(2);
    mnuShowItemInPlay_Click();
}

void PlayerWindow::mnuPlaySelectedItem_Click()
{
    const int selected = lstClipList->firstSelected();
    if (selected >= 1 && selected <= lstClipList->count()) {
        lstClipList->setSelected(selected, false);
        ItemPlaying = selected;
        DoTransition();
    }
    showStatus(1);
}

void PlayerWindow::mnuDeleteSelectedItem_Click() { ItemPlaying = deleteSelectedRows(*lstClipList, ItemPlaying); }

void PlayerWindow::mnuRandomOrder_Click()
{
    ItemPlaying = randomOrder(*lstClipList, ItemPlaying, m_services.random);
    mnuShowItemInPlay_Click();
}

void PlayerWindow::mnuClear_Click()
{
    lstClipList->clear();
    ItemPlaying = 0;
}

void PlayerWindow::mnuWriteLog_Click()
{
    if (!mnuWriteLog)
        return;
    mnuWriteLog->setChecked(!mnuWriteLog->checked());
    m_logSwitch = mnuWriteLog->checked();
    WriteLog(m_logSwitch ? 1 : 2);
}

void PlayerWindow::mnuLogFolder_Click()
{
    // HOOK (as-run log): show the log-folder window for this window's strLogPath.
}

void PlayerWindow::cmdShowOptions_Click()
{
    // HOOK (layout): fold or unfold the options panel.
}

void PlayerWindow::cmdCalculate_Click()
{
    // HOOK (totals): add up the play time of every row.
}

void PlayerWindow::lstClipList_DblClick() { mnuPlaySelectedItem_Click(); }

void PlayerWindow::lstClipList_KeyDown(int KeyCode)
{
    if (KeyCode == kEnterKey)
        mnuPlaySelectedItem_Click();
}

void PlayerWindow::lstClipList_MouseUp(int Button, int x, int y)
{
    if (Button == kRightButton)
        Q_EMIT popupMenu(mnuList, x, y);
}

void PlayerWindow::lstClipList_ColumnClick(int column)
{
    const int descending = m_sort.columnClicked(column);
    ItemPlaying = sortTrackingInPlay(*lstClipList, ItemPlaying, column, descending != 0);
}

}  // namespace tavlo
