#include "playlist/PlaylistTableView.h"

#include "platform/controls/Form.h"
#include "platform/widgets/FileDrag.h"
#include "playlist/PlaylistModel.h"

#include <QCursor>
#include <QDrag>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tavlo {

PlaylistTableView::PlaylistTableView(PlaylistModel& model, QWidget* parent) : QTableView(parent), m_model(&model)
{
    setObjectName(model.objectName());
    // The window may give the list its tip as a property of the model.
    const QVariant tip = model.property("toolTip");
    setToolTip(tip.isValid() ? tip.toString() : QStringLiteral("Drag and drop mp3 files from your explorer window here"));

    // Before setModel, so these run ahead of the selection model's own
    // handling: while rows come and go or move, the view's selection moves by
    // Qt's rules, which are not the model's; the flags are read back after.
    auto beginChange = [this] { m_writingView = true; };
    connect(&model, &QAbstractItemModel::rowsAboutToBeInserted, this, beginChange);
    connect(&model, &QAbstractItemModel::rowsAboutToBeRemoved, this, beginChange);
    connect(&model, &QAbstractItemModel::layoutAboutToBeChanged, this, beginChange);
    connect(&model, &QAbstractItemModel::modelAboutToBeReset, this, beginChange);

    setModel(&model);

    auto endChange = [this] {
        m_writingView = false;
        scheduleSync();
    };
    connect(&model, &QAbstractItemModel::rowsInserted, this, endChange);
    connect(&model, &QAbstractItemModel::rowsRemoved, this, endChange);
    connect(&model, &QAbstractItemModel::layoutChanged, this, endChange);
    connect(&model, &QAbstractItemModel::modelReset, this, [this, endChange] {
        endChange();
        applyColumnWidths();  // a reset puts the header back to its defaults
    });
    connect(&model, &PlaylistModel::selectionChanged, this, [this] {
        if (!m_writingModel)
            scheduleSync();
    });
    connect(&model, &PlaylistModel::ensureVisible, this, &PlaylistTableView::scrollToRow);
    // Only the columns the model changed: the user's widths of the others stay.
    connect(&model, &QAbstractItemModel::headerDataChanged, this,
            [this](Qt::Orientation, int first, int last) { applyColumnWidths(first, last); });

    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setSortingEnabled(false);  // the window sorts the list itself on a header click

    // One fixed height for every row: no row is ever measured, so 100,000
    // rows scroll as smoothly as ten.
    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);

    QHeaderView* columns = horizontalHeader();
    columns->setSectionsClickable(true);
    columns->setHighlightSections(false);
    columns->setStretchLastSection(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(columns, &QHeaderView::sectionClicked, this, [this](int section) {
        if (m_model && m_model->onColumnClick)
            m_model->onColumnClick(section + 1);
    });

    // Drags are ours from end to end (the model knows nothing of Qt's own
    // item drags), so Qt's drop indicator stays off and ours is drawn.
    setDragEnabled(bool(model.onStartDrag));
    setAcceptDrops(bool(model.onDrop));
    viewport()->setAcceptDrops(bool(model.onDrop));
    setDropIndicatorShown(false);
    // Moves with no button held reach the window too.
    viewport()->setMouseTracking(bool(model.onMouseMove));

    applyColumnWidths();
    followSelectionMode();
    syncFromModel();
}

void PlaylistTableView::applyColumnWidths(int first, int last)
{
    // Twips are fifteenths of a pixel on a 96 dpi screen.
    const double scale = logicalDpiX() / 96.0 / kTwipsPerPixel;
    QHeaderView* columns = horizontalHeader();
    if (!m_model)
        return;
    if (last < 0)
        last = m_model->columnCount() - 1;
    for (int c = std::max(first, 0); c <= last && c < m_model->columnCount(); ++c) {
        const int twips = m_model->widthTwips(c);
        columns->setSectionHidden(c, twips == 0);
        const int width = twips > 0 ? static_cast<int>(std::lround(twips * scale)) : columns->defaultSectionSize();
        columns->resizeSection(c, twips == 0 ? width : std::max(width, m_minimumWidths.value(c)));
    }
}

