#pragma once

#include "platform/controls/Button.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/TextBox.h"
#include "log/FolderList.h"

#include <functional>

namespace tavlo {

// The log-folder window: the user picks or types a folder and OK hands it to
// the player window that opened it, as that window's strLogPath. It is hidden,
// never destroyed, so it keeps its text between openings.
//
// There is no drive list: on Linux every folder hangs below "/", so the
// folder list alone reaches all of them.
// UI thread only.
class LogFolderDialog : public Form {
    Q_OBJECT
public:
    // Which window opened the form last (the program keeps one such number).
    enum Opener : int { NoOpener = 0, MainWindow = 1, InsertWindow = 2 };

    explicit LogFolderDialog(QObject* parent = nullptr);

    Label* Label1;
    FolderList* dirList;
    TextBox* txtLogPath;
    Button* cmdOk;
    Button* cmdClose;

    int LogFolderOpener = NoOpener;

    // Where OK delivers the folder: the main window's strLogPath when the main
    // window opened the form, otherwise the insert window's.
    std::function<void(const QString& strLogPath)> setMainLogPath;
    std::function<void(const QString& strLogPath)> setInsertLogPath;

    // A player window's mnuLogFolder_Click: places the form 100 twips right of
    // and below `window`'s top-left corner, moves the folder list to the
    // window's log folder (staying where it was when that is empty or
    // missing), shows the form and remembers who opened it.
    void openFrom(int opener, const Form& window, const QString& strLogPath);

    void cmdOk_Click();
    void cmdClose_Click();
    void dirList_Change();
};

}  // namespace tavlo
