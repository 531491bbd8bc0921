#pragma once

#include "platform/controls/Button.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/TextBox.h"

#include <array>

namespace tavlo {

class UserDialogs;
class SchedulerWindow;

// The add-event dialog, "Add Event To List": a time of day in three boxes,
// a playlist or event file, and the window it goes to. "Add Event" hands the
// event to the scheduler and keeps everything for the next one.
//
// The time boxes fill themselves the way an operator types: a letter empties
// the box, two digits move on to the next box, and leaving a box puts its
// number in range.
// Modeless; hidden, never destroyed.
// UI thread only.
class EventDialog : public Form {
    Q_OBJECT
public:
    EventDialog(SchedulerWindow& timing, UserDialogs& dialogs, QObject* parent = nullptr);

    Label* lblEventTime;  // "Event Time"
    TextBox* txtTCHours;
    TextBox* txtTCMinutes;
    TextBox* txtTCSeconds;
    Label* lblAMPM;       // "AM" or "PM"; shown only in the "AM - PM" format
    Label* lblPlayList;   // "Play List"
    TextBox* txtPlayList;
    Button* cmdBrowse;
    std::array<Button*, 2> optWindow;  // 0 the insert window, 1 the music window
    Button* cmdAddEvent;
    Button* cmdClose;

    // Which box: 0 hours, 1 minutes, 2 seconds.
    void txtTC_GotFocus(int box);
    void txtTC_Change(int box);
    void txtTC_LostFocus(int box);
    void lblAMPM_Click();
    void txtPlayList_Change();
    void cmdBrowse_Click();
    void cmdAddEvent_Click();
    void cmdClose_Click();

private:
    TextBox* timeBox(int box) const;

    SchedulerWindow& m_timing;
    UserDialogs& m_dialogs;
};

}  // namespace tavlo
