// "Setup Log Folder..." of the music window on the desktop: the folder window
// shows where the window logic puts it, and what is typed and accepted there
// becomes the music window's log folder.
#include "log/frmTavloOptionsView.h"
#include "playback/WindowRig.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "tavlo_view_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}

void type(QWidget* target, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
    }
}

}  // namespace

TEST(frmPlayerLogFolderView, TypedFolderAcceptedWithOkBecomesTheLogFolder)
{
    ensureApplication();
    WindowRig r;
    frmTavloOptionsView view(r.logFolderWindow);
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("logs"))));
    r.w->setGeometry(1500, 900, 6615, 9000);
    r.w->strLogPath = dir.path() + QLatin1Char('/');
    auto* edit = view.findChild<QLineEdit*>(QStringLiteral("txtLogPath"));
    auto* ok = view.findChild<QPushButton*>(QStringLiteral("cmdOk"));
    auto* close = view.findChild<QPushButton*>(QStringLiteral("cmdClose"));
    ASSERT_TRUE(edit && ok && close);
    EXPECT_FALSE(view.isVisible());

    r.w->mnuLogFolder->click();
    EXPECT_TRUE(view.isVisible());
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Setup Log folder"));
    EXPECT_EQ(view.pos(), QPoint(1600 / kTwipsPerPixel, 1000 / kTwipsPerPixel));
    EXPECT_EQ(edit->text(), dir.path());
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(close->text(), QStringLiteral("X"));

    type(edit, QStringLiteral("/logs"));
    ok->click();
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(r.w->strLogPath, dir.path() + QStringLiteral("/logs/"));

    // X and Escape only close it.
    r.w->mnuLogFolder->click();
    type(edit, QStringLiteral("x"));
    close->click();
    EXPECT_FALSE(view.isVisible());
    r.w->mnuLogFolder->click();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&view, &escape);
    EXPECT_FALSE(view.isVisible());
    EXPECT_FALSE(r.logFolderWindow.isVisible());
    EXPECT_EQ(r.w->strLogPath, dir.path() + QStringLiteral("/logs/"));
}
