#include "platform/XdgAutostart.h"

#include "fakes/TestFiles.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

// The entry the desktop reads at login: written whole, valid, removed again,
// in the folder the desktop looks in; a folder that cannot be made is said
// in words with the path.
TEST(XdgAutostart, WritesAValidEntryRemovesItAndSaysWhyItCannot)
{
    QTemporaryDir home;
    const bool hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    const QString folder = XdgAutostart::defaultFolder();
    if (hadConfig)
        qputenv("XDG_CONFIG_HOME", oldConfig);
    else
        qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(folder, home.path() + QStringLiteral("/autostart"));

    XdgAutostart autostart(folder);  // the folder does not exist yet
    EXPECT_FALSE(autostart.isEnabled());
    EXPECT_EQ(autostart.setEnabled(true), QString());
    EXPECT_TRUE(autostart.isEnabled());
    const QString entry = folder + QStringLiteral("/tavlo.desktop");
    const QByteArray text = readFile(entry);
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    for (const char* line : {"\nType=Application\n", "\nName=Tavlo\n", "\nExec=tavlo\n", "\nX-GNOME-Autostart-enabled=true\n"})
        EXPECT_TRUE(text.contains(line)) << line;
    if (!QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty()) {
        EXPECT_TRUE(runTool("desktop-file-validate", {entry}));
    }
    EXPECT_EQ(autostart.setEnabled(true), QString());  // again: the same entry
    EXPECT_EQ(readFile(entry), text);
    EXPECT_EQ(autostart.setEnabled(false), QString());
    EXPECT_FALSE(QFile::exists(entry));
    EXPECT_EQ(autostart.setEnabled(false), QString());  // nothing to remove is no failure

    // Under a plain file no folder can be made, not even by root.
    const QString file = writeFile(home.filePath(QStringLiteral("file")), "x");
    XdgAutostart blocked(file + QStringLiteral("/autostart"));
    const QString why = blocked.setEnabled(true);
    EXPECT_TRUE(why.startsWith(QStringLiteral("Tavlo cannot start with the desktop: ") + file)) << why.toStdString();
    EXPECT_FALSE(blocked.isEnabled());
}
