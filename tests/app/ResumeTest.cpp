// A station stopped dead (a crash, a power cut) and started again: what it
// kept on disk puts the song on air back where it was, the break at its step
// and the events armed, and a kept state it cannot use costs one warning,
// never the start.
#include "app/StationStateKeeper.h"
#include "fakes/TestFiles.h"
#include "insert/InsertRig.h"
#include "playback/FaderLaw.h"
#include "scheduler/SchedulerRig.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <random>

using namespace tavlo;
using namespace tavlo::test;

namespace {

// One run of the program: the station on fakes, its keeper writing into the
// folder the runs share, and every song, ad and playlist the day uses.
struct Life {
    SchedulerRig s;
    StationStateKeeper keeper;
    QStringList resumedLines;

    Life(const QDateTime& start, const QString& folder)
        : s(start), keeper(s.r->station, s.r->time, s.r->time, folder + QStringLiteral("/state"))
    {
        for (int i = 1; i <= 4; ++i)
            s.r->media.addFile(QStringLiteral("/music/m%1.mp3").arg(i), 200);
        for (int i = 1; i <= 2; ++i)
            s.r->media.addFile(QStringLiteral("/ads/ad%1.mp3").arg(i), 30);
        for (PlayerWindow* w : {static_cast<PlayerWindow*>(s.r->w), static_cast<PlayerWindow*>(s.r->ins)})
            QObject::connect(w, &PlayerWindow::logEntryWritten, w, [this](const QString& error, const QString& line) {
                if (error == QLatin1String("**RESUMED**"))
                    resumedLines << line;
            });
    }
    SimulatedTime& time() { return s.r->time; }
    Station& station() { return s.r->station; }
    // The position the music window's song has reached, exactly.
    static double position(const PlayerWindow& w)
    {
        const Player* p = w.playerInPlay();
        return p ? p->exactPosition() : 0;
    }
    // Started again after `downSeconds`, from what this run kept.
    std::unique_ptr<Life> restart(const QString& folder, int downSeconds)
    {
        auto next = std::make_unique<Life>(time().now().addSecs(downSeconds), folder);
        QString warning;
        auto kept = next->keeper.read(&warning);
        EXPECT_TRUE(warning.isEmpty()) << qPrintable(warning);
        EXPECT_TRUE(kept.has_value());
        if (kept)
            next->station().resume(std::move(*kept), next->time().now());
        return next;
    }
};

// The day both runs share: four songs of 200 s, a break of two 30 s ads at
// noon (prepared 10 s ahead) and a music list at 12:30.
void setUpDay(Life& life, const QString& folder)
{
    const QString breakList = writeFile(folder + QStringLiteral("/break.m3u"), "/ads/ad1.mp3\r\n/ads/ad2.mp3\r\n");
    const QString afternoon = writeFile(folder + QStringLiteral("/afternoon.m3u"), "/music/m3.mp3\r\n/music/m4.mp3\r\n");
    life.s.use24hs();
    life.s.t().optionsDialog->preloadBox->setText(QStringLiteral("10"));
    life.s.t().optionsDialog->okButton->press();
    life.s.add(QStringLiteral("12:00:00"), breakList, QStringLiteral("Ads"));
    life.s.add(QStringLiteral("12:30:00"), afternoon, QStringLiteral("Music"));
    for (int i = 1; i <= 4; ++i)
        life.s.music().addFileToList(QStringLiteral("/music/m%1.mp3").arg(i), 0, *life.s.music().clipList);
    life.keeper.start();
    life.s.music().play();
}

}  // namespace

