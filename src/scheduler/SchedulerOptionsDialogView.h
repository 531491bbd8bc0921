#pragma once

#include "platform/widgets/FormDialog.h"

namespace tavlo {

class SchedulerOptionsDialog;

// The scheduler's options dialog on the desktop: the preload seconds, the
// time format (a label clicked to switch) and OK. It appears and hides as the
// form does, at the form's place; closing it by the title bar or Escape only
// hides it, leaving the list's times as they are until OK.
// UI thread only.
class SchedulerOptionsDialogView : public FormDialog {
    Q_OBJECT
public:
    explicit SchedulerOptionsDialogView(SchedulerOptionsDialog& form, QWidget* parent = nullptr);
};

}  // namespace tavlo
