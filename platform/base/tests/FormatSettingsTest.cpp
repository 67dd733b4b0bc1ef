#include "platform/base/FormatSettings.h"

#include <clocale>
#include <gtest/gtest.h>

using namespace wb;

namespace {

FormatSettings German() {
    FormatSettings fs;
    fs.decimalSeparator = ',';
    fs.dateSeparator = '.';
    fs.dateOrder = DateOrder::DMY;
    fs.currentYear = 2026;
    return fs;
}

double Float(const char* text, const FormatSettings& fs = {}) {
    double v = -12345;
    EXPECT_TRUE(TryStrToFloat(text, v, fs)) << text;
    return v;
}

bool FloatFails(const char* text, const FormatSettings& fs = {}) {
    double v = 0;
    return !TryStrToFloat(text, v, fs);
}

TEST(FormatSettingsTest, FloatsFollowTheGivenDecimalSeparatorOnly) {
    EXPECT_DOUBLE_EQ(Float("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(Float("  -2.25e2 "), -225.0);
    EXPECT_DOUBLE_EQ(Float("+.5"), 0.5);
    EXPECT_DOUBLE_EQ(Float("7."), 7.0);
    EXPECT_DOUBLE_EQ(Float("1,5", German()), 1.5);
    EXPECT_TRUE(FloatFails("1,5"));
    EXPECT_TRUE(FloatFails("1.5", German()));
    for (const char* bad : {"", " ", ".", "-", "1e", "1e+", "1.2.3", "1 000", "0x10", "inf", "nan",
                            "12a", "1e999", "--1"})
        EXPECT_TRUE(FloatFails(bad)) << bad;
}

TEST(FormatSettingsTest, MachineLocaleDoesNotChangeTheResult) {
    // A locale with a decimal comma; scripts/setup generates it.
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr) << "no de_DE.UTF-8 locale";
    EXPECT_DOUBLE_EQ(Float("3.75"), 3.75);
    EXPECT_TRUE(FloatFails("3,75"));
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(FormatSettingsTest, DatesInEachOrder) {
    double v = 0;
    ASSERT_TRUE(TryEncodeDate(1899, 12, 30, v));
    EXPECT_EQ(v, 0);
    ASSERT_TRUE(TryEncodeDate(2000, 1, 1, v));
    EXPECT_EQ(v, 36526);
    double iso = 0, de = 0, us = 0;
    FormatSettings usf;
    usf.dateSeparator = '/';
    usf.dateOrder = DateOrder::MDY;
    ASSERT_TRUE(TryStrToDate("2024-02-29", iso, {}));
    ASSERT_TRUE(TryStrToDate(" 29.2.2024 ", de, German()));
    ASSERT_TRUE(TryStrToDate("02/29/2024", us, usf));
    EXPECT_EQ(iso, de);
    EXPECT_EQ(iso, us);
    EXPECT_FALSE(TryStrToDate("2023-02-29", v, {}));
    EXPECT_FALSE(TryStrToDate("2024-13-01", v, {}));
    EXPECT_FALSE(TryStrToDate("29.2.2024", v, {}));
    EXPECT_FALSE(TryStrToDate("", v, {}));
    EXPECT_FALSE(TryStrToDate("2024", v, {}));
    EXPECT_FALSE(TryStrToDate("2024-02-29 10:00", v, {}));  // a time part fails
}

TEST(FormatSettingsTest, ShortYearsAndMissingYearsUseThePinnedYear) {
    FormatSettings fs = German();
    double a = 0, b = 0;
    ASSERT_TRUE(TryStrToDate("1.3.24", a, fs));
    ASSERT_TRUE(TryEncodeDate(2024, 3, 1, b));
    EXPECT_EQ(a, b);
    ASSERT_TRUE(TryStrToDate("1.3.75", a, fs));  // the window is 1976 to 2075
    ASSERT_TRUE(TryEncodeDate(2075, 3, 1, b));
    EXPECT_EQ(a, b);
    ASSERT_TRUE(TryStrToDate("1.3.76", a, fs));
    ASSERT_TRUE(TryEncodeDate(1976, 3, 1, b));
    EXPECT_EQ(a, b);
    ASSERT_TRUE(TryStrToDate("1.3.", a, fs));
    ASSERT_TRUE(TryEncodeDate(2026, 3, 1, b));
    EXPECT_EQ(a, b);
    ASSERT_TRUE(TryStrToDate("0024.3.1", a, {.dateSeparator = '.', .currentYear = 2026}));
    ASSERT_TRUE(TryEncodeDate(24, 3, 1, b));  // four digits are taken as written
    EXPECT_EQ(a, b);
}

TEST(FormatSettingsTest, TimesAndDateTimes) {
    double v = 0;
    ASSERT_TRUE(TryStrToTime("12:00", v, {}));
    EXPECT_DOUBLE_EQ(v, 0.5);
    ASSERT_TRUE(TryStrToTime("6:00:00.500 pm", v, {}));
    EXPECT_DOUBLE_EQ(v, (18 * 3600 + 0.5) / 86400.0);
    ASSERT_TRUE(TryStrToTime("12 AM", v, {}));
    EXPECT_DOUBLE_EQ(v, 0);
    EXPECT_FALSE(TryStrToTime("12", v, {}));
    EXPECT_FALSE(TryStrToTime("24:00", v, {}));
    EXPECT_FALSE(TryStrToTime("13:00 PM", v, {}));
    EXPECT_FALSE(TryStrToTime("10:61", v, {}));
    double date = 0;
    ASSERT_TRUE(TryStrToDate("2024-01-02", date, {}));
    ASSERT_TRUE(TryStrToDateTime("2024-01-02  06:00", v, {}));
    EXPECT_DOUBLE_EQ(v, date + 0.25);
    ASSERT_TRUE(TryStrToDateTime("2024-01-02", v, {}));
    EXPECT_EQ(v, date);
    ASSERT_TRUE(TryStrToDateTime("06:00", v, {}));
    EXPECT_DOUBLE_EQ(v, 0.25);
    EXPECT_FALSE(TryStrToDateTime("2024-01-02 x", v, {}));
    EXPECT_FALSE(TryStrToDateTime("abc", v, {}));
}

} // namespace
