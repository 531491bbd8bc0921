#include "log/LogFolderDialog.h"

namespace tavlo {

LogFolderDialog::LogFolderDialog(QObject* parent)
    : Form(QStringLiteral("LogFolderDialog"), QStringLiteral("Setup Log folder"), parent),
      Label1(new Label(this, QStringLiteral("Label1"), QStringLiteral("Select a folder to write the log file to"))),
      dirList(new FolderList(this, QStringLiteral("dirList"))),
      txtLogPath(new TextBox(this, QStringLiteral("txtLogPath"))),
      cmdOk(new Button(this, QStringLiteral("cmdOk"), QStringLiteral("OK"))),
      cmdClose(new Button(this, QStringLiteral("cmdClose"), QStringLiteral("X")))
{
    setGeometry(0, 0, 4800, 4200);
    txtLogPath->setToolTip(QStringLiteral("If you enter the folder path by typing make sure of doing it correctly"));
    dirList->onChange = [this] { dirList_Change(); };
    cmdOk->onClick = [this] { cmdOk_Click(); };
    cmdClose->onClick = [this] { cmdClose_Click(); };
}

void LogFolderDialog::openFrom(int opener, const Form& window, const QString& strLogPath)
{
    setGeometry(window.left() + 100, window.top() + 100, width(), height());
    dirList->setPath(strLogPath);  // an empty or missing folder leaves the list where it was
    show();
    LogFolderOpener = opener;
}

void LogFolderDialog::cmdOk_Click()
{
    QString folder = txtLogPath->text();
    // The log file name is the folder text followed by the date, so the
    // folder must end in a separator. A typed "\" counts as one too.
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')) && !folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('/');
    // A lone separator means "no folder": the log then goes to the current folder.
    if (folder == QLatin1String("/") || folder == QLatin1String("\\"))
        folder.clear();
    txtLogPath->setText(folder);
    const auto& target = LogFolderOpener == MainWindow ? setMainLogPath : setInsertLogPath;
    if (target)
        target(folder);
    hide();
}

void LogFolderDialog::cmdClose_Click() { hide(); }

void LogFolderDialog::dirList_Change() { txtLogPath->setText(dirList->path()); }

}  // namespace tavlo
