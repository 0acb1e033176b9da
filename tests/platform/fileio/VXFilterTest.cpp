#include "fileio/VXFilter.h"

#include <gtest/gtest.h>

using zar::CVX_FilterStruct;
using zar::CVX_MassRange;
using zar::CVXFilter;

namespace {

struct RoundTrip {
    const char* input;
    const char* formatted;  // FilterString(2, -1, 2) after parsing
};

TEST(VXFilterTest, ParsesAndFormatsFilterTexts) {
    const RoundTrip cases[] = {
        {"", ""},
        {"+ Full", "+ Full"},
        {"+ c ESI Full ms [ 400.00-2000.00]", "+ c ESI Full ms [ 400.00-2000.00]"},
        {"+ c ESI Full ms [400-2000]", "+ c ESI Full ms [ 400.00-2000.00]"},
        {"FTMS + p NSI Full ms [350.0000-1800.0000]", "FTMS + p NSI Full ms [ 350.00-1800.00]"},
        {"+ c d Full ms2  445.35@cid35.00 [ 110.00-905.00]",
         "+ c d Full ms2 445.35@cid35.00 [ 110.00-905.00]"},
        {"ms2 445.12@35", "ms2 445.12@35.00"},
        {"ms2 445.12", "ms2 445.12"},
        {"- p Full ms3 445.35@cid35.00 600.30@hcd28.00 [100.00-1000.00]",
         "- p Full ms3 445.35@cid35.00 600.30@hcd28.00 [ 100.00-1000.00]"},
        {"ITMS + c NSI d sa Full ms2 512.25@etd30.00@hcd20.00 [ 50.00-2000.00]",
         "ITMS + c NSI d sa Full ms2 512.25@etd30.00 [ 50.00-2000.00]"},
        {"[ 400.00-2000.00, 524.3 ]", "[ 400.00-2000.00, 524.30]"},
        {"[ 100; 200.5-201.5 ]", "[ 100.00, 200.50-201.50]"},
        {"{1,2} + corona sid=35.00 det=1000.00 !t !d w SIM ms",
         "{1,2} + corona sid=35.00 det=1000.00 !t !d w SIM ms"},
        {"+ sid=10-20 Z cnl 98.00", "+ sid=10.00-20.00 Z cnl 98.00"},
        {"+ sid SRM ms2 445.00 [ 200.00@12.5]", "+ sid SRM ms2 445.00 [ 200.00@12.50]"},
    };
    for (const RoundTrip& c : cases) {
        CVXFilter filter;
        ASSERT_TRUE(filter.FilterString(QString::fromUtf8(c.input))) << c.input;
        EXPECT_EQ(filter.FilterString(2, -1, 2).toStdString(), c.formatted) << c.input;
        // What we write reads back as the same filter.
        CVXFilter again;
        ASSERT_TRUE(again.FilterString(filter.FilterString(2, -1, 2))) << c.input;
        EXPECT_EQ(again.FilterString(), filter.FilterString()) << c.input;
    }
}

TEST(VXFilterTest, RefusesMalformedTextsAndKeepsThePreviousFilter) {
    const char* bad[] = {
        "+ c ESI Ful ms",          // unknown word
        "ms2 445.12@",             // no energy after the at sign
        "ms11 445.0",              // order beyond ms10
        "+ c Full ms [ 400-2000",  // unclosed range list
        "+ c Full ms [ 400-x ]",   // not a number
        "+ c Full ms [ 1-2-3 ]",   // two hyphens
        "+ c Full ms [ -5 ]",      // signed number
        "+ [ 1 ] [ 2 ]",           // two range lists
        "sid=abc",
        "{1} + ms",
    };
    for (const char* text : bad) {
        CVXFilter filter;
        ASSERT_TRUE(filter.FilterString(QStringLiteral("+ c Full ms")));
        EXPECT_EQ(filter.FilterString(QString::fromUtf8(text)), 0) << text;
        EXPECT_EQ(filter.FilterString(), "+ c Full ms") << text;
    }
}

TEST(VXFilterTest, FieldsOfAParsedFilter) {
    CVXFilter filter;
    ASSERT_TRUE(filter.FilterString("FTMS - p NSI Full ms3 445.35@cid35.00 600.30 [ 100-1000 ]"));
    EXPECT_EQ(filter.analyzer, "FTMS");
    EXPECT_EQ(filter.polarity, CVXFilter::kNegative);
    EXPECT_EQ(filter.scanData, CVXFilter::kProfile);
    EXPECT_EQ(filter.ionizationMode, 5);
    EXPECT_EQ(filter.scanType, CVXFilter::kFull);
    EXPECT_EQ(filter.msOrder, 3);
    ASSERT_EQ(filter.precursors.size(), 2u);
    EXPECT_DOUBLE_EQ(filter.precursors[0].mass, 445.35);
    EXPECT_TRUE(filter.precursors[0].energyValid);
    EXPECT_DOUBLE_EQ(filter.precursors[0].energy, 35.0);
    EXPECT_EQ(filter.precursors[0].activation, "cid");
    EXPECT_FALSE(filter.precursors[1].energyValid);
    ASSERT_EQ(filter.massRanges.size(), 1u);
    EXPECT_EQ(filter.massRanges[0], CVX_MassRange(100.0, 1000.0));
}

TEST(VXFilterTest, FormatsWithDecimalsAndMaximumLength) {
    CVXFilter filter;
    ASSERT_TRUE(filter.FilterString("+ c Full ms2 445.123@35.5 [ 100-2000 ]"));
    EXPECT_EQ(filter.FilterString(3, -1, 1), "+ c Full ms2 445.123@35.5 [ 100.000-2000.000]");
    EXPECT_EQ(filter.FilterString(2, 10, 2), "+ c Ful...");
    EXPECT_EQ(filter.FilterString(2, 2, 2), filter.FilterString());  // below 3: no cut
}

TEST(VXFilterTest, DefaultFilterAcceptsEverything) {
    CVXFilter filter;
    EXPECT_TRUE(filter.IsAcceptAll());
    EXPECT_EQ(filter.FilterString(), "");
    ASSERT_TRUE(filter.FilterString("+"));
    EXPECT_FALSE(filter.IsAcceptAll());
    filter.Reset();
    EXPECT_TRUE(filter.IsAcceptAll());
}

TEST(VXFilterTest, MatchesScansByTheFieldsItSets) {
    CVXFilter ms1;
    CVXFilter ms2;
    CVXFilter ms2Other;
    ASSERT_TRUE(ms1.FilterString("FTMS + p NSI Full ms [ 400.00-2000.00]"));
    ASSERT_TRUE(ms2.FilterString("ITMS + c NSI Full ms2 445.35@cid35.00 [ 110.00-905.00]"));
    ASSERT_TRUE(ms2Other.FilterString("ITMS + c NSI Full ms2 600.10@cid35.00 [ 150.00-1210.00]"));

    struct Case {
        const char* request;
        bool ms1;
        bool ms2;
        bool ms2Other;
    };
    const Case cases[] = {
        {"", true, true, true},
        {"+", true, true, true},
        {"-", false, false, false},
        {"ms", true, false, false},
        {"Full ms2", false, true, true},
        {"ms2 445.35", false, true, false},
        {"ms2 445.80", false, true, false},  // within 0.5
        {"ms2 445.90", false, false, false},
        {"ms2 445.35@cid35.00", false, true, false},
        {"ms2 445.35@hcd35.00", false, false, false},
        {"ms2 445.35@40.00", false, false, false},
        {"p", true, false, false},
        {"ITMS", false, true, true},
        {"+ c NSI Full ms2 [ 110.00-905.00]", false, true, false},
    };
    for (const Case& c : cases) {
        CVXFilter request;
        ASSERT_TRUE(request.FilterString(QString::fromUtf8(c.request))) << c.request;
        EXPECT_EQ(request.Matches(ms1), c.ms1) << c.request;
        EXPECT_EQ(request.Matches(ms2), c.ms2) << c.request;
        EXPECT_EQ(request.Matches(ms2Other), c.ms2Other) << c.request;
    }
}

TEST(VXFilterTest, RefusesListsLongerThanTheRecordHolds) {
    QString ranges;
    for (int i = 0; i < CVXFilter::kMaxMassRanges + 1; ++i)
        ranges += QString::number(100 + i) + ", ";
    CVXFilter filter;
    EXPECT_EQ(filter.FilterString("[ " + ranges + "]"), 0);
    QString precursors;
    for (int i = 0; i < CVXFilter::kMaxPrecursors + 1; ++i) precursors += " 400.0";
    EXPECT_EQ(filter.FilterString("ms10" + precursors), 0);
}

TEST(VXFilterStructTest, AcceptsFiltersAndGivesTheirMassRanges) {
    CVX_FilterStruct filter(9, 2, 2);
    ASSERT_TRUE(filter.FilterInRng("[ 100.00, 200.50-201.50 ]"));
    ASSERT_EQ(filter.GetMassRangeCount(), 2);
    double low = 0;
    double high = 0;
    ASSERT_TRUE(filter.GetMassRangeN(1, low, high));
    EXPECT_DOUBLE_EQ(low, 200.5);
    EXPECT_DOUBLE_EQ(high, 201.5);
    ASSERT_TRUE(filter.GetMassRangeN(0, low, high));
    EXPECT_DOUBLE_EQ(low, 100.0);
    EXPECT_DOUBLE_EQ(high, 100.0);
    EXPECT_FALSE(filter.GetMassRangeN(2, low, high));
    EXPECT_FALSE(filter.GetMassRangeN(-1, low, high));

    EXPECT_TRUE(filter.FilterInRng(""));
    EXPECT_TRUE(filter.FilterInRng("+ c Full ms2 445.35@cid35.00"));
    EXPECT_FALSE(filter.FilterInRng("[ 300-200 ]"));      // low above high
    EXPECT_FALSE(filter.FilterInRng("[ 100-1000000 ]"));  // beyond the accepted masses
    EXPECT_FALSE(filter.FilterInRng("ms10 400.0"));       // beyond the highest order
    EXPECT_FALSE(filter.FilterInRng("+ c Full mz"));
}

}  // namespace
