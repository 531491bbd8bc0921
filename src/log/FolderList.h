#pragma once

#include "platform/controls/Control.h"

#include <functional>

namespace tavlo {

// A folder chooser's state: the folder it stands in, always an existing one,
// absolute and without a final "/" (except the root itself). The view shows
// the folders and sets the path when the user picks one; onChange runs when
// the path changes.
// UI thread only.
class FolderList : public Control {
    Q_OBJECT
public:
    // Starts in the process's current folder.
    FolderList(QObject* form, const QString& name);

    QString path() const { return m_path; }
    // Moves to `folder`. False, and nothing changes, when it is empty or not
    // an existing folder.
    bool setPath(const QString& folder);

    std::function<void()> onChange;

private:
    QString m_path;
};

}  // namespace tavlo
