// PlayerWindow, list: adding files, loading the row in play into a channel,
// the commands of the "&List" menu, the list's mouse, keys and column
// headers, and the list's total play time.
#include "playback/PlayerWindow.h"

#include "platform/AppServices.h"
#include "platform/TimerService.h"
#include "playback/AutoCue.h"
#include "playback/FormatMinutes.h"
#include "playback/Rounding.h"
#include "playlist/PlaylistEdits.h"
#include "playlist/PlaylistModel.h"

namespace tavlo {

namespace {
constexpr int kEnterKey = 13;
constexpr int kRightButton = 2;
}  // namespace

int PlayerWindow::addFileToList(const QString& fileName, int insertPos, PlaylistModel& destination)
{
    const int pos = tavlo::addFileRow(fileName, insertPos, destination);
    // Keep m_rowInPlay on the same song when a row goes in above it.
    if (&destination == clipList && pos <= m_rowInPlay)
        ++m_rowInPlay;
    return pos;
}

Player& PlayerWindow::newPlayerIn(int channel)
{
    auto& slot = m_players[static_cast<size_t>(channel == 1 ? 1 : 0)];
    // Every song gets a new player; the old one stops and lets its file go.
    if (slot)
        slot->stop();
    slot = std::make_unique<Player>(m_services.media);
    slot->setOutputDevice(outputDeviceCombo->text());
    return *slot;
}

bool PlayerWindow::loadSong()
{
    m_cuedUnlogged.clear();  // whatever was cued before is not the one to log
    if (m_rowInPlay < 1 || m_rowInPlay > clipList->count())
        m_rowInPlay = 1;
    const int row = m_rowInPlay;

    const bool opened = openInChannelInPlay(clipList->text(row, ColLocation));
    Player& player = *playerIn(channelInPlay());
    loudnessForLoadedSong(player, row, opened);
    if (opened)
        listSongOpened();
    const std::optional<CuePoints> cues = prepareLoadedSong(player);
    clipList->setText(row, ColPlaySeconds, QString::number(player.duration()));
    clipList->setText(row, ColLength, formatMinutes(m_songEnd - m_songStart));
    if (cues)
        showCues(row, *cues, player.duration());
    songLoaded(row, m_songEnd - m_songStart, opened);
    return opened;
}

bool PlayerWindow::openInChannelInPlay(const QString& path)
{
    Player& player = newPlayerIn(channelInPlay());
    player.setFileName(path);
    if (player.open() <= 0)
        return true;
    logOpenFailure(player.fileName());
    return false;
}

std::optional<CuePoints> PlayerWindow::prepareLoadedSong(Player& player)
{
    const int ch = channelInPlay();
    // By its cue points when its analysis is ready; else by the cuts alone.
    const std::optional<CuePoints> cues = player.isOpen() ? m_autoCue->cuesFor(player.fileName()) : std::nullopt;
    const double overlap = AutoCue::overlapFor(m_transitionType, m_transitionTime);
    const std::optional<SongSpan> span =
        cues ? AutoCue::span(*cues, player.exactDuration(), m_cutFirst, m_cutLast, overlap) : std::nullopt;
    if (span) {
        m_songStart = nearestEven(span->start);
        m_songEnd = nearestEven(span->changeAt);
        m_changeAt = span->changeAt;
        player.seekExact(span->start);
    } else {
        m_changeAt = -1;
        m_songStart = m_cutFirst;
        m_songEnd = player.duration() - m_cutLast;
        // A song no longer than both cuts together plays whole.
        if (m_songStart >= m_songEnd) {
            m_songStart = 0;
            m_songEnd = player.duration();
        }
        player.setPosition(m_songStart);
    }
    // Silent until the song change fades it in.
    channelFaders[static_cast<size_t>(ch)]->setValue(channelFaders[static_cast<size_t>(ch)]->max());
    onChannelFaderChange(ch);
    m_positionTimer->setEnabled(true);
    m_positionUpdating = true;
    positionSlider->setValue(m_songStart);
    positionSlider->setMax(m_songEnd - m_songStart);
    m_positionUpdating = false;
    return span ? cues : std::nullopt;
}

void PlayerWindow::scanDrive() { showSearch(); }

void PlayerWindow::showSearch() { m_search->showAt(left(), top()); }

void PlayerWindow::showItemInPlay()
{
    if (m_rowInPlay < 1 || m_rowInPlay > clipList->count())
        return;
    clipList->setMultiSelect(false);
    clipList->selectOnly(m_rowInPlay);
    clipList->setMultiSelect(true);
}

void PlayerWindow::cueSelected()
{
    // A fresh player in the channel in play: whatever it played stops now.
    newPlayerIn(m_channelInPlay);

    const int selected = clipList->firstSelected();
    if (selected >= 1 && selected <= clipList->count()) {
        clipList->setSelected(selected, false);
        m_rowInPlay = selected;
        loadSong();
        if (Player* p = playerIn(m_channelInPlay)) {
            p->play();
            p->pause();
        }
        onMasterVolumeChange();
    }
    showStatus(DeckStatus::Paused);
    showItemInPlay();
}

void PlayerWindow::playSelected()
{
    const int selected = clipList->firstSelected();
    if (selected >= 1 && selected <= clipList->count()) {
        clipList->setSelected(selected, false);
        m_rowInPlay = selected;
        tryListNow();
    }
    showStatus(DeckStatus::Playing);
}

void PlayerWindow::deleteSelected() { m_rowInPlay = deleteSelectedRows(*clipList, m_rowInPlay); }

void PlayerWindow::shuffleList()
{
    m_rowInPlay = randomOrder(*clipList, m_rowInPlay, m_services.random);
    showItemInPlay();
}

void PlayerWindow::clearList()
{
    clipList->clear();
    m_rowInPlay = 0;
}

void PlayerWindow::switchToList(const QString& playlist)
{
    clearList();
    openFile(playlist, true, 0);
    m_rowInPlay = 0;
    if (m_status == DeckStatus::Paused) {
        // A break holds the deck: cue the new list's first song, so the
        // break hands back to it rather than to nothing.
        if (clipList->count() > 0)
            clipList->selectOnly(1);
        cueSelected();
    }
}

double PlayerWindow::playTimeForTotal(int n)
{
    bool known = false;
    const double stored = clipList->text(n, ColPlaySeconds).toDouble(&known);
    if (known)
        return stored;
    // The list has not played the row yet: ask a fresh player of the channel
    // in play, and keep what it says for the next time.
    Player& player = newPlayerIn(m_channelInPlay);
    player.setFileName(clipList->text(n, ColLocation));
    player.open();
    const int d = player.duration();
    clipList->setText(n, ColPlaySeconds, QString::number(d));
    // Unlike a song loaded to play, a song shorter than both cuts shows a negative length here.
    clipList->setText(n, ColLength, formatMinutes(d - m_cutFirst - m_cutLast));
    return d;
}

void PlayerWindow::calculateTotal()
{
    if (m_calculating) {
        // The running total stops before its next row.
        m_cancelCalculation = true;
        return;
    }
    stop();
    totalLengthLabel->setBackColour(kPureRed);
    songCountLabel->setBackColour(kPureRed);
    m_calculating = true;
    calculateButton->setCaption(QStringLiteral("Cancel Calculation"));

    double total = 0;
    int counted = 0;
    int byCues = 0;
    bool lastByCues = false;
    // The list may change while the interface catches up after each row, so
    // its length is read again every time round.
    for (int i = 1; i <= clipList->count(); ++i) {
        if (m_cancelCalculation)
            break;
        const double seconds = playTimeForTotal(i);
        // A song with its cue points counts from cue-in to its segue, where
        // the next one starts: its overlap is already left out.
        const auto cues = m_autoCue->cuesFor(clipList->text(i, ColLocation));
        const double overlap = AutoCue::overlapFor(m_transitionType, m_transitionTime);
        const auto span = cues ? AutoCue::span(*cues, seconds, m_cutFirst, m_cutLast, overlap) : std::nullopt;
        if (span) {
            showCues(i, *cues, seconds);
            total += span->changeAt - span->start;
            ++byCues;
        } else {
            total += seconds - m_cutFirst - m_cutLast;
        }
        lastByCues = bool(span);
        counted = i;
        totalLengthLabel->setText(formatMinutes(total));
        songCountLabel->setText(QString::number(i));
        m_services.uiEvents.processPending();
    }
    // Each hand-over of "Cross Dissolve", "Up Down" and "Mix" plays the two
    // songs together for the transition time; "Down  Up" and "Cut" are not
    // counted as shortening the list.
    // So does each song's hand-over that is not by its cue points (the last
    // song hands over to nothing).
    const int overlaps = counted - byCues - (counted > 0 && !lastByCues ? 1 : 0);
    if (overlapsWholeTime(m_transitionType) && overlaps > 0)
        total -= static_cast<double>(overlaps) * m_transitionTime;

    totalLengthLabel->setText(formatMinutes(total));
    songCountLabel->setText(QString::number(counted));
    m_calculating = false;
    m_cancelCalculation = false;
    calculateButton->setCaption(QStringLiteral("Calculate Total"));
    totalLengthLabel->setBackColour(Colour());
    songCountLabel->setBackColour(Colour());
}

void PlayerWindow::onListDoubleClick() { playSelected(); }

void PlayerWindow::onListKeyDown(int keyCode)
{
    if (keyCode == kEnterKey)
        playSelected();
}

void PlayerWindow::onListMouseUp(int button, int x, int y)
{
    if (button == kRightButton)
        Q_EMIT popupMenu(listMenu, x, y);
}

void PlayerWindow::onListColumnClick(int column)
{
    const int descending = m_sort.columnClicked(column);
    m_rowInPlay = sortTrackingInPlay(*clipList, m_rowInPlay, column, descending != 0);
}

}  // namespace tavlo
