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

    Picture1 = new Control(this, QStringLiteral("Picture1"));
    lblCriteria = new Label(this, QStringLiteral("lblCriteria"), QStringLiteral("Search Criteria :"));
    txtSearchMask = new TextBox(this, QStringLiteral("txtSearchMask"));
    txtSearchSpec = new TextBox(this, QStringLiteral("txtSearchSpec"), mp3);
    txtSearchSpec->setToolTip(QStringLiteral("Use *.mp3 for all mp3 files, *.m3u for all paylist files"));
    drvList = new DriveList(this, QStringLiteral("drvList"));
    dirList = new FolderListBox(this, QStringLiteral("dirList"), reader, m_order);
    filList = new FileListBox(this, QStringLiteral("filList"), reader, m_order, mp3);
    filList->setToolTip(kDragTip);

    Picture2 = new Control(this, QStringLiteral("Picture2"));
    Picture2->setVisible(false);
    lstFoundFiles = new ListBox(this, QStringLiteral("lstFoundFiles"));
    lstFoundFiles->setToolTip(kDragTip);
    lstClipList = new PlaylistModel(this, QStringLiteral("lstClipList"));
    lstClipList->setProperty("toolTip", kDragTip);
    chkReadMP3Tags = new Button(this, QStringLiteral("chkReadMP3Tags"), QStringLiteral("Read MP3 Tags (album, artis, ...)"),
                                Button::Kind::Check);
    txtSearch = new TextBox(this, QStringLiteral("txtSearch"));
    chkSearchTitlesOnly = new Button(this, QStringLiteral("chkSearchTitlesOnly"), QStringLiteral("By Title Only"),
                                     Button::Kind::Check);
    lblCount = new Label(this, QStringLiteral("lblCount"), QStringLiteral("0"));
    lblfound = new Label(this, QStringLiteral("lblfound"), QStringLiteral("Files Found"));

    cmdSearch = new Button(this, QStringLiteral("cmdSearch"), QStringLiteral("&Search"));
    cmdExit = new Button(this, QStringLiteral("cmdExit"), kClose);
    Label1 = new Label(this, QStringLiteral("Label1"),
                       QStringLiteral("Use this window for scanning files on any drive in your system, use wilcards as "
                                      "*.mp3 for all mp3 files. The search will began at the selected directory, and "
                                      "bellow. Use *something*.mp3"));

    drvList->onChange = [this] { drvList_Change(); };
    dirList->onChange = [this] { dirList_Change(); };
    dirList->onLostFocus = [this] { dirList_LostFocus(); };
    txtSearchMask->onChange = [this] { txtSearchMask_Change(); };
    txtSearchMask->onGotFocus = [this] { txtSearchMask->selectAll(); };
    txtSearchSpec->onChange = [this] { txtSearchSpec_Change(); };
    txtSearchSpec->onGotFocus = [this] { txtSearchSpec->selectAll(); };
    cmdSearch->onClick = [this] { cmdSearch_Click(); };
    cmdExit->onClick = [this] { cmdExit_Click(); };
    chkReadMP3Tags->onClick = [this] { chkReadMP3Tags_Click(); };
    txtSearch->onChange = [this] { txtSearch_Change(); };
    chkSearchTitlesOnly->onClick = [this] { chkSearchTitlesOnly_Click(); };
    lstClipList->onColumnClick = [this](int column) { lstClipList_ColumnClick(column); };
    lstFoundFiles->onDblClick = [this] { lstFoundFiles_DblClick(); };
    filList->onDblClick = [this] { filList_DblClick(); };
    lstClipList->onDblClick = [this] { lstClipList_DblClick(); };
    // A drag source only: results are found here, never dropped.
    lstClipList->onStartDrag = [this] { return lstClipListDragPaths(); };
}

SearchWindow::~SearchWindow() = default;

QString SearchWindow::fullListMessage() { return QStringLiteral("Se ha llenado el cuadro de lista. Abandonando la búsqueda..."); }

SearchWindowLink& SearchWindow::link() { return *m_link; }

void SearchWindow::showAt(int left, int top)
{
    if (!m_loaded)
        Form_Load();
    setGeometry(left, top, width(), height());
    show();
    Q_EMIT broughtToFront();
}

void SearchWindow::Form_Load()
{
    m_loaded = true;
    drvList->refresh();
    GetSettings();
    Picture1->move(0, 0);
    Picture2->move(0, 0);
}

void SearchWindow::Form_Unload()
{
    m_searching = false;
    if (m_loaded)
        SaveSettings();
}

void SearchWindow::GetSettings()
{
    // Folders the program makes up end with a separator, as a stored one may.
    const QString folder = m_services.settings.get(settingsAppName(), QStringLiteral("Directory"),
                                                   QStringLiteral("DefaultDir"), QDir::homePath() + QLatin1Char('/'));
    // A folder that is gone leaves the list where it was; on the first
    // start that is nowhere yet, so home, or the root, stands in.
    if (!dirList->setPath(folder) && dirList->path().isEmpty() && !dirList->setPath(QDir::homePath()))
        dirList->setPath(QStringLiteral("/"));
    drvList->setDrive(dirList->path());
    dirList->refresh();
    filList->setPath(dirList->path());
}

void SearchWindow::SaveSettings()
{
    if (dirList->path().isEmpty())
        return;
    m_services.settings.save(settingsAppName(), QStringLiteral("Directory"), QStringLiteral("DefaultDir"), dirList->path());
}

void SearchWindow::setSearchDefault(bool on)
{
    if (m_searchIsDefault == on)
        return;
    m_searchIsDefault = on;
    Q_EMIT defaultButtonChanged();
}

// ---- Criteria.

