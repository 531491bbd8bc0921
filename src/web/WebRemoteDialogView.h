#pragma once

#include "platform/widgets/FormDialog.h"

namespace tavlo {

class WebRemoteDialog;

// The web remote's dialog on the desktop: the switch, address and port, the
// token (selectable, to copy) with "New Token", the status and OK/Cancel.
// UI thread only.
class WebRemoteDialogView : public FormDialog {
    Q_OBJECT
public:
    explicit WebRemoteDialogView(WebRemoteDialog& form, QWidget* parent = nullptr);
};

}  // namespace tavlo
