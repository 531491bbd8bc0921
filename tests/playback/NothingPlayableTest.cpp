// A music list whose files have all gone (an unmounted share): how often it
// is tried, what the log and the operator hear of it, the fallback list on
// air meanwhile, and the list's own song back once a file returns.
#include "fakes/TestFiles.h"
#include "fakes/TestText.h"
#include "playback/WindowRig.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

using namespace tavlo;
using namespace tavlo::test;

namespace {

// What the music window said, and when: as-run entries, songs started, notices.
struct Heard {
    explicit Heard(WindowRig& r) : m_r(r)
    {
        QObject::connect(r.w, &PlayerWindow::logEntryWritten, r.w, [this](const QString& error, const QString& line) {
            (error.isEmpty() ? lines : errors) << error + line;
        });
        QObject::connect(r.w, &PlayerWindow::songStarted, r.w,
                         [this](const QString& path) { started.emplace_back(m_r.time.elapsedMs(), path); });
        QObject::connect(r.w, &PlayerWindow::notice, r.w, [this](const QString& text) { notices << text; });
    }
    QStringList errors;
    QStringList lines;  // songs logged as on air
    std::vector<std::pair<std::int64_t, QString>> started;
    QStringList notices;

private:
    WindowRig& m_r;
};

// Missing files at the end of the music list.
QStringList addMissing(WindowRig& r, std::initializer_list<const char*> names)
{
    QStringList paths;
    for (const char* name : names) {
        paths << s("/share/") + QLatin1String(name) + s(".mp3");
        r.w->addFileToList(paths.back(), 0, *r.w->clipList);
    }
    return paths;
}

// Runs `ms` of simulated time; returns when each pass over the list began
// (the moments `firstRow` was tried) and how many opens failed in all.
std::pair<std::vector<std::int64_t>, int> passesOver(WindowRig& r, const QString& firstRow, std::int64_t ms)
{
    std::vector<std::int64_t> passes;
    int failed = 0;
    auto look = [&] {
        for (const QString& path : std::exchange(r.media.failedOpens, {})) {
            ++failed;
            if (path == firstRow)
                passes.push_back(r.time.elapsedMs());
        }
    };
    look();
    const std::int64_t end = r.time.elapsedMs() + ms;
    while (r.time.step(end - r.time.elapsedMs()))
        look();
    r.time.advance(end - r.time.elapsedMs());
    return {passes, failed};
}

// The gaps between passes, each checked against the back-off's wait.
void expectBackOff(const std::vector<std::int64_t>& passes, std::int64_t lateBy)
{
    for (std::size_t k = 1; k < passes.size(); ++k) {
        const std::int64_t wait = std::min<std::int64_t>(1000LL << std::min<std::size_t>(k - 1, 20), 60000);
        const std::int64_t gap = passes[k] - passes[k - 1];
        EXPECT_TRUE(gap >= wait && gap <= wait + lateBy) << "pass " << k << " came " << gap << " ms after the last";
    }
}

}  // namespace

