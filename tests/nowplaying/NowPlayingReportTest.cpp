// The playing-now report as the service sees it: what the music window sends
// for each song it loads, to a web server on the loopback address.
#include "nowplaying/LoopbackHttpServer.h"
#include "fakes/TestText.h"
#include "fakes/TestFiles.h"
#include "nowplaying/NowPlayingReport.h"
#include "platform/net/QtHttpClient.h"
#include "playback/WindowRig.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QUrlQuery>

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {


// The station with its report pointed at `server`.
struct ReportRig {
    explicit ReportRig(const QUrl& server) : http(5000), r(http, server) {}
    EventLoopApp app;
    QtHttpClient http;
    WindowRig r;
    NowPlayingReport& live = r.station.report();
    bool answered(const QString& page)
    {
        const bool ok = EventLoopApp::spinUntil([&] { return live.responsePage->text() == page; });
        EXPECT_TRUE(ok) << qPrintable(live.responsePage->text());
        return ok;
    }
};

}  // namespace

TEST(NowPlayingReport, ReportsEachMusicSongWholeWithItsPlayedLength)
{
    LoopbackHttpServer server;
    ReportRig rig(server.url());
    WindowRig& r = rig.r;
    rig.live.userNameBox->setText(s("my station"));
    rig.live.passwordBox->setText(s("p&ss wörd"));
    rig.live.sendCheck->setValue(1);

    r.w->setCutFirst(5);
    r.w->setCutLast(10);
    r.add(s("Albums/Best Of/Song One"), 200);
    r.w->clipList->setText(1, ColTitle, s("Rock & Roll #1 café+"));
    r.w->clipList->setText(1, ColArtist, s("Zoë"));
    r.w->clipList->setText(1, ColCd, s("Live?/Loud"));
    const QString shortSong = r.add(s("short"), 12);  // the trims would leave nothing of it
    r.w->play();
    ASSERT_TRUE(rig.answered(LoopbackHttpServer::page(1)));

    // The path and the keys in order, each value whole, the seconds between the trims.
    ASSERT_EQ(server.targets.size(), 1);
    EXPECT_EQ(server.targets[0], QByteArray("/cgi-bin/add_song.cgi?version=2&pass=p%26ss%20w%C3%B6rd&handle=my%20station"
                                            "&title=Rock%20%26%20Roll%20%231%20caf%C3%A9%2B&artist=Zo%C3%AB"
                                            "&album=Live%3F%2FLoud&seconds=185&fileName=Song%20One.mp3"));

    // The next song, loaded by the song change, plays whole.
    ASSERT_TRUE(r.runUntil([&] { return r.pathInPlay() == shortSong; }));
    ASSERT_TRUE(rig.answered(LoopbackHttpServer::page(2)));
    ASSERT_EQ(server.targets.size(), 2);
    const QUrlQuery second(QUrl::fromEncoded(server.targets[1]));
    EXPECT_EQ(std::pair(second.queryItemValue(s("seconds")), second.queryItemValue(s("fileName"))), std::pair(s("12"), s("short.mp3")));
}

TEST(NowPlayingReport, SendsNothingWhileDisabledNorForInserts)
{
    LoopbackHttpServer server;
    ReportRig rig(server.url());
    WindowRig& r = rig.r;
    NowPlayingReport& live = rig.live;
    r.w->nowPlayingButton->press();
    EXPECT_TRUE(live.isVisible());

    // Off: the fields follow the songs, nothing is sent, "Send" is greyed and does nothing.
    r.add(s("first"), 100);
    r.add(s("second"), 100);
    r.w->play();
    EXPECT_EQ(live.fileNameBox->text(), s("first.mp3"));
    live.sendButton->press();

    live.sendCheck->setValue(1);

    // On: a break of two inserts, with its own song change, reports nothing;
    // the music song cued to wait for the break's end is reported.
    QStringList filled;
    live.fileNameBox->onChange = [&] { filled << live.fileNameBox->text(); };
    r.addInsert(s("ad1"), 10);
    const QString last = r.addInsert(s("ad2"), 10);
    r.ins->insertNowButton->press();
    ASSERT_TRUE(r.runUntil([&] { return r.pathInPlay(r.ins) == last; }));
    EXPECT_EQ(filled, QStringList{s("second.mp3")});
    ASSERT_TRUE(rig.answered(LoopbackHttpServer::page(1)));
    // The first the server ever heard of is the song loaded after switching on.
    ASSERT_EQ(server.targets.size(), 1);
    EXPECT_TRUE(server.targets[0].endsWith("&fileName=second.mp3"));
}

TEST(NowPlayingReport, FailuresShowInThePaneWhileTheMusicPlaysOn)
{
    ReportRig rig(QUrl(s("http://127.0.0.1:1")));  // nobody there
    WindowRig& r = rig.r;
    rig.live.sendCheck->setValue(1);
    const QString song = r.add(s("song"), 100);
    r.w->play();
    // The song is under way before any answer could have come.
    EXPECT_EQ(r.stream(song)->state(), FakeStream::State::Running);
    ASSERT_TRUE(EventLoopApp::spinUntil([&] { return !rig.live.responsePage->text().isEmpty(); }));
    EXPECT_TRUE(rig.live.responsePage->text().contains(s("refused"), Qt::CaseInsensitive)) << qPrintable(rig.live.responsePage->text());
    r.time.advance(5000);
    EXPECT_EQ(r.stream(song)->state(), FakeStream::State::Running);
}

// What is written while reports go out, successful or not: the settings,
// the as-run log, stdout and stderr. None of it may hold the password.
TEST(NowPlayingReport, ThePasswordIsWrittenNowhere)
{
    const QString password = s("Zq7-secret-Xw9");
    QTemporaryDir dir;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    QStringList written;
    {
        LoopbackHttpServer server;
        ReportRig rig(server.url());
        ReportRig unreachable(QUrl(s("http://127.0.0.1:1")));
        for (ReportRig* rr : {&rig, &unreachable}) {
            WindowRig& r = rr->r;
            r.w->setLogFolder(dir.path() + QLatin1Char('/'));
            r.w->writeLogItem->click();
            rr->live.passwordBox->setText(password);
            rr->live.sendCheck->setValue(1);
            r.add(s("a"), 30);
            r.add(s("b"), 30);
            r.w->play();
            r.runUntil([&] { return r.w->rowInPlay() == 2; });
            EXPECT_TRUE(EventLoopApp::spinUntil([&] { return !rr->live.responsePage->text().isEmpty(); }));
            r.dialogs.answerYes = true;
            r.w->mayClose();
            EXPECT_FALSE(r.settings.values.isEmpty());
            written << rr->live.responsePage->text() << r.settings.values.values();
        }
    }
    written << QString::fromStdString(testing::internal::GetCapturedStdout())
            << QString::fromStdString(testing::internal::GetCapturedStderr());
    for (QDirIterator it(dir.path(), QDir::Files); it.hasNext();)
        written << QString::fromUtf8(readFile(it.next()));
    EXPECT_GE(written.size(), 5);
    for (const QString& text : written)
        EXPECT_FALSE(text.contains(password)) << qPrintable(text);
}
