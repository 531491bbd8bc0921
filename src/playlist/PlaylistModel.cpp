#include "playlist/PlaylistModel.h"

#include <algorithm>

namespace tavlo {

namespace {
struct ColumnInfo {
    const char* caption;
    int twips;
};
constexpr ColumnInfo kColumns[ColumnCount] = {
    {"Title", 2500}, {"Length", 700}, {"Artist", 1200},  {"Cd", 1900},   {"Year", 300},
    {"Genre", 1600}, {"Comment", 1900}, {"Location", 0}, {"Azar", 0}, {"TotLength", 0},
};
}  // namespace

PlaylistModel::PlaylistModel(QObject* parent, const QString& name) : QAbstractTableModel(parent) { setObjectName(name); }

QString PlaylistModel::caption(int column)
{
    return column >= 0 && column < ColumnCount ? QString::fromLatin1(kColumns[column].caption) : QString();
}

int PlaylistModel::widthTwips(int column) { return column >= 0 && column < ColumnCount ? kColumns[column].twips : 0; }

QString PlaylistModel::text(int n, int column) const
{
    if (n < 1 || n > count() || column < 0 || column >= ColumnCount)
        return QString();
    return row(n).fields[static_cast<size_t>(column)];
}

void PlaylistModel::setText(int n, int column, const QString& text)
{
    if (n < 1 || n > count() || column < 0 || column >= ColumnCount)
        return;
    auto& field = m_rows[static_cast<size_t>(n - 1)].fields[static_cast<size_t>(column)];
    if (field == text)
        return;
    field = text;
    const QModelIndex i = index(n - 1, column);
    Q_EMIT dataChanged(i, i, {Qt::DisplayRole});
}

void PlaylistModel::insert(int pos, PlayListRow r)
{
    if (pos < 1 || pos > count() + 1)
        pos = count() + 1;
    beginInsertRows(QModelIndex(), pos - 1, pos - 1);
    m_rows.insert(m_rows.begin() + (pos - 1), std::move(r));
    endInsertRows();
    if (m_rows[static_cast<size_t>(pos - 1)].selected)
        Q_EMIT selectionChanged();
}

void PlaylistModel::append(std::vector<PlayListRow> rows)
{
    if (rows.empty())
        return;
    beginInsertRows(QModelIndex(), count(), count() + static_cast<int>(rows.size()) - 1);
    m_rows.reserve(m_rows.size() + rows.size());
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
    if (n < 1 || n > count() || row(n).selected == on)
        return;
    if (on && !m_multiSelect) {
        for (auto& r : m_rows)
            r.selected = false;
    }
    m_rows[static_cast<size_t>(n - 1)].selected = on;
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
    if (column < 0 || column >= ColumnCount || m_rows.size() < 2)
        return;
    const auto c = static_cast<size_t>(column);
    Q_EMIT layoutAboutToBeChanged();
    // Sorting indices and moving each row once keeps 100,000 rows quick.
    std::vector<size_t> order(m_rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const int cmp = m_rows[a].fields[c].compare(m_rows[b].fields[c]);
        return descending ? cmp > 0 : cmp < 0;
    });
    std::vector<PlayListRow> sorted;
    sorted.reserve(m_rows.size());
    for (size_t i : order)
        sorted.push_back(std::move(m_rows[i]));
    m_rows = std::move(sorted);
    Q_EMIT layoutChanged();
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

int PlaylistModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant PlaylistModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return m_rows[static_cast<size_t>(index.row())].fields[static_cast<size_t>(index.column())];
}

QVariant PlaylistModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return caption(section);
    return {};
}

}  // namespace tavlo
