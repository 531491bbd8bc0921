#pragma once

#include "platform/widgets/FormDialog.h"

namespace tavlo {

class StreamingDialog;

// The streaming dialog on the desktop: the server's fields, the bitrate, the
// switch, the status and OK/Cancel. The password is typed masked.
// UI thread only.
class StreamingDialogView : public FormDialog {
    Q_OBJECT
public:
    explicit StreamingDialogView(StreamingDialog& form, QWidget* parent = nullptr);
};

}  // namespace tavlo
