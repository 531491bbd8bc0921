#pragma once

#include "platform/controls/Control.h"

#include <QStringList>

#include <functional>
#include <vector>

namespace tavlo {

// A plain list of texts with a current entry and a selection of several
// entries, as the search window's lists are. Entries are numbered from 0.
// It takes a million entries: they arrive in batches, each told to the view
// as one insertion, and the view reads them on demand.
// UI thread only.
class ListBox : public Control {
    Q_OBJECT
public:
    ListBox(QObject* form, const QString& name);

    int listCount() const { return static_cast<int>(m_items.size()); }
    // Entry i, or an empty text outside 0..listCount-1.
    QString list(int i) const { return i >= 0 && i < listCount() ? m_items.at(i) : QString(); }
    const QStringList& items() const { return m_items; }

    // Appends a batch with one notification.
    void addItems(const QStringList& batch);
    void addItem(const QString& text) { addItems(QStringList{text}); }
    // Replaces every entry; nothing stays selected or current.
    void setItems(QStringList items);
    void clear() { setItems({}); }

    // The current entry, -1 for none. Other numbers are refused.
    int listIndex() const { return m_listIndex; }
    void setListIndex(int i);

    bool selected(int i) const { return i >= 0 && i < listCount() && m_selected[static_cast<size_t>(i)]; }
    void setSelected(int i, bool on);
    // Sets the selection of entries first..last (within the list) with one notification.
    void setSelectedRange(int first, int last, bool on);
    // The selected entries, in list order.
    QStringList selectedItems() const;

    std::function<void()> onDblClick;

Q_SIGNALS:
    void aboutToAdd(int count);
    void added();
    void aboutToReset();
    void reset();
    // The selection or the current entry changed.
    void selectionChanged();

private:
    QStringList m_items;
    std::vector<char> m_selected;  // one flag per entry
    int m_listIndex = -1;
};

}  // namespace tavlo
