#pragma once

#include "platform/widgets/FormDialog.h"

namespace tavlo {

class NowPlayingReport;

// The playing-now report window on the desktop: the switch, the station's
// credentials, the song's fields, "Send" and the answer page. The page is
// shown as rich text only: no scripts, no links followed, nothing fetched.
// Closing it only hides it, so what was typed stays for the program's run.
// UI thread only.
class NowPlayingReportView : public FormDialog {
    Q_OBJECT
public:
    explicit NowPlayingReportView(NowPlayingReport& form, QWidget* parent = nullptr);
};

}  // namespace tavlo
