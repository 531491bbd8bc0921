// PlayerWindow, drag and drop on the list: files from the desktop or another
// list are added where they are dropped; the list's own rows dragged within
// it move, and the song in play stays marked.
#include "playback/PlayerWindow.h"

#include "playlist/PlaylistModel.h"

#include <algorithm>

namespace tavlo {

QStringList PlayerWindow::startDrag()
{
    PlaylistModel& list = *clipList;
    m_dragRows.clear();
    m_dragRows.reserve(static_cast<size_t>(list.count()));
    QStringList files;
    m_dragInPlayPath = m_rowInPlay > 0 ? list.text(m_rowInPlay, ColLocation) : QString();
    m_dragFromList = true;
    for (int n = 1; n <= list.count(); ++n) {
        if (list.isSelected(n)) {
            m_dragRows.push_back(n);
            files.append(list.text(n, ColLocation));
        }
    }
    return files;
}

void PlayerWindow::showDropTarget(int row)
{
    PlaylistModel& list = *clipList;
    if (list.count() == 0)
        return;
    if (row >= 1 && row <= list.count()) {
        list.setMultiSelect(false);
        list.setSelected(row, true);
        list.setMultiSelect(true);
    } else if (const int selected = list.firstSelected()) {
        list.setSelected(selected, false);
    }
}

void PlayerWindow::drop(const QStringList& files, int row)
{
    PlaylistModel& list = *clipList;
    const bool move = m_dragFromList;
    const int m = static_cast<int>(files.size());
    int p = list.count() + 1;
    if (list.count() > 0 && row >= 1 && row <= list.count())
        p = row;

    // A step that fails ends the drop there; what was added stays.
    [&] {
        if (move) {
            for (int j = m; j >= 1; --j) {
                const int n = j <= static_cast<int>(m_dragRows.size()) ? m_dragRows[static_cast<size_t>(j - 1)] : 0;
                if (n < 1 || n > list.count())
                    return;
                list.remove(n);
                // Rows removed above p leave it where it was: the files land
                // below the row that was under the pointer.
                p = std::min(p, list.count() + 1);
            }
        }
        for (int j = 1; j <= m; ++j)
            openFile(files[j - 1], false, p + j - 1);
        if (!move || m_dragInPlayPath.isEmpty())
            return;
        int inPlay = 0;
        for (int n = 1; n <= list.count() && inPlay == 0; ++n)
            inPlay = list.text(n, ColLocation) == m_dragInPlayPath ? n : 0;
        if (inPlay == 0)
            return;
        list.setMultiSelect(false);
        list.selectOnly(inPlay);
        m_rowInPlay = inPlay;
        // The row was made anew and lost the length the deck wrote into it.
        list.setText(inPlay, ColLength, songLengthLabel->text());
    }();

    list.setMultiSelect(true);
    m_dragInPlayPath.clear();
    m_dragFromList = false;
}

void PlayerWindow::endDrag()
{
    // Whatever became of the drag, a later drop on this list is never taken
    // for a move of these rows.
    m_dragFromList = false;
    m_dragInPlayPath.clear();
}

void PlayerWindow::onListMouseMove(int buttons)
{
    if (buttons == 0)
        m_dragFromList = false;
}

}  // namespace tavlo
