#include "log/FolderList.h"

#include <QDir>
#include <QFileInfo>

namespace tavlo {

FolderList::FolderList(QObject* form, const QString& name) : Control(form, name), m_path(QDir::currentPath()) {}

bool FolderList::setPath(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    const QFileInfo info(folder);
    if (!info.isDir())
        return false;
    const QString path = QDir::cleanPath(info.absoluteFilePath());
    if (path == m_path)
        return true;
    m_path = path;
    notify();
    if (onChange)
        onChange();
    return true;
}

}  // namespace tavlo
