#include "platform/SettingValues.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::SettingValues;

namespace {
QString t(const char* s) { return QString::fromLatin1(s); }
}  // namespace

// What a hand-edited or damaged settings file turns into when a window reads
// it (the window test shows what the sliders then refuse), and values written
// so that they read back exactly instead of drifting from save to save.
TEST(SettingValues, ReadLikeTheUsualConversionsAndWrittenToReadBack)
{
    EXPECT_EQ(toInt16(t("  85 ")), 85);
    EXPECT_EQ(toInt16(t("1.5")), 2);  // halves go to the even neighbour
    EXPECT_EQ(toInt16(t("2.5")), 2);
    EXPECT_EQ(toInt16(t("-32768")), -32768);
    for (const char* bad : {"abc", "", "70000", "32767.5", "12abc", "1,5", "+-1", "0x10", "inf", "nan", "1e400"})
        EXPECT_EQ(toInt16(t(bad)), std::nullopt) << bad;
    EXPECT_EQ(toInt32(t("70000")), 70000);
    EXPECT_EQ(toInt32(t("2147483648")), std::nullopt);
    EXPECT_EQ(toSingle(t(" 1234.5 ")), 1234.5f);
    for (const char* bad : {"1e39", "top"})  // 1e39 is beyond single precision
        EXPECT_EQ(toSingle(t(bad)), std::nullopt) << bad;
    EXPECT_EQ(toBool(t("false")), false);
    EXPECT_EQ(toBool(t("0")), false);
    EXPECT_EQ(toBool(t("-1")), true);
    for (const char* bad : {"", "yes", "Truee"})
        EXPECT_EQ(toBool(t(bad)), std::nullopt) << bad;

    EXPECT_EQ(fromSingle(0.1f), t("0.1"));
    for (float v : {264.0f, -15.75f, 0.1f, 123456.7f, 3.0e10f})
        EXPECT_EQ(toSingle(fromSingle(v)), v) << v;
}
