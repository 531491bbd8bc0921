#pragma once

#include "platform/widgets/FormDialog.h"

namespace tavlo {

class EventDialog;

// The add-event dialog on the desktop: the time in three narrow boxes with
// AM or PM after them, the playlist with "Browse...", the two windows an
// event can go to, "Add Event" and X. It appears and hides as the form does,
// at the form's place; closing it by the title bar or Escape is X. The time
// boxes' focus is the form's, so typing moves on from box to box.
// UI thread only.
class EventDialogView : public FormDialog {
    Q_OBJECT
public:
    explicit EventDialogView(EventDialog& form, QWidget* parent = nullptr);
};

}  // namespace tavlo
