#include "log/frmTavloOptions.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavlo;

TEST(frmTavloOptions, OkEndsTheFolderWithASeparatorAndAnswersOnlyItsOpener)
{
    QTemporaryDir dir;
    const QString adLogs = dir.filePath(QStringLiteral("ads"));
    ASSERT_TRUE(QDir().mkpath(adLogs));
    Form music(QStringLiteral("frmPlayer"), QStringLiteral("TAVLO Broadcast Music"));
    Form insert(QStringLiteral("frmPlayer2"), QStringLiteral("TAVLO Broadcast - Time Priority"));
    insert.setGeometry(10000, 2000, 9000, 7000);
    QString musicLogPath = QStringLiteral("/music/");
    QString insertLogPath = QStringLiteral("/insert/");
    frmTavloOptions form;
    form.setMainLogPath = [&](const QString& p) { musicLogPath = p; };
    form.setInsertLogPath = [&](const QString& p) { insertLogPath = p; };

    // From the insert window: placed at its corner + 100 twips, showing its folder.
    form.openFrom(frmTavloOptions::InsertWindow, insert, adLogs + QLatin1Char('/'));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(std::pair(form.left(), form.top()), std::pair(10100, 2100));
    EXPECT_EQ(form.txtLogPath->text(), adLogs);
    form.cmdOk->press();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(insertLogPath, adLogs + QLatin1Char('/'));
    EXPECT_EQ(musicLogPath, QStringLiteral("/music/"));

    const std::pair<const char*, const char*> cases[] = {
        {"/srv/logs", "/srv/logs/"}, {"/srv/logs/", "/srv/logs/"}, {"D:\\logs\\", "D:\\logs\\"},
        {"logs", "logs/"},           {"/", ""},                    {"\\", ""},
    };
    for (const auto& [typed, stored] : cases) {
        form.openFrom(frmTavloOptions::MainWindow, music, QStringLiteral("/no/such/folder"));  // ignored
        form.txtLogPath->setText(QString::fromLatin1(typed));
        form.cmdOk->press();
        EXPECT_EQ(musicLogPath, QString::fromLatin1(stored)) << typed;
    }
    EXPECT_EQ(insertLogPath, adLogs + QLatin1Char('/'));

    // X only hides.
    form.openFrom(frmTavloOptions::MainWindow, music, QString());
    form.txtLogPath->setText(QStringLiteral("/elsewhere"));
    form.cmdClose->press();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(musicLogPath, QString());
}
