#include "plot/graph/RegSetting.h"

#include "TestSupport.h"

#include <gtest/gtest.h>
#include <clocale>

using namespace zar;
using namespace zar::plot;

namespace {

class RegSettingTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetRegistryCache(); }
    void TearDown() override { ResetRegistryCache(); }
    zartest::ScopedConfigDir config_;
};

}  // namespace

TEST_F(RegSettingTest, PathsAndRoots) {
    CRegSetting user(RegRoot::CurrentUser, QStringLiteral("Fonts"), true);
    ASSERT_TRUE(user.IsValid());
    EXPECT_EQ(user.Path(), QStringLiteral("Software\\Korvath\\Veltrix\\Fonts"));
    CRegSetting top(RegRoot::LocalMachine, QString(), true);
    EXPECT_EQ(top.Path(), QStringLiteral("Software\\Korvath\\Veltrix"));
    CRegSetting classes(RegRoot::ClassesRoot, QStringLiteral("X"), true);
    EXPECT_FALSE(classes.IsValid());
    QString text;
    EXPECT_FALSE(classes.ReadString(QStringLiteral("a"), text));
    EXPECT_FALSE(classes.WriteString(QStringLiteral("a"), QStringLiteral("b")));
    CRegSetting missing(RegRoot::CurrentUser, QStringLiteral("Nowhere"), false);
    EXPECT_FALSE(missing.IsValid());
    CRegSetting child(user, QStringLiteral("Heading"), true);
    EXPECT_EQ(child.Path(), QStringLiteral("Software\\Korvath\\Veltrix\\Fonts\\Heading"));
    CRegSetting belowInvalid(missing, QStringLiteral("Heading"), true);
    EXPECT_FALSE(belowInvalid.IsValid());
}

