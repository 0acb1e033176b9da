#include "document/Settings.h"

#include "TestSupport.h"
#include "registry/RegKey.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace zar;

namespace {

bool StoredText(const char* name, QString& value) {
    return RegKey(RegRoot::LocalMachine, kProgramKey, false).readString(name, value);
}
bool StoredInt(const char* name, int& value) {
    return RegKey(RegRoot::LocalMachine, kProgramKey, false).readInt(name, value);
}

}  // namespace

TEST(SettingsTest, WrittenBackDefaultsAreStoredOnFirstRead) {
    zartest::ScopedConfigDir config;
    QString text;
    int number = 0;
    EXPECT_EQ(GetSorvexResultsDirectory(), "C:\\Veltrix\\sorvex");
    EXPECT_TRUE(StoredText("SorvexResultsDirectory", text));
    EXPECT_EQ(text, "C:\\Veltrix\\sorvex");
    EXPECT_EQ(GetPeptideResultsDirectory(), "C:\\Veltrix\\peptide");
    EXPECT_TRUE(StoredText("PeptideResultsDirectory", text));
    EXPECT_EQ(GetConsensusDisplayEntries(), 10);
    EXPECT_TRUE(StoredInt("ConsensusDisplayEntries", number));
    EXPECT_EQ(GetConsensusDisplayMode(), 0);
    EXPECT_TRUE(StoredInt("ConsensusDisplayMode", number));
    EXPECT_EQ(GetSummaryDisplayMode(), 0);
    EXPECT_TRUE(StoredInt("SummaryDisplayMode", number));
    EXPECT_EQ(GetDatabaseDirectory(), "C:\\Veltrix\\Database\\");
    EXPECT_TRUE(StoredText("DatabaseDirectory", text));
    EXPECT_EQ(GetSequenceDirectory(), "C:\\Veltrix\\Sequence\\");
    EXPECT_TRUE(GetNCBIBlastURL().endsWith("/blast/blast.cgi"));
    EXPECT_TRUE(StoredText("NCBIBlastURL", text));
    EXPECT_TRUE(GetSwissProtURL().endsWith("/cgi-bin"));
    EXPECT_TRUE(StoredText("SwissProtURL", text));
}

TEST(SettingsTest, OtherDefaultsAreNotWritten) {
    zartest::ScopedConfigDir config;
    struct TextCase {
        QString (*get)();
        const char* name;
        const char* fallback;
    } texts[] = {
        {GetVersionString, "Version", "(Engineering)"},
        {GetDravelMSOptions, "DravelMSOptions", "-Z -X"},
        {GetDravelMSnOptions, "DravelMSnOptions", "-Z -X"},
        {GetDravelMSProgram, "DravelMSProgram", "dravel_ms.exe"},
        {GetDravelMSnProgram, "DravelMSnProgram", "dravel_msn.exe"},
        {GetMassmapOptions, "MassmapOptions", ""},
        {GetMassmapProgram, "MassmapProgram", "massmap.exe"},
        {GetSorvexOptions, "SorvexOptions", ""},
        {GetSorvexProgram, "SorvexProgram", "sorvex27.exe"},
        {GetSorvexQueueProgram, "SorvexQueueProgram", "SorvexQueue.exe"},
        {GetXpressResidue, "XpressResidue", "C"},
    };
    for (const TextCase& c : texts) EXPECT_EQ(c.get(), c.fallback) << c.name;
    EXPECT_EQ(IsSorvexQueueEnabled(), 0);
    EXPECT_EQ(GetDtaGroupScan(), 1);
    EXPECT_EQ(GetDtaMinGroupCount(), 2);
    EXPECT_EQ(GetDtaMinIonCount(), 35);
    EXPECT_DOUBLE_EQ(GetDtaPrecursorTolerance(), 1.4);
    EXPECT_DOUBLE_EQ(GetDtaThreshold(), 100000.0);
    EXPECT_EQ(GetXpressAutoCalculate(), 0);
    EXPECT_DOUBLE_EQ(GetXpressDifference(), 8.0);
    EXPECT_EQ(GetXpressScanWindow(), 6);
    EXPECT_DOUBLE_EQ(GetXpressTolerance(), 1.5);
    EXPECT_EQ(GetVeltrixPath(), "");
    EXPECT_FALSE(RegKey::keyExists(RegRoot::LocalMachine, kProgramKey));
}

