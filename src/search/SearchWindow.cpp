// SearchWindow: the search window's controls, start-up and closing, the criteria
// panel and the results' commands. The walk itself is SearchWindowWalk.cpp.
#include "search/SearchWindow.h"

#include "platform/AppServices.h"
#include "platform/SettingsStore.h"
#include "playback/PlayerWindow.h"
#include "playlist/PlaylistModel.h"
#include "search/FolderReader.h"

#include <QDir>
#include <QStorageInfo>

namespace tavlo {

class SearchWindow::Link : public SearchWindowLink {
public:
    explicit Link(SearchWindow& window) : m_w(window) {}
    void showAt(int left, int top) override { m_w.showAt(left, top); }

private:
    SearchWindow& m_w;
};

namespace {

const QString kBack = QStringLiteral("&Back");
const QString kClose = QStringLiteral("&Close");
const QString kDragTip = QStringLiteral("Select files from here, then Drag and Drop to Tavlo window");

}  // namespace

SearchWindow::SearchWindow(AppServices& services, PlayerWindow& music, FolderReader& reader, int listCapacity, QObject* parent)
    : Form(QStringLiteral("SearchWindow"), windowCaption(), parent),
      m_services(services),
      m_music(music),
      m_reader(reader),
      m_capacity(listCapacity),
      m_link(std::make_unique<Link>(*this))
{
    setGeometry(0, 0, 8400, 7200);
    const QString mp3 = QStringLiteral("*.mp3");

    criteriaPanel = new Control(this, QStringLiteral("Picture1"));
    criteriaLabel = new Label(this, QStringLiteral("lblCriteria"), QStringLiteral("Search Criteria :"));
    maskBox = new TextBox(this, QStringLiteral("txtSearchMask"));
    patternBox = new TextBox(this, QStringLiteral("txtSearchSpec"), mp3);
    patternBox->setToolTip(QStringLiteral("Use *.mp3 for all mp3 files, *.m3u for all paylist files"));
    driveList = new DriveList(this, QStringLiteral("drvList"));
    folderList = new FolderListBox(this, QStringLiteral("dirList"), reader, m_order);
    fileList = new FileListBox(this, QStringLiteral("filList"), reader, m_order, mp3);
    fileList->setToolTip(kDragTip);

    resultsPanel = new Control(this, QStringLiteral("Picture2"));
    resultsPanel->setVisible(false);
    foundFiles = new ListBox(this, QStringLiteral("lstFoundFiles"));
    foundFiles->setToolTip(kDragTip);
    foundRows = new PlaylistModel(this, QStringLiteral("lstClipList"));
    foundRows->setProperty("toolTip", kDragTip);
    readTagsCheck = new Button(this, QStringLiteral("chkReadMP3Tags"), QStringLiteral("Read MP3 Tags (album, artis, ...)"),
                                Button::Kind::Check);
    findBox = new TextBox(this, QStringLiteral("txtSearch"));
    titlesOnlyCheck = new Button(this, QStringLiteral("chkSearchTitlesOnly"), QStringLiteral("By Title Only"),
                                     Button::Kind::Check);
    countLabel = new Label(this, QStringLiteral("lblCount"), QStringLiteral("0"));
    foundLabel = new Label(this, QStringLiteral("lblfound"), QStringLiteral("Files Found"));

    searchButton = new Button(this, QStringLiteral("cmdSearch"), QStringLiteral("&Search"));
    closeButton = new Button(this, QStringLiteral("cmdExit"), kClose);
    helpLabel = new Label(this, QStringLiteral("Label1"),
                       QStringLiteral("Use this window for scanning files on any drive in your system, use wildcards as "
                                      "*.mp3 for all mp3 files. The search begins at the selected directory, and "
                                      "below. Use *something*.mp3"));

    driveList->onChange = [this] { onDriveChosen(); };
    folderList->onChange = [this] { onFolderChosen(); };
    folderList->onLostFocus = [this] { onFolderListLeft(); };
    maskBox->onChange = [this] { onMaskEdited(); };
    maskBox->onGotFocus = [this] { maskBox->selectAll(); };
    patternBox->onChange = [this] { onPatternEdited(); };
    patternBox->onGotFocus = [this] { patternBox->selectAll(); };
    searchButton->onClick = [this] { searchOrBack(); };
    closeButton->onClick = [this] { closeOrCancel(); };
    readTagsCheck->onClick = [this] { onReadTagsToggled(); };
    findBox->onChange = [this] { onFindTextEdited(); };
    titlesOnlyCheck->onClick = [this] { onTitlesOnlyToggled(); };
    foundRows->onColumnClick = [this](int column) { sortByColumn(column); };
    foundFiles->onDblClick = [this] { addFoundFileToMusic(); };
    fileList->onDblClick = [this] { addFileToMusic(); };
    foundRows->onDblClick = [this] { addFoundRowToMusic(); };
    // A drag source only: results are found here, never dropped.
    foundRows->onStartDrag = [this] { return foundRowsDragPaths(); };
}

SearchWindow::~SearchWindow() = default;

QString SearchWindow::fullListMessage() { return QStringLiteral("Se ha llenado el cuadro de lista. Abandonando la búsqueda..."); }

SearchWindowLink& SearchWindow::link() { return *m_link; }

void SearchWindow::showAt(int left, int top)
{
    if (!m_loaded)
        load();
    setGeometry(left, top, width(), height());
    show();
    Q_EMIT broughtToFront();
}

void SearchWindow::load()
{
    m_loaded = true;
    driveList->refresh();
    readSettings();
    criteriaPanel->move(0, 0);
    resultsPanel->move(0, 0);
}

void SearchWindow::rememberFolderAndStop()
{
    m_searching = false;
    if (m_loaded)
        saveSettings();
}

void SearchWindow::readSettings()
{
    // Folders the program makes up end with a separator, as a stored one may.
    const QString folder = m_services.settings.get(settingsAppName(), QStringLiteral("Directory"),
                                                   QStringLiteral("DefaultDir"), QDir::homePath() + QLatin1Char('/'));
    // A folder that is gone leaves the list where it was; on the first
    // start that is nowhere yet, so home, or the root, stands in.
    if (!folderList->setPath(folder) && folderList->path().isEmpty() && !folderList->setPath(QDir::homePath()))
        folderList->setPath(QStringLiteral("/"));
    driveList->setDrive(folderList->path());
    folderList->refresh();
    fileList->setPath(folderList->path());
}

void SearchWindow::saveSettings()
{
    if (folderList->path().isEmpty())
        return;
    m_services.settings.save(settingsAppName(), QStringLiteral("Directory"), QStringLiteral("DefaultDir"), folderList->path());
}

void SearchWindow::setSearchDefault(bool on)
{
    if (m_searchIsDefault == on)
        return;
    m_searchIsDefault = on;
    Q_EMIT defaultButtonChanged();
}

// ---- Criteria.

void SearchWindow::onDriveChosen()
{
    const QString drive = driveList->drive();
    if (drive.isEmpty())
        return;
    // Back to the folder last open on that volume, as a drive keeps its
    // current folder; its top on the first visit.
    if (!folderList->setPath(m_folderOnDrive.value(drive, drive)) && !folderList->setPath(drive))
        driveList->setDrive(folderList->path());  // not ready: the list shows where the folders are
}

void SearchWindow::onFolderChosen()
{
    const QString path = folderList->path();
    const QStorageInfo volume(path);
    if (volume.isValid())
        m_folderOnDrive.insert(volume.rootPath(), path);
    // Going down into another mount moves the drive list with it.
    driveList->setDrive(path);
    fileList->setPath(path);
}

void SearchWindow::onFolderListLeft()
{
    if (folderList->listIndex() != -1)
        folderList->setPath(folderList->list(folderList->listIndex()));
}

void SearchWindow::onMaskEdited()
{
    patternBox->setText(QLatin1Char('*') + maskBox->text() + QStringLiteral("*.mp3"));
}

void SearchWindow::onPatternEdited() { fileList->setPattern(patternBox->text()); }

// ---- Search, cancel, back.

void SearchWindow::searchOrBack()
{
    if (m_walking)
        return;
    if (searchButton->caption() == kBack) {
        clearResults();
        maskBox->setFocus();
        return;
    }
    // A folder highlighted but not yet open is opened first; the next click searches.
    if (folderList->listIndex() != -1) {
        folderList->setPath(folderList->list(folderList->listIndex()));
        return;
    }
    resultsPanel->move(0, 0);
    resultsPanel->setVisible(true);
    closeButton->setCaption(QStringLiteral("Cancel"));
    fileList->setPattern(patternBox->text());
    searchButton->setEnabled(false);

    runSearch(folderList->path());

    fileList->setPath(folderList->path());
    setCaption(windowCaption());
    searchButton->setCaption(kBack);
    setSearchDefault(false);
    closeButton->setCaption(kClose);
    searchButton->setEnabled(true);
}

void SearchWindow::closeOrCancel()
{
    if (closeButton->caption() == kClose) {
        // Stored now rather than only at the program's end, which may never come cleanly.
        saveSettings();
        hide();
    } else {
        m_searching = false;
    }
}

void SearchWindow::clearResults()
{
    foundFiles->clear();
    foundRows->clear();
    countLabel->setText(QStringLiteral("0"));
    m_searching = false;
    resultsPanel->setVisible(false);
    searchButton->setCaption(QStringLiteral("&Search"));
    setSearchDefault(true);
    closeButton->setCaption(kClose);
    criteriaPanel->setVisible(true);
}

// ---- Results.

void SearchWindow::onReadTagsToggled()
{
    if (readTagsCheck->value() != 1) {
        foundFiles->setVisible(true);  // the paths as they were; tag rows are not copied back
        return;
    }
    if (!foundFiles->isVisible())
        return;
    foundRows->clear();
    for (const QString& path : foundFiles->items())
        m_music.addFileToList(path, 0, *foundRows);
    foundFiles->setVisible(false);
}

void SearchWindow::onFindTextEdited() { findAsYouType(); }

void SearchWindow::onTitlesOnlyToggled() { findAsYouType(); }

void SearchWindow::findAsYouType()
{
    const QString typed = findBox->text();
    if (typed.isEmpty())
        return;
    const bool titleOnly = titlesOnlyCheck->value() == 1;
    for (int n = 1; n <= foundRows->count(); ++n) {
        const PlaylistRow& row = foundRows->row(n);
        bool found = false;
        if (titleOnly) {
            found = row.fields[ColTitle].startsWith(typed, Qt::CaseInsensitive);
        } else {
            // Every column but the title: artist, album, year, genre, comment, location.
            for (int c = ColTitle + 1; c < ColumnCount && !found; ++c)
                found = row.fields[static_cast<size_t>(c)].startsWith(typed, Qt::CaseInsensitive);
        }
        if (found) {
            foundRows->selectOnly(n);
            return;
        }
    }
}

void SearchWindow::sortByColumn(int column)
{
    if (column < 1 || column > ColumnCount)
        return;
    // Columns count from 1 and the memory starts on none, so a first click
    // on any header, "Title" too, sorts it in the order kept so far.
    if (column != m_lastSortColumn)
        m_lastSortColumn = column;
    else
        m_sortOrder = m_sortOrder == SortOrder::Ascending ? SortOrder::Descending : SortOrder::Ascending;
    foundRows->sortByColumn(m_lastSortColumn - 1, m_sortOrder == SortOrder::Descending);
    if (const int n = foundRows->firstSelected())
        Q_EMIT foundRows->ensureVisible(n);
}

void SearchWindow::addFoundFileToMusic()
{
    const QString path = foundFiles->list(foundFiles->listIndex());
    if (!path.isEmpty())
        m_music.openFile(path, false, 0);
}

void SearchWindow::addFileToMusic()
{
    if (fileList->listIndex() >= 0)
        m_music.openFile(fileList->fullPath(fileList->listIndex()), false, 0);
}

void SearchWindow::addFoundRowToMusic()
{
    if (const int n = foundRows->firstSelected())
        m_music.openFile(foundRows->text(n, ColLocation), false, 0);
}

QStringList SearchWindow::foundRowsDragPaths() const
{
    QStringList out;
    for (int n : foundRows->selectedRows())
        out.append(foundRows->text(n, ColLocation));
    return out;
}

}  // namespace tavlo
