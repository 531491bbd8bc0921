// Options > Web Remote...: what OK keeps and applies, what it refuses, and
// the token the remote is given.
#include "fakes/FakeServices.h"
#include "web/WebRemoteDialog.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

TEST(WebRemoteDialog, OkKeepsAndAppliesTheChoiceAndTheTokenIsMadeOnceAndRenewed)
{
    qunsetenv(WebRemoteSettings::kEnvironmentToken);
    MemorySettingsStore store;
    FakeDialogs dialogs;
    WebRemoteSettings settings(store, QStringLiteral("TAVLO Broadcast"));
    WebRemoteDialog dialog(settings, dialogs);
    Form window(QStringLiteral("w"), QStringLiteral("w"));
    std::vector<WebRemoteChoice> applied;
    dialog.onApply = [&](const WebRemoteChoice& c) {
        applied.push_back(c);
        return QStringLiteral("Listening");
    };
    QString renewed;
    dialog.onTokenRenewed = [&](const QString& t) { renewed = t; };

    // Off by default, on the loopback address; the token is made on first sight and then kept.
    dialog.openFrom(window);
    EXPECT_EQ(dialog.enabledCheck->value(), 0);
    EXPECT_EQ(dialog.addressBox->text(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(dialog.portBox->text(), QStringLiteral("8091"));
    const QString token = dialog.tokenLabel->text();
    EXPECT_EQ(token.size(), 43);
    EXPECT_EQ(settings.token(), token);

    // A port that is no port is refused with a word, and nothing is kept or applied.
    dialog.enabledCheck->setValue(1);
    dialog.portBox->setText(QStringLiteral("99999"));
    dialog.okButton->press();
    EXPECT_EQ(dialogs.informed.size(), 1);
    EXPECT_TRUE(applied.empty());
    EXPECT_EQ(settings.read().enabled, false);

    dialog.addressBox->setText(QStringLiteral("::"));
    dialog.portBox->setText(QStringLiteral("8100"));
    dialog.okButton->press();
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_TRUE(applied[0].enabled);
    EXPECT_EQ(applied[0].address, (WebAddress{QStringLiteral("::"), 8100}));
    EXPECT_EQ(settings.read(), applied[0]);  // kept as applied, IPv6 and all
    EXPECT_EQ(dialog.statusLabel->text(), QStringLiteral("Listening"));

    // New Token: another one, kept, and handed to the remote.
    dialog.renewTokenButton->press();
    EXPECT_NE(renewed, token);
    EXPECT_EQ(settings.token(), renewed);
    EXPECT_EQ(dialog.tokenLabel->text(), renewed);

    // The environment's token wins and is never shown.
    qputenv(WebRemoteSettings::kEnvironmentToken, "from-the-environment");
    EXPECT_EQ(settings.token(), QStringLiteral("from-the-environment"));
    dialog.openFrom(window);
    EXPECT_EQ(dialog.tokenLabel->text(), QStringLiteral("(from TAVLO_WEB_TOKEN)"));
    EXPECT_FALSE(dialog.renewTokenButton->isEnabled());
    qunsetenv(WebRemoteSettings::kEnvironmentToken);
}
