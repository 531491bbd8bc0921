#include "platform/ConsoleDialogs.h"

#include <QStringList>

#include <cstdio>

namespace tavlo {

bool ConsoleDialogs::askYesNo(const QString&, const QString&) { return true; }

void ConsoleDialogs::inform(const QString& title, const QString& text)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
}

QStringList ConsoleDialogs::chooseFilesToOpen(const QString&, const QString&, const QString&) { return {}; }

QString ConsoleDialogs::chooseFileToSave(const QString&, const QString&, const QString&) { return {}; }

}  // namespace tavlo
