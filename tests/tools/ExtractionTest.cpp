// The extraction programs dravel_msn and dravel_ms: the ".dta" files they write for a run, the
// options they honour, what they post to the program, and how they fail.

#include "ToolTestSupport.h"

#include "tools/common/SpectrumFiles.h"
#include "tools/dravel/DtaExtraction.h"

#include "core/Numbers.h"
#include "document/ZarMessages.h"
#include "rawfile/RunFileWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

#include <set>

using namespace zar;
using zartest::RunTool;

namespace {

constexpr double kProton = 1.00727646688;

// The fixture run "run.mzML":
//  1 MS1; 2 and 3 MS/MS of one precursor (500.25/500.26, 2+); 4 MS1; 5 MS/MS without a charge
//  (700.40); 6 MS/MS 3+ with five peaks; 7 MS/MS 1+ of little intensity; 8 MS3.
RunSpectrum FixtureScan(int index) {
    RunSpectrum s;
    s.scanNumber = index + 1;
    s.retentionTime = 0.1 * (index + 1);
    const auto fill = [&s](int count, double start, double step, double intensity) {
        for (int k = 0; k < count; ++k) {
            s.mz.push_back(start + k * step);
            s.intensity.push_back(intensity + k);
        }
    };
    const auto precursor = [&s](double mz, int charge) { s.precursors.push_back({mz, charge}); };
    switch (s.scanNumber) {
        case 1:
        case 4:
            s.msLevel = 1;
            fill(30, 400.0, 10.5, 1000.0);
            s.intensity[7] = 90000.0;  // base peak at 473.5
            break;
        case 2:
            s.msLevel = 2, precursor(500.25, 2), fill(40, 150.0, 17.25, 200.0);
            break;
        case 3:
            s.msLevel = 2, precursor(500.26, 2), fill(40, 151.0, 17.25, 300.0);
            break;
        case 5:
            s.msLevel = 2, precursor(700.40, 0), fill(40, 160.0, 21.5, 500.0);
            break;
        case 6:
            s.msLevel = 2, precursor(650.0, 3), fill(5, 200.0, 50.0, 800.0);
            break;
        case 7:
            s.msLevel = 2, precursor(800.0, 1), fill(20, 120.0, 30.0, 1.0);
            break;
        default:
            s.msLevel = 3, precursor(800.0, 1), precursor(500.0, 1), fill(20, 120.0, 20.0, 100.0);
            break;
    }
    return s;
}

constexpr int kFixtureScans = 8;

class ExtractionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QString error;
        ASSERT_TRUE(WriteRunFile(run(), kFixtureScans, FixtureScan, error)) << error.toStdString();
        ASSERT_TRUE(QDir().mkpath(out()));
    }
    QString run() const { return dir_.filePath("run.mzML"); }
    QString out() const { return dir_.filePath("dta"); }
    std::set<QString> written() const {
        const QStringList names = QDir(out()).entryList({"*.dta"}, QDir::Files);
        return {names.begin(), names.end()};
    }
    QString text(const QString& name) const {
        QFile f(QDir(out()).filePath(name));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    zartest::ToolRun extract(const QStringList& options, const char* program = "dravel_msn",
                             zartest::NotifyListener* listener = nullptr) {
        return RunTool(program, QStringList{"-Z", "-X", "-D" + out()} + options + QStringList{run()},
                       dir_.path(), listener);
    }

    QTemporaryDir dir_;
};

struct OptionCase {
    const char* name;
    QStringList options;
    std::set<QString> expected;
};

// Test names and failure reports show the case by its name.
void PrintTo(const OptionCase& c, std::ostream* os) {
    *os << c.name;
}