TEST(SettingsTest, SettersStoreTheirTypes) {
    zartest::ScopedConfigDir config;
    SetDtaPrecursorTolerance(2.25);
    SetDtaMinIonCount(12);
    SetXpressResidue("K");
    SetXpressAutoCalculate(1);
    SetSorvexResultsDirectory("/data/results");
    SetConsensusDisplayEntries(3);
    EXPECT_DOUBLE_EQ(GetDtaPrecursorTolerance(), 2.25);
    EXPECT_EQ(GetDtaMinIonCount(), 12);
    EXPECT_EQ(GetXpressResidue(), "K");
    EXPECT_EQ(GetXpressAutoCalculate(), 1);
    EXPECT_EQ(GetSorvexResultsDirectory(), "/data/results");
    EXPECT_EQ(GetConsensusDisplayEntries(), 3);
}

TEST(SettingsTest, DirectoryGettersAddABackslashButKeepTheStoredText) {
    zartest::ScopedConfigDir config;
    SetDatabaseDirectory("D:\\dbs");
    EXPECT_EQ(GetDatabaseDirectory(), "D:\\dbs\\");
    QString stored;
    ASSERT_TRUE(StoredText("DatabaseDirectory", stored));
    EXPECT_EQ(stored, "D:\\dbs");
    SetSequenceDirectory("D:\\seq\\");
    EXPECT_EQ(GetSequenceDirectory(), "D:\\seq\\");
    SetDatabaseDirectory("/home/user/db/");
    EXPECT_EQ(GetDatabaseDirectory(), "/home/user/db/");  // a portable folder keeps its '/'
    SetSequenceDirectory("/home/user/seq");
    EXPECT_EQ(GetSequenceDirectory(), "/home/user/seq\\");
}

TEST(SettingsTest, EnzymeEntriesOutsideTheTableAreEmpty) {
    zartest::ScopedConfigDir config;
    EXPECT_EQ(GetEnzymeEntry(25), "");
    EXPECT_EQ(GetEnzymeEntry(-1), "");
    EXPECT_EQ(GetEnzymeEntry(0), "No_Enzyme 0 - -");
}

TEST(SettingsTest, DatabaseInfo) {
    zartest::ScopedConfigDir config;
    int size = -1, count = -1;
    EXPECT_TRUE(GetDatabaseInfo("missing.fasta", size, count));
    EXPECT_EQ(size, 0);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(SetDatabaseInfo("human.fasta", 1234, 56));
    EXPECT_TRUE(SetDatabaseInfo("yeast.fasta", 1, 2));
    EXPECT_TRUE(GetDatabaseInfo("human.fasta", size, count));
    EXPECT_EQ(size, 1234);
    EXPECT_EQ(count, 56);
    QStringList names;
    EXPECT_TRUE(GetDatabaseNames(names));
    names.sort();
    EXPECT_EQ(names, (QStringList{"human.fasta", "yeast.fasta"}));
}

TEST(SettingsTest, DerivedPaths) {
    zartest::ScopedConfigDir config;
    EXPECT_EQ(GetProgramDirectory(), QCoreApplication::applicationDirPath()) << "no data system: the program's folder";
    RegKey(RegRoot::LocalMachine, kGlobalKey, true).writeString("Veltrix Path", "C:\\Veltrix");
    EXPECT_EQ(GetVeltrixPath(), "C:\\Veltrix");
    EXPECT_EQ(GetProgramDirectory(), "C:\\Veltrix\\system\\programs\\ZarvikBrowser");
    EXPECT_EQ(GetHelpFilePath(), "C:\\Veltrix\\System\\Programs\\ZarvikBrowser\\Zarvik3.HLP");
    EXPECT_EQ(GetHelpFilePath("E:\\V"), "E:\\V\\System\\Programs\\ZarvikBrowser\\Zarvik3.HLP");
    EXPECT_FALSE(GetAboutNoticeText().isEmpty());
}