TEST(Resume, KilledAtARandomMomentComesBackWhereItWas)
{
    // Each moment is drawn at random inside its stretch of the day, from a
    // fixed seed unless TAVLO_TEST_SEED gives another; it is printed with
    // any failure so the moment can be replayed.
    const unsigned seed = qEnvironmentVariableIsSet("TAVLO_TEST_SEED") ? qEnvironmentVariableIntValue("TAVLO_TEST_SEED") : 20261207u;
    std::mt19937 random(seed);
    const struct {
        const char* what;
        QTime from, to;
        bool pauseFirst;
        BreakStep step;
    } moments[] = {
        {"mid-song", QTime(11, 58, 5), QTime(11, 59, 40), false, BreakStep::None},
        {"counting down to the break", QTime(11, 59, 51), QTime(11, 59, 54), false, BreakStep::CountingDown},
        {"mid-break", QTime(12, 0, 8), QTime(12, 0, 55), false, BreakStep::OnAir},
        {"paused", QTime(11, 58, 20), QTime(11, 59, 0), true, BreakStep::None},
        {"between events", QTime(12, 1, 30), QTime(12, 2, 30), false, BreakStep::None},
    };
    for (const auto& m : moments) {
        const int span = m.from.secsTo(m.to) * 1000;
        const QTime at = m.from.addMSecs(std::uniform_int_distribution<int>(0, span)(random));
        SCOPED_TRACE(testing::Message() << m.what << " at " << qPrintable(at.toString(QStringLiteral("HH:mm:ss.zzz")))
                                        << ", seed " << seed);
        QTemporaryDir dir;
        const QString folder = dir.path();
        auto first = std::make_unique<Life>(QDateTime(QDate(2026, 1, 5), QTime(11, 58)), folder);
        setUpDay(*first, folder);
        if (m.pauseFirst) {
            first->s.runTo(QTime(11, 58, 10));
            first->s.music().pause();
        }
        first->time().advance(first->time().now().time().msecsTo(at));
        // The truth at the moment of the kill, then the kill: nothing is saved on the way out.
        const StationState truth = first->station().state();
        const double truthPosition = Life::position(first->s.music());
        const double insertPosition = Life::position(first->s.insert());
        ASSERT_EQ(truth.insertBreak.step, m.step);

        auto second = first->restart(folder, 3);
        first.reset();
        const StationState back = second->station().state();
        EXPECT_EQ(back.music.row, truth.music.row);
        EXPECT_EQ(back.music.location, truth.music.location);
        EXPECT_EQ(back.music.status, truth.music.status);
        EXPECT_NEAR(Life::position(second->s.music()), truthPosition, 1.0);
        EXPECT_EQ(back.insertBreak.step, truth.insertBreak.step);
        if (m.step == BreakStep::CountingDown) {
            EXPECT_NEAR(back.insertBreak.countDown, truth.insertBreak.countDown - 3, 1);
        }
        if (m.step == BreakStep::OnAir) {
            EXPECT_EQ(back.insert.location, truth.insert.location);
            EXPECT_NEAR(Life::position(second->s.insert()), insertPosition, 1.0);
        }
        EXPECT_EQ(back.schedule.events, truth.schedule.events);
        EXPECT_EQ(back.schedule.preloadTime, QStringLiteral("10"));
        EXPECT_EQ(second->resumedLines.size(), 1) << qPrintable(second->resumedLines.join(QLatin1Char('|')));

        if (truth.music.status == DeckStatus::Playing && m.step == BreakStep::None) {
            // Faded in from silence over half a second, then at the master level.
            MusicWindow& music = second->s.music();
            EXPECT_EQ(BreakRig::fader(music), FaderStep::kSilent);
            second->time().advance(250);
            const int halfway = BreakRig::fader(music);
            EXPECT_GT(halfway, 0);
            EXPECT_LT(halfway, FaderStep::kSilent);
            second->time().advance(300);
            EXPECT_EQ(BreakRig::fader(music), music.masterVolume->max() - music.masterVolume->value());
        }
        // The day goes on as if nothing had happened: the break comes and goes.
        if (m.pauseFirst)
            continue;
        second->s.runTo(QTime(12, 3, 0));
        EXPECT_EQ(second->s.music().status(), DeckStatus::Playing);
        if (at < QTime(12, 0, 0)) {
            EXPECT_TRUE(second->s.insertLog.contains(QStringLiteral("/ads/ad2.mp3")))
                << qPrintable(second->s.insertLog.join(QLatin1Char('|')));
        }
    }
}

TEST(Resume, EventsDueWhileDownFireWithinAMinuteAndAreMissedAfter)
{
    for (const int down : {40, 300}) {
        SCOPED_TRACE(testing::Message() << "down for " << down << " s");
        QTemporaryDir dir;
        auto first = std::make_unique<Life>(QDateTime(QDate(2026, 1, 5), QTime(11, 59, 0)), dir.path());
        setUpDay(*first, dir.path());
        first->s.runTo(QTime(11, 59, 40));  // the break fires at 11:59:50, 10 s ahead
        auto second = first->restart(dir.path(), down);
        first.reset();
        second->time().advance(1500);
        const bool fired = !second->s.fired.empty();
        const bool missed = second->s.musicLog.filter(QStringLiteral("**MISSED**")).size() == 1;
        EXPECT_EQ(fired, down < 60);
        EXPECT_EQ(missed, down >= 60) << qPrintable(second->s.musicLog.join(QLatin1Char('|')));
    }
}

