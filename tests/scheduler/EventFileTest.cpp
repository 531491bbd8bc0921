// Event files between stations and formats, and the time texts.
#include "scheduler/SchedulerRig.h"
#include "fakes/TestText.h"
#include "scheduler/EventFile.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {
}  // namespace

TEST(TimeOfDayText, WritesEitherFormatAndReadsBoth)
{
    const TimeOfDayText c(QLocale::c());
    const TimeOfDayText::Format ampm = TimeOfDayText::Format::AmPm, h24 = TimeOfDayText::Format::H24;
    EXPECT_EQ(c.format(QTime(0, 0, 3), ampm), s("12:00:03 AM"));
    EXPECT_EQ(c.format(QTime(12, 30, 0), ampm), s("12:30:00 PM"));
    EXPECT_EQ(c.convert(s("9:5:0"), h24), s("09:05:00"));
    EXPECT_EQ(c.convert(s("12:00:03 am"), h24), s("00:00:03"));
    EXPECT_EQ(c.convert(s("23:10:00"), ampm), s("11:10:00 PM"));
    EXPECT_EQ(c.convert(s("13:00:00 PM"), h24), s("13:00:00"));
    for (const char* bad : {"12:00", "24:00:00", "1:00:00 XM", "-3:00:00 PM"})
        EXPECT_FALSE(c.parse(s(bad))) << bad;
}

TEST(EventFile, ReadsLinesOfAnyStationAndSavesInEitherFormat)
{
    SchedulerRig g(QDateTime(QDate(2026, 1, 5), QTime(12, 0)));
    // CR LF and LF, UTF-8 and an old station's Windows-1252 line, a line of
    // two fields, fields past the third, and lines that are no events.
    const QString old = g.eventFile(s("old.tmg"),
                                    "01:00:00 PM;/m\xc3\xbasica/caf\xc3\xa9.m3u;Music\r\n"
                                    "09:00:00 AM;/ads/caf\xe9 \x80.m3u\n"
                                    "\r\n"
                                    "no fields here\n"
                                    "10:00:00 AM;/x/timing.tmg;Timing;extra;more\r\n"
                                    "not a time;/x/y.m3u;Ads\r\n");
    ASSERT_TRUE(g.t().openEventList(old));
    ASSERT_EQ(g.t().eventList->count(), 3);
    EXPECT_EQ(g.t().eventList->text(1, EvPlaylist) + g.t().eventList->text(1, EvWindow), s("/ads/café €.m3uAds"));
    EXPECT_EQ(g.t().eventList->text(3, EvPlaylist), s("/música/café.m3u"));

    // Saved in one format, read in the other; written as UTF-8 with CR LF.
    const QString saved = g.dir.filePath(s("saved.tmg"));
    ASSERT_TRUE(g.t().saveEventList(saved));
    EXPECT_EQ(readFile(saved), QByteArray("09:00:00 AM;/ads/caf\xc3\xa9 \xe2\x82\xac.m3u;Ads\r\n"
                                          "10:00:00 AM;/x/timing.tmg;Timing\r\n"
                                          "01:00:00 PM;/m\xc3\xbasica/caf\xc3\xa9.m3u;Music\r\n"));
    g.use24hs();
    ASSERT_TRUE(g.t().openEventList(saved));
    EXPECT_EQ(g.t().eventList->text(3, EvTime), s("13:00:00"));
    const QString saved24 = g.dir.filePath(s("saved24.tmg"));
    ASSERT_TRUE(g.t().saveEventList(saved24));
    g.t().optionsDialog->timeFormatLabel->click();
    g.t().optionsDialog->okButton->press();
    ASSERT_TRUE(g.t().openEventList(saved24));
    EXPECT_EQ(g.t().eventList->text(3, EvTime), s("01:00:00 PM"));
}
