// The add-event dialog and the options dialog as an operator types into
// them, and the scheduler's settings between runs.
#include "scheduler/SchedulerRig.h"
#include "fakes/TestText.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {


// Types `text` into a box the way the keyboard does: focus, then one
// character at a time, the first replacing a selected text.
void type(TextBox* box, const QString& text)
{
    box->setFocus();
    QString now = box->selLength() == box->text().size() ? QString() : box->text();
    for (QChar c : text) {
        now += c;
        box->setText(now);
        now = box->text();
    }
}

}  // namespace

TEST(SchedulerDialogs, TimeBoxesClampMoveOnAndBuildTheEventsTime)
{
    SchedulerRig g(QDateTime(QDate(2026, 1, 5), QTime(12, 0)));
    EventDialog& e = *g.t().eventDialog;
    ASSERT_TRUE(e.amPmLabel->isVisible());  // first start: "AM - PM"

    // Two digits move on: hours, minutes, seconds, then "Browse...". Leaving
    // puts the number in range for the format.
    e.hoursBox->setText(QString());
    type(e.hoursBox, s("15"));
    EXPECT_EQ(std::pair(e.minutesBox->hasFocus(), e.hoursBox->text()), std::pair(true, s("12")));
    type(e.minutesBox, s("75"));
    EXPECT_EQ(std::pair(e.secondsBox->hasFocus(), e.minutesBox->text()), std::pair(true, s("59")));
    type(e.secondsBox, s("07"));
    EXPECT_TRUE(e.browseButton->hasFocus());

    // In "24hs" the hour runs to 23 and 0 stays.
    g.use24hs();
    EXPECT_FALSE(e.amPmLabel->isVisible());
    for (auto [typed, left] : {std::pair{"24", "23"}, {"0", "0"}}) {
        e.hoursBox->setFocus();
        e.hoursBox->setText(s(typed));
        e.secondsBox->setFocus();
        EXPECT_EQ(e.hoursBox->text(), s(left));
    }

    // The event: "9:05:00" as 09:05:00, to the window chosen; a time that is
    // no time of day is refused and told.
    e.hoursBox->setText(s("9"));
    e.minutesBox->setText(s("5"));
    e.secondsBox->setText(s("0"));
    e.playlistBox->setText(s("/lists/morning.m3u"));
    e.addEventButton->press();
    e.insertOption->setValue(1);
    e.addEventButton->press();
    e.hoursBox->setText(s("-3"));
    e.addEventButton->press();
    EXPECT_EQ(g.r->dialogs.informed.size(), 1);
    ASSERT_EQ(g.t().eventList->count(), 2);
    EXPECT_EQ(g.t().eventList->text(1, EvTime) + g.t().eventList->text(1, EvWindow) + g.t().eventList->text(2, EvWindow),
              s("09:05:00MusicAds"));

    // An event file, in any case, targets the scheduler itself.
    e.hoursBox->setText(s("10"));
    e.playlistBox->setText(s("/lists/Weekend.TMG"));
    EXPECT_FALSE(e.insertOption->isVisible() || e.musicOption->isVisible());
    e.addEventButton->press();
    EXPECT_EQ(g.t().eventList->text(3, EvWindow), s("Timing"));
    e.amPmLabel->click();  // the AM/PM label toggles
    EXPECT_EQ(e.amPmLabel->text(), s("AM"));
}

TEST(SchedulerDialogs, FormatAndPreloadApplyAsTheOperatorExpectsAndAreKept)
{
    SchedulerRig g(QDateTime(QDate(2026, 1, 5), QTime(13, 0)));
    SchedulerOptionsDialog& o = *g.t().optionsDialog;
    g.add(s("1:00:00 PM"), s("/x/a.m3u"), s("Ads"));
    g.add(s("00:30:00"), s("/x/b.m3u"), s("Music"));
    auto times = [&] { return columnOf(*g.t().eventList, EvTime).join(QLatin1Char('|')); };

    // Switched without OK: the listed times stay, new events and the clock
    // follow the label at once.
    o.timeFormatLabel->click();
    g.add(s("2:00:00 PM"), s("/x/c.m3u"), s("Ads"));
    EXPECT_EQ(times(), s("12:30:00 AM|01:00:00 PM|14:00:00"));
    EXPECT_EQ(g.t().clockLabel->text(), s("13:00:00"));
    // OK converts every listed time, either way.
    o.okButton->press();
    EXPECT_EQ(times(), s("00:30:00|13:00:00|14:00:00"));
    o.timeFormatLabel->click();
    o.okButton->press();
    EXPECT_EQ(times(), s("12:30:00 AM|01:00:00 PM|02:00:00 PM"));

    // The preload, with OK.
    o.preloadBox->setText(s("7.5"));
    o.timeFormatLabel->click();
    o.okButton->press();
    EXPECT_EQ(g.t().preloadTime(), 7.5);

    // Kept between runs, with the window's place.
    g.t().setGeometry(300, 4500, 7000, 3200);
    EXPECT_FALSE(g.t().mayClose());  // the fake answers No
    WindowRig next(false);
    next.settings.values = g.r->settings.values;
    next.w->load();
    EXPECT_EQ(next.tim->optionsDialog->timeFormatLabel->text(), s("24hs"));
    EXPECT_EQ(next.tim->preloadTime(), 7.5);
    // Its size is kept; its place is under the lined-up insert window.
    EXPECT_EQ(std::pair(next.tim->top(), next.tim->width()), std::pair(7560, 7000));
}
