// The files the search programs read and write: the parameter file as they take it, Comet's
// parameters and results, the list of spectra, and the ".out" text read back by the result
// readers.

#include "ToolTestSupport.h"

#include "tools/common/OutFileText.h"
#include "tools/common/SearchParamsFile.h"
#include "tools/common/SpectrumFiles.h"
#include "tools/sorvex/CometParams.h"
#include "tools/sorvex/CometResults.h"

#include "core/Numbers.h"
#include "core/TextFile.h"
#include "databases/SearchInfoReader.h"
#include "document/MassmapResults.h"
#include "document/SorvexResults.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

using namespace zar;

namespace {

class SearchFilesTest : public ::testing::Test {
  protected:
    QString write(const QString& name, const QByteArray& bytes) {
        QFile f(dir_.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    QTemporaryDir dir_;
    zartest::ScopedConfigDir config_;
    zartest::MessageBoxCapture boxes_;
};

TEST_F(SearchFilesTest, DefaultParameterFileReadsAsTheSheetsWriteIt) {
    const QString path = zartest::WriteSearchParams(dir_.path(), false, "C:\\db\\horse.fasta");
    SearchParamsFile p;
    QString error;
    ASSERT_TRUE(ReadSearchParamsFile(path, p, error)) << error.toStdString();
    EXPECT_EQ(p.database, "/db/horse.fasta");
    EXPECT_DOUBLE_EQ(p.peptideTolerance, 1.0);
    EXPECT_EQ(p.neutralLoss, (std::array<int, 3>{0, 1, 1}));
    EXPECT_EQ(p.IonSeriesText(), "0 1 1 0.0 1.0 0.0 0.0 0.0 0.0 0.0 1.0 0.0");
    EXPECT_EQ(p.outputLines, 12);
    EXPECT_EQ(p.numResults, 500);
    EXPECT_EQ(p.enzymeNumber, 0);
    EXPECT_TRUE(p.differential.empty());
    EXPECT_FALSE(p.monoParent);
    EXPECT_EQ(p.cleavageSites, 2);
    for (double add : p.staticResidue) EXPECT_EQ(add, 0.0);
}

TEST_F(SearchFilesTest, EditedParameterFileGivesEnzymeModificationsAndMassTypes) {
    const QString path = zartest::WriteSearchParams(
        dir_.path(), false, "/data/bsa.fasta",
        {{"enzyme_number", "1"},
         {"diff_search_options", "15.9949 M 79.9663 sty 0.0 X"},
         {"add_C_Cysteine", "57.021464"},
         {"add_Nterm_peptide", "42.0106"},
         {"mass_type_parent", "1"},
         {"mass_type_fragment", "1"},
         {"fragment_ion_tolerance", "0.5"},
         {"print_duplicate_references", "1"}});
    SearchParamsFile p;
    QString error;
    ASSERT_TRUE(ReadSearchParamsFile(path, p, error)) << error.toStdString();
    EXPECT_EQ(p.enzyme.name, "Trypsin");
    EXPECT_EQ(p.enzyme.sense, 1);
    EXPECT_EQ(p.enzyme.cleavage, "KR");
    ASSERT_EQ(p.differential.size(), 2u);
    EXPECT_EQ(p.differential[0].residues, "M");
    EXPECT_EQ(p.differential[0].symbol, QChar('*'));
    EXPECT_EQ(p.differential[1].residues, "STY");
    EXPECT_EQ(p.differential[1].symbol, QChar('#'));
    EXPECT_DOUBLE_EQ(p.differential[1].mass, 79.9663);
    // The sheets' reading: four decimals.
    EXPECT_NEAR(p.staticResidue['C' - 'A'], 57.0215, 1e-9);
    EXPECT_NEAR(p.nTermPeptide, 42.0106, 1e-9);
    EXPECT_TRUE(p.monoParent);
    EXPECT_TRUE(p.monoFragment);
    EXPECT_TRUE(p.printDuplicateReferences);
    EXPECT_NEAR(p.fragmentTolerance, 0.5, 1e-9);
}

struct BadParams {
    const char* name;
    std::vector<std::pair<QString, QString>> entries;
    const char* message;
};

// Test names and failure reports show the case by its name.
void PrintTo(const BadParams& c, std::ostream* os) {
    *os << c.name;
}

class BadParamFiles : public SearchFilesTest, public ::testing::WithParamInterface<BadParams> {};

TEST_P(BadParamFiles, AreRefusedWithAReason) {
    const BadParams& c = GetParam();
    const QString path = zartest::WriteSearchParams(dir_.path(), false, "/db/x.fasta", c.entries);
    SearchParamsFile p;
    QString error;
    EXPECT_FALSE(ReadSearchParamsFile(path, p, error));
    EXPECT_TRUE(error.contains(c.message)) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadParamFiles,
    ::testing::Values(BadParams{"noDatabase", {{"first_database_name", ""}}, "names no database"},
                      BadParams{"notANumber",
                                {{"peptide_mass_tolerance", "wide"}},
                                "the value \"wide\" of peptide_mass_tolerance is not usable"},
                      BadParams{"badIonSeries", {{"ion_series", "0 1"}}, "of ion_series"},
                      BadParams{"badModification",
                                {{"diff_search_options", "heavy M"}},
                                "of diff_search_options"},
                      BadParams{"noTolerance",
                                {{"peptide_mass_tolerance", "0.0"}},
                                "peptide_mass_tolerance = 0 is out of range (above 0 to 100)"},
                      BadParams{"hugeFragmentTolerance",
                                {{"fragment_ion_tolerance", "1e300"}},
                                "fragment_ion_tolerance = 1e+300 is out of range (from 0 to 10)"},
                      BadParams{"negativeFragmentTolerance",
                                {{"fragment_ion_tolerance", "-0.5"}},
                                "fragment_ion_tolerance = -0.5 is out of range"},
                      BadParams{"countlessResults",
                                {{"num_results", "2147483647"}},
                                "num_results = 2.14748e+09 is out of range (from 1 to 5000)"},
                      BadParams{"tooManyLines",
                                {{"num_output_lines", "100000"}},
                                "num_output_lines = 100000 is out of range"},
                      BadParams{"tooManyCleavages",
                                {{"max_num_internal_cleavage_sites", "99"}},
                                "max_num_internal_cleavage_sites = 99 is out of range"},
                      BadParams{"absurdStatic",
                                {{"add_C_Cysteine", "1e200"}},
                                "the static modification of C (1e+200) is out of range"},
                      BadParams{"absurdDifferential",
                                {{"diff_search_options", "5e9 M 0.0 X 0.0 X"}},
                                "the differential modification of M (5e+09) is out of range"},
                      BadParams{"unlistedEnzyme", {{"enzyme_number", "30"}}, "lists no enzyme 30"}),
    [](const ::testing::TestParamInfo<BadParams>& info) { return std::string(info.param.name); });

TEST_F(SearchFilesTest, MissingParameterFileIsNamed) {
    SearchParamsFile p;
    QString error;
    EXPECT_FALSE(ReadSearchParamsFile(dir_.filePath("sorvex.params"), p, error));
    EXPECT_TRUE(error.contains("does not exist"));
    EXPECT_TRUE(boxes_.texts().isEmpty());
}

TEST_F(SearchFilesTest, CometParametersTakeOurValuesAndKeepTheTemplatesComments) {
    const QString templateText =
        "# comet_version 2019.01 rev. 5\n"
        "database_name = /some/path/db.fasta\n"
        "peptide_mass_tolerance = 20.00\n"
        "peptide_mass_units = 2                 # 0=amu, 1=mmu, 2=ppm\n"
        "mass_type_parent = 1                   # 0=average masses, 1=monoisotopic masses\n"
        "variable_mod01 = 15.9949 M 0 3 -1 0 0 0.0\n"
        "variable_mod02 = 0.0 X 0 3 -1 0 0 0.0\n"
        "fragment_bin_tol = 1.0005\n"
        "use_A_ions = 0\n"
        "add_C_cysteine = 57.021464             # added to C - avg. 103.1429, mono. 103.00918\n"
        "add_B_user_amino_acid = 0.0000\n"
        "\n"
        "[COMET_ENZYME_INFO]\n"
        "0.  No_enzyme              0      -           -\n"
        "1.  Trypsin                1      KR          P\n"
        "2.  Trypsin/P              1      KR          -\n";
    SearchParamsFile p;
    p.peptideTolerance = 1.5;
    p.monoParent = false;
    p.enzymeNumber = 13;
    p.enzyme = {1, "LysC", "K", "-"};
    p.differential.push_back({"STY", 79.9663, '*'});
    p.staticResidue['C' - 'A'] = 0.0;
    p.staticResidue['B' - 'A'] = 12.0;  // our B is N or D: not Comet's user residue
    p.ionWeights[0] = 1.0;              // a ions
    p.fragmentTolerance = 0.02;
    const QStringList lines = CometParamsText(templateText, p).split('\n');
    EXPECT_EQ(lines[0], "# comet_version 2019.01 rev. 5");
    EXPECT_TRUE(lines.contains("peptide_mass_tolerance = 1.5000"));
    EXPECT_TRUE(lines.contains("peptide_mass_units = 0   # 0=amu, 1=mmu, 2=ppm"));
    EXPECT_TRUE(lines.contains("mass_type_parent = 0   # 0=average masses, 1=monoisotopic masses"));
    EXPECT_TRUE(lines.contains("variable_mod01 = 79.966300 STY 0 4 -1 0 0 0.0"));
    EXPECT_TRUE(lines.contains("variable_mod02 = 0.0 X 0 3 -1 0 0 0.0"));
    EXPECT_TRUE(lines.contains("variable_mod09 = 0.0 X 0 3 -1 0 0 0.0"));  // added
    EXPECT_TRUE(lines.contains("fragment_bin_tol = 0.0200"));
    EXPECT_TRUE(lines.contains("fragment_bin_offset = 0.0"));
    EXPECT_TRUE(lines.contains("use_A_ions = 1"));
    EXPECT_TRUE(lines.contains("add_C_cysteine = 0.000000   # added to C - avg. 103.1429, mono. 103.00918"));
    EXPECT_TRUE(lines.contains("add_B_user_amino_acid = 0.000000"));
    EXPECT_TRUE(lines.contains("search_enzyme_number = 1"));
    EXPECT_TRUE(lines.contains("output_txtfile = 1"));
    EXPECT_TRUE(lines.contains("database_name = /some/path/db.fasta"));  // given on the command line
    // The enzyme section is the last: no enzyme, then ours as number 1.
    const qsizetype section = lines.indexOf("[COMET_ENZYME_INFO]");
    ASSERT_GT(section, 0);
    EXPECT_EQ(lines.mid(section + 1, 3),
              (QStringList{"0.  No_enzyme              0      -           -", "1.  LysC  1  K  -", ""}));
    EXPECT_EQ(lines.size(), section + 4);
}

TEST_F(SearchFilesTest, CometResultsAreReadByColumnName) {
    const QString path = write(
        "comet.txt",
        "CometVersion 2019.01 rev. 5\tcomet\t12/10/2026, 06:31:30 PM\t/db.fasta\n"
        "scan\tnum\tcharge\texp_neutral_mass\tcalc_neutral_mass\te-value\txcorr\tdelta_cn\t"
        "sp_score\tions_matched\tions_total\tplain_peptide\tmodified_peptide\tprev_aa\tnext_aa\t"
        "protein\tprotein_count\tmodifications\n"
        "2\t2\t2\t905.5\t906.4\t1.0E+01\t0.5690\t0.0252\t59.7\t4\t14\tIASMAKDR\t"
        "R.IASM[15.9949]AKDR.F\tR\tF\ttr|A9G227|X\t1\t4_V_15.994900\t\n"
        "2\t1\t2\t905.5\t906.5\t1.0E+01\t0.6102\t0.0674\t42.9\t4\t14\tEYGLGRGR\tR.EYGLGRGR.I\t"
        "R\tI\ttr|A|B,tr|C|D\t2\t-\t\n");
    CCometResults results;
    QString error;
    ASSERT_TRUE(results.read(path, error)) << error.toStdString();
    EXPECT_EQ(results.version(), "CometVersion 2019.01 rev. 5");
    const std::vector<CometHit>& hits = results.hits(2, 2);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].peptide, "EYGLGRGR");  // by rank
    EXPECT_EQ(hits[0].proteins, (QStringList{"tr|A|B", "tr|C|D"}));
    EXPECT_EQ(hits[0].proteinCount, 2);
    EXPECT_TRUE(hits[0].modifications.isEmpty());
    EXPECT_DOUBLE_EQ(hits[1].xcorr, 0.569);
    EXPECT_DOUBLE_EQ(hits[1].calculatedMass, 906.4);
    EXPECT_EQ(hits[1].modifications, QStringList{"4_V_15.994900"});
    EXPECT_EQ(hits[1].ionsMatched, 4);
    EXPECT_EQ(hits[1].ionsTotal, 14);
    EXPECT_TRUE(results.hits(2, 3).empty());