class ExtractionOptions : public ExtractionTest, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(ExtractionOptions, WriteTheSpectraTheOptionsKeep) {
    const OptionCase& c = GetParam();
    const zartest::ToolRun r = extract(c.options);
    ASSERT_TRUE(r.started);
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, 0) << r.errText().toStdString();
    EXPECT_EQ(written(), c.expected);
    // Run by hand, each file is named on standard output.
    std::set<QString> printed;
    for (const QString& line : r.outText().split('\n', Qt::SkipEmptyParts)) printed.insert(line);
    EXPECT_EQ(printed, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtractionOptions,
    ::testing::Values(
        // Scans 2 and 3 (one precursor, adjacent) are averaged into one spectrum; the scan
        // without a charge is written as 2+ and 3+; the MS3 scan is no MS/MS spectrum.
        OptionCase{"defaults",
                   {},
                   {"run.0002.0003.2.dta", "run.0005.0005.2.dta", "run.0005.0005.3.dta",
                    "run.0006.0006.3.dta", "run.0007.0007.1.dta"}},
        OptionCase{"groupsOfThree",
                   {"-G3"},
                   {"run.0002.0002.2.dta", "run.0003.0003.2.dta", "run.0005.0005.2.dta",
                    "run.0005.0005.3.dta", "run.0006.0006.3.dta", "run.0007.0007.1.dta"}},
        OptionCase{"scanRange",
                   {"-F3", "-L6"},
                   {"run.0003.0003.2.dta", "run.0005.0005.2.dta", "run.0005.0005.3.dta",
                    "run.0006.0006.3.dta"}},
        OptionCase{"oneScanGroupsOne",
                   {"-F5", "-L5", "-G1"},
                   {"run.0005.0005.2.dta", "run.0005.0005.3.dta"}},
        OptionCase{"minimumIons",
                   {"-I10"},
                   {"run.0002.0003.2.dta", "run.0005.0005.2.dta", "run.0005.0005.3.dta",
                    "run.0007.0007.1.dta"}},
        OptionCase{"threshold",
                   {"-E1000"},
                   {"run.0002.0003.2.dta", "run.0005.0005.2.dta", "run.0005.0005.3.dta",
                    "run.0006.0006.3.dta"}},
        OptionCase{"chargeGiven",
                   {"-C4", "-G3"},
                   {"run.0002.0002.4.dta", "run.0003.0003.4.dta", "run.0005.0005.4.dta",
                    "run.0006.0006.4.dta", "run.0007.0007.4.dta"}},
        // (M+H)+: scans 2/3 999.49, scan 5 1399.79 (2+) and 2099.18 (3+), scan 6 1947.99,
        // scan 7 800.00.
        OptionCase{"massRange",
                   {"-B900.00", "-T1500.00"},
                   {"run.0002.0003.2.dta", "run.0005.0005.2.dta"}},
        OptionCase{"precursorTolerance",
                   {"-M0.00"},
                   {"run.0002.0002.2.dta", "run.0003.0003.2.dta", "run.0005.0005.2.dta",
                    "run.0005.0005.3.dta", "run.0006.0006.3.dta", "run.0007.0007.1.dta"}}),
    [](const ::testing::TestParamInfo<OptionCase>& info) { return std::string(info.param.name); });

TEST_F(ExtractionTest, DtaTextHoldsMassChargeAndPeaks) {
    ASSERT_EQ(extract({"-F5", "-L5"}).exitCode, 0);
    const QStringList lines = text("run.0005.0005.3.dta").split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 41);
    EXPECT_EQ(lines[0], QCFormat("%.4f 3", (700.40 - kProton) * 3 + kProton));
    const RunSpectrum scan = FixtureScan(4);
    for (int k = 0; k < 40; ++k)
        EXPECT_EQ(lines[k + 1], QCFormat("%.4f %.6g", scan.mz[k], scan.intensity[k]));
    EXPECT_EQ(text("run.0005.0005.2.dta").section('\n', 0, 0),
              QCFormat("%.4f 2", (700.40 - kProton) * 2 + kProton));
}

TEST_F(ExtractionTest, AveragedGroupHasTheMeanPrecursorAndBothScansPeaks) {
    ASSERT_EQ(extract({"-F2", "-L3"}).exitCode, 0);
    const QStringList lines = text("run.0002.0003.2.dta").split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 81);  // the scans' peaks lie 1 apart: none merge
    EXPECT_EQ(lines[0], QCFormat("%.4f 2", (500.255 - kProton) * 2 + kProton));
}

TEST_F(ExtractionTest, SubsequenceKeepsSpectraWithTheLadder) {
    // Scan 5's peaks lie 21.5 apart, scan 2's 17.25: no residue ladder in either.
    ASSERT_EQ(extract({"-YGA", "-G3"}).exitCode, 0);
    EXPECT_TRUE(written().empty());
    const std::vector<double> ladder = {100.0, 157.02146, 228.05857, 315.09060, 400.0};
    EXPECT_TRUE(HasSequenceLadder(ladder, "GAS"));
    EXPECT_TRUE(HasSequenceLadder(ladder, "SAG"));  // read the other way: a y ladder
    EXPECT_FALSE(HasSequenceLadder(ladder, "GAA"));
    EXPECT_FALSE(HasSequenceLadder(ladder, "GZ"));  // no residue mass
    EXPECT_TRUE(HasSequenceLadder(ladder, ""));
}

TEST_F(ExtractionTest, MsSpectraForPeptideMapping) {
    zartest::ToolRun r = extract({}, "dravel_ms");
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    EXPECT_EQ(written(), (std::set<QString>{"run.0001.0001.1.dta", "run.0004.0004.1.dta"}));
    const QStringList lines = text("run.0001.0001.1.dta").split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 31);
    EXPECT_EQ(lines[0], "473.5000 1");  // the base peak, 1+

    QDir(out()).removeRecursively();
    QDir().mkpath(out());
    r = extract({"-P15000.50", "-B450.00", "-T500.00", "-C2", "-F1", "-L3"}, "dravel_ms");
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(written(), (std::set<QString>{"run.0001.0001.2.dta"}));
    const QStringList mapped = text("run.0001.0001.2.dta").split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(mapped.size(), 6);  // the peaks from 450 to 500: 452.5 ... 494.5
    EXPECT_EQ(mapped[0], "15000.5000 2");
    EXPECT_EQ(mapped[1], "452.5000 1005");
}

