#include "document/EnzymeTable.h"
#include "document/Settings.h"

#include "TestSupport.h"
#include "registry/RegKey.h"

#include <gtest/gtest.h>

using namespace zar;

TEST(EnzymeTableTest, ParseRecordReadsFourFields) {
    EnzymeRecord r;
    EXPECT_EQ(ParseEnzymeRecord("Trypsin_modified 1 KRLNH  -", r), 4);
    EXPECT_EQ(r.name, "Trypsin_modified");
    EXPECT_EQ(r.sense, 1);
    EXPECT_EQ(r.cleavage, "KRLNH");
    EXPECT_EQ(r.blocking, "-");
}

TEST(EnzymeTableTest, ShortTextLeavesNoStaleFields) {
    EnzymeRecord r;
    ParseEnzymeRecord("Trypsin 1 KR P", r);
    EXPECT_EQ(ParseEnzymeRecord("AspN 0", r), 2);
    EXPECT_EQ(r.name, "AspN");
    EXPECT_EQ(r.sense, 0);
    EXPECT_TRUE(r.cleavage.isEmpty()) << "nothing of Trypsin stays behind";
    EXPECT_TRUE(r.blocking.isEmpty());
    ParseEnzymeRecord("Trypsin 1 KR P", r);
    EXPECT_EQ(ParseEnzymeRecord("Odd", r), 1);
    EXPECT_EQ(r.sense, 0);
    EXPECT_EQ(ParseEnzymeRecord("", r), 0);
    EXPECT_TRUE(r.isEmpty());
    EXPECT_EQ(r.sense, 0);
}

TEST(EnzymeTableTest, LongWordsAreCutToTheCapacities) {
    EnzymeRecord r;
    const QString text = QString(300, 'N') + " 1 " + QString(40, 'K') + " " + QString(40, 'P');
    EXPECT_EQ(ParseEnzymeRecord(text, r), 4);
    EXPECT_EQ(r.name.size(), 127);
    EXPECT_EQ(r.cleavage.size(), 23);
    EXPECT_EQ(r.blocking.size(), 23);
}

TEST(EnzymeTableTest, TextFormRoundTripsForEveryBuiltInRule) {
    for (int i = 0; i < kEnzymeSlotCount; ++i) {
        EnzymeRecord r;
        ParseEnzymeRecord(DefaultEnzymeText(i), r);
        EnzymeRecord again;
        ParseEnzymeRecord(FormatEnzymeRecord(r), again);
        EXPECT_EQ(r, again) << i;
        EXPECT_EQ(r.isEmpty(), i >= kBuiltInEnzymeCount) << i;
    }
    EXPECT_EQ(DefaultEnzymeText(1), "Trypsin 1 KR -");
    EXPECT_EQ(DefaultEnzymeText(16), "Elastase/Tryp/Chymo 1 ALIVKRWFY P");
}

TEST(EnzymeTableTest, ReadsTheStoredTableAndFallsBackToBuiltInRules) {
    zartest::ScopedConfigDir config;
    {
        CEnzymeTable table;
        EXPECT_EQ(table.GetRecords()[1].name, "Trypsin");
        EXPECT_EQ(table.GetRecords()[14].sense, 0);
        EXPECT_TRUE(table.GetRecords()[20].isEmpty());
    }
    // Nothing was written by reading.
    EXPECT_FALSE(RegKey::keyExists(RegRoot::LocalMachine, kEnzymeTableKey));

    SetEnzymeEntry(20, "Pepsin 1 FL -");
    SetEnzymeEntry(1, "Trypsin_modified 1 KRLNH  -");
    CEnzymeTable table;
    EXPECT_EQ(table.GetRecords()[20].name, "Pepsin");
    EXPECT_EQ(table.GetRecords()[1].cleavage, "KRLNH");
    EXPECT_EQ(GetEnzymeEntry(1), "Trypsin_modified 1 KRLNH  -");  // double blank kept

    table.ResetToDefaults();
    EXPECT_EQ(table.GetRecords()[1].name, "Trypsin");
    EXPECT_TRUE(table.GetRecords()[20].isEmpty());
    EXPECT_EQ(GetEnzymeEntry(20), "Pepsin 1 FL -");  // reset does not write the settings

    RegKey::deleteKey(RegRoot::LocalMachine, kEnzymeTableKey);
    CEnzymeTable restored;
    EXPECT_EQ(restored.GetRecords()[1].name, "Trypsin");
    EXPECT_TRUE(restored.GetRecords()[20].isEmpty());
}