TEST(NothingPlayable, AListOfMissingFilesIsTriedOnABackOffLoggedOnceAndPlaysWhenAFileReturns)
{
    WindowRig r;
    Heard heard(r);
    const QStringList rows = addMissing(r, {"a", "b", "c"});
    r.w->play();

    // Ten minutes: passes at 0, 1, 3, 7, 15, 31, 63 s, then one a minute;
    // three opens each, three log lines in all, one word to the operator.
    const auto [passes, failed] = passesOver(r, rows[0], 600000);
    EXPECT_EQ(passes, (std::vector<std::int64_t>{0, 1000, 3000, 7000, 15000, 31000, 63000, 123000, 183000, 243000,
                                                 303000, 363000, 423000, 483000, 543000}));
    EXPECT_EQ(failed, 3 * 15);
    EXPECT_EQ(heard.errors, (QStringList{s("**ERROR** /share/a.mp3"), s("**ERROR** /share/b.mp3"), s("**ERROR** /share/c.mp3")}));
    EXPECT_EQ(heard.notices, QStringList{PlayerWindow::nothingPlayableText()});
    EXPECT_EQ(r.w->statusBar->panelText(1), PlayerWindow::nothingPlayableText());
    // Idle in between: no tick runs while nothing sounds.
    EXPECT_EQ(std::tuple(r.w->status(), r.w->backingOff(), r.w->positionTimer().isEnabled()),
              std::tuple(DeckStatus::Stopped, true, false));

    // Next tries at once, logs nothing again, and leaves the schedule alone.
    r.w->next();
    EXPECT_EQ(std::pair(r.media.failedOpens.size(), heard.errors.size()), std::pair(qsizetype(3), qsizetype(3)));
    r.media.failedOpens.clear();
    EXPECT_EQ(passesOver(r, rows[0], 4000).first, std::vector<std::int64_t>{603000});

    // b is back: the next retry, at most a minute away, plays and logs it.
    r.media.addFile(rows[1], 200);
    const std::int64_t back = r.time.elapsedMs();
    ASSERT_TRUE(r.runUntil([&] { return !heard.started.empty(); }, 61000));
    EXPECT_LE(heard.started[0].first - back, 60000);
    EXPECT_EQ(std::tuple(heard.started[0].second, r.pathInPlay(), r.w->rowInPlay(), r.w->status(), r.w->backingOff()),
              std::tuple(rows[1], rows[1], 2, DeckStatus::Playing, false));
    EXPECT_EQ(heard.notices, (QStringList{PlayerWindow::nothingPlayableText(), PlayerWindow::listPlaysAgainText()}));
    EXPECT_EQ(heard.errors.size(), 3);
}

TEST(NothingPlayable, TheFallbackIsOnAirAtOnceAndHandsBackWhenTheListPlaysAgain)
{
    QTemporaryDir dir;
    const QString m3u = writeFile(dir.filePath(s("safe.m3u")), "/safe/one.mp3\n/safe/gone.mp3\n/safe/two.mp3\n");
    WindowRig r;
    r.media.addFile(s("/safe/one.mp3"), 40);
    r.media.addFile(s("/safe/two.mp3"), 50);
    // Options > Fallback List...: kept in the settings at once.
    r.dialogs.filesToOpen = {m3u};
    r.w->fallbackListItem->click();
    EXPECT_EQ(r.settings.values.value(s("TAVLO BroadcastTAVLO Broadcast Music|Fallback|List")), m3u);
    EXPECT_EQ(std::pair(r.w->fallbackListItem->checked(), r.w->noFallbackListItem->isEnabled()), std::pair(true, true));
    r.dialogs.filesToOpen.clear();
    r.w->fallbackListItem->click();  // cancelled: kept
    EXPECT_EQ(r.w->fallbackList().source(), m3u);

    Heard heard(r);
    const QStringList rows = addMissing(r, {"a", "b", "c"});
    r.w->play();
    ASSERT_FALSE(heard.started.empty());
    EXPECT_EQ(heard.started[0], std::pair(std::int64_t{0}, s("/safe/one.mp3")));  // with the first failed pass
    // Its next songs are analysed ahead, as the list's rows would be (Auto Cue).
    EXPECT_EQ(r.loudness.requests.last(), (QStringList{s("/safe/gone.mp3"), s("/safe/two.mp3"), s("/safe/one.mp3")}));

    // Ten minutes of the fallback in its order, the list tried on the back-off
    // (a retry due in a ramp waits for its end), each bad file logged once.
    const auto [passes, failed] = passesOver(r, rows[0], 600000);
    expectBackOff(passes, 1000);
    EXPECT_GE(passes.size(), 14u);
    EXPECT_EQ(failed, 3 * static_cast<int>(passes.size()) + static_cast<int>(heard.started.size()) / 2);
    for (std::size_t i = 0; i < heard.started.size(); ++i)
        EXPECT_EQ(heard.started[i].second, i % 2 ? s("/safe/two.mp3") : s("/safe/one.mp3")) << i;
    EXPECT_EQ(heard.started.size(), 14u);  // 39 s and 49 s apart
    EXPECT_EQ(heard.errors, (QStringList{s("**ERROR** /share/a.mp3"), s("**ERROR** /share/b.mp3"), s("**ERROR** /share/c.mp3"),
                             s("**ERROR** /safe/gone.mp3")}));
    EXPECT_EQ(heard.notices, QStringList{PlayerWindow::fallbackPlaysText()});
    EXPECT_EQ(std::tuple(r.w->status(), r.w->onFallback(), r.column(ColLocation)), std::tuple(DeckStatus::Playing, true, rows));

    // c is back: the next retry hands over from the fallback song with the usual ramp.
    r.media.addFile(rows[2], 200);
    const std::int64_t back = r.time.elapsedMs();
    const QString fallbackSong = r.pathInPlay();
    ASSERT_TRUE(r.runUntil([&] { return heard.started.back().second == rows[2]; }, 62000));
    EXPECT_LE(heard.started.back().first - back, 61000);
    FakeStream* outgoing = r.stream(fallbackSong);
    EXPECT_EQ(std::pair(outgoing->state(), r.w->rampTimer().isEnabled()), std::pair(FakeStream::State::Running, true));
    r.time.advance(1100);
    EXPECT_EQ(std::tuple(outgoing->state(), r.w->onFallback(), r.w->backingOff(), r.w->rowInPlay()),
              std::tuple(FakeStream::State::Stopped, false, false, 3));
    EXPECT_EQ(heard.notices, (QStringList{PlayerWindow::fallbackPlaysText(), PlayerWindow::listPlaysAgainText()}));
}

