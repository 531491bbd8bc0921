#pragma once

#include "platform/widgets/FormDialog.h"

namespace tavlo {

class frmStreaming;

// The streaming dialog on the desktop: the server's fields, the bitrate, the
// switch, the status and OK/Cancel. The password is typed masked.
// UI thread only.
class frmStreamingView : public FormDialog {
    Q_OBJECT
public:
    explicit frmStreamingView(frmStreaming& form, QWidget* parent = nullptr);
};

}  // namespace tavlo
