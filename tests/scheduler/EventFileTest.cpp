// Event files between stations and formats, the time texts, and the numeric
// test every box shares.
#include "scheduler/SchedulerRig.h"
#include "platform/NumericText.h"
#include "scheduler/EventFile.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::test;

namespace {
QString s(const char* text) { return QString::fromUtf8(text); }
}  // namespace

TEST(NumericText, AcceptsWhatAPlainNumberReaderAccepts)
{
    for (const char* yes : {"07", "+5", " 12 ", ".5", "1.", "-2.5E-2"})
        EXPECT_TRUE(isNumeric(s(yes))) << yes;
    for (const char* no : {"", "1a", "--1", "0x10", "inf", "1e", "1,5", "."})
        EXPECT_FALSE(isNumeric(s(no))) << no;
    EXPECT_EQ(numericValue(s("-2.5E-2")), -0.025);
}

TEST(TimeOfDayText, WritesEitherFormatAndReadsBothWithTheDesktopsDesignators)
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

    // A desktop with its own designators writes them and reads them, and
    // still reads an English file.
    const TimeOfDayText ko(QLocale(QLocale::Korean, QLocale::SouthKorea));
    ASSERT_NE(ko.pmText(), s("PM"));
    const QString written = ko.format(QTime(15, 0, 0), ampm);
    EXPECT_TRUE(written.endsWith(ko.pmText()));
    EXPECT_EQ(ko.parse(written), QTime(15, 0, 0));
    EXPECT_EQ(ko.parse(s("03:00:00 PM")), QTime(15, 0, 0));
}

TEST(EventFile, ReadsLinesOfAnyStationAndSavesWholeOrNotAtAll)
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
    ASSERT_TRUE(g.t().OpenEventList(old));
    ASSERT_EQ(g.t().lstEvents->count(), 3);
    EXPECT_EQ(g.t().lstEvents->text(1, EvPlaylist) + g.t().lstEvents->text(1, EvWindow), s("/ads/café €.m3uAds"));
    EXPECT_EQ(g.t().lstEvents->text(3, EvPlaylist), s("/música/café.m3u"));

    // Saved in one format, read in the other; written as UTF-8 with CR LF.
    const QString saved = g.dir.filePath(s("saved.tmg"));
    ASSERT_TRUE(g.t().SaveEventList(saved));
    EXPECT_EQ(readFile(saved), QByteArray("09:00:00 AM;/ads/caf\xc3\xa9 \xe2\x82\xac.m3u;Ads\r\n"
                                          "10:00:00 AM;/x/timing.tmg;Timing\r\n"
                                          "01:00:00 PM;/m\xc3\xbasica/caf\xc3\xa9.m3u;Music\r\n"));
    g.use24hs();
    ASSERT_TRUE(g.t().OpenEventList(saved));
    EXPECT_EQ(g.t().lstEvents->text(3, EvTime), s("13:00:00"));
    const QString saved24 = g.dir.filePath(s("saved24.tmg"));
    ASSERT_TRUE(g.t().SaveEventList(saved24));
    g.t().OptionsForm->lblTimeFormat->click();
    g.t().OptionsForm->cmdOk->press();
    ASSERT_TRUE(g.t().OpenEventList(saved24));
    EXPECT_EQ(g.t().lstEvents->text(3, EvTime), s("01:00:00 PM"));

    // A save that cannot be written is told; the list and the old file stay.
    writeFile(g.dir.filePath(s("blocker")), "a file, not a folder");
    g.r->dialogs.fileToSave = g.dir.filePath(s("blocker/list.tmg"));
    g.t().mnuSaveAs->click();
    EXPECT_EQ(g.r->dialogs.informed.size(), 1);
    EXPECT_EQ(g.t().lstEvents->count(), 3);

    // An empty list saves an empty file; an unreadable file empties the list.
    const QString empty = g.dir.filePath(s("empty.tmg"));
    g.t().mnuClearList->click();
    ASSERT_TRUE(g.t().SaveEventList(empty));
    EXPECT_EQ(readFile(empty), QByteArray());
    g.r->dialogs.filesToOpen = {saved};
    g.t().cmdOpenList->press();
    EXPECT_FALSE(g.t().OpenEventList(g.dir.filePath(s("missing.tmg"))));
    EXPECT_EQ(g.t().lstEvents->count(), 0);

    // Delete Selected removes exactly the selected rows.
    g.t().OpenEventList(saved);
    g.t().lstEvents->setSelected(1, true);
    g.t().lstEvents->setSelected(3, true);
    g.t().mnuDeleteSelected->click();
    ASSERT_EQ(g.t().lstEvents->count(), 1);
    EXPECT_EQ(g.t().lstEvents->text(1, EvWindow), s("Timing"));
}