void SearchWindow::drvList_Change()
{
    const QString drive = drvList->drive();
    if (drive.isEmpty())
        return;
    // Back to the folder last open on that volume, as a drive keeps its
    // current folder; its top on the first visit.
    if (!dirList->setPath(m_folderOnDrive.value(drive, drive)) && !dirList->setPath(drive))
        drvList->setDrive(dirList->path());  // not ready: the list shows where the folders are
}

void SearchWindow::dirList_Change()
{
    const QString path = dirList->path();
    const QStorageInfo volume(path);
    if (volume.isValid())
        m_folderOnDrive.insert(volume.rootPath(), path);
    // Going down into another mount moves the drive list with it.
    drvList->setDrive(path);
    filList->setPath(path);
}

void SearchWindow::dirList_LostFocus()
{
    if (dirList->listIndex() != -1)
        dirList->setPath(dirList->list(dirList->listIndex()));
}

void SearchWindow::txtSearchMask_Change()
{
    txtSearchSpec->setText(QLatin1Char('*') + txtSearchMask->text() + QStringLiteral("*.mp3"));
}

void SearchWindow::txtSearchSpec_Change() { filList->setPattern(txtSearchSpec->text()); }

// ---- Search, cancel, back.

void SearchWindow::cmdSearch_Click()
{
    if (m_walking)
        return;
    if (cmdSearch->caption() == kBack) {
        ClearResults();
        txtSearchMask->setFocus();
        return;
    }
    // A folder highlighted but not yet open is opened first; the next click searches.
    if (dirList->listIndex() != -1) {
        dirList->setPath(dirList->list(dirList->listIndex()));
        return;
    }
    Picture2->move(0, 0);
    Picture2->setVisible(true);
    cmdExit->setCaption(QStringLiteral("Cancel"));
    filList->setPattern(txtSearchSpec->text());
    cmdSearch->setEnabled(false);

    runSearch(dirList->path());

    filList->setPath(dirList->path());
    setCaption(windowCaption());
    cmdSearch->setCaption(kBack);
    setSearchDefault(false);
    cmdExit->setCaption(kClose);
    cmdSearch->setEnabled(true);
}

void SearchWindow::cmdExit_Click()
{
    if (cmdExit->caption() == kClose) {
        // Stored now rather than only at the program's end, which may never come cleanly.
        SaveSettings();
        hide();
    } else {
        m_searching = false;
    }
}

void SearchWindow::ClearResults()
{
    lstFoundFiles->clear();
    lstClipList->clear();
    lblCount->setText(QStringLiteral("0"));
    m_searching = false;
    Picture2->setVisible(false);
    cmdSearch->setCaption(QStringLiteral("&Search"));
    setSearchDefault(true);
    cmdExit->setCaption(kClose);
    Picture1->setVisible(true);
}

// ---- Results.

void SearchWindow::chkReadMP3Tags_Click()
{
    if (chkReadMP3Tags->value() != 1) {
        lstFoundFiles->setVisible(true);  // the paths as they were; tag rows are not copied back
        return;
    }
    if (!lstFoundFiles->isVisible())
        return;
    lstClipList->clear();
    for (const QString& path : lstFoundFiles->items())
        m_music.addFileToList(path, 0, *lstClipList);
    lstFoundFiles->setVisible(false);
}

void SearchWindow::txtSearch_Change() { findAsYouType(); }

void SearchWindow::chkSearchTitlesOnly_Click() { findAsYouType(); }

void SearchWindow::findAsYouType()
{
    const QString typed = txtSearch->text();
    if (typed.isEmpty())
        return;
    const bool titleOnly = chkSearchTitlesOnly->value() == 1;
    for (int n = 1; n <= lstClipList->count(); ++n) {
        const PlaylistRow& row = lstClipList->row(n);
        bool found = false;
        if (titleOnly) {
            found = row.fields[ColTitle].startsWith(typed, Qt::CaseInsensitive);
        } else {
            // Every column but the title: artist, album, year, genre, comment, location.
            for (int c = ColTitle + 1; c < ColumnCount && !found; ++c)
                found = row.fields[static_cast<size_t>(c)].startsWith(typed, Qt::CaseInsensitive);
        }
        if (found) {
            lstClipList->selectOnly(n);
            return;
        }
    }
}

void SearchWindow::lstClipList_ColumnClick(int column)
{
    if (column < 1 || column > ColumnCount)
        return;
    // Columns count from 1 and the memory starts on none, so a first click
    // on any header, "Title" too, sorts it in the order kept so far.
    if (column != m_lastSortColumn)
        m_lastSortColumn = column;
    else
        m_sortOrder = m_sortOrder == 0 ? 1 : 0;
    lstClipList->sortByColumn(m_lastSortColumn - 1, m_sortOrder == 1);
    if (const int n = lstClipList->firstSelected())
        Q_EMIT lstClipList->ensureVisible(n);
}

void SearchWindow::lstFoundFiles_DblClick()
{
    const QString path = lstFoundFiles->list(lstFoundFiles->listIndex());
    if (!path.isEmpty())
        m_music.openFile(path, false, 0);
}

void SearchWindow::filList_DblClick()
{
    if (filList->listIndex() >= 0)
        m_music.openFile(filList->fullPath(filList->listIndex()), false, 0);
}

void SearchWindow::lstClipList_DblClick()
{
    if (const int n = lstClipList->firstSelected())
        m_music.openFile(lstClipList->text(n, ColLocation), false, 0);
}

QStringList SearchWindow::lstClipListDragPaths() const
{
    QStringList out;
    for (int n : lstClipList->selectedRows())
        out.append(lstClipList->text(n, ColLocation));
    return out;
}

}  // namespace tavlo
