#pragma once

#include "platform/widgets/FormDialog.h"

namespace tavlo {

class DeadAirDialog;

// The dead-air dialog on the desktop: the switch, the level and the time,
// OK and Cancel. Closing it by the title bar or Escape is Cancel.
// UI thread only.
class DeadAirDialogView : public FormDialog {
    Q_OBJECT
public:
    explicit DeadAirDialogView(DeadAirDialog& form, QWidget* parent = nullptr);
};

}  // namespace tavlo
