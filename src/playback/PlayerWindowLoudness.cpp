// PlayerWindow, what the loudness analysis gives a song: "Normalize
// Loudness" (the trim each song gets when it loads), "Auto Cue" (the cue
// points it plays by), and which rows are analysed ahead of their turn.
#include "playback/PlayerWindow.h"

#include "platform/AppServices.h"
#include "playback/AutoCue.h"
#include "playback/FormatMinutes.h"
#include "playback/SongLoudness.h"
#include "playlist/PlaylistModel.h"

namespace tavlo {

namespace {
// Enough to stay ahead of a run of short songs, few enough that the rows
// asked for are the ones that will really play next.
constexpr int kRowsAhead = 3;
// The cue columns' width while they show.
constexpr int kCueColumnTwips = 800;
}  // namespace

void PlayerWindow::measureAhead(int from, int count)
{
    if (!m_loudness->enabled() && !m_autoCue->enabled())
        return;
    QStringList paths;
    for (int row = std::max(from, 1); row < from + count && row <= clipList->count(); ++row)
        paths << clipList->text(row, ColLocation);
    if (!paths.isEmpty())
        m_services.loudness.measure(paths);
}

void PlayerWindow::toggleNormalizeLoudness()
{
    m_loudness->setEnabled(!m_loudness->enabled());
    // Switched on mid-list: the songs about to play are measured now, not
    // one song late.
    measureAhead(m_rowInPlay + 1, kRowsAhead);
}

void PlayerWindow::toggleAutoCue()
{
    // The song in play keeps the span it started with; the next one loads
    // by the new choice.
    m_autoCue->setEnabled(!m_autoCue->enabled());
    showCueColumns();
    measureAhead(m_rowInPlay + 1, kRowsAhead);
}

void PlayerWindow::showCueColumns()
{
    const int width = m_autoCue->enabled() ? kCueColumnTwips : 0;
    clipList->setWidthTwips(ColCueIn, width);
    clipList->setWidthTwips(ColSegue, width);
}

void PlayerWindow::showCues(int n, const CuePoints& cues, double duration)
{
    clipList->setText(n, ColCueIn, AutoCue::text(cues.cueIn));
    clipList->setText(n, ColSegue, AutoCue::text(cues.segue));
    const double overlap = AutoCue::overlapFor(m_transitionType, m_transitionTime);
    if (const auto s = AutoCue::span(cues, duration, m_cutFirst, m_cutLast, overlap))
        clipList->setText(n, ColLength, formatMinutes(s->changeAt - s->start));
}

void PlayerWindow::loudnessForLoadedSong(Player& player, int row, bool opened)
{
    // Before anything can start the player: the trim never changes while
    // the song is heard.
    if (opened)
        player.setTrim(m_loudness->trimForSong(player.fileName()));
    measureAhead(row + 1, kRowsAhead);
}

void PlayerWindow::loudnessForOpenedList() { measureAhead(1, kRowsAhead); }

}  // namespace tavlo