TEST_F(RegSettingTest, TypedValuesAreStoredAsCText) {
    CRegSetting s(RegRoot::CurrentUser, QStringLiteral("Test"), true);
    ASSERT_TRUE(s.WriteDouble(QStringLiteral("d"), 0.1));
    double d = 0;
    ASSERT_TRUE(s.ReadDouble(QStringLiteral("d"), d));
    EXPECT_EQ(d, 0.1);  // "%.15g" reads back exactly
    QString text;
    ASSERT_TRUE(s.ReadString(QStringLiteral("d"), text));
    EXPECT_EQ(text, QStringLiteral("0.1"));

    ASSERT_TRUE(s.WriteInt(QStringLiteral("i"), -42));
    int i = 0;
    ASSERT_TRUE(s.ReadInt(QStringLiteral("i"), i));
    EXPECT_EQ(i, -42);
    struct Case {
        const char* text;
        bool ok;
        int value;
    };
    const Case cases[] = {{"0x1F", true, 31}, {"017", true, 15}, {"12abc", true, 12},
                          {"abc", false, 7},  {"", false, 7},    {"99999999999", false, 7}};
    for (const Case& c : cases) {
        s.WriteString(QStringLiteral("n"), QString::fromLatin1(c.text));
        int v = 7;
        EXPECT_EQ(s.ReadInt(QStringLiteral("n"), v), c.ok) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
    double untouched = 3.5;
    EXPECT_FALSE(s.ReadDouble(QStringLiteral("missing"), untouched));
    EXPECT_EQ(untouched, 3.5);
    s.WriteStringList(QStringLiteral("list"), {QStringLiteral("a"), QStringLiteral("b")});
    EXPECT_FALSE(s.ReadDouble(QStringLiteral("list"), untouched));  // another type
    QStringList list;
    ASSERT_TRUE(s.ReadStringList(QStringLiteral("list"), list));
    EXPECT_EQ(list.size(), 2);
}

TEST_F(RegSettingTest, DoublesIgnoreAndKeepTheProcessLocale) {
    const char* before = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = before ? before : "C";
    CRegSetting s(RegRoot::CurrentUser, QStringLiteral("Test"), true);
    ASSERT_TRUE(s.WriteDouble(QStringLiteral("d"), 1234.5));
    double d = 0;
    ASSERT_TRUE(s.ReadDouble(QStringLiteral("d"), d));
    EXPECT_EQ(d, 1234.5);
    EXPECT_EQ(std::string(std::setlocale(LC_NUMERIC, nullptr)), saved);
}

TEST_F(RegSettingTest, MassRangeSettingDefaultsSaveAndLoad) {
    CRegSetting parent(RegRoot::CurrentUser, QStringLiteral("Ranges"), true);
    {
        CMassRangeSetting fresh(parent, QStringLiteral("List"), false);
        EXPECT_EQ(fresh.m_dMin, std::numeric_limits<double>::lowest());
        EXPECT_EQ(fresh.m_dMax, std::numeric_limits<double>::max());
        EXPECT_EQ(fresh.m_nMaxLength, 9);
        EXPECT_EQ(fresh.m_nPrecision, 2);
        EXPECT_EQ(fresh.m_nMaxPairs, 1);
        EXPECT_EQ(fresh.m_nPairsOK, 1);
        EXPECT_TRUE(fresh.m_Ranges.empty());
    }
    {
        CMassRangeSetting w(parent, QStringLiteral("List"), true);
        w.m_dMin = 10;
        w.m_nPrecision = 4;
        w.m_Ranges = {{400.25, 2000, 0, 0}, {524.3, 524.3, 0, 0}};
    }
    CMassRangeSetting r(parent, QStringLiteral("List"), false);
    EXPECT_EQ(r.m_dMin, 10);
    EXPECT_EQ(r.m_nPrecision, 4);
    ASSERT_EQ(r.m_Ranges.size(), 2u);
    EXPECT_EQ(r.m_Ranges[0].low, 400.25);
    EXPECT_EQ(r.m_Ranges[1].high, 524.3);
    QStringList texts;
    CRegSetting(parent, QStringLiteral("List"), false)
        .ReadStringList(QStringLiteral("Ranges"), texts);
    EXPECT_EQ(texts, (QStringList{QStringLiteral("400.25"), QStringLiteral("2000"),
                                  QStringLiteral("524.3"), QStringLiteral("524.3")}));
}

TEST_F(RegSettingTest, SavingAnEmptyListClearsTheOldRanges) {
    CRegSetting parent(RegRoot::CurrentUser, QStringLiteral("Ranges"), true);
    {
        CMassRangeSetting w(parent, QStringLiteral("List"), true);
        w.m_Ranges = {{1, 2, 0, 0}};
    }
    {
        CMassRangeSetting w(parent, QStringLiteral("List"), true);
        ASSERT_EQ(w.m_Ranges.size(), 1u);
        w.m_Ranges.clear();
    }
    CMassRangeSetting r(parent, QStringLiteral("List"), false);
    EXPECT_TRUE(r.m_Ranges.empty());
}

TEST_F(RegSettingTest, RangesThatDisagreeWithArraySizeLoadTheSmaller) {
    CRegSetting key(RegRoot::CurrentUser, QStringLiteral("Ranges\\List"), true);
    struct Case {
        const char* arraySize;
        QStringList ranges;
        std::size_t expected;
    };
    const Case cases[] = {
        {"3", {QStringLiteral("1"), QStringLiteral("2")}, 1},
        {"1",
         {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")},
         1},
        {"2", {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}, 1},
        {"-4", {QStringLiteral("1"), QStringLiteral("2")}, 0},
        {"2", {}, 0},
    };
    for (const Case& c : cases) {
        key.WriteString(QStringLiteral("Array Size"), QString::fromLatin1(c.arraySize));
        key.WriteStringList(QStringLiteral("Ranges"), c.ranges);
        CRegSetting parent(RegRoot::CurrentUser, QStringLiteral("Ranges"), false);
        CMassRangeSetting r(parent, QStringLiteral("List"), false);
        EXPECT_EQ(r.m_Ranges.size(), c.expected) << c.arraySize;
    }
    // Without "Array Size" no range is loaded and the scalars stay.
    key.DeleteValue(QStringLiteral("Array Size"));
    key.WriteInt(QStringLiteral("MaxPairs"), 5);
    CRegSetting parent(RegRoot::CurrentUser, QStringLiteral("Ranges"), false);
    CMassRangeSetting r(parent, QStringLiteral("List"), false);
    EXPECT_TRUE(r.m_Ranges.empty());
    EXPECT_EQ(r.m_nMaxPairs, 5);
}
