#include "search/ListBoxView.h"

#include "platform/widgets/FileDrag.h"
#include "platform/widgets/WidgetBinder.h"
#include "search/ListBox.h"

#include <QDrag>
#include <QMouseEvent>

namespace tavlo {

ListBoxModel::ListBoxModel(ListBox& list, QObject* parent) : QAbstractListModel(parent), m_list(&list)
{
    connect(&list, &ListBox::aboutToAdd, this, [this](int count) {
        const int first = rowCount();
        beginInsertRows(QModelIndex(), first, first + count - 1);
    });
    connect(&list, &ListBox::added, this, [this] { endInsertRows(); });
    connect(&list, &ListBox::aboutToReset, this, [this] { beginResetModel(); });
    connect(&list, &ListBox::reset, this, [this] { endResetModel(); });
}

int ListBoxModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_list ? 0 : m_list->listCount();
}

QVariant ListBoxModel::data(const QModelIndex& index, int role) const
{
    if (!m_list || !index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    return m_list->list(index.row());
}

Qt::ItemFlags ListBoxModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled : Qt::NoItemFlags;
}

ListBoxView::ListBoxView(ListBox& list, std::function<QStringList()> dragPaths, QWidget* parent)
    : QListView(parent), m_list(&list), m_dragPaths(std::move(dragPaths))
{
    setObjectName(list.name());
    setModel(new ListBoxModel(list, this));
    // One height for every row: a million rows are never measured.
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    connect(&list, &ListBox::selectionChanged, this, [this] {
        if (!m_writingList)
            scheduleSync();
    });
    connect(&list, &Control::changed, this, [this] {
        if (m_list)
            WidgetBinder::applyCommon(*m_list, *this);
    });
    WidgetBinder::applyCommon(list, *this);
    syncFromList();
}

void ListBoxView::scheduleSync()
{
    if (m_syncPending)
        return;
    m_syncPending = true;
    QMetaObject::invokeMethod(this, &ListBoxView::syncFromList, Qt::QueuedConnection);
}

void ListBoxView::syncFromList()
{
    m_syncPending = false;
    if (!m_list)
        return;
    QItemSelection wanted;
    const int count = m_list->listCount();
    int runStart = -1;
    for (int i = 0; i <= count; ++i) {
        const bool on = i < count && m_list->selected(i);
        if (on && runStart < 0) {
            runStart = i;
        } else if (!on && runStart >= 0) {
            wanted.select(model()->index(runStart, 0), model()->index(i - 1, 0));
            runStart = -1;
        }
    }
    m_writingView = true;
    selectionModel()->select(wanted, QItemSelectionModel::ClearAndSelect);
    const QModelIndex current = m_list->listIndex() >= 0 ? model()->index(m_list->listIndex(), 0) : QModelIndex();
    if (current != currentIndex())
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    m_writingView = false;
}

void ListBoxView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QListView::selectionChanged(selected, deselected);
    if (m_writingView || !m_list)
        return;
    m_writingList = true;
    for (const QItemSelectionRange& r : deselected)
        m_list->setSelectedRange(r.top(), r.bottom(), false);
    for (const QItemSelectionRange& r : selected)
        m_list->setSelectedRange(r.top(), r.bottom(), true);
    m_writingList = false;
}

void ListBoxView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QListView::currentChanged(current, previous);
    if (m_writingView || !m_list)
        return;
    m_writingList = true;
    m_list->setListIndex(current.isValid() ? current.row() : -1);
    m_writingList = false;
}

void ListBoxView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && m_list && m_list->onDblClick && indexAt(event->position().toPoint()).isValid())
        m_list->onDblClick();
}

void ListBoxView::startDrag(Qt::DropActions)
{
    const QStringList paths = m_dragPaths ? m_dragPaths() : QStringList();
    if (paths.isEmpty())
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(makeFileDrag(paths));
    // A copy: a file manager must never take it as leave to move the files.
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

}  // namespace tavlo
