#pragma once

#include "platform/AboutBoxLink.h"
#include "platform/controls/Button.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"

namespace tavlo {

class Screen;
class Shell;

// The about box: product, version, what the program does, and the maker's
// e-mail and web links, each shown only when the build was given one.
// Opened modeless from each main window's "About"; OK closes it, and the
// next "About" loads it afresh, centred on the screen.
// UI thread only.
class AboutBox : public Form, public AboutBoxLink {
    Q_OBJECT
public:
    struct Version {
        int major, minor, revision;
    };
    struct Contact {
        QString email;
        QString website;
    };

    AboutBox(Shell& shell, Screen& screen, Version version = programVersion(), Contact contact = programContact(),
             QObject* parent = nullptr);

    // As the build describes the program.
    static Version programVersion();
    static Contact programContact();

    Label* productLabel;
    Label* versionLabel;
    Label* descriptionLabel;
    Label* authorsLabel;
    Label* emailLabel;
    Label* websiteLabel;
    Button* okButton;

    // What each window's "About" does: load, centre, show.
    void open() override;

private:
    // What the controls do.
    void load();
    void writeEmail();
    void openWebsite();
    void close();

    Shell& m_shell;
    Screen& m_screen;
    const Version m_version;
    const Contact m_contact;
};

}  // namespace tavlo
