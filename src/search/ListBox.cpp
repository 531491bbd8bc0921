#include "search/ListBox.h"

#include <algorithm>

namespace tavlo {

ListBox::ListBox(QObject* form, const QString& name) : Control(form, name) {}

void ListBox::addItems(const QStringList& batch)
{
    if (batch.isEmpty())
        return;
    Q_EMIT aboutToAdd(static_cast<int>(batch.size()));
    m_items.append(batch);
    m_selected.resize(static_cast<size_t>(m_items.size()), 0);
    Q_EMIT added();
}

void ListBox::setItems(QStringList items)
{
    Q_EMIT aboutToReset();
    m_items = std::move(items);
    m_selected.assign(static_cast<size_t>(m_items.size()), 0);
    m_selected.shrink_to_fit();
    m_listIndex = -1;
    Q_EMIT reset();
    Q_EMIT selectionChanged();
}

void ListBox::setListIndex(int i)
{
    if (i < -1 || i >= listCount() || i == m_listIndex)
        return;
    m_listIndex = i;
    Q_EMIT selectionChanged();
}

void ListBox::setSelected(int i, bool on) { setSelectedRange(i, i, on); }

void ListBox::setSelectedRange(int first, int last, bool on)
{
    first = std::max(first, 0);
    last = std::min(last, listCount() - 1);
    if (first > last)
        return;
    std::fill(m_selected.begin() + first, m_selected.begin() + last + 1, on ? 1 : 0);
    Q_EMIT selectionChanged();
}

QStringList ListBox::selectedItems() const
{
    QStringList out;
    for (int i = 0; i < listCount(); ++i) {
        if (m_selected[static_cast<size_t>(i)])
            out.append(m_items.at(i));
    }
    return out;
}

}  // namespace tavlo
