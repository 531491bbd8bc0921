#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <vector>

namespace tavlo {

// One column of a list: its header and its width in twips. A width of 0
// hides the column; kDefaultWidth gives it the list's default width.
struct ListColumn {
    static constexpr int kDefaultWidth = -1;
    QString caption;
    int widthTwips = kDefaultWidth;
};

// The columns of a clip list, in display order: the ten a list has always
// had, then the cue points "Auto Cue" plays by, shown only while it is on. A
// list of another kind (the scheduler's events) uses the first of a row's
// fields only.
enum PlaylistColumn : int {
    ColTitle = 0,
    ColLength,
    ColArtist,
    ColCd,
    ColYear,
    ColGenre,
    ColComment,
    ColLocation,
    ColShuffleKey,
    ColPlaySeconds,
    ColCueIn,
    ColSegue,
    ColumnCount
};

struct PlaylistRow {
    std::array<QString, ColumnCount> fields;
    QString key;  // empty except while a re-ordering tracks the row in play
    bool selected = false;

    const QString& title() const { return fields[ColTitle]; }
    const QString& location() const { return fields[ColLocation]; }
};

// A list control and, in a player window, the playlist itself: rows numbered
// from 1 in display order, with their selection. Light enough for 100,000
// rows: a row is its texts. The columns are a clip list's unless others
// are given. The view (a QTableView) shows it and forwards the user's clicks
// and keys to the handlers below.
// UI thread only.
class PlaylistModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PlaylistModel(QObject* parent = nullptr, const QString& name = QStringLiteral("lstClipList"),
                           std::vector<ListColumn> columns = clipListColumns());

    static std::vector<ListColumn> clipListColumns();
    // Column captions and widths in twips (see ListColumn).
    QString caption(int column) const;
    int widthTwips(int column) const;
    // Shows or hides a column (0 twips hides it); the view follows.
    void setWidthTwips(int column, int twips);

    int count() const { return static_cast<int>(m_rows.size()); }
    const PlaylistRow& row(int n) const { return m_rows[static_cast<size_t>(n - 1)]; }
    QString text(int n, int column) const;
    void setText(int n, int column, const QString& text);
    // Replaces a whole column (texts[0] is row 1) with one notification.
    void setColumnTexts(int column, std::vector<QString> texts);
    QString key(int n) const { return row(n).key; }
    void setKey(int n, const QString& key) { m_rows[static_cast<size_t>(n - 1)].key = key; }

    // Inserts before position `pos` (1..count+1); a position outside that range appends.
    void insert(int pos, PlaylistRow row);
    // Appends many rows with one notification, for long playlists.
    void append(std::vector<PlaylistRow> rows);
    void remove(int n);
    // Removes every selected row at once; returns how many went.
    int removeSelected();
    void clear();

    // Selection. With multiple selection off, selecting a row leaves it the
    // only selected one.
    bool isSelected(int n) const { return row(n).selected; }
    void setSelected(int n, bool on);
    int firstSelected() const;  // 0 when none
    std::vector<int> selectedRows() const;
    bool multiSelect() const { return m_multiSelect; }
    void setMultiSelect(bool on) { m_multiSelect = on; }
    // Makes n the one selected row and asks the view to scroll it into view.
    void selectOnly(int n);

    // Stable sort by a column's text (binary comparison of the texts), the
    // whole list reordered in one step.
    void sortByColumn(int column, bool descending);
    // First row whose key equals `key`; 0 when none.
    int findKey(const QString& key) const;
    // First row whose text (its first column) begins with `prefix`; 0 when none.
    int findTextStartingWith(const QString& prefix) const;

    // The list's events, run by the view.
    std::function<void()> onDblClick;
    std::function<void(int keyCode)> onKeyDown;
    std::function<void(int button, int x, int y)> onMouseUp;
    std::function<void(int column)> onColumnClick;  // column from 1
    // Buttons held (1 left, 2 right, 4 middle, added), 0 for none.
    std::function<void(int button)> onMouseMove;
    // Drag and drop, rows numbered from 1 (0: no row under the pointer). A
    // list is a drag source only with onStartDrag, which gives the paths
    // dragged (none: no drag), and a drop target only with onDrop; the view
    // reads them when it is made. onDragEnd follows every onStartDrag, once
    // the drag is over, wherever it went.
    std::function<QStringList()> onStartDrag;
    std::function<void(int row)> onDragOver;
    std::function<void(const QStringList& files, int row)> onDrop;
    std::function<void()> onDragEnd;

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

Q_SIGNALS:
    void selectionChanged();
    void ensureVisible(int n);

private:
    std::vector<ListColumn> m_columns;
    std::vector<PlaylistRow> m_rows;
    bool m_multiSelect = true;
};

}  // namespace tavlo
