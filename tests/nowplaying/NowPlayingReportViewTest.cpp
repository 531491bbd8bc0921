#include "nowplaying/NowPlayingReportView.h"
#include "fakes/TestText.h"
#include "fakes/QtTestApp.h"
#include "fakes/ViewChecks.h"
#include "nowplaying/NowPlayingReport.h"
#include "platform/HttpClient.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

namespace tavlo::test {
namespace {

struct RecordingHttp : HttpClient {
    void get(const QUrl& url, std::function<void(const HttpAnswer&)> done) override
    {
        urls << url;
        done(HttpAnswer{QStringLiteral("<h1>OK</h1><p>song added</p>"), QString()});
    }
    QList<QUrl> urls;
};

using tavlo::test::s;

}  // namespace

TEST(NowPlayingReportView, LegibleMaskedAndForwardingTheUser)
{
    RecordingHttp http;
    NowPlayingReport form(http);
    NowPlayingReportView view(form);
    form.show();
    ASSERT_TRUE(view.isVisible());
    expectLegible(view);

    auto* password = child<QLineEdit>(view, "txtPassword");
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    password->clear();
    QTest::keyClicks(password, s("hunter2"));
    EXPECT_EQ(form.passwordBox->text(), s("hunter2"));

    // The switch turns "Send" on; its press goes out and the answer shows as a page.
    auto* send = child<QPushButton>(view, "cmdSendId3Tags");
    EXPECT_FALSE(send->isEnabled());
    child<QCheckBox>(view, "chkSend")->click();
    ASSERT_TRUE(send->isEnabled());
    send->click();
    ASSERT_EQ(http.urls.size(), 1);
    EXPECT_EQ(http.urls[0].scheme(), s("https"));
    auto* page = child<QTextBrowser>(view, "WebBrowser1");
    EXPECT_TRUE(page->isReadOnly());
    EXPECT_EQ(page->toPlainText(), s("OK\nsong added"));
}

}  // namespace tavlo::test
