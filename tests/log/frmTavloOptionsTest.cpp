#include "log/frmTavloOptions.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavlo;

namespace {

struct Windows {
    Form main{QStringLiteral("frmPlayer"), QStringLiteral("TAVLO Broadcast Music")};
    Form insert{QStringLiteral("frmPlayer2"), QStringLiteral("TAVLO Broadcast - Time Priority")};
    QString mainLogPath = QStringLiteral("/unchanged/main/");
    QString insertLogPath = QStringLiteral("/unchanged/insert/");

    void connect(frmTavloOptions& form)
    {
        form.setMainLogPath = [this](const QString& p) { mainLogPath = p; };
        form.setInsertLogPath = [this](const QString& p) { insertLogPath = p; };
    }
};

}  // namespace

TEST(frmTavloOptions, OkEndsTheFolderWithASeparatorAndEmptiesALoneOne)
{
    frmTavloOptions form;
    Windows w;
    w.connect(form);
    const std::pair<const char*, const char*> cases[] = {
        {"/srv/tavlo/logs", "/srv/tavlo/logs/"},
        {"/srv/tavlo/logs/", "/srv/tavlo/logs/"},
        {"D:\\logs\\", "D:\\logs\\"},  // a typed backslash already ends it
        {"logs", "logs/"},
        {"/", ""},
        {"\\", ""},
        {"", ""},
    };
    for (const auto& [typed, stored] : cases) {
        form.openFrom(frmTavloOptions::MainWindow, w.main, QString());
        form.txtLogPath->setText(QString::fromLatin1(typed));
        form.cmdOk->press();
        EXPECT_EQ(w.mainLogPath, QString::fromLatin1(stored)) << typed;
        EXPECT_EQ(form.txtLogPath->text(), QString::fromLatin1(stored)) << typed;
        EXPECT_FALSE(form.isVisible());
    }
    EXPECT_EQ(w.insertLogPath, QStringLiteral("/unchanged/insert/"));

    // X only hides.
    form.openFrom(frmTavloOptions::MainWindow, w.main, QString());
    form.txtLogPath->setText(QStringLiteral("/elsewhere"));
    form.cmdClose->press();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(w.mainLogPath, QString());
}

TEST(frmTavloOptions, OpensBesideItsWindowAndAnswersOnlyThatWindow)
{
    QTemporaryDir dir;
    const QString musicLogs = dir.filePath(QStringLiteral("music"));
    const QString adLogs = dir.filePath(QStringLiteral("ads"));
    ASSERT_TRUE(QDir().mkpath(musicLogs));
    ASSERT_TRUE(QDir().mkpath(adLogs));

    frmTavloOptions form;
    Windows w;
    w.connect(form);
    w.main.setGeometry(1000, 2000, 9000, 7000);
    w.insert.setGeometry(10000, 2000, 9000, 7000);

    // From the insert window: placed at its corner + 100 twips, showing its folder.
    form.openFrom(frmTavloOptions::InsertWindow, w.insert, adLogs + QLatin1Char('/'));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.left(), 10100);
    EXPECT_EQ(form.top(), 2100);
    EXPECT_EQ(form.txtLogPath->text(), adLogs);
    form.cmdOk->press();
    EXPECT_EQ(w.insertLogPath, adLogs + QLatin1Char('/'));
    EXPECT_EQ(w.mainLogPath, QStringLiteral("/unchanged/main/"));

    // Picking a folder in the list fills the text box; OK goes to the main window.
    form.openFrom(frmTavloOptions::MainWindow, w.main, QStringLiteral("/unchanged/main/"));
    EXPECT_EQ(form.left(), 1100);
    EXPECT_EQ(form.txtLogPath->text(), adLogs + QLatin1Char('/'));  // a missing folder leaves the list alone
    form.dirList->setPath(musicLogs);
    EXPECT_EQ(form.txtLogPath->text(), musicLogs);
    form.cmdOk->press();
    EXPECT_EQ(w.mainLogPath, musicLogs + QLatin1Char('/'));
    EXPECT_EQ(w.insertLogPath, adLogs + QLatin1Char('/'));
}
