#include "tests/support/RaisedError.h"

#include "runtime/Conversions.h"
#include "runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace brantock;
using brantock::testsupport::RaisedError;

TEST(Conversions, LeadingNumberReadsAsFarAsDigitsGo) {
    const std::pair<const char*, double> cases[] = {
        {"", 0},      {"abc", 0},  {"12", 12},       {"  42abc", 42}, {"-7", -7},  {"+3", 3},
        {"2.5", 2.5}, {".5", 0.5}, {"1e3", 1000},    {"1e", 1},       {"3 4", 3},  {"-", 0},
        {"0x10", 0},  {"1,5", 1},  {"12.5.6", 12.5}, {"\t9", 9},      {"7D2", 700}};
    for (const auto& [text, expected] : cases)
        EXPECT_DOUBLE_EQ(LeadingNumber(QString::fromUtf8(text)), expected) << text;
}

TEST(Conversions, RoundsHalvesToEven) {
    const std::pair<double, int> cases[] = {{0.5, 0},   {1.5, 2},    {2.5, 2},
                                            {3.5, 4},   {-0.5, 0},   {-1.5, -2},
                                            {-2.5, -2}, {2.4999, 2}, {2.5001, 3}};
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(RoundToInt32(value), expected) << value;
        EXPECT_EQ(RoundToInt16(value), expected) << value;
    }
}

TEST(Conversions, OutOfRangeRaisesOverflow) {
    const auto overflows = [](auto f) { return RaisedError::numberOf(f) == err::Overflow; };
    EXPECT_EQ(RuntimeError::of(err::Overflow).description(), "Overflow");
    EXPECT_EQ(RoundToInt16(32767.4), 32767);
    EXPECT_EQ(RoundToInt16(-32768.5), -32768);
    EXPECT_TRUE(overflows([] { RoundToInt16(32767.5); }));
    EXPECT_TRUE(overflows([] { RoundToInt16(-32769); }));
    EXPECT_EQ(RoundToByte(255.4), 255);
    EXPECT_EQ(RoundToByte(-0.5), 0);
    EXPECT_TRUE(overflows([] { RoundToByte(-1); }));
    EXPECT_TRUE(overflows([] { RoundToByte(255.5); }));
    EXPECT_EQ(RoundToInt32(2147483647.0), 2147483647);
    EXPECT_TRUE(overflows([] { RoundToInt32(2147483647.5); }));
    EXPECT_TRUE(overflows([] { RoundToInt32(std::numeric_limits<double>::quiet_NaN()); }));
    EXPECT_TRUE(overflows([] { RoundToInt32(std::numeric_limits<double>::infinity()); }));
}

TEST(Conversions, ToLongTakesNumbersTextsAndBooleans) {
    EXPECT_EQ(ToLong(QVariant(500)), 500);
    EXPECT_EQ(ToLong(QVariant(2.5)), 2);
    EXPECT_EQ(ToLong(QVariant(QStringLiteral(" 12 "))), 12);
    EXPECT_EQ(ToLong(QVariant(true)), -1);
    EXPECT_EQ(ToLong(QVariant()), 0);
    try {
        ToLong(QVariant(QStringLiteral("12abc")));
        ADD_FAILURE();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::TypeMismatch);
    }
}

TEST(Conversions, IsNumericWantsTheWholeTextToBeOneNumber) {
    for (const char* yes : {"7", " 7.5 ", "-3", "+2", "1e2", "1E-3", ".5", "5.", "0"})
        EXPECT_TRUE(IsNumeric(QString::fromLatin1(yes))) << yes;
    for (const char* no : {"", " ", "abc", "7x", "1 0", "1e", ".", "-", "1,5", "1.2.3"})
        EXPECT_FALSE(IsNumeric(QString::fromLatin1(no))) << no;
}

TEST(Conversions, TrimBlanksTrimsSpacesOnly) {
    EXPECT_EQ(TrimBlanks("  a b  "), "a b");
    EXPECT_EQ(TrimBlanks("\ta\t"), "\ta\t");
    EXPECT_EQ(TrimBlanks("   "), "");
}

TEST(RuntimeError, TrailsGrowOutermostFirst) {
    try {
        withTrail("Outer&", [] {
            withTrail("Inner&", [] { throw RuntimeError::of(err::FileNotFound, "Lib"); });
        });
        ADD_FAILURE();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 53);
        EXPECT_EQ(e.description(), "File not found");
        EXPECT_EQ(e.source(), "Outer&Inner&Lib");
    }
    try {
        withTrail("Outer&", []() -> int { throw std::runtime_error("boom"); });
        ADD_FAILURE();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::InternalError);
        EXPECT_EQ(e.description(), "boom");
        EXPECT_EQ(e.source(), "Outer&");
    }
}
