#include "playlist/PlaylistModel.h"

#include <algorithm>
#include <utility>

namespace tavlo {

PlaylistModel::PlaylistModel(QObject* parent, const QString& name, std::vector<ListColumn> columns)
    : QAbstractTableModel(parent), m_columns(std::move(columns))
{
    setObjectName(name);
    // A row holds at most ColumnCount fields.
    if (m_columns.size() > ColumnCount)
        m_columns.resize(ColumnCount);
}

std::vector<ListColumn> PlaylistModel::clipListColumns()
{
    const int dflt = ListColumn::kDefaultWidth;
    return {{QStringLiteral("Title"), 2500},   {QStringLiteral("Length"), 700},   {QStringLiteral("Artist"), 1200},
            {QStringLiteral("Cd"), 1900},      {QStringLiteral("Year"), 300},     {QStringLiteral("Genre"), 1600},
            {QStringLiteral("Comment"), 1900}, {QStringLiteral("Location"), dflt}, {QStringLiteral("Azar"), dflt},
            {QStringLiteral("TotLength"), dflt}, {QStringLiteral("Cue In"), 0},     {QStringLiteral("Segue"), 0}};
}

QString PlaylistModel::caption(int column) const
{
    return column >= 0 && column < columnCount() ? m_columns[static_cast<size_t>(column)].caption : QString();
}

int PlaylistModel::widthTwips(int column) const
{
    return column >= 0 && column < columnCount() ? m_columns[static_cast<size_t>(column)].widthTwips : 0;
}

void PlaylistModel::setWidthTwips(int column, int twips)
{
    if (column < 0 || column >= columnCount() || m_columns[static_cast<size_t>(column)].widthTwips == twips)
        return;
    m_columns[static_cast<size_t>(column)].widthTwips = twips;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

QString PlaylistModel::text(int n, int column) const
{
    if (n < 1 || n > count() || column < 0 || column >= columnCount())
        return QString();
    return row(n).fields[static_cast<size_t>(column)];
}

void PlaylistModel::setText(int n, int column, const QString& text)
{
    if (n < 1 || n > count() || column < 0 || column >= columnCount())
        return;
    auto& field = m_rows[static_cast<size_t>(n - 1)].fields[static_cast<size_t>(column)];
    if (field == text)
        return;
    field = text;
    const QModelIndex i = index(n - 1, column);
    Q_EMIT dataChanged(i, i, {Qt::DisplayRole});
}

void PlaylistModel::setColumnTexts(int column, std::vector<QString> texts)
{
    if (column < 0 || column >= columnCount() || m_rows.empty())
        return;
    const size_t n = std::min(texts.size(), m_rows.size());
    for (size_t i = 0; i < n; ++i)
        m_rows[i].fields[static_cast<size_t>(column)] = std::move(texts[i]);
    if (n > 0)
        Q_EMIT dataChanged(index(0, column), index(static_cast<int>(n) - 1, column), {Qt::DisplayRole});
}

void PlaylistModel::insert(int pos, PlaylistRow r)
{
    if (pos < 1 || pos > count() + 1)
        pos = count() + 1;
    beginInsertRows(QModelIndex(), pos - 1, pos - 1);
    m_rows.insert(m_rows.begin() + (pos - 1), std::move(r));
    endInsertRows();
    if (m_rows[static_cast<size_t>(pos - 1)].selected)
        Q_EMIT selectionChanged();
}

void PlaylistModel::append(std::vector<PlaylistRow> rows)
{
    if (rows.empty())
        return;
    beginInsertRows(QModelIndex(), count(), count() + static_cast<int>(rows.size()) - 1);
    // Grown by doubling: a long playlist arrives in many batches, and exact
    // growth would copy the whole list again for each one.
    if (m_rows.capacity() < m_rows.size() + rows.size())
        m_rows.reserve(std::max(m_rows.size() + rows.size(), 2 * m_rows.capacity()));
    std::move(rows.begin(), rows.end(), std::back_inserter(m_rows));
    endInsertRows();
}

void PlaylistModel::remove(int n)
{
    if (n < 1 || n > count())
        return;
    const bool wasSelected = row(n).selected;
    beginRemoveRows(QModelIndex(), n - 1, n - 1);
    m_rows.erase(m_rows.begin() + (n - 1));
    endRemoveRows();
    if (wasSelected)
        Q_EMIT selectionChanged();
}

int PlaylistModel::removeSelected()
{
    // Runs of selected rows, bottom first, so each removal leaves the row
    // numbers of the runs above it valid.
    std::vector<std::pair<int, int>> runs;  // 0-based first, last
    for (int i = count() - 1; i >= 0;) {
        if (!m_rows[static_cast<size_t>(i)].selected) {
            --i;
            continue;
        }
        const int last = i;
        while (i >= 0 && m_rows[static_cast<size_t>(i)].selected)
            --i;
        runs.emplace_back(i + 1, last);
    }
    if (runs.empty())
        return 0;
    const int before = count();
    // Each run moves the rows below it; past a few runs one rebuild is cheaper
    // than many shifts of a long list.
    constexpr size_t kMaxRuns = 16;
    if (runs.size() > kMaxRuns) {
        beginResetModel();
        std::erase_if(m_rows, [](const PlaylistRow& r) { return r.selected; });
        endResetModel();
    } else {
        for (const auto& [first, last] : runs) {
            beginRemoveRows(QModelIndex(), first, last);
            m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
            endRemoveRows();
        }
    }
    Q_EMIT selectionChanged();
    return before - count();
}

void PlaylistModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_rows.shrink_to_fit();
    endResetModel();
    Q_EMIT selectionChanged();
}

void PlaylistModel::setSelected(int n, bool on)
{
    if (n < 1 || n > count())
        return;
    bool changed = row(n).selected != on;
    if (on && !m_multiSelect) {
        for (auto& r : m_rows) {
            changed = changed || (r.selected && &r != &m_rows[static_cast<size_t>(n - 1)]);
            r.selected = false;
        }
    }
    m_rows[static_cast<size_t>(n - 1)].selected = on;
    if (changed)
        Q_EMIT selectionChanged();
}

int PlaylistModel::firstSelected() const
{
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].selected)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