void PlaylistTableView::setMinimumColumnWidth(int column, int pixels)
{
    m_minimumWidths.insert(column, pixels);
    applyColumnWidths();
}

void PlaylistTableView::followSelectionMode()
{
    if (!m_model)
        return;
    const auto mode = m_model->multiSelect() ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection;
    if (selectionMode() != mode)
        setSelectionMode(mode);
}

void PlaylistTableView::scheduleSync()
{
    if (m_syncPending)
        return;
    // Coalesced: a handler that changes many rows' flags one by one costs one pass.
    m_syncPending = true;
    QMetaObject::invokeMethod(this, &PlaylistTableView::syncFromModel, Qt::QueuedConnection);
}

void PlaylistTableView::syncFromModel()
{
    m_syncPending = false;
    if (!m_model)
        return;
    followSelectionMode();
    const int count = m_model->count();
    const int lastColumn = m_model->columnCount() - 1;
    QItemSelection wanted;
    int runStart = 0;  // first row of the current run of selected rows, 0 when none
    for (int n = 1; n <= count + 1; ++n) {
        const bool selected = n <= count && m_model->isSelected(n);
        if (selected && !runStart) {
            runStart = n;
        } else if (!selected && runStart) {
            wanted.select(m_model->index(runStart - 1, 0), m_model->index(n - 2, lastColumn));
            runStart = 0;
        }
    }
    m_writingView = true;
    selectionModel()->select(wanted, QItemSelectionModel::ClearAndSelect);
    // Keyboard moves start from the selection, not from the top of the list.
    if (!currentIndex().isValid() && !wanted.isEmpty())
        selectionModel()->setCurrentIndex(wanted.first().topLeft(), QItemSelectionModel::NoUpdate);
    m_writingView = false;
}

void PlaylistTableView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QTableView::selectionChanged(selected, deselected);
    if (m_writingView || !m_model)
        return;
    m_writingModel = true;
    for (const QItemSelectionRange& range : deselected) {
        for (int r = range.top(); r <= range.bottom(); ++r)
            m_model->setSelected(r + 1, false);
    }
    for (const QItemSelectionRange& range : selected) {
        for (int r = range.top(); r <= range.bottom(); ++r)
            m_model->setSelected(r + 1, true);
    }
    m_writingModel = false;
}

void PlaylistTableView::scrollToRow(int n)
{
    if (!m_model || n < 1 || n > m_model->count())
        return;
    const QModelIndex index = m_model->index(n - 1, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    scrollTo(index);
}

void PlaylistTableView::keyPressEvent(QKeyEvent* event)
{
    followSelectionMode();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (m_model && m_model->onKeyDown)
            m_model->onKeyDown(13);
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void PlaylistTableView::mousePressEvent(QMouseEvent* event)
{
    followSelectionMode();
    QTableView::mousePressEvent(event);
}

void PlaylistTableView::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    int button = 0;
    switch (event->button()) {
    case Qt::LeftButton: button = 1; break;
    case Qt::RightButton: button = 2; break;
    case Qt::MiddleButton: button = 4; break;
    default: return;
    }
    const QPoint at = event->position().toPoint();
    if (m_model && m_model->onMouseUp)
        m_model->onMouseUp(button, at.x(), at.y());
}

void PlaylistTableView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && m_model && m_model->onDblClick)
        m_model->onDblClick();
}

void PlaylistTableView::mouseMoveEvent(QMouseEvent* event)
{
    QTableView::mouseMoveEvent(event);
    const Qt::MouseButtons held = event->buttons();
    const int buttons =
        (held & Qt::LeftButton ? 1 : 0) + (held & Qt::RightButton ? 2 : 0) + (held & Qt::MiddleButton ? 4 : 0);
    if (m_model && m_model->onMouseMove)
        m_model->onMouseMove(buttons);
}

