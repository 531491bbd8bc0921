#include "search/FolderListBox.h"

#include "search/FileListBox.h"
#include "search/FolderReader.h"
#include "search/NameOrder.h"

#include <QDir>
#include <QFileInfo>

#include <vector>

namespace tavlo {

FolderListBox::FolderListBox(QObject* form, const QString& name, FolderReader& reader, const NameOrder& order)
    : Control(form, name), m_reader(reader), m_order(order)
{
}

bool FolderListBox::setPath(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    const QString path = QDir::cleanPath(QDir(folder).absolutePath());
    if (path == m_path)
        return true;  // refresh() reads it again
    if (!open(path))
        return false;
    if (onChange)
        onChange();
    return true;
}

void FolderListBox::refresh()
{
    if (!m_path.isEmpty())
        open(m_path);
}

bool FolderListBox::open(const QString& path)
{
    std::vector<QString> names;
    const bool read = m_reader.read(path, [&names](std::vector<FolderEntry>& batch) {
        for (FolderEntry& e : batch) {
            if (e.isFolder() && !FileListBox::isHidden(e.name))
                names.push_back(std::move(e.name));
        }
        return true;
    });
    if (!read)
        return false;
    m_order.sort(names);
    m_subfolders.clear();
    m_subfolders.reserve(static_cast<qsizetype>(names.size()));
    for (QString& n : names)
        m_subfolders.append(std::move(n));
    m_path = path;
    m_levels.clear();
    for (QString at = path;; at = QFileInfo(at).path()) {
        m_levels.prepend(at);
        if (at == QLatin1String("/") || !at.contains(QLatin1Char('/')))
            break;
    }
    m_listIndex = -1;
    Q_EMIT listChanged();
    Q_EMIT listIndexChanged();
    return true;
}

QString FolderListBox::list(int i) const
{
    if (i >= 0)
        return i < listCount() ? FileListBox::joinPath(m_path, m_subfolders.at(i)) : QString();
    const qsizetype level = m_levels.size() + i;  // -1 is the open folder, the last level
    return level >= 0 ? m_levels.at(level) : QString();
}

void FolderListBox::setListIndex(int i)
{
    if (i == m_listIndex || i >= listCount() || i < -static_cast<int>(m_levels.size()) || m_levels.isEmpty())
        return;
    m_listIndex = i;
    Q_EMIT listIndexChanged();
}

QString FolderListBox::rowText(int row) const
{
    const int levels = static_cast<int>(m_levels.size());
    if (row < 0 || row >= rowCount())
        return QString();
    if (row >= levels)
        return m_subfolders.at(row - levels);
    const QString& full = m_levels.at(row);
    return row == 0 ? full : full.mid(full.lastIndexOf(QLatin1Char('/')) + 1);
}

int FolderListBox::rowDepth(int row) const
{
    const int levels = static_cast<int>(m_levels.size());
    return row < levels ? row : levels;
}

}  // namespace tavlo
