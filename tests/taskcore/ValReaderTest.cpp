#include "taskcore/ValReader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace kestrova {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

TEST(Val, ReadsTheNumberAtTheStartOnly) {
    EXPECT_EQ(Val("12abc"), 12);
    EXPECT_EQ(Val("1,000"), 1);
    EXPECT_EQ(Val("1.2.3"), 1.2);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val("$5"), 0);
    EXPECT_EQ(Val(""), 0);
}

TEST(Val, IgnoresBlanksTabsAndLineFeedsEverywhere) {
    EXPECT_EQ(Val("   5"), 5);
    EXPECT_EQ(Val("\t\n7"), 7);
    EXPECT_EQ(Val("1 2 3"), 123);
    EXPECT_EQ(Val("- 4"), -4);
    EXPECT_EQ(Val("\r5"), 0);  // a carriage return is an ordinary character
}

TEST(Val, Signs) {
    EXPECT_EQ(Val("-5"), -5);
    EXPECT_EQ(Val("+5"), 5);
    EXPECT_EQ(Val("--5"), 0);
    EXPECT_EQ(Val("-"), 0);
}

TEST(Val, DecimalPointAndExponent) {
    EXPECT_EQ(Val("1.9"), 1.9);
    EXPECT_EQ(Val(".5"), 0.5);
    EXPECT_EQ(Val("5."), 5);
    EXPECT_EQ(Val("."), 0);
    EXPECT_EQ(Val("1e3"), 1000);
    EXPECT_EQ(Val("1E+2"), 100);
    EXPECT_EQ(Val("2.5e-1"), 0.25);
    EXPECT_EQ(Val("1d2"), 100);
    EXPECT_EQ(Val("1e"), 1);
    EXPECT_EQ(Val("1e+"), 1);
    EXPECT_EQ(Val("1ex"), 1);
    EXPECT_EQ(Val("1 e 2"), 100);
}

TEST(Val, HexAndOctal) {
    EXPECT_EQ(Val("&H1F"), 31);
    EXPECT_EQ(Val("&hff"), 255);
    EXPECT_EQ(Val("&H3E7"), 999);
    EXPECT_EQ(Val("&HFFFF"), 65535);
    EXPECT_EQ(Val("&H1G2"), 1);
    EXPECT_EQ(Val("&O17"), 15);
    EXPECT_EQ(Val("&o178"), 15);
    EXPECT_EQ(Val("&O8"), 0);
    EXPECT_EQ(Val("&H"), 0);
    EXPECT_EQ(Val("&"), 0);
    EXPECT_EQ(Val("&X1"), 0);
    EXPECT_EQ(Val("-&H10"), 0);
}

TEST(Val, NumbersBeyondADouble) {
    EXPECT_EQ(Val("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val("1" + std::string(400, '0')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val("1e-400"), 0);
    EXPECT_EQ(Val("0.0001e99999999999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Val("1e-99999999999"), 0);
    EXPECT_EQ(Val("1" + std::string(400, '0') + "e-5"), std::numeric_limits<double>::infinity());
}

TEST(FloorToInt32, TakesTheIntegerNotAbove) {
    EXPECT_EQ(FloorToInt32(1.9), 1);
    EXPECT_EQ(FloorToInt32(0.5), 0);
    EXPECT_EQ(FloorToInt32(-0.5), -1);
    EXPECT_EQ(FloorToInt32(-2.0), -2);
}

TEST(FloorToInt32, ClampsAtThe32BitLimits) {
    EXPECT_EQ(FloorToInt32(2147483647.5), kMax);
    EXPECT_EQ(FloorToInt32(3e9), kMax);
    EXPECT_EQ(FloorToInt32(-2147483648.0), kMin);
    EXPECT_EQ(FloorToInt32(-2147483648.5), kMin);
    EXPECT_EQ(FloorToInt32(std::numeric_limits<double>::infinity()), kMax);
    EXPECT_EQ(FloorToInt32(-std::numeric_limits<double>::infinity()), kMin);
    EXPECT_EQ(FloorToInt32(std::nan("")), 0);
}

TEST(ValToInt32, ReadsFieldTexts) {
    EXPECT_EQ(ValToInt32(" 12abc"), 12);
    EXPECT_EQ(ValToInt32("1.9"), 1);
    EXPECT_EQ(ValToInt32("99999999999"), kMax);
    EXPECT_EQ(ValToInt32("-99999999999"), kMin);
    EXPECT_EQ(ValToInt32("&HFFFFFFFF"), kMax);
}

}  // namespace
}  // namespace kestrova