    const QString broken = write("broken.txt", "CometVersion\nscan\tnum\n1\t1\n");
    EXPECT_FALSE(results.read(broken, error));
    EXPECT_TRUE(error.contains("no column \"charge\"")) << error.toStdString();
}

TEST_F(SearchFilesTest, ListFilesInUtf16AndUtf8ReadTheSame) {
    QStringList names;
    QString error;
    const QString wide = zartest::WriteSpectrumList(dir_.filePath("SorvexList"),
                                                    {"run.0001.0001.2.dta", "run 2.0003.0003.3.dta"});
    ASSERT_TRUE(ReadSpectrumList(wide, names, error));
    EXPECT_EQ(names, (QStringList{"run.0001.0001.2.dta", "run 2.0003.0003.3.dta"}));
    const QString narrow = write("list.txt", "  a.1.1.2.dta \r\n\r\nb.2.2.3.dta\n");
    ASSERT_TRUE(ReadSpectrumList(narrow, names, error));
    EXPECT_EQ(names, (QStringList{"a.1.1.2.dta", "b.2.2.3.dta"}));
    EXPECT_FALSE(ReadSpectrumList(dir_.filePath("none"), names, error));
    EXPECT_TRUE(error.contains("Cannot read the list file"));
}

// A file as the search program writes it, read back by the search-engine result set.
TEST_F(SearchFilesTest, SearchOutTextReadsBackThroughTheResultSet) {
    OutFileHeader h;
    h.fileName = "run.0100.0100.2.out";
    h.program = "TurboSORVEX v.27 (rev. 11), scores by Comet 2019.01 rev. 5";
    h.line4 = "spectrum 1 of 1";
    h.line5 = "database /db/x.fasta";
    h.date = "12/10/2026, 06:43 PM";
    h.seconds = 7;
    h.host = "node";
    h.precursorMH = 1234.5678;
    h.precursorTolerance = 1.5;
    h.charge = 2;
    h.fragmentTolerance = 1.0005;
    h.monoPrecursor = true;
    h.monoFragments = false;
    h.aminoAcids = 1000;
    h.proteins = 3;
    h.database = "/db/x.fasta";
    OutModifications mods;
    mods.differential = {{"M", '*', 15.9949}, {"STY", '#', 79.9663}};
    mods.residues = {{'C', 160.0307}};
    mods.nTermPeptide = 42.0106;
    h.modifications = OutModificationsLine(mods);
    EXPECT_EQ(h.modifications, "(M* +15.9949) (STY# +79.9663) C=160.0307 +Nterm-pep=42.0106");

    std::vector<OutFileHit> hits(3);
    hits[0] = {"sp|P1|ONE", 2, {"sp|P2|TWO", "sp|P3|THREE"}, "K.PEPM*TIDEK.R", 1234.6, 0.0, 3.2,
               812.3, 2, 14, 18};
    hits[1] = {"sp|P2|TWO", 0, {}, "K.PEPM*TLDEK.R", 1218.6, 0.05, 3.04, 900.1, 1, 12, 18};
    hits[2] = {"sp|P3|THREE", 0, {}, "R.AAAAGGGGK.-", 1234.1, 0.5, 1.6, 100.0, 3, 5, 16};
    const QString text = SearchOutText(h, hits, DescriptionLines(hits, {{"sp|P1|ONE", "sp|P1|ONE first protein"}}, 3));
    ASSERT_TRUE(WriteTextFileAtomically(dir_.filePath("run.0100.0100.2.out"), text));

    CSorvexResults set;
    set.SetRawFilePath(dir_.filePath("run.mzML"));
    ASSERT_TRUE(set.Initialize());
    ASSERT_TRUE(set.ReadResults(dir_.path())) << boxes_.texts().join("|").toStdString();
    ASSERT_EQ(set.GetHitCount(), 1);
    const SearchHitRecord* r = set.GetHit(0);
    EXPECT_EQ(r->peptide, "K.PEPM*TIDEK.R");
    EXPECT_EQ(r->reference, "sp|P1|ONE");
    EXPECT_EQ(r->furtherReferences, 2);
    EXPECT_DOUBLE_EQ(r->correlation, 3.2);
    EXPECT_DOUBLE_EQ(r->preliminaryScore, 812.3);
    EXPECT_DOUBLE_EQ(r->hitMass, 1234.6);
    EXPECT_DOUBLE_EQ(r->precursorMass, 1234.5678);
    EXPECT_EQ(r->ionsMatched, 14);
    EXPECT_EQ(r->ionsTotal, 18);
    EXPECT_EQ(r->correlationRank, 1);
    EXPECT_EQ(r->preliminaryRank, 2);
    // The second line is similar (I/L), the third is not: its delta Cn counts.
    EXPECT_DOUBLE_EQ(r->deltaCorrelation, 0.5);
    EXPECT_EQ(r->fileInformation, " run.0100.0100.2.out");
    const SearchParameters& p = set.Parameters();
    EXPECT_EQ(p.revision, 11);
    EXPECT_EQ(p.databaseName, "/db/x.fasta");
    EXPECT_DOUBLE_EQ(p.precursorTolerance, 1.5);
    EXPECT_DOUBLE_EQ(p.fragmentTolerance, 1.0005);
    EXPECT_EQ(p.monoisotopicPrecursor, 1);
    EXPECT_EQ(p.monoisotopicFragments, 0);
    EXPECT_DOUBLE_EQ(p.differentialMasses[0], 15.9949);
    EXPECT_EQ(p.differentialSymbols[0], QChar('*'));
    EXPECT_DOUBLE_EQ(p.differentialMasses[1], 79.9663);
    EXPECT_EQ(p.differentialSymbols[1], QChar('#'));
    EXPECT_DOUBLE_EQ(p.residueMasses['C'], 160.0307);
    EXPECT_DOUBLE_EQ(p.nTermPeptide, 42.0106);

    set.ParseOutFileForDisplay(dir_.filePath("run.0100.0100.2.out"));
    ASSERT_EQ(set.GetDisplayCount(), 3);
    EXPECT_EQ(set.GetDisplayRecord(1)->peptide, "K.PEPM*TLDEK.R");
    EXPECT_EQ(set.GetDisplayRecord(2)->reference, "sp|P3|THREE");
    EXPECT_EQ(set.GetDisplayRecord(2)->correlationRank, 3);
    EXPECT_EQ(set.GetDisplayRecord(2)->preliminaryRank, 3);
    EXPECT_EQ(set.GetDisplayRecord(2)->ionsTotal, 16);
}

TEST_F(SearchFilesTest, MassmapOutTextReadsBackThroughThePeptideMappingSet) {
    OutFileHeader h;
    h.fileName = "run.0005.0005.1.out";
    h.program = "MassMap v.1 (rev. 1), Pepmap digest and matching";
    h.date = "12/10/2026, 06:43 PM";
    h.host = "node";
    h.precursorMH = 950.5;
    h.charge = 1;
    h.database = "/db/x.fasta";
    std::vector<OutFileHit> hits(3);
    hits[0] = {"sp|P1|ONE", 0, {}, "K.AAAK.R", 400.2, 0, 0, 42.5, 0, 2, 30};
    hits[1] = {"sp|P1|ONE", 0, {}, "R.GGGGR.A", 402.2, 0, 0, 42.5, 0, 2, 30};
    hits[2] = {"sp|P9|NINE", 1, {}, "K.WWK.-", 500.3, 0, 0, 7.25, 0, 1, 12};
    ASSERT_TRUE(WriteTextFileAtomically(dir_.filePath("run.0005.0005.1.out"), MassmapOutText(h, hits)));
    CMassmapResults set;
    set.SetRawFilePath(dir_.filePath("run.mzML"));
    ASSERT_TRUE(set.Initialize());
    ASSERT_TRUE(set.ReadResults(dir_.path())) << boxes_.texts().join("|").toStdString();
    ASSERT_EQ(set.GetHitCount(), 1);
    const SearchHitRecord* r = set.GetHit(0);
    EXPECT_EQ(r->peptide, "K.AAAK.R");
    EXPECT_EQ(r->reference, "sp|P1|ONE");
    EXPECT_DOUBLE_EQ(r->preliminaryScore, 42.5);
    EXPECT_DOUBLE_EQ(r->hitMass, 400.2);
    EXPECT_EQ(r->ionsMatched, 2);
    EXPECT_EQ(r->ionsTotal, 30);
    EXPECT_EQ(r->correlationRank, 1);
    EXPECT_EQ(set.Parameters().revision, 1);
    // Both lines of the first protein share rank 1; the third line ranks 2.
    int rows = 0;
    for (const auto& protein : set.GetProteins()) {
        if (!protein) continue;
        if (protein->reference == "sp|P1|ONE") {
            EXPECT_EQ(protein->peptides, (QStringList{"AAAK", "GGGGR"}));
            rows += 2;
        }
        if (protein->reference == "sp|P9|NINE") {
            EXPECT_EQ(protein->rank, 2);
            ++rows;
        }
    }
    EXPECT_EQ(rows, 3);
}

// The enzyme of a search ends the modifications line, where the search information finds it,
// and leaves the modifications as they read.
struct EnzymeCase {
    const char* name;
    QString enzyme;
    bool massmap;
    const char* shown;
};

class OutFileEnzyme : public SearchFilesTest, public ::testing::WithParamInterface<EnzymeCase> {};

TEST_P(OutFileEnzyme, IsShownByTheSearchInformation) {
    const EnzymeCase& c = GetParam();
    OutFileHeader h;
    h.fileName = "run.0100.0100.2.out";
    h.program = c.massmap ? "MassMap v.1 (rev. 1), Pepmap digest and matching"
                          : "TurboSORVEX v.27 (rev. 11), scores by Comet 2019.01 rev. 5";
    h.date = "12/10/2026, 06:43 PM";
    h.host = "node";
    h.precursorMH = 1234.5678;
    h.charge = 2;
    h.database = "/db/x.fasta";
    OutModifications mods;
    mods.differential = {{"M", '*', 15.9949}};
    mods.residues = {{'C', 160.0307}};
    h.modifications = OutModificationsLine(mods);
    if (!c.enzyme.isNull()) h.enzyme = c.enzyme;
    const QString path = dir_.filePath("run.0100.0100.2.out");
    ASSERT_TRUE(WriteTextFileAtomically(path, c.massmap ? MassmapOutText(h, {}) : SearchOutText(h, {})));
    SearchInfoText info;
    ASSERT_TRUE(ReadSearchInfoText(path, c.massmap ? OutHeaderLayout::PeptideMapping
                                                   : OutHeaderLayout::SearchEngine,
                                   info));
    EXPECT_EQ(info.enzyme.toStdString(), c.shown);
    EXPECT_EQ(info.database.toStdString(), "Database:  x.fasta");

    if (c.massmap) return;
    CSorvexResults set;
    set.SetRawFilePath(dir_.filePath("run.mzML"));
    ASSERT_TRUE(set.Initialize());
    ASSERT_TRUE(set.ReadResults(dir_.path())) << boxes_.texts().join("|").toStdString();
    EXPECT_DOUBLE_EQ(set.Parameters().differentialMasses[0], 15.9949);
    EXPECT_EQ(set.Parameters().differentialSymbols[0], QChar('*'));
    EXPECT_DOUBLE_EQ(set.Parameters().differentialMasses[1], 0.0);
    EXPECT_DOUBLE_EQ(set.Parameters().residueMasses['C'], 160.0307);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, OutFileEnzyme,
    ::testing::Values(EnzymeCase{"trypsin", "Trypsin", false, "Enzyme:  Trypsin"},
                      EnzymeCase{"none", QString(), false, "Enzyme:  No_Enzyme"},
                      EnzymeCase{"emptyName", "", false, "Enzyme:  No_Enzyme"},
                      EnzymeCase{"blanksAndBrackets", "Lys C (K)", false, "Enzyme:  Lys_C_K"},
                      EnzymeCase{"massmap", "Trypsin", true, "Enzyme:  Trypsin"}),
    [](const ::testing::TestParamInfo<EnzymeCase>& info) { return std::string(info.param.name); });

// A ".dta" keeps m/z to four decimals and six significant digits of each intensity, so that
// the weak peaks of a normalised spectrum survive.
TEST_F(SearchFilesTest, DtaTextKeepsSixSignificantDigitsOfIntensity) {
    const QString text = DtaText(1234.56789, 2, {100.12345, 200.5, 300.0, 400.25},
                                 {0.0412345, 1234567.8, 12.3456789, 5.0});
    EXPECT_EQ(text.toStdString(),
              "1234.5679 2\n100.1235 0.0412345\n200.5000 1.23457e+06\n300.0000 12.3457\n"
              "400.2500 5\n");
    ASSERT_TRUE(WriteTextFileAtomically(dir_.filePath("x.0001.0001.2.dta"), text));
    CDtaSpectrum spectrum;
    ASSERT_EQ(spectrum.read(dir_.filePath("x.0001.0001.2.dta")), CDtaSpectrum::ReadResult::Ok);
    ASSERT_EQ(spectrum.peaks().size(), 4u);
    EXPECT_DOUBLE_EQ(spectrum.peaks()[0].intensity, 0.0412345);
    EXPECT_DOUBLE_EQ(spectrum.peaks()[1].intensity, 1234570.0);
}

}  // namespace
