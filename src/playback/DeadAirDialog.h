#pragma once

#include "platform/controls/Button.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/TextBox.h"
#include "playback/DeadAirWatch.h"

namespace tavlo {

class UserDialogs;

// "Dead Air": whether the music window skips a song that has gone silent on
// air, below which level and after how long. OK takes the values (a value
// out of range is told and nothing changes), Cancel leaves them. Modeless;
// hidden, never destroyed. UI thread only.
class DeadAirDialog : public Form {
    Q_OBJECT
public:
    DeadAirDialog(DeadAirWatch& watch, UserDialogs& dialogs, QObject* parent = nullptr);

    Button* enabledCheck;
    Label* thresholdLabel;
    TextBox* thresholdBox;
    Label* secondsLabel;
    TextBox* secondsBox;
    Button* okButton;
    Button* cancelButton;

    // Shows the dialog with the watch's values, beside the window it came from.
    void openFrom(const Form& window);

private:
    // What the controls do.
    void accept();

    DeadAirWatch& m_watch;
    UserDialogs& m_dialogs;
};

}  // namespace tavlo
