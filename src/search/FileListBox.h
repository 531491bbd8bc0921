#pragma once

#include "search/ListBox.h"
#include "search/WildcardPattern.h"

namespace tavlo {

class FolderReader;
class NameOrder;

// The file list: the names of the files of one folder that match its
// pattern, in the file managers' order. Hidden files (names starting with
// ".") are left out, as the file managers leave them out.
// UI thread only.
class FileListBox : public ListBox {
    Q_OBJECT
public:
    FileListBox(QObject* form, const QString& name, FolderReader& reader, const NameOrder& order,
                const QString& pattern);

    // The folder listed: absolute, without a final "/" except the root itself.
    QString path() const { return m_path; }
    // Lists `folder`. False, and nothing changes, when it cannot be read.
    bool setPath(const QString& folder);
    QString pattern() const { return m_pattern.text(); }
    const WildcardPattern& compiledPattern() const { return m_pattern; }
    // Lists the folder again with this pattern.
    void setPattern(const QString& pattern);
    void refresh();

    // The current entry's name.
    QString fileName() const { return list(listIndex()); }
    QString fullPath(int i) const { return joinPath(m_path, list(i)); }
    // The selected files with their folder, in list order.
    QStringList selectedPaths() const;

    // A folder and a name joined by one "/": a folder that ends with one
    // (the root) gets none added.
    static QString joinPath(const QString& folder, const QString& name);
    // Names the lists and the search leave out.
    static bool isHidden(const QString& name) { return name.startsWith(QLatin1Char('.')); }

private:
    bool readFolder(const QString& folder);

    FolderReader& m_reader;
    const NameOrder& m_order;
    QString m_path;
    WildcardPattern m_pattern;
};

}  // namespace tavlo
