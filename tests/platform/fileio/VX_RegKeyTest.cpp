#include "fileio/VX_RegKey.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using zar::CVX_RegKey;
using zar::RegRoot;

namespace {

TEST(VXRegKeyTest, KeysLieBelowTheDataSystemPath) {
    zartest::ScopedConfigDir config;
    CVX_RegKey key(RegRoot::LocalMachine, "ZarvikBrowser", 1, 0);
    ASSERT_TRUE(key.IsValid());
    EXPECT_EQ(key.Path(), "Software\\Korvath\\Veltrix\\ZarvikBrowser");
    EXPECT_TRUE(
        zar::RegKey::keyExists(RegRoot::LocalMachine, "Software\\Korvath\\Veltrix\\ZarvikBrowser"));
}

TEST(VXRegKeyTest, ReadsBackWhatItWroteWithItsType) {
    zartest::ScopedConfigDir config;
    CVX_RegKey key(RegRoot::CurrentUser, "ZarvikBrowser", 1);
    EXPECT_TRUE(key.WriteStr("Text", "C:\\Veltrix\\sorvex"));
    EXPECT_TRUE(key.WriteInt("Count", 10));
    EXPECT_TRUE(key.WriteDouble("Tolerance", 1.5));

    CVX_RegKey again(RegRoot::CurrentUser, "ZarvikBrowser", 0);
    QString text;
    int count = 0;
    double tolerance = 0.0;
    EXPECT_TRUE(again.ReadStr("Text", text));
    EXPECT_EQ(text, "C:\\Veltrix\\sorvex");
    EXPECT_TRUE(again.ReadInt("Count", count));
    EXPECT_EQ(count, 10);
    EXPECT_TRUE(again.ReadDouble("Tolerance", tolerance));
    EXPECT_DOUBLE_EQ(tolerance, 1.5);

    // Missing values and values of another type read as nothing and leave the output alone.
    int untouched = 7;
    EXPECT_FALSE(again.ReadInt("Missing", untouched));
    EXPECT_FALSE(again.ReadInt("Text", untouched));
    EXPECT_EQ(untouched, 7);
}

TEST(VXRegKeyTest, MissingKeyWithoutCreateIsNotValidAndFailsQuietly) {
    zartest::ScopedConfigDir config;
    CVX_RegKey key(RegRoot::LocalMachine, "Global", 0);
    EXPECT_FALSE(key.IsValid());
    QString value = "kept";
    EXPECT_FALSE(key.ReadStr("Veltrix Path", value));
    EXPECT_EQ(value, "kept");
    EXPECT_FALSE(key.WriteStr("Veltrix Path", "x"));
    QStringList names{"old"};
    EXPECT_FALSE(key.GetSubkeyNames(names));
    EXPECT_TRUE(names.isEmpty());
}

TEST(VXRegKeyTest, ListsSubkeys) {
    zartest::ScopedConfigDir config;
    CVX_RegKey(RegRoot::CurrentUser, "ZarvikBrowser\\Database\\human.fasta", 1)
        .WriteInt("FileSize", 12);
    CVX_RegKey(RegRoot::CurrentUser, "ZarvikBrowser\\Database\\yeast.fasta", 1)
        .WriteInt("FileSize", 13);
    CVX_RegKey database(RegRoot::CurrentUser, "ZarvikBrowser\\Database", 0);
    QStringList names;
    ASSERT_TRUE(database.GetSubkeyNames(names));
    names.sort();
    EXPECT_EQ(names, (QStringList{"human.fasta", "yeast.fasta"}));
}

}  // namespace
