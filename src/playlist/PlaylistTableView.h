#pragma once

#include "playlist/PlaylistModel.h"

#include <QHash>
#include <QPointer>
#include <QTableView>

namespace tavlo {

// A clip list on screen: report view of a PlaylistModel whose per-row
// selected flags and the view's selection are kept equal both ways, and whose
// mouse and key events go to the model's handlers (mouse positions in pixels
// of the list's viewport). The selection travels as runs of rows, so a list
// of 100,000 rows stays quick.
// UI thread only.
class PlaylistTableView : public QTableView {
    Q_OBJECT
public:
    explicit PlaylistTableView(PlaylistModel& model, QWidget* parent = nullptr);

    PlaylistModel* playlist() const { return m_model; }

    // Brings the view's selection in line with the model's flags now instead
    // of at the next turn of the event loop.
    void syncFromModel();
    // A column never narrower than `pixels`, whatever its width in twips
    // says (text the desktop's font makes wider than the list foresaw).
    void setMinimumColumnWidth(int column, int pixels);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

private:
    void scheduleSync();
    void applyColumnWidths();
    void followSelectionMode();
    void scrollToRow(int n);

    QPointer<PlaylistModel> m_model;
    bool m_writingModel = false;   // our own writes to the model's flags
    bool m_writingView = false;    // our own writes to the view's selection
    bool m_syncPending = false;
    QHash<int, int> m_minimumWidths;
};

}  // namespace tavlo
