#pragma once

#include "platform/widgets/FormDialog.h"

class QListView;
class QStackedWidget;

namespace tavlo {

class ListBoxView;
class PlaylistTableView;
class SearchWindow;

// The search window on the desktop, bound to SearchWindow's typed controls:
// the criteria panel (mask, pattern, volume, folder and file lists) and,
// over it from the start of a search, the results panel (found paths or
// tagged rows, the tag and find controls, the count), with "Search",
// "Close" and the help text below. It appears and hides as the form does,
// at the form's place; a player window showing it again brings it to the
// front; closing it by the title bar is "&Close", or "Cancel" during a
// search. The three file lists are drag sources of their selected files.
// UI thread only.
class SearchWindowView : public FormDialog {
    Q_OBJECT
public:
    explicit SearchWindowView(SearchWindow& form, QWidget* parent = nullptr);

    QListView* folderList() const { return m_folders; }
    ListBoxView* fileList() const { return m_files; }
    ListBoxView* foundList() const { return m_found; }
    PlaylistTableView* clipList() const { return m_clips; }

private:
    QWidget* buildCriteria(SearchWindow& form);
    QWidget* buildResults(SearchWindow& form);

    QListView* m_folders = nullptr;
    ListBoxView* m_files = nullptr;
    ListBoxView* m_found = nullptr;
    PlaylistTableView* m_clips = nullptr;
    QStackedWidget* m_panels = nullptr;
    QStackedWidget* m_resultLists = nullptr;
};

}  // namespace tavlo
