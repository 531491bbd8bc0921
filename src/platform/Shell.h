#pragma once

#include <QUrl>

namespace tavlo {

// Hands documents and addresses to the desktop's own programs: the manual
// and web links to the browser, "mailto:" links to the mail program. Whether
// the desktop managed it is not the program's concern.
// UI thread only.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void openUrl(const QUrl& url) = 0;
    // The manual installed with the program.
    virtual void openManual() = 0;
};

// Without a desktop there is nobody to show a page to.
class NoShell : public Shell {
public:
    void openUrl(const QUrl&) override {}
    void openManual() override {}
};

inline Shell& noShell()
{
    static NoShell none;
    return none;
}

}  // namespace tavlo