TEST(NothingPlayable, AnEmptyListPlaysTheFallbackFolderAndRowsAddedTakeOverAtOnce)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(s("sub.mp3"));
    for (const char* name : {"b.mp3", "A.flac", "notes.txt"})
        writeFile(dir.filePath(QLatin1String(name)), "x");
    const QString key = s("TAVLO BroadcastTAVLO Broadcast Music|Fallback|List");
    WindowRig r(false);
    r.settings.values.insert(key, s("/stored/list.m3u"));
    // The command line's fallback wins over the stored one and is never saved.
    r.w->forceFallbackList(dir.path());
    r.station.start();
    r.media.addFile(dir.filePath(s("A.flac")), 30);
    r.media.addFile(dir.filePath(s("b.mp3")), 30);
    EXPECT_EQ(FallbackList::songsIn(dir.path()), (QStringList{dir.filePath(s("A.flac")), dir.filePath(s("b.mp3"))}));

    Heard heard(r);
    r.w->play();
    r.time.advance(35000);
    ASSERT_EQ(heard.started.size(), 2u);
    EXPECT_EQ(std::tuple(heard.started[0].first, heard.started[0].second, heard.started[1].second),
              std::tuple(0, dir.filePath(s("A.flac")), dir.filePath(s("b.mp3"))));
    EXPECT_TRUE(r.media.failedOpens.isEmpty());

    // A row added by hand is tried at once, not at the next retry.
    const QString x = r.add(s("x"), 100);
    r.time.advance(10);
    EXPECT_EQ(std::tuple(heard.started.back().second, r.w->onFallback(), r.w->backingOff()), std::tuple(x, false, false));
    r.w->saveSettings();
    EXPECT_EQ(r.settings.values.value(key), s("/stored/list.m3u"));

    // A fallback with nothing playable is silence, as without one; Stop ends the trying.
    r.w->forceFallbackList(dir.filePath(s("sub.mp3")));
    r.w->clearList();
    r.w->next();
    EXPECT_EQ(std::tuple(r.w->status(), r.w->backingOff(), heard.notices.back()),
              std::tuple(DeckStatus::Stopped, true, PlayerWindow::nothingPlayableText()));
    r.w->stop();
    EXPECT_EQ(std::pair(r.w->backingOff(), r.w->retryTimer().isEnabled()), std::pair(false, false));

    // "No Fallback List" clears the stored one too.
    r.w->noFallbackListItem->click();
    EXPECT_EQ(std::tuple(r.settings.values.value(key), r.w->fallbackList().isSet(), r.w->noFallbackListItem->isEnabled()),
              std::tuple(QString(), false, false));
}

