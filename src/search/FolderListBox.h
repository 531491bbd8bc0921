#pragma once

#include "platform/controls/Control.h"

#include <QStringList>

#include <functional>

namespace tavlo {

class FolderReader;
class NameOrder;

// The folder list: an open folder, the folders above it up to the root, and
// its subfolders in the file managers' order (hidden ones left out). One
// entry is highlighted; opening it is a separate step, as a double-click or
// leaving the list does it. Entries are numbered from the open folder: the
// subfolders 0..listCount-1, the open folder -1, its parent -2, and so on
// up to the root.
// UI thread only.
class FolderListBox : public Control {
    Q_OBJECT
public:
    FolderListBox(QObject* form, const QString& name, FolderReader& reader, const NameOrder& order);

    // The open folder: absolute, without a final "/" except the root itself;
    // empty until a folder is opened.
    QString path() const { return m_path; }
    // Opens `folder` and highlights it, running onChange; the folder already
    // open stays as it is. False, and nothing changes, when it cannot be read.
    bool setPath(const QString& folder);
    // Reads the open folder's subfolders again.
    void refresh();

    int listCount() const { return static_cast<int>(m_subfolders.size()); }
    // The full path of entry i, or an empty text for a number with no entry.
    QString list(int i) const;
    int listIndex() const { return m_listIndex; }
    // Highlights entry i; a number with no entry is refused.
    void setListIndex(int i);

    // Rows as a view shows them: the root first, down to the open folder,
    // then its subfolders.
    int rowCount() const { return static_cast<int>(m_levels.size()) + listCount(); }
    int indexOfRow(int row) const { return row - static_cast<int>(m_levels.size()); }
    int rowOfIndex(int i) const { return i + static_cast<int>(m_levels.size()); }
    // A row's own name ("/" for the root) and its depth below the root.
    QString rowText(int row) const;
    int rowDepth(int row) const;

    std::function<void()> onChange;

Q_SIGNALS:
    // The rows changed: another folder opened, or the same one read again.
    void listChanged();
    void listIndexChanged();

private:
    bool open(const QString& folder);

    FolderReader& m_reader;
    const NameOrder& m_order;
    QString m_path;
    QStringList m_levels;      // full paths, the root first, the open folder last
    QStringList m_subfolders;  // names
    int m_listIndex = -1;
};

}  // namespace tavlo
