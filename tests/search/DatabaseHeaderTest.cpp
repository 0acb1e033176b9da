#include "search/DatabaseHeader.h"

#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zar;

namespace {

TEST(IsValidDatabaseFile, TellsDatabasesFromOtherFiles) {
    QTemporaryDir dir;
    const QString empty = dir.filePath("empty.fasta");
    QFile(empty).open(QIODevice::WriteOnly);
    const QString binary = dir.filePath("index.bin");
    {
        QFile f(binary);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("\x02\x00\x10", 3));
    }
    struct Case {
        QString path;
        bool valid;
    };
    const Case cases[] = {
        {zartest::DataPath("search/indexed.fasta.hdr"), true},
        {zartest::DataPath("search/small.fasta"), true},
        {binary, true},
        {zartest::DataPath("search/not_a_database.txt"), false},
        {empty, false},
        {dir.filePath("missing.fasta"), false},
        {QString(), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidDatabaseFile(c.path), c.valid) << c.path.toStdString();
}

TEST(ReadIndexedDatabaseHeader, ReadsTheLinesItKnows) {
    IndexedDatabaseHeader h;
    ASSERT_TRUE(ReadIndexedDatabaseHeader(zartest::DataPath("search/indexed.fasta.hdr"), h));
    EXPECT_EQ(h.origDatabaseType, "Protein");
    EXPECT_EQ(h.enzymeName, "Trypsin");
    EXPECT_EQ(h.massType, "monoisotopic");
    EXPECT_EQ(h.numIntCleavageSites, 3);
    EXPECT_EQ(h.staticModifications, "C=57.021 Nterm=42.0106");
    EXPECT_EQ(h.differentialModifications, " (M* 15.9949) (STY 79.9663)");
    ASSERT_TRUE(h.minimumMass && h.maximumMass);
    EXPECT_DOUBLE_EQ(*h.minimumMass, 600.0);
    EXPECT_DOUBLE_EQ(*h.maximumMass, 4200.0);
}

TEST(ReadIndexedDatabaseHeader, ProcessesALastLineWithoutLineEnd) {
    IndexedDatabaseHeader h;
    ASSERT_TRUE(
        ReadIndexedDatabaseHeader(zartest::DataPath("search/no_final_line_end.fasta.hdr"), h));
    EXPECT_EQ(h.differentialModifications, " (M 16.0) (C 57.0) (S 80.0) (T 80.0)");
    EXPECT_EQ(h.staticModifications, "");
    EXPECT_EQ(h.massType, "Average");
}

TEST(ReadIndexedDatabaseHeader, MissingFileIsReported) {
    IndexedDatabaseHeader h;
    EXPECT_FALSE(ReadIndexedDatabaseHeader("/nonexistent/x.fasta.hdr", h));
}

TEST(HeaderStaticModifications, SetOnlyTheNamedEntries) {
    ModificationTables tables;
    tables.SetStaticModification(5, 1.0);  // alanine, not named by the header
    ApplyHeaderStaticModifications("C=57.021 Nterm=42.0106 J=3.0 u=1.0 Cterm=-1.5", tables);
    EXPECT_DOUBLE_EQ(tables.GetStaticModification(ModificationTables::StaticEntryOfResidue('C')),
                     57.021);
    EXPECT_DOUBLE_EQ(tables.GetStaticModification(ModificationTables::kNtermPeptideEntry), 42.0106);
    EXPECT_DOUBLE_EQ(tables.GetStaticModification(ModificationTables::kCtermPeptideEntry), -1.5);
    EXPECT_DOUBLE_EQ(tables.GetStaticModification(5), 1.0);
    int nonZero = 0;
    for (int i = 0; i < ModificationTables::kStaticCount; ++i)
        nonZero += tables.GetStaticModification(i) != 0.0;
    EXPECT_EQ(nonZero, 4);

    ApplyHeaderStaticModifications("", tables);
    for (int i = 0; i < ModificationTables::kStaticCount; ++i)
        EXPECT_EQ(tables.GetStaticModification(i), 0.0);
}

struct DiffCase {
    const char* text;
    int groups;
    const char* residues[3];
    double masses[3];
};

class HeaderDifferentialCases : public ::testing::TestWithParam<DiffCase> {};

TEST_P(HeaderDifferentialCases, ReadsUpToThreeGroups) {
    const DiffCase& c = GetParam();
    std::array<DifferentialModification, 3> out;
    EXPECT_EQ(ParseHeaderDifferentialModifications(c.text, out), c.groups);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(out[i].residues, c.residues[i]) << i;
        EXPECT_DOUBLE_EQ(out[i].mass, c.masses[i]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HeaderDifferentialCases,
    ::testing::Values(
        DiffCase{" (M* 15.9949) (STY 79.9663)", 2, {"M", "STY", ""}, {15.9949, 79.9663, 0}},
        DiffCase{"(M 16.0) (C 57.0) (S 80.0)", 3, {"M", "C", "S"}, {16, 57, 80}},
        DiffCase{"(M 16.0) (C 57.0) (S 80.0) (T 80.0)", 0, {"", "", ""}, {0, 0, 0}},
        DiffCase{" ", 0, {"", "", ""}, {0, 0, 0}},
        DiffCase{"no groups here", 0, {"", "", ""}, {0, 0, 0}},
        DiffCase{"(ABCDEFGHIK 1.0)", 0, {"", "", ""}, {0, 0, 0}},  // too long
        DiffCase{"(M 16.0) (C x)", 1, {"M", "", ""}, {16, 0, 0}}));

TEST(ReadHeaderMassRange, ReadsWholeNumbersBeforeTheEnzymeLine) {
    double low = 0;
    double high = 0;
    ASSERT_TRUE(
        ReadHeaderMassRange(zartest::DataPath("search/no_final_line_end.fasta.hdr"), low, high));
    EXPECT_DOUBLE_EQ(low, 700.0);
    EXPECT_DOUBLE_EQ(high, 3500.0);
    // Here the enzyme line comes first: the search stops before the masses.
    EXPECT_FALSE(ReadHeaderMassRange(zartest::DataPath("search/indexed.fasta.hdr"), low, high));
    EXPECT_FALSE(ReadHeaderMassRange("/nonexistent.hdr", low, high));
}

}  // namespace
