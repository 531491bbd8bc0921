// A break as the operator runs it: prepared, counted down or held for the
// music's song end, started, played through and ended, with the music always
// coming back, even when the break has nothing to play.
#include "insert/InsertRig.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

// Every as-run entry a window writes: its path, or its error text.
QStringList* recordLog(PlayerWindow& w)
{
    auto* lines = new QStringList;
    QObject::connect(&w, &PlayerWindow::logEntryWritten, &w,
                     [lines](const QString& error, const QString& path) { lines->append(error.isEmpty() ? path : error); });
    QObject::connect(&w, &QObject::destroyed, [lines] { delete lines; });
    return lines;
}

}  // namespace

TEST(InsertWorkflow, PrepareCountsDownStartsAtOnceOrIsAborted)
{
    BreakRig b;
    b.m().play();
    b.r.time.advance(3000);

    // Preload 5: 4, 3, 2, 1 a second apart, and the insert 5 s after the press.
    b.r.tim->setPreloadTime(5);
    b.in().prepareInsertButton->press();
    QStringList shown;
    for (int s = 1; s <= 4; ++s) {
        b.r.time.advance(1000);
        shown << b.in().countDownLabel->text();
        EXPECT_EQ(b.in().status(), DeckStatus::Stopped);
    }
    EXPECT_EQ(shown, (QStringList{QStringLiteral("4"), QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1")}));
    b.r.time.advance(1000);
    EXPECT_EQ(std::pair(b.in().insertState(), b.r.stream(b.ads[0])->state()), std::pair(InsertState::Starting, FakeStream::State::Running));
    EXPECT_FALSE(b.in().readyLabel->isVisible() || b.in().countDownTimer().isEnabled());
    b.in().stop();
    b.r.time.advance(5000);

    // ABORT during a countdown: nothing starts, the display is cleared.
    b.in().prepareInsertButton->press();
    b.r.time.advance(2000);
    b.in().abortButton->press();
    b.r.time.advance(10000);
    EXPECT_EQ(std::pair(b.in().insertState(), b.in().status()), std::pair(InsertState::Idle, DeckStatus::Stopped));
    EXPECT_FALSE(b.in().readyLabel->isVisible() || b.in().abortButton->isVisible());

    // A delay that rounds to nothing starts at once.
    b.in().stop();
    b.r.tim->setPreloadTime(0.4);
    b.in().prepareInsertButton->press();
    EXPECT_EQ(b.in().insertState(), InsertState::Starting);
}

TEST(InsertWorkflow, WaitForSongStartsOnTheMusicsTransitionTick)
{
    BreakRig b;
    b.m().play();
    const std::int64_t songStart = b.r.time.elapsedMs();
    b.r.time.advance(250000);
    b.in().waitForSongCheck->setValue(1);
    b.in().prepareInsertButton->press();
    b.r.time.advance(1000);
    EXPECT_EQ(b.in().countDownLabel->text(), QStringLiteral("00:48"));  // the music's time left, mirrored

    ASSERT_TRUE(b.r.runUntil([&] { return b.in().insertState() == InsertState::Starting; }));
    // On the first tick whose position reads 299 s (the song's 300 s less its
    // 1 s transition; positions are whole seconds, so from 298.5 s on).
    EXPECT_GE(b.r.time.elapsedMs() - songStart, 298500);
    EXPECT_LT(b.r.time.elapsedMs() - songStart, 298600 + 100);
    EXPECT_EQ(std::pair(b.m().rowInPlay(), b.r.stream(b.ads[0])->state()), std::pair(1, FakeStream::State::Running));
    // The music holds at its end while the insert comes in, then waits at its next song.
    b.recordRamp();
    EXPECT_EQ(std::pair(b.m().rowInPlay(), b.m().status()), std::pair(2, DeckStatus::Paused));
}

TEST(InsertWorkflow, AnExhaustedListBringsTheMusicBackAndTheNextBreakStartsAtItemOne)
{
    BreakRig b(2, 20);
    QStringList* insertLog = recordLog(b.in());
    QStringList* musicLog = recordLog(b.m());
    b.m().play();
    b.r.time.advance(10000);
    b.in().insertNowButton->press();
    ASSERT_TRUE(b.r.runUntil([&] { return b.in().goingBackToMusic() == true; }));
    ASSERT_TRUE(b.r.runUntil([&] { return b.in().goingBackToMusic() == false; }));
    EXPECT_EQ(*insertLog, b.ads);
    EXPECT_EQ(*musicLog, (QStringList{b.music[0], b.music[1]}));
    EXPECT_EQ(std::pair(b.in().status(), b.m().status()), std::pair(DeckStatus::Stopped, DeckStatus::Playing));
    EXPECT_LT(b.r.stream(b.music[1])->position(), 2.0);  // from its start

    // The next break starts at item 1; "Insert Now" on it paused resumes it, unlogged.
    b.r.time.advance(60000);
    b.in().insertNowButton->press();
    EXPECT_EQ(b.r.pathInPlay(&b.in()), b.ads[0]);
    b.r.time.advance(5000);
    b.in().pause();
    const FakeStream* ad = b.r.stream(b.ads[0]);
    const double pausedAt = ad->position();
    b.r.time.advance(5000);
    b.in().insertNowButton->press();
    EXPECT_EQ(std::tuple(b.r.stream(b.ads[0]), ad->state(), ad->position(), b.in().status()),
              std::tuple(ad, FakeStream::State::Running, pausedAt, DeckStatus::Playing));
    EXPECT_EQ(insertLog->size(), 3);

    // In shuffle mode the list never runs out: only "Back To Music" ends the break.
    b.in().shuffleCheck->setValue(1);
    b.r.time.advance(600000);
    EXPECT_EQ(std::tuple(b.in().goingBackToMusic(), b.m().status(), b.audible(b.in())), std::tuple(false, DeckStatus::Paused, true));
}

TEST(InsertWorkflow, ABreakWithNothingToPlayBringsTheMusicBack)
{
    struct Case {
        const char* what;
        QStringList inserts;  // none of them can be opened
        bool shuffle;
    };
    for (const Case& c : {Case{"empty list", {}, false},
                          Case{"missing files", {QStringLiteral("/ads/gone1.mp3"), QStringLiteral("/ads/gone2.mp3")}, false},
                          Case{"missing files, shuffled", {QStringLiteral("/ads/gone1.mp3"), QStringLiteral("/ads/gone2.mp3"), QStringLiteral("/ads/gone3.mp3")}, true}}) {
        SCOPED_TRACE(c.what);
        BreakRig b(0);
        for (const QString& path : c.inserts)
            b.in().addFileToList(path, 0, *b.in().clipList);
        b.in().shuffleCheck->setValue(c.shuffle ? 1 : 0);
        QStringList* insertLog = recordLog(b.in());
        b.m().play();
        b.r.time.advance(10000);
        b.in().transitionTimeSpinner->setValue(2);
        b.in().insertNowButton->press();

        ASSERT_TRUE(b.r.runUntil([&] { return b.in().insertState() == InsertState::Idle; }, 10000));
        const std::int64_t rampEnd = b.r.time.elapsedMs();
        ASSERT_TRUE(b.r.runUntil([&] { return b.in().goingBackToMusic() == true; }, 1000));
        EXPECT_LE(b.r.time.elapsedMs() - rampEnd, 1000);
        ASSERT_TRUE(b.r.runUntil([&] { return b.in().goingBackToMusic() == false; }, 10000));
        EXPECT_EQ(std::tuple(b.m().status(), b.in().status(), b.audible(b.m())), std::tuple(DeckStatus::Playing, DeckStatus::Stopped, true));
        // Each bad row logged once; shuffled, a row may be drawn again.
        const qsizetype errors = insertLog->count(QStringLiteral("**ERROR**"));
        EXPECT_TRUE(c.shuffle ? errors >= c.inserts.size() : errors == c.inserts.size()) << errors;
    }
}
