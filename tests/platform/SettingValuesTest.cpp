#include "platform/SettingValues.h"

#include <gtest/gtest.h>

using namespace tavlo;
using namespace tavlo::SettingValues;

namespace {
QString t(const char* s) { return QString::fromLatin1(s); }
}  // namespace

// What a hand-edited or damaged settings file turns into when a window reads it.
TEST(SettingValues, NumbersParseLikeTheUsualConversions)
{
    EXPECT_EQ(toInt16(t("64")), 64);
    EXPECT_EQ(toInt16(t("  85 ")), 85);
    EXPECT_EQ(toInt16(t("+7")), 7);
    EXPECT_EQ(toInt16(t("-3")), -3);
    EXPECT_EQ(toInt16(t("200")), 200);  // in range for the type; the slider is the one to refuse it
    EXPECT_EQ(toInt16(t("1.5")), 2);     // halves go to the even neighbour
    EXPECT_EQ(toInt16(t("2.5")), 2);
    EXPECT_EQ(toInt16(t("-2.5")), -2);
    EXPECT_EQ(toInt16(t("2.51")), 3);
    EXPECT_EQ(toInt16(t("1e2")), 100);
    EXPECT_EQ(toInt16(t("32767")), 32767);
    EXPECT_EQ(toInt16(t("-32768")), -32768);
    for (const char* bad : {"abc", "", "  ", "70000", "32768", "32767.5", "-32769", "12abc", "1,5", "+-1", "0x10",
                            "inf", "nan", "1e400", "--1"})
        EXPECT_EQ(toInt16(t(bad)), std::nullopt) << bad;

    EXPECT_EQ(toInt32(t("70000")), 70000);
    EXPECT_EQ(toInt32(t("2147483647")), 2147483647);
    EXPECT_EQ(toInt32(t("3.5")), 4);
    EXPECT_EQ(toInt32(t("2147483648")), std::nullopt);
    EXPECT_EQ(toInt32(t("one")), std::nullopt);

    EXPECT_EQ(toSingle(t("264")), 264.0f);
    EXPECT_EQ(toSingle(t(" 1234.5 ")), 1234.5f);
    EXPECT_EQ(toSingle(t("-100")), -100.0f);
    EXPECT_EQ(toSingle(t("1e39")), std::nullopt);  // beyond single precision
    EXPECT_EQ(toSingle(t("top")), std::nullopt);
    EXPECT_EQ(toDouble(t("0.25")), 0.25);
    EXPECT_EQ(toDouble(t("x")), std::nullopt);
}

TEST(SettingValues, TruthValuesAndTextWrittenBack)
{
    EXPECT_EQ(toBool(t("True")), true);
    EXPECT_EQ(toBool(t("false")), false);
    EXPECT_EQ(toBool(t(" TRUE ")), true);
    EXPECT_EQ(toBool(t("0")), false);
    EXPECT_EQ(toBool(t("-1")), true);
    EXPECT_EQ(toBool(t("0.4")), true);
    EXPECT_EQ(toBool(t("0.0")), false);
    for (const char* bad : {"", "yes", "on", "Truee", "1x"})
        EXPECT_EQ(toBool(t(bad)), std::nullopt) << bad;

    EXPECT_EQ(fromBool(true), t("True"));
    EXPECT_EQ(fromBool(false), t("False"));
    EXPECT_EQ(fromInt(-32768), t("-32768"));
    EXPECT_EQ(fromSingle(264.0f), t("264"));
    EXPECT_EQ(fromSingle(7000.0f), t("7000"));
    EXPECT_EQ(fromSingle(1234.5f), t("1234.5"));
    EXPECT_EQ(fromSingle(0.1f), t("0.1"));
    EXPECT_EQ(fromDouble(2.25), t("2.25"));
    // Whatever is written reads back as the same value.
    for (float v : {264.0f, -15.75f, 0.1f, 123456.7f, 3.0e10f})
        EXPECT_EQ(toSingle(fromSingle(v)), v) << v;
}