TEST(NothingPlayable, ABreakOverTheFallbackHandsBackToItsNextSong)
{
    for (const bool waitForSong : {false, true}) {
        SCOPED_TRACE(waitForSong);
        QTemporaryDir dir;
        WindowRig r;
        r.media.addFile(s("/safe/one.mp3"), 200);
        r.media.addFile(s("/safe/two.mp3"), 200);
        r.w->forceFallbackList(writeFile(dir.filePath(s("safe.m3u")), "/safe/one.mp3\n/safe/two.mp3\n"));
        const QStringList rows = addMissing(r, {"a", "b"});
        r.addInsert(s("ad"), 30);
        Heard heard(r);
        r.w->play();
        r.time.advance(20000);
        if (waitForSong) {
            r.ins->waitForSongCheck->setValue(1);
            r.ins->prepareInsertButton->press();
        } else {
            r.ins->insertNowButton->press();
        }
        // The ad, then two.mp3 back on air and logged so; the list still tried on the back-off.
        ASSERT_TRUE(r.runUntil([&] { return r.ins->status() == DeckStatus::Playing; }, 200000));
        ASSERT_TRUE(r.runUntil([&] { return r.ins->status() == DeckStatus::Stopped; }, 40000));
        r.time.advance(5000);
        const QString path = r.pathInPlay();
        EXPECT_EQ(std::tuple(path, r.w->status(), r.w->onFallback(), r.stream(path)->audible(), heard.lines.last()),
                  std::tuple(s("/safe/two.mp3"), DeckStatus::Playing, true, true, s("/safe/two.mp3")));
        r.time.advance(300000);
        EXPECT_EQ(heard.errors, (QStringList{s("**ERROR** /share/a.mp3"), s("**ERROR** /share/b.mp3")}));
        EXPECT_LE(r.media.failedOpens.size(), 2 * 20);
        EXPECT_EQ(std::pair(r.w->status(), r.w->onFallback()), std::pair(DeckStatus::Playing, true));
    }
}

TEST(NothingPlayable, AFileThatReturnsWhileABreakStartsWaitsForTheBreak)
{
    // The list's file comes back just as the insert-in ramp runs: the retry
    // waits for the break instead of crossfading a song in under the ads.
    QTemporaryDir dir;
    WindowRig r;
    r.media.addFile(s("/safe/one.mp3"), 200);
    r.w->forceFallbackList(writeFile(dir.filePath(s("safe.m3u")), "/safe/one.mp3\n"));
    const QStringList rows = addMissing(r, {"a"});
    r.addInsert(s("ad"), 30);
    r.ins->transitionTimeSpinner->setValue(8);
    Heard heard(r);
    r.w->play();
    r.time.advance(62000);  // the back-off's next try is 1 s away
    r.media.addFile(rows[0], 200);
    r.ins->insertNowButton->press();
    const std::size_t startedBefore = heard.started.size();
    ASSERT_TRUE(r.runUntil([&] { return r.ins->insertState() == InsertState::Idle; }, 20000));
    EXPECT_EQ(heard.started.size(), startedBefore) << "nothing of the list started under the insert-in ramp";
    // Back to the music after the ad: the list's own song, on air and logged.
    ASSERT_TRUE(r.runUntil([&] { return r.ins->status() == DeckStatus::Stopped; }, 60000));
    ASSERT_TRUE(r.runUntil([&] { return r.pathInPlay() == rows[0]; }, 70000));
    r.time.advance(15000);
    EXPECT_EQ(std::pair(r.w->status(), r.w->onFallback()), std::pair(DeckStatus::Playing, false));
    EXPECT_TRUE(r.stream(rows[0])->audible());
    EXPECT_EQ(heard.lines.last(), rows[0]);
}
