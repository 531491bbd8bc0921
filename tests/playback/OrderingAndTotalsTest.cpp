// Sorting by a column while a song plays, and "Calculate Total".
#include "playback/WindowRig.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

TEST(Ordering, HeaderClicksSortAndTheSongInPlayKeepsPlaying)
{
    WindowRig r;
    const QString c = r.add(QStringLiteral("c"), 100);
    const QString a = r.add(QStringLiteral("a"), 100);
    r.add(QStringLiteral("b"), 100);
    // Keys in the "Azar" column, compared as text: "100" < "80" < "9".
    for (const auto& [n, key] : {std::pair(1, "100"), std::pair(2, "80"), std::pair(3, "9")})
        r.w->clipList->setText(n, ColShuffleKey, QLatin1String(key));
    r.w->clipList->setSelected(2, true);
    r.w->playSelected();
    ASSERT_EQ(r.pathInPlay(), a);

    // The order after a click on each column, and the row of the song in play.
    auto click = [&](int column) {
        r.w->clipList->onColumnClick(column);
        return std::pair(r.column(ColTitle).join(QString()), r.w->rowInPlay());
    };
    EXPECT_EQ(click(1), std::pair(QStringLiteral("abc"), 1));  // "Title", ascending
    EXPECT_EQ(click(1), std::pair(QStringLiteral("cba"), 3));  // again: descending
    // "Azar": the direction carries over; as numbers it would be c a b.
    EXPECT_EQ(click(9), std::pair(QStringLiteral("bac"), 2));

    // The same song plays on, and the one sorted below it follows.
    EXPECT_EQ(r.stream(a)->state(), FakeStream::State::Running);
    ASSERT_TRUE(r.runUntil([&] { return r.pathInPlay() != a; }));
    EXPECT_EQ(r.pathInPlay(), c);
}

TEST(Totals, CutsAndOverlappingTransitionsShortenTheListAndASecondPressStopsTheRun)
{
    WindowRig r;
    r.add(QStringLiteral("a"), 180);
    r.add(QStringLiteral("b"), 240);
    r.w->clipList->setText(1, ColPlaySeconds, QStringLiteral("180"));
    r.w->clipList->setText(2, ColPlaySeconds, QStringLiteral("240"));
    r.w->cutFirstSpinner->setValue(2);
    r.w->cutLastSpinner->setValue(3);
    r.w->transitionTimeSpinner->setValue(5);
    r.w->play();

    r.w->calculateButton->press();
    EXPECT_EQ(std::pair(r.w->totalLengthLabel->text(), r.w->songCountLabel->text()),
              std::pair(QStringLiteral("06:45"), QStringLiteral("2")));  // 180 + 240 - 10 - 5
    EXPECT_EQ(r.w->status(), DeckStatus::Stopped);  // the deck stopped for it
    r.w->transitionButtons[4]->setValue(1);  // "Cut" does not overlap
    r.w->calculateButton->press();
    EXPECT_EQ(r.w->totalLengthLabel->text(), QStringLiteral("06:50"));

    // A second press while the first row is shown stops the run there.
    const QString c = r.add(QStringLiteral("c"), 100);
    r.uiEvents.calls = 0;
    r.uiEvents.onProcess = [&] {
        if (r.uiEvents.calls == 1)
            r.w->calculateButton->press();
    };
    r.w->calculateButton->press();
    EXPECT_EQ(r.uiEvents.calls, 1);
    EXPECT_EQ(std::pair(r.w->songCountLabel->text(), r.w->totalLengthLabel->text()),
              std::pair(QStringLiteral("1"), QStringLiteral("02:55")));
    EXPECT_FALSE(r.w->calculating());

    // The next press runs the whole list; a row never played is opened to
    // learn its length, which the list keeps.
    r.w->calculateButton->press();
    EXPECT_EQ(r.w->totalLengthLabel->text(), QStringLiteral("08:25"));
    EXPECT_EQ(r.w->clipList->text(3, ColPlaySeconds), QStringLiteral("100"));
    EXPECT_EQ(r.stream(c)->state(), FakeStream::State::Stopped);  // opened, never heard

    r.w->clearList();
    r.w->calculateButton->press();
    EXPECT_EQ(std::pair(r.w->totalLengthLabel->text(), r.w->songCountLabel->text()),
              std::pair(QStringLiteral("00:00"), QStringLiteral("0")));
}
