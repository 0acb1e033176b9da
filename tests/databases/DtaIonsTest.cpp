#include "databases/DatabaseSearch.h"
#include "databases/DtaIons.h"

#include "DatabaseTestUtil.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace zar;

TEST(DtaIons, ModificationTextSetsResiduesTerminiAndDifferentials) {
    SequenceMassTable masses = SequenceMassTable::For(true);
    PeptideModifications mods;
    ParseModifications("(M* +15.995) (STY# +79.966) C=160.03 +Nterm-pep=42.0 +Cterm-pep=0.98",
                       masses, mods);
    EXPECT_DOUBLE_EQ(mods.differential[0], 15.995);
    EXPECT_DOUBLE_EQ(mods.differential[1], 79.966);
    EXPECT_DOUBLE_EQ(mods.differential[2], 0.0);
    EXPECT_DOUBLE_EQ(masses.residue['C'], 160.03);
    EXPECT_DOUBLE_EQ(masses.residue['c'], 160.03);
    EXPECT_DOUBLE_EQ(mods.nTerminal, 42.0);
    EXPECT_DOUBLE_EQ(mods.cTerminal, 0.98);
    const double g = masses.residue['G'];
    ParseModifications("", masses, mods);
    EXPECT_DOUBLE_EQ(masses.residue['G'], g);
}

TEST(DtaIons, PeptideTextsAndTheirMarks) {
    const struct {
        const char* text;
        const char* residues;
        std::vector<int> marks;
    } cases[] = {
        {"K.PEP*TIDE", "PEPTIDE", {0, 0, 1, 0, 0, 0, 0}},
        {"K.PEPTIDE.R", "PEPTIDE", {0, 0, 0, 0, 0, 0, 0}},
        {"PE#P@.", "PEP", {0, 2, 3}},
        {"pep", "PEP", {0, 0, 0}},
    };
    for (const auto& c : cases) {
        const auto residues = ParseIonPeptide(c.text);
        std::string letters;
        std::vector<int> marks;
        for (const auto& r : residues) {
            letters.push_back(r.residue);
            marks.push_back(r.modification);
        }
        EXPECT_EQ(letters, c.residues) << c.text;
        EXPECT_EQ(marks, c.marks) << c.text;
    }
    EXPECT_EQ(ParseIonPeptide(QString(500, 'A')).size(), std::size_t(kMaxIonResidues));
}

TEST(DtaIons, IonMassesLabelsAndPresence) {
    const SequenceMassTable masses = SequenceMassTable::For(true);
    PeptideModifications mods;
    mods.differential[0] = 16.0;
    const double p = masses.residue['P'], e = masses.residue['E'], h = masses.h;
    // A spectrum with one peak at the doubly charged b3 ion of PEP*.
    const double b3 = (p + e + p + 16.0 + h + h) / 2;
    QTemporaryDir dir;
    const QString path =
        dbtest::WriteFile(dir, "s.dta", "900.0 2\n" + QByteArray::number(b3, 'f', 4) + " 1000\n");
    CDtaSpectrum spectrum;
    ASSERT_EQ(spectrum.read(path), CDtaSpectrum::ReadResult::Ok);
    ASSERT_TRUE(spectrum.prepare(kBinWidthMonoisotopic));

    const DtaIonTable table = CalculateDtaIons(
        "K.PEP*TIDE", 2, kIonSeriesA | kIonSeriesB | kIonSeriesY, masses, mods, spectrum);
    ASSERT_EQ(table.rows.size(), 7u);
    EXPECT_DOUBLE_EQ(table.cumulative[2], p + e + p + 16.0);
    const DtaIonRow& row = table.rows[2];
    EXPECT_EQ(row.residue, " P*");
    EXPECT_EQ(table.rows[0].residue, " P ");
    EXPECT_EQ(row.fromCTerminus, 5);
    EXPECT_DOUBLE_EQ(row.b, b3);
    EXPECT_TRUE(row.bPresent);
    EXPECT_FALSE(table.rows[1].bPresent);
    EXPECT_DOUBLE_EQ(row.a, (p + e + p + 16.0 - 27.0 + h) / 2);
    // The y ion of row i holds residue i and everything after it.
    EXPECT_DOUBLE_EQ(table.rows[6].y, (masses.residue['E'] + 19.0 + h) / 2);
    ASSERT_EQ(table.labels.size(), 21u);
    const IonLabel& b3Label = table.labels[2 * 3 + 1];
    EXPECT_EQ(b3Label.text, "b2-3");
    EXPECT_EQ(b3Label.style, 3);
    EXPECT_NEAR(b3Label.high - b3Label.low, kBinWidthMonoisotopic, 1e-9);
    EXPECT_EQ(table.labels[2 * 3 + 2].text, "y2-5");
    EXPECT_EQ(table.labels[0].style, 0);
}

