#include "search/ParamFile.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>

using namespace zar;

namespace {

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A store holding the given text (lines separated by "\n").
CParamFile StoreOf(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString path = dir.filePath(QStringLiteral("test.params"));
    WriteBytes(path, bytes);
    CParamFile store;
    EXPECT_TRUE(store.Open(path));
    return store;
}

struct DefaultCase {
    ParamFileType type;
    const char* golden;
    int lines;
    const char* firstLine;
    const char* enzymeHeader;
};

class DefaultTextsTest : public ::testing::TestWithParam<DefaultCase> {};

TEST_P(DefaultTextsTest, SavedDefaultsMatchTheGoldenFileByteForByte) {
    const DefaultCase& c = GetParam();
    QTemporaryDir dir;
    CParamFile store;
    store.LoadDefaults(c.type);
    EXPECT_EQ(store.GetLineCount(), c.lines);
    EXPECT_EQ(store.GetLine(0), QString::fromLatin1(c.firstLine) + "\n");
    EXPECT_GT(store.IndexOfLineStartingWith(QString::fromLatin1(c.enzymeHeader)), 0);
    const QString out = dir.filePath(QStringLiteral("out.params"));
    ASSERT_TRUE(store.SaveAs(out));
    const QByteArray golden = ReadBytes(zartest::DataPath(QString::fromLatin1(c.golden)));
    ASSERT_FALSE(golden.isEmpty());
    EXPECT_EQ(ReadBytes(out), golden);
}

INSTANTIATE_TEST_SUITE_P(
    AllThreeFiles, DefaultTextsTest,
    ::testing::Values(DefaultCase{ParamFileType::Sorvex, "search/default_sorvex.params", 75,
                                  "[SORVEX]", "[SORVEX_ENZYME_INFO]"},
                      DefaultCase{ParamFileType::Massmap, "search/default_massmap.params", 74,
                                  "[MASSMAP]", "[MASSMAP_ENZYME_INFO]"},
                      DefaultCase{ParamFileType::Buildix, "search/default_buildix.params", 59,
                                  "[BUILDIX]", "[SORVEX_ENZYME_INFO]"}));

TEST(DefaultTexts, KeysAndColumnsFollowTheLayout) {
    CParamFile store;
    store.LoadDefaults(ParamFileType::Sorvex);
    QString value;
    ASSERT_TRUE(store.GetEntryString("first_database_name", value));
    EXPECT_EQ(value, "C:\\veltrix\\database\\horse.fasta");
    ASSERT_TRUE(store.GetEntryString("partial_sequence", value));
    EXPECT_EQ(value, "");
    EXPECT_EQ(store.GetLine(store.FindLine("partial_sequence", 16)), "partial_sequence =  \n");
    // Comments start at column 39 for search keys, 41 for residues, 42 for phenylalanine.
    EXPECT_EQ(store.GetLine(store.FindLine("fragment_ion_tolerance", 22)).indexOf(';'), 39);
    EXPECT_EQ(store.GetLine(store.FindLine("add_Cterm_peptide", 17)).indexOf(';'), 39);
    EXPECT_EQ(store.GetLine(store.FindLine("add_Cterm_protein", 17)).indexOf(';'), 41);
    EXPECT_EQ(store.GetLine(store.FindLine("add_G_Glycine", 13)),
              "add_G_Glycine = 0.0000                   ; added to G - avg.  57.0519, mono.  "
              "57.02146\n");
    EXPECT_EQ(store.GetLine(store.FindLine("add_F_", 6)).indexOf(';'), 42);
    EXPECT_TRUE(store.GetLine(store.FindLine("add_O_", 6)).contains("mono  114.07931"));
    EXPECT_EQ(store.GetLine(store.FindLine("match_peak_allowed_error", 24)).mid(39, 4), ";  n");
    const int header = store.IndexOfLineStartingWith("[SORVEX_ENZYME_INFO]");
    EXPECT_EQ(store.GetLine(header + 1), "0.  No_Enzyme              0      -           -\n");
    EXPECT_EQ(store.GetLine(header + 5), "4.  Chymotrypsin_modified 1      FWY         P\n");
    EXPECT_EQ(header + 18, store.GetLineCount());

    CParamFile massmap;
    massmap.LoadDefaults(ParamFileType::Massmap);
    EXPECT_FALSE(massmap.GetEntryString("num_results", value));

    CParamFile buildix;
    buildix.LoadDefaults(ParamFileType::Buildix);
    EXPECT_EQ(buildix.GetLine(buildix.FindLine("nucleotide_reading_frames", 25)).indexOf(';'), 49);
    EXPECT_EQ(buildix.GetLine(buildix.FindLine("add_F_", 6)).indexOf(';'), 41);
    EXPECT_FALSE(buildix.GetEntryString("add_Cterm_protein", value));
    EXPECT_TRUE(
        buildix.GetLine(buildix.FindLine("4.", 2)).startsWith("4.  Chymotryp_modified     1"));
}

TEST(ParamFileOpen, MissingFileShowsTheMessageAndKeepsTheStore) {
    zartest::MessageBoxCapture boxes;
    CParamFile store;
    store.LoadDefaults(ParamFileType::Sorvex);
    EXPECT_FALSE(store.Open("/nonexistent/folder/sorvex.params"));
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_EQ(boxes.texts()[0],
              "Couldn't open the parameter file\n\n/nonexistent/folder/sorvex.params\n\ntherefore "
              "the default values will be used");
    EXPECT_EQ(store.GetLineCount(), 75);
}

struct ReadCase {
    const char* name;
    QByteArray bytes;
    int lineCount;
    const char* key;
    bool found;
    const char* value;
};

class ReadCases : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadCases, ReadsTheValue) {
    const ReadCase& c = GetParam();
    QTemporaryDir dir;
    CParamFile store = StoreOf(dir, c.bytes);
    EXPECT_EQ(store.GetLineCount(), c.lineCount);
    QString value;
    EXPECT_EQ(store.GetEntryString(c.key, value), c.found);
    if (c.found) {
        EXPECT_EQ(value, QString::fromLatin1(c.value));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReadCases,
    ::testing::Values(
        ReadCase{"lf", "[S]\na = 1\nb = 2\n", 3, "b", true, "2"},
        ReadCase{"crlf", "[S]\r\na = 1\r\nb = 2\r\n", 3, "b", true, "2"},
        ReadCase{"noFinalLineEnd", "[S]\na = 1\nb = 2", 3, "b", true, "2"},
        ReadCase{"comment", "peptide_mass_tolerance = 2.5   ; c\n", 1, "peptide_mass_tolerance",
                 true, "2.5"},
        ReadCase{"tabsKept", "k = x\t ; c\n", 1, "k", true, "x\t"},
        ReadCase{"emptyValue", "partial_sequence =  \n", 1, "partial_sequence", true, ""},
        ReadCase{"emptyValueAtEnd", "partial_sequence =", 1, "partial_sequence", true, ""},
        ReadCase{"noEquals", "ion_series 0 1 1\n", 1, "ion_series", false, ""},
        ReadCase{"byContainment", "peptide_mass_tolerance = 3\nfragment_ion_tolerance = 1\n", 2,
                 "tolerance", true, "3"},
        ReadCase{"commentHoldsKey", "x = 1 ; see enzyme_number\nenzyme_number = 4\n", 2,
                 "enzyme_number", true, "1"},
        ReadCase{"pastBlankLines", "[S]\n\n\nadd_G_Glycine = 5.0\n", 4, "add_G_Glycine", true,
                 "5.0"},
        ReadCase{"absent", "[S]\na = 1\n", 2, "zzz", false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParamFileRead, NumbersAreRoundedToFourDecimalsHalfAwayFromZero) {
    QTemporaryDir dir;
    CParamFile store = StoreOf(dir,
                               "a = 1.23456\nb = -1.5\nc = -1.23456\nd = 12\ne = x\nf = 2.5e1\n"
                               "g = 99999999999\nh = 1.00005\n");
    double v = 0;
    ASSERT_TRUE(store.GetEntryDouble("a", v));
    EXPECT_DOUBLE_EQ(v, 1.2346);
    ASSERT_TRUE(store.GetEntryDouble("b", v));
    EXPECT_DOUBLE_EQ(v, -1.5);
    ASSERT_TRUE(store.GetEntryDouble("c", v));
    EXPECT_DOUBLE_EQ(v, -1.2346);
    ASSERT_TRUE(store.GetEntryDouble("f", v));
    EXPECT_DOUBLE_EQ(v, 25.0);
    EXPECT_FALSE(store.GetEntryDouble("e", v));
    int i = 0;
    ASSERT_TRUE(store.GetEntryInt("d", i));
    EXPECT_EQ(i, 12);
    EXPECT_FALSE(store.GetEntryInt("e", i));
    EXPECT_FALSE(store.GetEntryInt("g", i));  // does not fit
    ASSERT_TRUE(store.GetEntryInt("a", i));   // leading integer, as "%d" reads it
    EXPECT_EQ(i, 1);
}

TEST(ParamFileRead, LongAndManyLinesAreKept) {
    QTemporaryDir dir;
    QByteArray bytes = "[S]\nlong_path = " + QByteArray(300, 'p') + "\n";
    for (int n = 0; n < 200; ++n)
        bytes += "key" + QByteArray::number(n) + " = " + QByteArray::number(n) + "\n";
    CParamFile store = StoreOf(dir, bytes);
    EXPECT_EQ(store.GetLineCount(), 202);
    QString value;
    ASSERT_TRUE(store.GetEntryString("long_path", value));
    EXPECT_EQ(value.size(), 300);
    int i = 0;
    ASSERT_TRUE(store.GetEntryInt("key199 ", i));
    EXPECT_EQ(i, 199);
    ASSERT_TRUE(store.SetEntryString("long_path", QString(400, 'q')));
    const QString out = dir.filePath("out.params");
    ASSERT_TRUE(store.SaveAs(out));
    CParamFile again;
    ASSERT_TRUE(again.Open(out));
    EXPECT_EQ(again.GetLineCount(), 202);
    ASSERT_TRUE(again.GetEntryString("long_path", value));
    EXPECT_EQ(value, QString(400, 'q'));
    ASSERT_TRUE(again.GetEntryInt("key199 ", i));
    EXPECT_EQ(i, 199);
}

TEST(ParamFileRead, OpenReplacesEveryLine) {
    QTemporaryDir dir;
    CParamFile store;
    store.LoadDefaults(ParamFileType::Sorvex);
    const QString path = dir.filePath("short.params");
    WriteBytes(path, "[S]\na = 1\n");
    ASSERT_TRUE(store.Open(path));
    EXPECT_EQ(store.GetLineCount(), 2);
    EXPECT_EQ(store.Text(), "[S]\na = 1\n");
    store.LoadDefaults(ParamFileType::Buildix);
    EXPECT_EQ(store.GetLineCount(), 59);  // no line of the longer text is left behind
}

TEST(ParamFileWrite, RewritingKeepsTheCommentAndItsColumn) {
    CParamFile store;
    store.LoadDefaults(ParamFileType::Sorvex);
    ASSERT_TRUE(store.SetEntryDouble("fragment_ion_tolerance", 1.5));
    EXPECT_EQ(store.GetLine(store.FindLine("fragment_ion_tolerance", 22)),
              "fragment_ion_tolerance = 1.5000" + QString(10, ' ') +
                  "; leave at 0.0 unless you have real poor data\n");
    ASSERT_TRUE(store.SetEntryInt("num_output_lines", 7));
    const QString line = store.GetLine(store.FindLine("num_output_lines", 16));
    EXPECT_EQ(line.indexOf(';'), 35 + 1);
    ASSERT_TRUE(store.SetEntryString("protein_mass_filter", "100 2000"));
    EXPECT_EQ(store.GetLine(store.FindLine("protein_mass_filter", 19)).indexOf(';'), 36);
    // No comment: the line is the entry alone.
    ASSERT_TRUE(store.SetEntryDouble("peptide_mass_tolerance", -2.25));
    EXPECT_EQ(store.GetLine(store.FindLine("peptide_mass_tolerance", 22)),
              "peptide_mass_tolerance = -2.2500\n");
    // A long key pads with ten blanks.
    ASSERT_TRUE(store.SetEntryInt("max_num_internal_cleavage_sites", 3));
    EXPECT_EQ(store.GetLine(store.FindLine("max_num_internal_cleavage_sites", 31)),
              "max_num_internal_cleavage_sites = 3" + QString(11, ' ') + "; maximum value is 5\n");
    double v = 0;
    ASSERT_TRUE(store.GetEntryDouble("fragment_ion_tolerance", v));
    EXPECT_DOUBLE_EQ(v, 1.5);
}

TEST(ParamFileWrite, AbsentKeyTakesTheFirstEmptyLineOrIsReported) {
    zartest::MessageBoxCapture boxes;
    QTemporaryDir dir;
    CParamFile full = StoreOf(dir, "[S]\na = 1\n");
    EXPECT_FALSE(full.SetEntryInt("missing_key", 3));
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_EQ(boxes.texts()[0],
              "The current parameters file has an invalid or missing entry.\n Invalid/missing "
              "entry : missing_key\n Press OK for selections on how to proceed.\n");
    EXPECT_EQ(full.Text(), "[S]\na = 1\n");

    CParamFile withGap = StoreOf(dir, "[S]\na = 1\n\nb = 2\n");
    ASSERT_TRUE(withGap.SetEntryInt("missing_key", 3));
    EXPECT_EQ(withGap.Text(), "[S]\na = 1\nmissing_key = 3\nb = 2\n");
    // A key that exists after a blank line is rewritten in its own line.
    CParamFile defaults;
    defaults.LoadDefaults(ParamFileType::Sorvex);
    ASSERT_TRUE(defaults.SetEntryDouble("add_W_Tryptophan", 2.0));
    EXPECT_TRUE(
        defaults.GetLine(defaults.FindLine("add_W", 5)).startsWith("add_W_Tryptophan = 2.0000 "));
    EXPECT_EQ(defaults.GetLine(27), "\n");
    EXPECT_EQ(boxes.texts().size(), 1);
}

TEST(ParamFileWrite, SetLineOnlyWithinTheStore) {
    CParamFile store;
    store.LoadDefaults(ParamFileType::Sorvex);
    const int count = store.GetLineCount();
    store.SetLine(count, "x\n");
    store.SetLine(-1, "x\n");
    EXPECT_EQ(store.GetLineCount(), count);
    store.SetLine(count - 1, "x\n");
    EXPECT_EQ(store.GetLine(count - 1), "x\n");
}

TEST(ParamFileHasEntry, LooksAtTheStartOfLines) {
    CParamFile sorvex;
    sorvex.LoadDefaults(ParamFileType::Sorvex);
    CParamFile buildix;
    buildix.LoadDefaults(ParamFileType::Buildix);
    EXPECT_TRUE(sorvex.HasEntry("first_database_name", 18, "database_name", 13));
    EXPECT_TRUE(buildix.HasEntry("first_database_name", 18, "database_name", 13));
    EXPECT_FALSE(sorvex.HasEntry("database_name", 13));
    EXPECT_EQ(sorvex.FindLine("nothing", 7), 0);
    EXPECT_EQ(sorvex.FindLine("ion_series", 10), 4);
}

TEST(ParamFileSave, RoundTripsCommentsPaddingAndLineEnds) {
    QTemporaryDir dir;
    const QByteArray fixture = ReadBytes(zartest::DataPath("search/hand_edited.params"));
    ASSERT_FALSE(fixture.isEmpty());
    const QString path = dir.filePath("hand.params");
    WriteBytes(path, fixture);
    CParamFile store;
    ASSERT_TRUE(store.Open(path));
    ASSERT_TRUE(store.Save());
    QByteArray expected = fixture;
    expected.replace("\r\n", "\n").replace("\n", "\r\n");
    EXPECT_EQ(ReadBytes(path), expected);
}

TEST(ParamFileSave, NoFinalLineEndStaysSo) {
    QTemporaryDir dir;
    CParamFile store = StoreOf(dir, "[S]\na = 1");
    ASSERT_TRUE(store.Save());
    EXPECT_EQ(ReadBytes(store.GetPath()), "[S]\r\na = 1");
}

TEST(ParamFileSave, EmptyPathFailsSilently) {
    zartest::MessageBoxCapture boxes;
    CParamFile store;
    store.LoadDefaults(ParamFileType::Sorvex);
    EXPECT_FALSE(store.Save());
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST(ParamFileSave, UnwritableTargetKeepsTheOldFile) {
    zartest::MessageBoxCapture boxes;
    QTemporaryDir dir;
    const QString sub = dir.filePath("locked");
    ASSERT_TRUE(QDir().mkpath(sub));
    const QString path = sub + "/sorvex.params";
    WriteBytes(path, "old = 1\n");
    CParamFile store;
    ASSERT_TRUE(store.Open(path));
    ASSERT_TRUE(store.SetEntryInt("old", 2));
    bool saved = false;
    {
        zartest::ScopedUnwritableFolder locked(sub);
        if (!locked.ok()) GTEST_SKIP() << "no way to make a folder unwritable here";
        saved = store.Save();
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadBytes(path), "old = 1\n");
    ASSERT_EQ(boxes.texts().size(), 1);
    // What failed is said: the file could not be made there, and why.
    EXPECT_TRUE(boxes.texts()[0].startsWith("Couldn't create the parameter file:\n" + path + "\n\n"))
        << boxes.texts()[0].toStdString();
    EXPECT_GT(boxes.texts()[0].size(), ("Couldn't create the parameter file:\n" + path + "\n\n").size());
}

TEST(ParamFileSave, TargetThatCannotBeReplacedIsReported) {
    zartest::MessageBoxCapture boxes;
    QTemporaryDir dir;
    const QString path = dir.filePath("sorvex.params");
    ASSERT_TRUE(QDir().mkpath(path + "/inside"));  // a folder stands where the file should go
    CParamFile store;
    store.LoadDefaults(ParamFileType::Sorvex);
    EXPECT_FALSE(store.SaveAs(path));
    EXPECT_TRUE(QFileInfo(path + "/inside").isDir());
    ASSERT_EQ(boxes.texts().size(), 1);
    const QString head = "Couldn't create the parameter file:\n" + path + "\n\n";
    EXPECT_TRUE(boxes.texts()[0].startsWith(head)) << boxes.texts()[0].toStdString();
    EXPECT_GT(boxes.texts()[0].size(), head.size());
}

TEST(ParamFileNumbers, WrittenInTheCLocaleWhateverTheUserLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.utf8")) {
        GTEST_SKIP() << "no decimal-comma locale installed";
    }
    CParamFile store;
    store.LoadDefaults(ParamFileType::Sorvex);
    EXPECT_TRUE(store.SetEntryDouble("peptide_mass_tolerance", 2.5));
    double v = 0;
    EXPECT_TRUE(store.GetEntryDouble("peptide_mass_tolerance", v));
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(store.GetLine(store.FindLine("peptide_mass_tolerance", 22)),
              "peptide_mass_tolerance = 2.5000\n");
    EXPECT_DOUBLE_EQ(v, 2.5);
}

}  // namespace
