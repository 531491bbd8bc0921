#include "log/LogFolderDialog.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tavlo;

TEST(LogFolderDialog, OkEndsTheFolderWithASeparatorAndAnswersOnlyItsOpener)
{
    QTemporaryDir dir;
    const QString adLogs = dir.filePath(QStringLiteral("ads"));
    ASSERT_TRUE(QDir().mkpath(adLogs));
    Form music(QStringLiteral("MusicWindow"), QStringLiteral("TAVLO Broadcast Music"));
    Form insert(QStringLiteral("InsertWindow"), QStringLiteral("TAVLO Broadcast - Time Priority"));
    QString musicLogPath = QStringLiteral("/music/");
    QString insertLogPath = QStringLiteral("/insert/");
    LogFolderDialog form;
    form.setDelivery(LogFolderDialog::Opener::MusicWindow, [&](const QString& p) { musicLogPath = p; });
    form.setDelivery(LogFolderDialog::Opener::InsertWindow, [&](const QString& p) { insertLogPath = p; });

    // From the insert window, showing its folder (where it stands and X are
    // checked with the music window's view).
    form.openFrom(LogFolderDialog::Opener::InsertWindow, insert, adLogs + QLatin1Char('/'));
    EXPECT_EQ(form.folderBox->text(), adLogs);
    form.okButton->press();
    EXPECT_EQ(insertLogPath, adLogs + QLatin1Char('/'));
    EXPECT_EQ(musicLogPath, QStringLiteral("/music/"));

    const std::pair<const char*, const char*> cases[] = {
        {"/srv/logs", "/srv/logs/"}, {"/srv/logs/", "/srv/logs/"}, {"D:\\logs\\", "D:\\logs\\"}, {"/", ""},
    };
    for (const auto& [typed, stored] : cases) {
        form.openFrom(LogFolderDialog::Opener::MusicWindow, music, QStringLiteral("/no/such/folder"));  // ignored
        form.folderBox->setText(QString::fromLatin1(typed));
        form.okButton->press();
        EXPECT_EQ(musicLogPath, QString::fromLatin1(stored)) << typed;
    }
    EXPECT_EQ(insertLogPath, adLogs + QLatin1Char('/'));
}