TEST_F(ExtractionTest, PostsProgressAndNamesEachFileThroughThePipe) {
    zartest::NotifyListener listener;
    ASSERT_TRUE(listener.listening());
    const zartest::ToolRun r = extract({"-F2", "-L7"}, "dravel_msn", &listener);
    ASSERT_EQ(r.exitCode, 0) << r.outText().toStdString();
    const auto records = zartest::RecordsNamed(r.records, kRegDravelMSnProgress);
    ASSERT_FALSE(records.empty());
    std::vector<int> scans;
    for (const NotifyRecord& record : records) {
        EXPECT_EQ(record.token, "run1");
        if (record.wParam == 1) scans.push_back(static_cast<int>(record.lParam));
    }
    QByteArray rest;
    // Each message is on the error stream before its length is posted.
    const QStringList names = zartest::PipeMessages(r, &rest);
    EXPECT_EQ(scans, (std::vector<int>{2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(names, (QStringList{"$run.0002.0003.2.dta", "$run.0005.0005.2.dta",
                                  "$run.0005.0005.3.dta", "$run.0006.0006.3.dta",
                                  "$run.0007.0007.1.dta"}));
    EXPECT_TRUE(rest.isEmpty());  // nothing else on the pipe
    EXPECT_EQ(records.back().wParam, 0u);
    EXPECT_EQ(records.back().lParam, 0);
    EXPECT_TRUE(r.out.isEmpty());
}

TEST_F(ExtractionTest, FoldersWithBlanksAndUnknownOptionsKeepThePipeClean) {
    const QString spaced = dir_.filePath("dta files");
    ASSERT_TRUE(QDir().mkpath(spaced));
    zartest::NotifyListener listener;
    const zartest::ToolRun r = RunTool(
        "dravel_msn", {"-Q7", "-D" + spaced, "-F5", "-L5", run()}, dir_.path(), &listener);
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(QDir(spaced).entryList({"*.dta"}),
              (QStringList{"run.0005.0005.2.dta", "run.0005.0005.3.dta"}));
    QByteArray rest;
    EXPECT_EQ(zartest::PipeMessages(r, &rest),
              (QStringList{"$run.0005.0005.2.dta", "$run.0005.0005.3.dta"}));
    EXPECT_TRUE(rest.isEmpty());
    EXPECT_EQ(r.outText().trimmed(), "dravel_msn: ignoring -Q");
}

TEST_F(ExtractionTest, AFailedRunStillEndsWithZeroAndKeepsThePipeWhole) {
    zartest::NotifyListener listener;
    const zartest::ToolRun r = RunTool("dravel_msn", {"-D" + out(), dir_.filePath("missing.mzML")},
                                       dir_.path(), &listener);
    EXPECT_EQ(r.exitCode, 6);
    const auto records = zartest::RecordsNamed(r.records, kRegDravelMSnProgress);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].lParam, r.err.size());
    EXPECT_TRUE(zartest::FromUtf16LE(r.err).startsWith("dravel_msn: Cannot open the run"));
    EXPECT_EQ(records[1].wParam, 0u);
    EXPECT_EQ(records[1].lParam, 0);
}

struct FailureCase {
    const char* name;
    const char* program;
    QStringList arguments;  // "%run" and "%out" are replaced
    int exitCode;
    const char* message;
};

// Test names and failure reports show the case by its name.
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class ExtractionFailures : public ExtractionTest,
                           public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ExtractionFailures, SayWhyWithTheirExitCode) {
    const FailureCase& c = GetParam();
    QStringList arguments;
    for (QString a : c.arguments) arguments << a.replace("%run", run()).replace("%out", out());
    QFile notRun(dir_.filePath("notes.txt"));
    ASSERT_TRUE(notRun.open(QIODevice::WriteOnly));
    notRun.write("not a run\n");
    notRun.close();
    const zartest::ToolRun r = RunTool(c.program, arguments, dir_.path());
    ASSERT_TRUE(r.started);
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, c.exitCode);
    EXPECT_TRUE(r.errText().contains(c.message)) << r.errText().toStdString();
    EXPECT_TRUE(written().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtractionFailures,
    ::testing::Values(
        FailureCase{"noRun", "dravel_msn", {"-D%out"}, 2, "No run file was given"},
        FailureCase{"twoRuns", "dravel_msn", {"%run", "%run"}, 2, "One run file is expected"},
        FailureCase{"badNumber", "dravel_msn", {"-Fabc", "%run"}, 2,
                    "-F needs a whole number, not \"abc\""},
        FailureCase{"emptyScanRange", "dravel_ms", {"-F9", "-L3", "%run"}, 2,
                    "The scan range 9 to 3 is empty"},
        FailureCase{"badCharge", "dravel_msn", {"-C12", "%run"}, 2, "-C needs a charge"},
        FailureCase{"missingRun", "dravel_msn", {"-D%out", "missing.mzML"}, 6,
                    "Cannot open the run missing.mzML"},
        FailureCase{"notARun", "dravel_ms", {"-D%out", "notes.txt"}, 6,
                    "Cannot open the run notes.txt"},
        FailureCase{"missingFolder", "dravel_msn", {"-D%out/none", "%run"}, 1,
                    "does not exist"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

}  // namespace