int PlaylistModel::findTextStartingWith(const QString& prefix) const
{
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].fields[ColTitle].startsWith(prefix))
            return static_cast<int>(i) + 1;
    }
    return 0;
}

std::vector<int> PlaylistModel::selectedRows() const
{
    std::vector<int> out;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].selected)
            out.push_back(static_cast<int>(i) + 1);
    }
    return out;
}

void PlaylistModel::selectOnly(int n)
{
    if (n < 1 || n > count())
        return;
    for (auto& r : m_rows)
        r.selected = false;
    m_rows[static_cast<size_t>(n - 1)].selected = true;
    Q_EMIT selectionChanged();
    Q_EMIT ensureVisible(n);
}

void PlaylistModel::sortByColumn(int column, bool descending)
{
    if (column < 0 || column >= columnCount() || m_rows.size() < 2)
        return;
    const auto c = static_cast<size_t>(column);
    const size_t n = m_rows.size();
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // The texts are gathered next to their row numbers first, so the sort
    // walks one compact array instead of jumping across 100,000 rows; the
    // rows themselves then move once.
    struct Entry {
        QStringView text;
        size_t row;
    };
    std::vector<Entry> order(n);
    for (size_t i = 0; i < n; ++i)
        order[i] = {QStringView(m_rows[i].fields[c]), i};
    if (descending) {
        std::stable_sort(order.begin(), order.end(),
                         [](const Entry& a, const Entry& b) { return b.text.compare(a.text) < 0; });
    } else {
        std::stable_sort(order.begin(), order.end(),
                         [](const Entry& a, const Entry& b) { return a.text.compare(b.text) < 0; });
    }
    std::vector<PlaylistRow> sorted;
    sorted.reserve(n);
    for (const Entry& e : order)
        sorted.push_back(std::move(m_rows[e.row]));
    m_rows = std::move(sorted);

    // A view's current row and its own selection follow their rows.
    const QModelIndexList from = persistentIndexList();
    if (!from.isEmpty()) {
        std::vector<int> newRow(n);
        for (size_t i = 0; i < n; ++i)
            newRow[order[i].row] = static_cast<int>(i);
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex& i : from)
            to.append(index(newRow[static_cast<size_t>(i.row())], i.column()));
        changePersistentIndexList(from, to);
    }
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int PlaylistModel::findKey(const QString& key) const
{
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].key == key)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

int PlaylistModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : count(); }

int PlaylistModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : static_cast<int>(m_columns.size()); }

QVariant PlaylistModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return m_rows[static_cast<size_t>(index.row())].fields[static_cast<size_t>(index.column())];
}

Qt::ItemFlags PlaylistModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && onStartDrag)
        f |= Qt::ItemIsDragEnabled;
    return f;
}

QVariant PlaylistModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return caption(section);
    return {};
}

}  // namespace tavlo
