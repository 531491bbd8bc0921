#pragma once

#include "platform/controls/Button.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/MenuItem.h"
#include "platform/controls/TextBox.h"
#include "web/WebRemoteSettings.h"

#include <functional>

namespace tavlo {

class UserDialogs;

// "Web Remote", the music window's Options > Web Remote... dialog: the
// switch, the address and port, the token (shown whole, so it can be typed
// into a phone, and renewable) and the remote's status. OK saves the choice
// under the settings' "Web Remote" section and hands it to `onApply`, which
// starts, moves or stops the remote and answers the status to show.
// Modeless; hidden, never destroyed. UI thread only.
class WebRemoteDialog : public Form {
    Q_OBJECT
public:
    WebRemoteDialog(WebRemoteSettings& settings, UserDialogs& dialogs, QObject* parent = nullptr);

    Button* enabledCheck;
    Label* addressLabel;
    TextBox* addressBox;
    Label* portLabel;
    TextBox* portBox;
    Label* tokenCaption;
    Label* tokenLabel;
    Button* renewTokenButton;
    Label* statusLabel;
    Button* okButton;
    Button* cancelButton;

    // Starts, moves or stops the remote; answers the status text.
    std::function<QString(const WebRemoteChoice& choice)> onApply;
    // The token changed; commands with the old one are refused from now on.
    std::function<void(const QString& token)> onTokenRenewed;
    // The remote's status as it is now (where it listens, refused requests).
    std::function<QString()> currentStatus;

    // Adds "Web Remote..." to `window`'s Options menu, opening this dialog.
    void attachTo(Form& window, MenuItem* optionsMenu);
    // Refills the controls from the settings and shows the dialog beside `window`.
    void openFrom(const Form& window);

private:
    void accept();
    void renewToken();
    void fill();

    WebRemoteSettings& m_settings;
    UserDialogs& m_dialogs;
};

}  // namespace tavlo
