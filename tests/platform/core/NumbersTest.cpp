#include "core/Numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

using namespace zar;

namespace {

// Runs the test body under a locale with a decimal comma, when the machine has one.
class UnderGermanLocale : public ::testing::Test {
protected:
    void SetUp() override {
        const char* had = std::setlocale(LC_ALL, nullptr);
        previous_ = had ? had : "C";
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
        char buf[16];
        std::snprintf(buf, sizeof buf, "%.1f", 1.5);
        ASSERT_STREQ(buf, "1,5") << "the locale really uses a decimal comma";
    }
    void TearDown() override { std::setlocale(LC_ALL, previous_.c_str()); }
    std::string previous_;
};

}  // namespace

TEST_F(UnderGermanLocale, FormattingUsesADecimalPoint) {
    EXPECT_EQ(CFormat("%.4f", 1234.5), "1234.5000");
    EXPECT_EQ(CFormat("%.13g", 0.1), "0.1");
    EXPECT_EQ(QCFormat("%g %d", 2.5, 3), QStringLiteral("2.5 3"));
}

TEST_F(UnderGermanLocale, ParsingExpectsADecimalPoint) {
    double d = 0;
    EXPECT_TRUE(ParseDouble(std::string_view("1234.5"), d));
    EXPECT_EQ(d, 1234.5);
    EXPECT_FALSE(ParseDouble(std::string_view("1234,5"), d));
    EXPECT_EQ(LeadingDouble(std::string_view("3.25 rest")), 3.25);
}

TEST(Numbers, ParseDoubleCases) {
    struct Case {
        const char* text;
        bool ok;
        double value;
    } cases[] = {
        {"0", true, 0},       {"  -1.5e3 ", true, -1500}, {"+2.25", true, 2.25}, {"1e-300", true, 1e-300},
        {"", false, 0},       {"abc", false, 0},          {"1.2.3", false, 0},   {"12x", false, 0},
        {"   ", false, 0},
    };
    for (const Case& c : cases) {
        double v = -99;
        EXPECT_EQ(ParseDouble(std::string_view(c.text), v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, c.value) << c.text;
        }
    }
}

TEST(Numbers, ParseIntCases) {
    struct Case {
        const char* text;
        int base;
        bool ok;
        long long value;
    } cases[] = {
        {"42", 10, true, 42}, {" -7 ", 10, true, -7}, {"0x1F", 0, true, 31}, {"017", 0, true, 15},
        {"17", 0, true, 17},  {"4.5", 10, false, 0},  {"", 10, false, 0},    {"x", 10, false, 0},
    };
    for (const Case& c : cases) {
        long long v = -99;
        EXPECT_EQ(ParseInt(std::string_view(c.text), v, c.base), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(Numbers, LeadingNumbersBehaveLikeAtof) {
    std::size_t used = 0;
    EXPECT_EQ(LeadingDouble(std::string_view("  12.5abc"), &used), 12.5);
    EXPECT_EQ(used, 6u);
    EXPECT_EQ(LeadingDouble(std::string_view("none")), 0.0);
    EXPECT_EQ(LeadingInt(std::string_view("15 peaks")), 15);
    EXPECT_EQ(LeadingInt(QStringLiteral("0x10"), 0), 16);
}

TEST(Numbers, DoubleToTextRoundTrips) {
    for (double v : {0.1, 1.0 / 3.0, 1e-12, 123456789.123456789, -0.0, 1.7976931348623157e308}) {
        double back = 0;
        ASSERT_TRUE(ParseDouble(DoubleToText(v), back)) << DoubleToText(v);
        EXPECT_EQ(back, v);
    }
}

TEST(Numbers, LongFormatsAreNotCut) {
    const std::string s = CFormat("%0300d", 5);
    EXPECT_EQ(s.size(), 300u);
    EXPECT_EQ(s.back(), '5');
}
