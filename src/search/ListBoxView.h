#pragma once

#include <QAbstractListModel>
#include <QListView>
#include <QPointer>

#include <functional>

namespace tavlo {

class ListBox;

// A ListBox as a Qt model: rows come in as the list's batches do, one
// insertion each, and are read only when shown.
// UI thread only.
class ListBoxModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit ListBoxModel(ListBox& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QPointer<ListBox> m_list;
};

// A ListBox on screen: several entries selectable, the selection and the
// current entry kept equal to the list's both ways, a double-click sent to
// the list, and a drag of the selected entries carrying the files
// `dragPaths` names, as every list of the program carries files (FileDrag).
// UI thread only.
class ListBoxView : public QListView {
    Q_OBJECT
public:
    ListBoxView(ListBox& list, std::function<QStringList()> dragPaths, QWidget* parent = nullptr);

    // The view's selection made equal to the list's now, not at the next
    // turn of the event loop.
    void syncFromList();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void scheduleSync();

    QPointer<ListBox> m_list;
    std::function<QStringList()> m_dragPaths;
    bool m_writingList = false;
    bool m_writingView = false;
    bool m_syncPending = false;
};

}  // namespace tavlo
