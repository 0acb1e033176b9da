#include "databases/SearchInfoReader.h"
#include "tools/common/OutFileText.h"

#include "DatabaseTestUtil.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace zar;

TEST(SearchInfoReader, ChargesThatAreNoWholeNumberReadAsNone) {
    const QByteArray original =
        dbtest::ReadFile(zartest::DataPath(QStringLiteral("databases/fasta/search.out")));
    ASSERT_TRUE(original.contains("(+2)"));
    const struct {
        const char* written;
        const char* shown;
    } cases[] = {
        {"(+2)", "Charge:  2"},    {"(+3.7)", "Charge:  3"},
        {"(+1e30)", "Charge:  0"}, {"(+288888888888888888888)", "Charge:  0"},
        {"(+nan)", "Charge:  0"},  {"(+inf)", "Charge:  0"},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        QByteArray text = original;
        text.replace("(+2)", c.written);
        const QString path = dbtest::WriteFile(dir, "hit.out", text);
        SearchInfoText info;
        ASSERT_TRUE(ReadSearchInfoText(path, OutHeaderLayout::SearchEngine, info));
        EXPECT_EQ(info.charge.toStdString(), c.shown) << c.written;
        EXPECT_EQ(info.precursor.toStdString(), "Precursor mass:  1234.568 +/- 1.50");
    }
}

// The header as each program writes it, read by its labels: the search-engine file, the
// peptide-mapping file of the program's own writer, and an older peptide-mapping file whose
// masses stand two lines higher.
TEST(SearchInfoReader, TheHeaderIsReadByItsLabelsInEitherKindOfFile) {
    OutFileHeader header{.fileName = "demo.0101.0101.2.out",
                         .date = "12/10/2026, 01:30 PM",
                         .seconds = 4,
                         .host = "node01",
                         .precursorMH = 1234.5678,
                         .precursorTolerance = 1.5,
                         .charge = 2,
                         .fragmentTolerance = 0.5,
                         .database = "../demo.fasta",
                         .modifications = " (M* +15.9949) C=160.0307 Enzyme: Trypsin(KR)"};
    OutFileHit hit;
    hit.reference = "sp|P02769|ALBU_BOVIN";
    hit.peptide = "K.LVNELTEFAK.T";
    hit.mh = 1163.63;
    header.program = "TurboSORVEX v.27 (rev. 12), (c) 2001";
    const QString searchEngine = SearchOutText(header, {hit});
    header.program = "MassMap v.1 (rev. 2), (C) 2000";
    const QString peptideMapping = MassmapOutText(header, {hit});
    const QString older =
        "\n run.0101.0101.2.out\n MassMap v.1\n Search: peptide map\n"
        " (M+H)+ mass = 1234.5678 ~ 1.5000 (+2), fragment tol = 0.50, MONO/MONO\n"
        " total inten = 1.0, lowest Sp = 0.0, # matched peptides = 10\n"
        " # amino acids = 300, # proteins = 3, ../demo.fasta\n"
        " ion series nABYabcdVWXYZ: 0 0 1 0.0 0.0 0.0 0.0 0.0 0.0 0.0 1.0 0.0\n"
        " display top 10/5\n"
        " (M* +15.9949) Enzyme: Trypsin(KR)\n\n"
        "  #   Id#     (M+H)+    Score   Ions  Reference             Peptide\n"
        " ---  ----  ---------  ------  -----  ---------             -------\n";
    const char* const dated = "Search information:  12/10/2026, 01:30 PM, 4 sec. on node01";
    const struct {
        const char* what;
        const QString& text;
        OutHeaderLayout layout;
        const char* search;
    } cases[] = {
        {"search engine", searchEngine, OutHeaderLayout::SearchEngine, dated},
        {"peptide mapping", peptideMapping, OutHeaderLayout::PeptideMapping, dated},
        {"older peptide mapping", older, OutHeaderLayout::PeptideMapping,
         "Search information:  Search: peptide map"},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SearchInfoText info;
        const QString path = dbtest::WriteFile(dir, "hit.out", c.text.toLatin1());
        ASSERT_TRUE(ReadSearchInfoText(path, c.layout, info)) << c.what;
        EXPECT_EQ(info.search.toStdString(), c.search) << c.what;
        EXPECT_EQ(info.precursor.toStdString(), "Precursor mass:  1234.568 +/- 1.50") << c.what;
        EXPECT_EQ(info.charge.toStdString(), "Charge:  2") << c.what;
        EXPECT_EQ(info.fragment.toStdString(), "Fragment tolerance:  0.50") << c.what;
        EXPECT_EQ(info.massType.toStdString(), "Mass type:  Monoisotopic") << c.what;
        EXPECT_EQ(info.database.toStdString(), "Database:  demo.fasta") << c.what;
        EXPECT_EQ(info.enzyme.toStdString(), "Enzyme:  Trypsin(KR)") << c.what;
        EXPECT_EQ(ReadOutDatabaseNames(path), QStringList{"../demo.fasta"}) << c.what;
    }
}
