#pragma once

#include "platform/controls/Button.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/TextBox.h"
#include "log/FolderList.h"

#include <functional>

namespace tavlo {

// The log-folder window: the user picks or types a folder and OK hands it to
// the player window that opened it, as that window's logFolder. It is hidden,
// never destroyed, so it keeps its text between openings.
//
// There is no drive list: on Linux every folder hangs below "/", so the
// folder list alone reaches all of them.
// UI thread only.
class LogFolderDialog : public Form {
    Q_OBJECT
public:
    // The player windows that may open the form.
    enum class Opener { None, MusicWindow, InsertWindow };

    explicit LogFolderDialog(QObject* parent = nullptr);

    Label* headingLabel;
    FolderList* folderList;
    TextBox* folderBox;
    Button* okButton;
    Button* closeButton;

    // Where OK delivers the folder when `opener` opened the form.
    void setDelivery(Opener opener, std::function<void(const QString& logFolder)> deliver);

    // A player window's log-folder command: places the form 100 twips right of
    // and below `window`'s top-left corner, moves the folder list to the
    // window's log folder (staying where it was when that is empty or
    // missing), shows the form and remembers who opened it.
    void openFrom(Opener opener, const Form& window, const QString& logFolder);

private:
    // What the controls do.
    void accept();
    void close();
    void onFolderChosen();

    // Which window opened the form last; OK answers only that one.
    Opener m_opener = Opener::None;
    std::function<void(const QString& logFolder)> m_deliverToMusic;
    std::function<void(const QString& logFolder)> m_deliverToInsert;
};

}  // namespace tavlo
