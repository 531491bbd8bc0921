#include "platform/widgets/QtDialogsWidget.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

namespace tavlo {

QWidget* QtUserDialogs::parentWidget() const { return m_parent ? m_parent : QApplication::activeWindow(); }

bool QtUserDialogs::askYesNo(const QString& title, const QString& text)
{
    return QMessageBox::question(parentWidget(), title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

void QtUserDialogs::inform(const QString& title, const QString& text)
{
    QMessageBox::information(parentWidget(), title, text);
}

QStringList QtUserDialogs::chooseFilesToOpen(const QString& title, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileNames(parentWidget(), title, folder, toQtFilter(filter));
}

QString QtUserDialogs::chooseFileToSave(const QString& title, const QString& folder, const QString& filter)
{
    return QFileDialog::getSaveFileName(parentWidget(), title, folder, toQtFilter(filter));
}

QString QtUserDialogs::toQtFilter(const QString& filter)
{
    if (!filter.contains(QLatin1Char('|')))
        return filter;
    static const QRegularExpression separators(QStringLiteral("[;\\s]+"));
    static const QRegularExpression shownPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QStringList patterns = parts.at(i + 1).split(separators, Qt::SkipEmptyParts);
        if (patterns.isEmpty())
            continue;
        // Qt lists the patterns itself in the trailing brackets, so a
        // description that already shows them ("MP3 (*.mp3)") drops its own.
        QString description = parts.at(i).trimmed();
        description.remove(shownPatterns);
        if (description.isEmpty())
            description = patterns.join(QLatin1Char(' '));
        entries.append(description + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return entries.join(QLatin1String(";;"));
}

}  // namespace tavlo
