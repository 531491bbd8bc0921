#include "log/LogFolderDialog.h"

#include <utility>

namespace tavlo {

LogFolderDialog::LogFolderDialog(QObject* parent)
    : Form(QStringLiteral("LogFolderDialog"), QStringLiteral("Setup Log folder"), parent),
      headingLabel(new Label(this, QStringLiteral("Label1"), QStringLiteral("Select a folder to write the log file to"))),
      folderList(new FolderList(this, QStringLiteral("dirList"))),
      folderBox(new TextBox(this, QStringLiteral("txtLogPath"))),
      okButton(new Button(this, QStringLiteral("cmdOk"), QStringLiteral("OK"))),
      closeButton(new Button(this, QStringLiteral("cmdClose"), QStringLiteral("X")))
{
    setGeometry(0, 0, 4800, 4200);
    folderBox->setToolTip(QStringLiteral("If you enter the folder path by typing make sure of doing it correctly"));
    folderList->onChange = [this] { onFolderChosen(); };
    okButton->onClick = [this] { accept(); };
    closeButton->onClick = [this] { close(); };
}

void LogFolderDialog::setDelivery(Opener opener, std::function<void(const QString& logFolder)> deliver)
{
    (opener == Opener::MusicWindow ? m_deliverToMusic : m_deliverToInsert) = std::move(deliver);
}

void LogFolderDialog::openFrom(Opener opener, const Form& window, const QString& logFolder)
{
    setGeometry(window.left() + 100, window.top() + 100, width(), height());
    folderList->setPath(logFolder);  // an empty or missing folder leaves the list where it was
    show();
    m_opener = opener;
}

void LogFolderDialog::accept()
{
    QString folder = folderBox->text();
    // The log file name is the folder text followed by the date, so the
    // folder must end in a separator. A typed "\" counts as one too.
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('/');
    // A lone separator means "no folder": the log then goes to the current folder.
    if (folder == QLatin1String("/") || folder == QLatin1String("\\"))
        folder.clear();
    folderBox->setText(folder);
    const auto& target = m_opener == Opener::MusicWindow ? m_deliverToMusic : m_deliverToInsert;
    if (target)
        target(folder);
    hide();
}

void LogFolderDialog::close() { hide(); }

void LogFolderDialog::onFolderChosen() { folderBox->setText(folderList->path()); }

}  // namespace tavlo