TEST(Resume, AStationOnItsFallbackOrWaitingForItsListGoesOnTrying)
{
    // A list on an unmounted share, with and without a fallback: after a
    // restart the station does not sit stopped, it goes on trying the list
    // (and plays the fallback meanwhile), and plays the list once it is back.
    for (const bool withFallback : {true, false}) {
        SCOPED_TRACE(withFallback ? "with a fallback" : "without");
        QTemporaryDir dir;
        const QString safe = writeFile(dir.filePath(QStringLiteral("safe.m3u")), "/music/m1.mp3\r\n/music/m2.mp3\r\n");
        const QString gone = QStringLiteral("/share/gone.mp3");
        auto first = std::make_unique<Life>(QDateTime(QDate(2026, 1, 5), QTime(11, 0)), dir.path());
        if (withFallback)
            first->s.music().forceFallbackList(safe);
        first->s.music().addFileToList(gone, 0, *first->s.music().clipList);
        first->keeper.start();
        first->s.music().play();
        first->time().advance(30000);
        ASSERT_EQ(first->s.music().backingOff(), true);

        auto next = std::make_unique<Life>(first->time().now().addSecs(5), dir.path());
        first.reset();
        if (withFallback)
            next->s.music().forceFallbackList(safe);
        QString warning;
        auto kept = next->keeper.read(&warning);
        ASSERT_TRUE(kept.has_value()) << qPrintable(warning);
        next->station().resume(std::move(*kept), next->time().now());
        MusicWindow& music = next->s.music();
        EXPECT_TRUE(music.backingOff());
        EXPECT_EQ(music.status() == DeckStatus::Playing, withFallback);
        if (withFallback) {
            EXPECT_EQ(next->s.r->pathInPlay(), QStringLiteral("/music/m1.mp3"));
        }
        next->s.r->media.addFile(gone, 200);
        ASSERT_TRUE(next->s.r->runUntil([&] { return next->s.r->pathInPlay() == gone; }, 62000));
        next->time().advance(10000);
        EXPECT_EQ(music.status(), DeckStatus::Playing);
        EXPECT_FALSE(music.backingOff());
    }
}

TEST(Resume, AStateItCannotUseIsSetAsideWithOneWarning)
{
    QTemporaryDir dir;
    Life life(QDateTime(QDate(2026, 1, 5), QTime(11, 50)), dir.path());
    setUpDay(life, dir.path());
    life.time().advance(5000);
    const QString stateFile = life.keeper.stateFile();
    QFile file(stateFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();
    file.close();

    QByteArray future = good;
    future.replace("\"version\": 1", "\"version\": 99");
    const struct {
        const char* what;
        QByteArray text;
        const char* said;
    } bad[] = {
        {"corrupt", "\x7f\x45LF\x02\x01 not a state", "not readable"},
        {"truncated", good.left(good.size() / 2), "not readable"},
        {"empty", QByteArray(), "not readable"},
        {"from a newer Tavlo", future, "newer Tavlo"},
        {"not ours", "{\"format\": \"something else\"}", "not a Tavlo state file"},
    };
    for (const auto& b : bad) {
        SCOPED_TRACE(b.what);
        writeFile(stateFile, b.text);
        QString warning;
        EXPECT_FALSE(life.keeper.read(&warning).has_value());
        EXPECT_TRUE(warning.contains(QLatin1String(b.said))) << qPrintable(warning);
        EXPECT_FALSE(QFile::exists(stateFile)) << "set aside, so the next start does not trip on it again";
        QString again;
        EXPECT_FALSE(life.keeper.read(&again).has_value());
        EXPECT_TRUE(again.isEmpty()) << "one warning, not one a start";
    }
    EXPECT_EQ(QDir(dir.path() + QStringLiteral("/state")).entryList({QStringLiteral("state.json.unreadable-*")}).size(), 1)
        << "the same second's leftovers replace each other";

    // A good state written again reads back as the station had it.
    ASSERT_TRUE(life.keeper.saveNow());
    const StationState now = life.station().state();
    QString warning;
    const auto kept = life.keeper.read(&warning);
    ASSERT_TRUE(kept.has_value()) << qPrintable(warning);
    EXPECT_EQ(kept->state.music, now.music);
    EXPECT_EQ(kept->state.schedule, now.schedule);
    EXPECT_EQ(static_cast<int>(kept->musicRows.size()), life.s.music().clipList->count());
}

TEST(Resume, AFolderThatCannotBeWrittenIsSaidOnceAndTriedEveryMinute)
{
    QTemporaryDir dir;
    // A folder where a file stands cannot be made, even by root.
    const QString blocked = writeFile(dir.filePath(QStringLiteral("blocked")), "a file");
    WindowRig rig;
    rig.add(QStringLiteral("m1"), 600);
    StationStateKeeper keeper(rig.station, rig.time, rig.time, blocked + QStringLiteral("/tavlo"));
    QStringList notices;
    QObject::connect(rig.w, &PlayerWindow::notice, rig.w, [&](const QString& text) { notices << text; });
    keeper.start();
    rig.w->play();
    rig.time.advance(59000);
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].contains(QLatin1String("cannot be written"))) << qPrintable(notices[0]);
    EXPECT_EQ(rig.w->status(), DeckStatus::Playing);
    EXPECT_EQ(rig.w->statusBar->panelText(1), notices[0]);

    QFile::remove(blocked);
    rig.time.advance(2000);  // the minute's retry
    ASSERT_EQ(notices.size(), 2);
    EXPECT_TRUE(notices[1].contains(QLatin1String("written again"))) << qPrintable(notices[1]);
    EXPECT_TRUE(QFile::exists(keeper.stateFile()));
}
