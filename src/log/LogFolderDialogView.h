#pragma once

#include "platform/widgets/FormDialog.h"

#include <QPointer>

namespace tavlo {

class LogFolderDialog;

// The log-folder window on the desktop: its label, the folder text, a
// "Browse..." button that picks a folder with the desktop's folder chooser,
// OK and X. It appears and hides as the window logic shows and hides the
// form, at the form's place; closing it by the title bar is X.
// UI thread only.
class LogFolderDialogView : public FormDialog {
    Q_OBJECT
public:
    explicit LogFolderDialogView(LogFolderDialog& form, QWidget* parent = nullptr);

private:
    void browse();

    QPointer<LogFolderDialog> m_form;
};

}  // namespace tavlo
