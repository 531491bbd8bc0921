#pragma once

#include "platform/UserDialogs.h"

namespace tavlo {

// The dialogs of a run without a desktop, where nobody answers questions:
// every question is answered yes, a message goes to stderr after its title,
// and no file is ever chosen.
// UI thread only.
class ConsoleDialogs : public UserDialogs {
public:
    bool askYesNo(const QString& title, const QString& question) override;
    void inform(const QString& title, const QString& text) override;
    QStringList chooseFilesToOpen(const QString& title, const QString& folder, const QString& filter) override;
    QString chooseFileToSave(const QString& title, const QString& folder, const QString& filter) override;
};

}  // namespace tavlo
