// The add-event dialog and the options dialog as an operator types into
// them, and the scheduler's settings between runs.
#include "scheduler/SchedulerRig.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {

QString s(const char* text) { return QString::fromLatin1(text); }

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
    EventDialog& e = *g.t().EventForm;
    ASSERT_TRUE(e.lblAMPM->isVisible());  // first start: "AM - PM"

    // Two digits move on: hours, minutes, seconds, then "Browse...". Leaving
    // puts the number in range for the format.
    e.txtTCHours->setText(QString());
    type(e.txtTCHours, s("15"));
    EXPECT_EQ(std::pair(e.txtTCMinutes->hasFocus(), e.txtTCHours->text()), std::pair(true, s("12")));
    type(e.txtTCMinutes, s("75"));
    EXPECT_EQ(std::pair(e.txtTCSeconds->hasFocus(), e.txtTCMinutes->text()), std::pair(true, s("59")));
    type(e.txtTCSeconds, s("07"));
    EXPECT_TRUE(e.cmdBrowse->hasFocus());

    // In "24hs" the hour runs to 23 and 0 stays.
    g.use24hs();
    EXPECT_FALSE(e.lblAMPM->isVisible());
    for (auto [typed, left] : {std::pair{"24", "23"}, {"0", "0"}}) {
        e.txtTCHours->setFocus();
        e.txtTCHours->setText(s(typed));
        e.txtTCSeconds->setFocus();
        EXPECT_EQ(e.txtTCHours->text(), s(left));
    }

    // The event: "9:05:00" as 09:05:00, to the window chosen; a time that is
    // no time of day is refused and told.
    e.txtTCHours->setText(s("9"));
    e.txtTCMinutes->setText(s("5"));
    e.txtTCSeconds->setText(s("0"));
    e.txtPlayList->setText(s("/lists/morning.m3u"));
    e.cmdAddEvent->press();
    e.optWindow[0]->setValue(1);
    e.cmdAddEvent->press();
    e.txtTCHours->setText(s("-3"));
    e.cmdAddEvent->press();
    EXPECT_EQ(g.r->dialogs.informed.size(), 1);
    ASSERT_EQ(g.t().lstEvents->count(), 2);
    EXPECT_EQ(g.t().lstEvents->text(1, EvTime) + g.t().lstEvents->text(1, EvWindow) + g.t().lstEvents->text(2, EvWindow),
              s("09:05:00MusicAds"));

    // An event file, in any case, targets the scheduler itself.
    e.txtTCHours->setText(s("10"));
    e.txtPlayList->setText(s("/lists/Weekend.TMG"));
    EXPECT_FALSE(e.optWindow[0]->isVisible() || e.optWindow[1]->isVisible());
    e.cmdAddEvent->press();
    EXPECT_EQ(g.t().lstEvents->text(3, EvWindow), s("Timing"));
    e.lblAMPM->click();  // the AM/PM label toggles
    EXPECT_EQ(e.lblAMPM->text(), s("AM"));
}

TEST(SchedulerDialogs, FormatAndPreloadApplyAsTheOperatorExpectsAndAreKept)
{
    SchedulerRig g(QDateTime(QDate(2026, 1, 5), QTime(13, 0)));
    SchedulerOptionsDialog& o = *g.t().OptionsForm;
    g.add(s("1:00:00 PM"), s("/x/a.m3u"), s("Ads"));
    g.add(s("00:30:00"), s("/x/b.m3u"), s("Music"));
    auto times = [&] { return columnOf(*g.t().lstEvents, EvTime).join(QLatin1Char('|')); };

    // Switched without OK: the listed times stay, new events and the clock
    // follow the label at once.
    o.lblTimeFormat->click();
    g.add(s("2:00:00 PM"), s("/x/c.m3u"), s("Ads"));
    EXPECT_EQ(times(), s("12:30:00 AM|01:00:00 PM|14:00:00"));
    EXPECT_EQ(g.t().lblTimeNow->text(), s("13:00:00"));
    // OK converts every listed time, either way.
    o.cmdOk->press();
    EXPECT_EQ(times(), s("00:30:00|13:00:00|14:00:00"));
    o.lblTimeFormat->click();
    o.cmdOk->press();
    EXPECT_EQ(times(), s("12:30:00 AM|01:00:00 PM|02:00:00 PM"));

    // The preload, with OK.
    o.txtPreload->setText(s("7.5"));
    o.lblTimeFormat->click();
    o.cmdOk->press();
    EXPECT_EQ(g.t().PreLoadTime, 7.5);

    // Kept between runs, with the window's place.
    g.t().setGeometry(300, 4500, 7000, 3200);
    int cancel = 0;
    g.t().Form_Unload(cancel);
    EXPECT_EQ(cancel, 1);  // the fake answers No
    WindowRig next(false);
    next.settings.values = g.r->settings.values;
    next.w->load();
    EXPECT_EQ(next.tim->OptionsForm->lblTimeFormat->text(), s("24hs"));
    EXPECT_EQ(next.tim->PreLoadTime, 7.5);
    // Its size is kept; its place is under the lined-up insert window.
    EXPECT_EQ(std::pair(next.tim->top(), next.tim->width()), std::pair(7560, 7000));
}
