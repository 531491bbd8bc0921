#pragma once

#include "platform/controls/Button.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/TextBox.h"

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
    EventDialog(SchedulerWindow& scheduler, UserDialogs& dialogs, QObject* parent = nullptr);

    Label* eventTimeLabel;  // "Event Time"
    TextBox* hoursBox;
    TextBox* minutesBox;
    TextBox* secondsBox;
    Label* amPmLabel;       // "AM" or "PM"; shown only in the "AM - PM" format
    Label* playlistLabel;   // "Play List"
    TextBox* playlistBox;
    Button* browseButton;
    Button* insertOption;  // the event goes to the insert window
    Button* musicOption;   // the event goes to the music window
    Button* addEventButton;
    Button* closeButton;

private:
    // What the controls do.
    void toggleAmPm();
    void onPlaylistEdited();
    void browse();
    void addEvent();
    void close();

    enum class TimePart { Hours, Minutes, Seconds };

    TextBox* timeBox(TimePart part) const;
    void onTimeBoxEntered(TimePart part);
    void onTimeBoxEdited(TimePart part);
    void onTimeBoxLeft(TimePart part);

    SchedulerWindow& m_scheduler;
    UserDialogs& m_dialogs;
};

}  // namespace tavlo
