// "Setup Log Folder..." of the music window on the desktop: the folder window
// shows where the window logic puts it, and what is typed and accepted there
// becomes the music window's log folder.
#include "fakes/QtTestApp.h"
#include "fakes/ViewChecks.h"
#include "log/LogFolderDialogView.h"
#include "playback/WindowRig.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

TEST(MusicWindowLogFolderView, TypedFolderAcceptedWithOkBecomesTheLogFolder)
{
    WindowRig r;
    LogFolderDialogView view(r.logFolderWindow);
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("logs"))));
    r.w->setGeometry(1500, 900, 6615, 9000);
    r.w->setLogFolder(dir.path() + QLatin1Char('/'));
    auto* edit = child<QLineEdit>(view, "txtLogPath");

    r.w->logFolderItem->click();
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(view.pos(), QPoint(1600 / kTwipsPerPixel, 1000 / kTwipsPerPixel));  // the music window's corner + 100 twips
    EXPECT_EQ(edit->text(), dir.path());
    QTest::keyClicks(edit, QStringLiteral("/logs"));
    child<QPushButton>(view, "cmdOk")->click();
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(r.w->logFolder(), dir.path() + QStringLiteral("/logs/"));

    // X only closes it.
    r.w->logFolderItem->click();
    QTest::keyClicks(edit, QStringLiteral("x"));
    child<QPushButton>(view, "cmdClose")->click();
    EXPECT_FALSE(view.isVisible() || r.logFolderWindow.isVisible());
    EXPECT_EQ(r.w->logFolder(), dir.path() + QStringLiteral("/logs/"));
}
