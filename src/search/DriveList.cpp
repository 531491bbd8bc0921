#include "search/DriveList.h"

#include <QStorageInfo>

namespace tavlo {

namespace {

QString textOf(const QStorageInfo& volume)
{
    const QString root = volume.rootPath();
    const QString label = volume.name();
    return label.isEmpty() ? root : root + QStringLiteral(" [") + label + QLatin1Char(']');
}

}  // namespace

DriveList::DriveList(QObject* form, const QString& name) : Control(form, name) {}

void DriveList::refresh()
{
    const QString selected = drive();
    m_roots.clear();
    m_texts.clear();
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        if (!v.isValid() || !v.isReady() || m_roots.contains(v.rootPath()))
            continue;
        m_roots.append(v.rootPath());
        m_texts.append(textOf(v));
    }
    m_listIndex = indexOfRoot(selected);
    Q_EMIT listChanged();
}

void DriveList::setListIndex(int i)
{
    if (i < -1 || i >= listCount() || i == m_listIndex)
        return;
    m_listIndex = i;
    Q_EMIT listChanged();
    if (onChange)
        onChange();
}

bool DriveList::setDrive(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QStorageInfo volume(path);
    if (!volume.isValid())
        return false;
    int i = indexOfRoot(volume.rootPath());
    if (i < 0) {
        refresh();
        i = indexOfRoot(volume.rootPath());
    }
    if (i < 0) {
        // Mounted after all, though the list of volumes leaves it out.
        m_roots.append(volume.rootPath());
        m_texts.append(textOf(volume));
        i = listCount() - 1;
        Q_EMIT listChanged();
    }
    setListIndex(i);
    return true;
}

}  // namespace tavlo
