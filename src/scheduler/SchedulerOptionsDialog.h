#pragma once

#include "platform/controls/Button.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/TextBox.h"

namespace tavlo {

class SchedulerWindow;

// The scheduler's options dialog, "Options": the preload time and the time
// format. Its time-format label is the one place that says which format is
// current; the scheduler reads it whenever it writes a time. "OK" converts
// the listed times to that format, saves the settings and hides the dialog.
// Modeless; hidden, never destroyed.
// UI thread only.
class SchedulerOptionsDialog : public Form {
    Q_OBJECT
public:
    explicit SchedulerOptionsDialog(SchedulerWindow& scheduler, QObject* parent = nullptr);

    Label* preloadLabel;     // "Pre Load Sec"
    TextBox* preloadBox;
    Label* formatLabel;      // "Time Format"
    Label* timeFormatLabel;  // "AM - PM" or "24hs"; clicking it switches
    Button* okButton;

    // The longest preload the scheduler takes, either way: a day.
    static constexpr double kLongestPreload = 86399;

private:
    // What the controls do.
    void toggleTimeFormat();
    void onPreloadEdited();
    void onPreloadLeft();
    void accept();

    SchedulerWindow& m_scheduler;
};

}  // namespace tavlo
