#include "platform/SettingValues.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::SettingValues;

namespace {
QString t(const char* s) { return QString::fromLatin1(s); }
}  // namespace

// What a hand-edited or damaged settings file turns into when a window reads it.
TEST(SettingValues, ReadLikeTheUsualConversions)
{
    EXPECT_EQ(toInt16(t("  85 ")), 85);
    EXPECT_EQ(toInt16(t("200")), 200);  // fine for the type; the 0..85 slider is the one to refuse it
    EXPECT_EQ(toInt16(t("1.5")), 2);    // halves go to the even neighbour
    EXPECT_EQ(toInt16(t("2.5")), 2);
    EXPECT_EQ(toInt16(t("-2.5")), -2);
    EXPECT_EQ(toInt16(t("-32768")), -32768);
    for (const char* bad : {"abc", "", "70000", "32767.5", "12abc", "1,5", "+-1", "0x10", "inf", "nan", "1e400"})
        EXPECT_EQ(toInt16(t(bad)), std::nullopt) << bad;
    EXPECT_EQ(toInt32(t("70000")), 70000);
    EXPECT_EQ(toInt32(t("3.5")), 4);
    EXPECT_EQ(toInt32(t("2147483648")), std::nullopt);

    EXPECT_EQ(toSingle(t(" 1234.5 ")), 1234.5f);
    EXPECT_EQ(toSingle(t("1e39")), std::nullopt);  // beyond single precision
    EXPECT_EQ(toSingle(t("top")), std::nullopt);

    EXPECT_EQ(toBool(t("True")), true);
    EXPECT_EQ(toBool(t("false")), false);
    EXPECT_EQ(toBool(t("0")), false);
    EXPECT_EQ(toBool(t("-1")), true);
    for (const char* bad : {"", "yes", "Truee"})
        EXPECT_EQ(toBool(t(bad)), std::nullopt) << bad;
}

// Written in the shortest form that reads back exactly, so a value does not
// drift from one save to the next ("True" and "143" are checked with the window).
TEST(SettingValues, WrittenAsPlainTextThatReadsBack)
{
    EXPECT_EQ(fromSingle(0.1f), t("0.1"));
    for (float v : {264.0f, -15.75f, 0.1f, 123456.7f, 3.0e10f})
        EXPECT_EQ(toSingle(fromSingle(v)), v) << v;
    EXPECT_EQ(toInt16(fromInt(-32768)), -32768);
}
