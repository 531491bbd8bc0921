#pragma once

#include <QString>
#include <QStringList>

namespace tavlo {

// Modal questions and file choosers, so window logic never opens a widget itself.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    virtual bool askYesNo(const QString& title, const QString& text) = 0;
    virtual void inform(const QString& title, const QString& text) = 0;
    // Empty when the user cancels. `filter` uses Qt's "Name (*.a *.b);;..." form.
    virtual QStringList chooseFilesToOpen(const QString& title, const QString& folder,
                                          const QString& filter) = 0;
    virtual QString chooseFileToSave(const QString& title, const QString& folder,
                                     const QString& filter) = 0;
};

}  // namespace tavlo
