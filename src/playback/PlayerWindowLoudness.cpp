// PlayerWindow, loudness: "Normalize Loudness", the trim each song gets when
// it loads, and which rows are measured ahead of their turn.
#include "playback/PlayerWindow.h"

#include "playback/SongLoudness.h"
#include "playlist/PlaylistModel.h"

namespace tavlo {

namespace {
// Enough to stay ahead of a run of short songs, few enough that the rows
// asked for are the ones that will really play next.
constexpr int kRowsAhead = 3;

QStringList locations(const PlaylistModel& list, int from, int count)
{
    QStringList paths;
    for (int row = from; row < from + count && row <= list.count(); ++row)
        if (row >= 1)
            paths << list.text(row, ColLocation);
    return paths;
}
}  // namespace

void PlayerWindow::toggleNormalizeLoudness()
{
    m_loudness->setEnabled(!m_loudness->enabled());
    // Switched on mid-list: the songs about to play are measured now, not
    // one song late.
    if (m_loudness->enabled())
        m_loudness->measureAhead(locations(*clipList, m_rowInPlay + 1, kRowsAhead));
}

void PlayerWindow::loudnessForLoadedSong(Player& player, int row, bool opened)
{
    // Before anything can start the player: the trim never changes while
    // the song is heard.
    if (opened)
        player.setTrim(m_loudness->trimForSong(player.fileName()));
    m_loudness->measureAhead(locations(*clipList, row + 1, kRowsAhead));
}

void PlayerWindow::loudnessForOpenedList() { m_loudness->measureAhead(locations(*clipList, 1, kRowsAhead)); }

}  // namespace tavlo
