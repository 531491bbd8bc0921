#pragma once

#include "platform/controls/Control.h"

#include <QStringList>

#include <functional>

namespace tavlo {

// The drive list: the mounted volumes, each by the folder it is mounted on
// (with its label when it has one), one of them selected. Choosing another
// runs onChange.
// UI thread only.
class DriveList : public Control {
    Q_OBJECT
public:
    DriveList(QObject* form, const QString& name);

    // Reads the mounted volumes again; the selected one stays selected while
    // it is mounted.
    void refresh();

    int listCount() const { return static_cast<int>(m_roots.size()); }
    // The text shown for volume i.
    QString list(int i) const { return i >= 0 && i < listCount() ? m_texts.at(i) : QString(); }
    int listIndex() const { return m_listIndex; }
    // Selects volume i (-1 none), running onChange when the choice changes.
    void setListIndex(int i);

    // The folder the selected volume is mounted on; empty when none is.
    QString drive() const { return m_listIndex >= 0 ? m_roots.at(m_listIndex) : QString(); }
    // Selects the volume that holds `path` (running onChange when the choice
    // changes). False, and nothing changes, when no mounted volume holds it.
    bool setDrive(const QString& path);

    std::function<void()> onChange;

Q_SIGNALS:
    // The volumes listed or the one selected changed.
    void listChanged();

private:
    int indexOfRoot(const QString& root) const { return static_cast<int>(m_roots.indexOf(root)); }

    QStringList m_roots;
    QStringList m_texts;
    int m_listIndex = -1;
};

}  // namespace tavlo