void PlaylistTableView::showDraggedRows(QDrag& drag)
{
    // The dragged rows in sight go with the pointer, as they look in the list.
    QRect shown;
    const int bottom = rowAt(viewport()->height() - 1);
    const int last = bottom < 0 ? m_model->count() - 1 : bottom;
    for (int r = std::max(rowAt(0), 0); r <= last; ++r) {
        if (m_model->isSelected(r + 1))
            shown |= QRect(0, rowViewportPosition(r), viewport()->width(), rowHeight(r));
    }
    shown &= viewport()->rect();
    if (shown.isEmpty())
        return;
    drag.setPixmap(viewport()->grab(shown));
    drag.setHotSpot(viewport()->mapFromGlobal(QCursor::pos()) - shown.topLeft());
}

void PlaylistTableView::startDrag(Qt::DropActions supportedActions)
{
    Q_UNUSED(supportedActions);
    if (!m_model || !m_model->onStartDrag)
        return;
    const QStringList paths = m_model->onStartDrag();
    if (!paths.isEmpty()) {
        auto* drag = new QDrag(this);
        drag->setMimeData(makeFileDrag(paths));
        showDraggedRows(*drag);
        // Copy only: a move is the list's own business, done by the drop on
        // it, and a file manager must never take it as leave to move the files.
        drag->exec(Qt::CopyAction, Qt::CopyAction);
    }
    if (m_model && m_model->onDragEnd)
        m_model->onDragEnd();
}

void PlaylistTableView::acceptAsCopy(QDropEvent* event)
{
    event->setDropAction(event->possibleActions() & Qt::CopyAction ? Qt::CopyAction : event->proposedAction());
    event->accept();
}

int PlaylistTableView::rowUnder(const QPointF& at) const
{
    // Anywhere across a row's width counts as over it.
    return rowAt(static_cast<int>(at.y())) + 1;
}

void PlaylistTableView::showDropLine(int row)
{
    if (m_dropLine == row)
        return;
    m_dropLine = row;
    viewport()->update();
}

void PlaylistTableView::dragEnterEvent(QDragEnterEvent* event)
{
    // Decided once per drag: another program's data is fetched from it anew
    // each time it is read.
    m_dragHasFiles = m_model && m_model->onDrop && !droppedFiles(event->mimeData()).isEmpty();
    if (!m_dragHasFiles) {
        event->ignore();
        return;
    }
    setState(DraggingState);
    acceptAsCopy(event);
}

void PlaylistTableView::dragMoveEvent(QDragMoveEvent* event)
{
    // Qt's own handling scrolls the list near its edges; it refuses our data
    // by itself, so the answer is given again below.
    QTableView::dragMoveEvent(event);
    if (!m_dragHasFiles || !m_model || !m_model->onDrop) {
        event->ignore();
        return;
    }
    acceptAsCopy(event);
    const int row = rowUnder(event->position());
    showDropLine(row);
    if (m_model->onDragOver)
        m_model->onDragOver(row);
}

void PlaylistTableView::dragLeaveEvent(QDragLeaveEvent* event)
{
    QTableView::dragLeaveEvent(event);
    m_dragHasFiles = false;
    showDropLine(-1);
}

void PlaylistTableView::dropEvent(QDropEvent* event)
{
    stopAutoScroll();
    setState(NoState);
    showDropLine(-1);
    m_dragHasFiles = false;
    const QStringList files = m_model && m_model->onDrop ? droppedFiles(event->mimeData()) : QStringList();
    if (files.isEmpty()) {
        event->ignore();
        return;
    }
    acceptAsCopy(event);
    m_model->onDrop(files, rowUnder(event->position()));
}

void PlaylistTableView::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    if (m_dropLine < 0 || !m_model)
        return;
    const int count = m_model->count();
    int y = 0;
    if (m_dropLine >= 1 && m_dropLine <= count)
        y = rowViewportPosition(m_dropLine - 1);
    else if (count > 0)
        y = rowViewportPosition(count - 1) + rowHeight(count - 1);
    // Two pixels astride the boundary, in the text's colour, which stands out
    // on the highlighted row under the pointer as on the rows around it.
    QPainter painter(viewport());
    painter.fillRect(QRect(0, std::max(y - 1, 0), viewport()->width(), 2), palette().color(QPalette::Text));
}

}  // namespace tavlo
