#include "platform/widgets/QtShell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace tavlo {

void QtShell::openUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

void QtShell::openManual()
{
    const QDir here(m_programFolder);
    for (const QString& candidate : {here.filePath(QStringLiteral("manual.html")),
                                     here.filePath(QStringLiteral("../share/doc/tavlo/manual.html"))}) {
        const QFileInfo file(candidate);
        if (file.isFile()) {
            openUrl(QUrl::fromLocalFile(file.canonicalFilePath()));
            return;
        }
    }
}

}  // namespace tavlo