TEST(DtaIons, SinglyChargedIonsAndSeriesFlags) {
    SequenceMassTable masses;  // all zero but the residue we set
    masses.residue['G'] = 500.0 - 1.0;
    masses.h = 1.0;
    CDtaSpectrum spectrum;
    const DtaIonTable one =
        CalculateDtaIons("G", 1, kIonSeriesB, masses, PeptideModifications{}, spectrum);
    ASSERT_EQ(one.rows.size(), 1u);
    EXPECT_DOUBLE_EQ(one.rows[0].b, 500.0);
    EXPECT_FALSE(one.rows[0].hasA);
    EXPECT_FALSE(one.rows[0].hasY);
    // For z = 2 the b ion of mass 500.0 is shown at (500.0 + H) / 2.
    const DtaIonTable two =
        CalculateDtaIons("G", 2, kIonSeriesB, masses, PeptideModifications{}, spectrum);
    EXPECT_DOUBLE_EQ(two.rows[0].b, (500.0 + 1.0) / 2);
}

class DtaLookupTest : public ::testing::Test {
  protected:
    void SetUp() override { search.SetResultsDirectory(zartest::DataPath("databases/fasta")); }
    zartest::MessageBoxCapture boxes;
    CDatabaseSearch search;
};

TEST_F(DtaLookupTest, ShowDtaIonsReportsEachFailure) {
    const struct {
        const char* name;
        const char* message;
    } cases[] = {{"absent", "Unable to open the dta file"},
                 {"badheader", "Unable to read the dta file"},
                 {"heavy", "Unable to process the data from the dta file"}};
    for (const auto& c : cases) {
        boxes.clear();
        DtaIonRequest request;
        request.dtaName = zartest::DataPath(QString("databases/fasta/") + c.name);
        request.peptide = "PEPTIDE";
        EXPECT_FALSE(search.ShowDtaIons(request).has_value()) << c.name;
        EXPECT_EQ(boxes.texts(), QStringList{c.message}) << c.name;
    }
}

TEST_F(DtaLookupTest, ShowDtaIonsGivesTheTableAndItsTexts) {
    DtaIonRequest request;
    request.dtaName = zartest::DataPath("databases/fasta/search");
    request.peptide = "PEPTIDE";
    request.monoisotopic = true;
    const auto result = search.ShowDtaIons(request);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->precursorText, "Precursor mass:  1000.50");
    EXPECT_EQ(result->massTypeText, "Mass type:  Monoisotopic");
    EXPECT_EQ(result->table.rows.size(), 7u);
}

TEST_F(DtaLookupTest, SearchInformationOfBothLayouts) {
    auto info = search.ReadSearchInfo2("search", true);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->text.search,
              "Search information:  Search: tryptic, 3 missed cleavages, oxidised M");
    EXPECT_EQ(info->text.precursor, "Precursor mass:  1234.568 +/- 1.50");
    EXPECT_EQ(info->text.charge, "Charge:  2");
    EXPECT_EQ(info->text.fragment, "Fragment tolerance:  0.50");
    EXPECT_EQ(info->text.massType, "Mass type:  Monoisotopic");
    EXPECT_EQ(info->text.database, "Database:  human.fasta");
    EXPECT_EQ(info->text.enzyme, "Enzyme:  Trypsin(KR)");
    EXPECT_EQ(info->spectrum.size(), 2u);
    EXPECT_EQ(info->peakLines, 4);

    info = search.ReadSearchInfo("map", false);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->text.precursor, "Precursor mass:  900.250 +/- 0.75");
    EXPECT_EQ(info->text.charge, "Charge:  1");
    EXPECT_EQ(info->text.fragment, "Fragment tolerance:  0.80");
    EXPECT_EQ(info->text.massType, "Mass type:  Average");
    EXPECT_EQ(info->text.database, "Database:  second.fasta");
    EXPECT_EQ(info->text.enzyme, "Enzyme:  ");
    EXPECT_TRUE(boxes.texts().isEmpty());

    EXPECT_FALSE(search.ReadSearchInfo2("absent", true).has_value());
    EXPECT_EQ(boxes.texts(), QStringList{"Unable to open the out file"});
}
