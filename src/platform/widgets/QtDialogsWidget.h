#pragma once

#include "platform/UserDialogs.h"

class QWidget;

namespace tavlo {

// The desktop's message boxes and file choosers. (Its file is named for the
// widgets build, which is the only one that links QtWidgets.)
// UI thread only.
class QtUserDialogs : public UserDialogs {
public:
    // Dialogs open over `parent`, or over the active window when it is null.
    explicit QtUserDialogs(QWidget* parent = nullptr) : m_parent(parent) {}

    bool askYesNo(const QString& title, const QString& text) override;
    void inform(const QString& title, const QString& text) override;
    QStringList chooseFilesToOpen(const QString& title, const QString& folder, const QString& filter) override;
    QString chooseFileToSave(const QString& title, const QString& folder, const QString& filter) override;

    // "MP3 Files|*.mp3; *.wav|All Files|*.*" becomes
    // "MP3 Files (*.mp3 *.wav);;All Files (*.*)". A filter already in Qt's
    // form (no "|") is returned as it is.
    static QString toQtFilter(const QString& filter);

private:
    QWidget* parentWidget() const;

    QWidget* m_parent;
};

}  // namespace tavlo
