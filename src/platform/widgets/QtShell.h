#pragma once

#include "platform/Shell.h"

#include <QString>

namespace tavlo {

// Opens through the desktop's default programs. The manual is looked for
// beside the program (a run from the build folder), then where the install
// puts it.
// UI thread only.
class QtShell : public Shell {
public:
    explicit QtShell(const QString& programFolder) : m_programFolder(programFolder) {}
    void openUrl(const QUrl& url) override;
    void openManual() override;

private:
    QString m_programFolder;
};

}  // namespace tavlo
