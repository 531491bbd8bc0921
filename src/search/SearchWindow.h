#pragma once

#include "platform/controls/Button.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/TextBox.h"
#include "playback/SearchWindowLink.h"
#include "search/DriveList.h"
#include "search/FileListBox.h"
#include "search/FolderListBox.h"
#include "search/ListBox.h"
#include "search/NameOrder.h"
#include "search/WildcardPattern.h"

#include <QDateTime>
#include <QHash>

#include <memory>
#include <vector>

namespace tavlo {

struct AppServices;
class FolderReader;
class PlayerWindow;
class PlaylistModel;

// The search window, "Search for MP3 files": the operator picks a volume and
// a folder and a file pattern ("*.mp3", or "*word*.mp3" from a word typed as
// the mask), and the search walks that folder and every folder below it,
// listing each matching file as a path, or, with "Read MP3 Tags", as a
// playlist row with its tags, which sorts by column and finds as one types.
// A double-click adds a file to the music window's list; the selected files
// drag to either player window.
//
// Two panels share one place: the criteria, and the results, which cover
// the criteria from the start of a search until "&Back". The window is
// hidden, never destroyed, by "&Close", and keeps its results meanwhile.
//
// The walk (SearchWindowWalk.cpp) reads each folder once, matches names without
// opening files and lets the interface catch up every 25 ms or so, inside
// a folder as between folders, so "Cancel" answers at once, even in a
// folder of 100,000 files; what was found stays. A folder that
// cannot be read is skipped and counted, and the end of the search says how
// many there were. Each list takes up to a million results (the capacity
// given); the next one ends the search with a message, keeping the rest.
// UI thread only.
class SearchWindow : public Form {
    Q_OBJECT
public:
    static constexpr int kListCapacity = 1000000;

    SearchWindow(AppServices& services, PlayerWindow& music, FolderReader& reader, int listCapacity = kListCapacity,
            QObject* parent = nullptr);
    ~SearchWindow() override;

    static QString windowCaption() { return QStringLiteral("Search for MP3 files"); }
    static QString settingsAppName() { return QStringLiteral("TAVLO Broadcast"); }
    static QString fullListMessage();

    // What the player windows ask of this window: show it at their place.
    SearchWindowLink& link();
    // Loads the window the first time, places it at left, top (twips) and shows it.
    void showAt(int left, int top);
    bool isLoaded() const { return m_loaded; }

    // The search flag: set while a search runs; cleared by "Cancel" and by clearResults.
    bool searching() const { return m_searching; }
    // Whether Enter presses searchButton (not while results are shown).
    bool searchIsDefault() const { return m_searchIsDefault; }

    // ---- Criteria panel.
    Control* criteriaPanel;
    Label* criteriaLabel;
    TextBox* maskBox;
    TextBox* patternBox;
    DriveList* driveList;
    FolderListBox* folderList;
    FileListBox* fileList;
    // ---- Results panel.
    Control* resultsPanel;
    ListBox* foundFiles;
    PlaylistModel* foundRows;
    Button* readTagsCheck;
    TextBox* findBox;
    Button* titlesOnlyCheck;
    Label* countLabel;
    Label* foundLabel;
    // ---- Below both.
    Button* searchButton;
    Button* closeButton;
    Label* helpLabel;

    // Stores the open folder as the next start folder and stops a search.
    void rememberFolderAndStop();
    // A click on a column header of the tagged results: column 1 ("Title")
    // .. 10 ("TotLength").
    void sortByColumn(int column);

    // What a drag from each list carries: the full paths of its selected
    // entries, in list order.
    QStringList foundFilesDragPaths() const { return foundFiles->selectedItems(); }
    QStringList fileListDragPaths() const { return fileList->selectedPaths(); }
    QStringList foundRowsDragPaths() const;


Q_SIGNALS:
    void defaultButtonChanged();
    // Shown by a player window: the view comes to the front.
    void broughtToFront();

private:
    class Link;

    void load();
    void readSettings();
    // What the controls do.
    void onDriveChosen();
    void onFolderChosen();
    void onFolderListLeft();
    void onMaskEdited();
    void onPatternEdited();
    void searchOrBack();
    void closeOrCancel();
    void clearResults();
    void onReadTagsToggled();
    void onFindTextEdited();
    void onTitlesOnlyToggled();
    void addFoundFileToMusic();
    void addFileToMusic();
    void addFoundRowToMusic();

    // ---- The walk (SearchWindowWalk.cpp).
    // Searches `folderPath` and every folder below it, depth first: each
    // folder's subfolders from the last in the folder list's order to the
    // first, then its own files. True when the search is to be abandoned
    // (cancelled, or a list full).
    bool searchFolder(const QString& folderPath);

    void setSearchDefault(bool on);
    void saveSettings();
    void findAsYouType();
    // The walk's parts (SearchWindowWalk.cpp).
    void runSearch(const QString& folder);
    bool readForWalk(const QString& folder, std::vector<QString>& subfolders, std::vector<QString>& files);
    bool addFound(const QString& folder, const std::vector<QString>& files);
    // Lets the interface in when its turn is due; false when the search is to end.
    bool yieldIfDue();
    // Hands the paths held back to their list and shows the count.
    void flushFound();
    // The count in the label and the caption, when it changed.
    void showCount();

    AppServices& m_services;
    PlayerWindow& m_music;
    FolderReader& m_reader;
    const int m_capacity;
    NameOrder m_order;
    std::unique_ptr<Link> m_link;
    bool m_loaded = false;
    bool m_searching = false;
    bool m_walking = false;
    bool m_searchIsDefault = true;
    // The column the list was last sorted by, 1 ("Title") .. 10, 0 before
    // the first click, and the order the next click on it keeps.
    int m_lastSortColumn = 0;
    enum class SortOrder { Ascending, Descending };
    SortOrder m_sortOrder = SortOrder::Ascending;
    // The folder last open on each volume, where choosing the volume again returns.
    QHash<QString, QString> m_folderOnDrive;
    // The search under way.
    WildcardPattern m_pattern;
    // When the walk last let the interface in, by the program's clock.
    QDateTime m_lastYield;
    int m_found = 0;
    int m_shownFound = 0;
    int m_unreadable = 0;
    QStringList m_pendingPaths;
};

}  // namespace tavlo
