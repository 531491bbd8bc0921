#pragma once

#include "playlist/PlaylistModel.h"

#include <QHash>
#include <QPointer>
#include <QTableView>

class QDrag;

namespace tavlo {

// A clip list on screen: report view of a PlaylistModel whose per-row
// selected flags and the view's selection are kept equal both ways, and whose
// mouse and key events go to the model's handlers (mouse positions in pixels
// of the list's viewport). The selection travels as runs of rows, so a list
// of 100,000 rows stays quick.
// A list whose model has the drag handlers is a drag source of its selected
// rows and a drop target for files (FileDrag): while a drag passes over it,
// a line shows where a drop would land, above the row under the pointer or
// below the last row.
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
    void mouseMoveEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

private:
    void scheduleSync();
    // Columns first..last as the model sets them; all of them unless told.
    void applyColumnWidths(int first = 0, int last = -1);
    void followSelectionMode();
    void scrollToRow(int n);
    // Drops are always copies to the drag's source; the list itself knows
    // whether it moves its own rows.
    static void acceptAsCopy(QDropEvent* event);
    void showDraggedRows(QDrag& drag);
    // The row under a point of the viewport, from 1; 0 when none.
    int rowUnder(const QPointF& at) const;
    void showDropLine(int row);

    QPointer<PlaylistModel> m_model;
    bool m_writingModel = false;   // our own writes to the model's flags
    bool m_writingView = false;    // our own writes to the view's selection
    bool m_syncPending = false;
    QHash<int, int> m_minimumWidths;
    bool m_dragHasFiles = false;  // the drag over the list carries files this list takes
    int m_dropLine = -1;  // a drop would land before this row (0: at the end); -1 while no drag is over the list
};

}  // namespace tavlo
