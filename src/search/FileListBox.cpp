#include "search/FileListBox.h"

#include "search/FolderReader.h"
#include "search/NameOrder.h"

#include <QDir>

namespace tavlo {

namespace {

QString absoluteFolder(const QString& folder) { return QDir::cleanPath(QDir(folder).absolutePath()); }

}  // namespace

FileListBox::FileListBox(QObject* form, const QString& name, FolderReader& reader, const NameOrder& order,
                         const QString& pattern)
    : ListBox(form, name), m_reader(reader), m_order(order), m_pattern(pattern)
{
}

QString FileListBox::joinPath(const QString& folder, const QString& name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

bool FileListBox::setPath(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    return readFolder(absoluteFolder(folder));
}

void FileListBox::setPattern(const QString& pattern)
{
    m_pattern = WildcardPattern(pattern);
    refresh();
}

void FileListBox::refresh()
{
    if (!m_path.isEmpty())
        readFolder(m_path);
}

bool FileListBox::readFolder(const QString& folder)
{
    std::vector<QString> names;
    const bool read = m_reader.read(folder, [&](std::vector<FolderEntry>& batch) {
        for (FolderEntry& e : batch) {
            if (!e.isFolder() && !isHidden(e.name) && m_pattern.matches(e.name))
                names.push_back(std::move(e.name));
        }
        return true;
    });
    if (!read)
        return false;
    m_order.sort(names);
    QStringList items;
    items.reserve(static_cast<qsizetype>(names.size()));
    for (QString& n : names)
        items.append(std::move(n));
    m_path = folder;
    setItems(std::move(items));
    return true;
}

QStringList FileListBox::selectedPaths() const
{
    QStringList out;
    for (const QString& name : selectedItems())
        out.append(joinPath(m_path, name));
    return out;
}

}  // namespace tavlo
