// PlayerWindow, list: adding files, loading the row in play into a channel,
// the commands of the "&List" menu, the list's mouse, keys and column
// headers, and the list's total play time.
#include "playback/PlayerWindow.h"

#include "platform/AppServices.h"
#include "platform/TimerService.h"
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

Player& PlayerWindow::newPlayerIn(int channel)
{
    auto& slot = Players[static_cast<size_t>(channel == 1 ? 1 : 0)];
    // Every song gets a new player; the old one stops and lets its file go.
    if (slot)
        slot->stop();
    slot = std::make_unique<Player>(m_services.media);
    slot->setOutputDevice(cmbOutputDevices->text());
    return *slot;
}

bool PlayerWindow::LoadSong()
{
    m_cuedUnlogged.clear();  // whatever was cued before is not the one to log
    const int ch = channelInPlay();
    Player& player = newPlayerIn(ch);

    if (ItemPlaying < 1 || ItemPlaying > lstClipList->count())
        ItemPlaying = 1;
    const int row = ItemPlaying;

    player.setFileName(lstClipList->text(row, ColLocation));
    const bool opened = player.open() <= 0;
    loudnessForLoadedSong(player, row, opened);
    if (!opened)
        WriteLog(0, QStringLiteral("**ERROR**"), QLatin1Char(' ') + player.fileName());

    m_songStart = m_cutFirst;
    m_songEnd = player.duration() - m_cutLast;
    lstClipList->setText(row, ColPlaySeconds, QString::number(player.duration()));
    // A song no longer than both cuts together plays whole.
    if (m_songStart >= m_songEnd) {
        m_songStart = 0;
        m_songEnd = player.duration();
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

    songLoaded(row, m_songEnd - m_songStart, opened);
    return opened;
}

void PlayerWindow::mnuScanDrive_Click() { cmdWinSeek_Click(); }

void PlayerWindow::cmdWinSeek_Click() { m_search->showAt(left(), top()); }

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
    newPlayerIn(ChannelPlaying);

    const int selected = lstClipList->firstSelected();
    if (selected >= 1 && selected <= lstClipList->count()) {
        lstClipList->setSelected(selected, false);
        ItemPlaying = selected;
        LoadSong();
        if (Player* p = playerIn(ChannelPlaying)) {
            p->play();
            p->pause();
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

double PlayerWindow::playTimeForTotal(int n)
{
    bool known = false;
    const double stored = lstClipList->text(n, ColPlaySeconds).toDouble(&known);
    if (known)
        return stored;
    // The list has not played the row yet: ask a fresh player of the channel
    // in play, and keep what it says for the next time.
    Player& player = newPlayerIn(ChannelPlaying);
    player.setFileName(lstClipList->text(n, ColLocation));
    player.open();
    const int d = player.duration();
    lstClipList->setText(n, ColPlaySeconds, QString::number(d));
    // Unlike a song loaded to play, a song shorter than both cuts shows a negative length here.
    lstClipList->setText(n, ColLength, SegToMin(d - m_cutFirst - m_cutLast));
    return d;
}

void PlayerWindow::cmdCalculate_Click()
{
    if (m_calculating) {
        // The running total stops before its next row.
        m_cancelCalculation = true;
        return;
    }
    btnStop_Click();
    lblDuracionTotal->setBackColour(kPureRed);
    lblCantDeTemas->setBackColour(kPureRed);
    m_calculating = true;
    cmdCalculate->setCaption(QStringLiteral("Cancel Calculation"));

    double total = 0;
    int counted = 0;
    // The list may change while the interface catches up after each row, so
    // its length is read again every time round.
    for (int i = 1; i <= lstClipList->count(); ++i) {
        if (m_cancelCalculation)
            break;
        total += playTimeForTotal(i) - m_cutFirst - m_cutLast;
        counted = i;
        lblDuracionTotal->setText(SegToMin(total));
        lblCantDeTemas->setText(QString::number(i));
        m_services.uiEvents.processPending();
    }
    // Each hand-over of "Cross Dissolve", "Up Down" and "Mix" plays the two
    // songs together for the transition time; "Down  Up" and "Cut" are not
    // counted as shortening the list.
    if ((TransitionType == 0 || TransitionType == 1 || TransitionType == 3) && counted > 1)
        total -= static_cast<double>(counted - 1) * TransitionTime;

    lblDuracionTotal->setText(SegToMin(total));
    lblCantDeTemas->setText(QString::number(counted));
    m_calculating = false;
    m_cancelCalculation = false;
    cmdCalculate->setCaption(QStringLiteral("Calculate Total"));
    lblDuracionTotal->setBackColour(Colour());
    lblCantDeTemas->setBackColour(Colour());
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
