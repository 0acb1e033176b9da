// The search programs as the launchers run them: sorvex27 (Comet) and massmap (Pepmap) on the
// spectra that dravel_msn and dravel_ms extract from the demo run, read back by the result
// readers; their progress messages; their failures; and dbtally.

#include "ToolTestSupport.h"

#include "tools/demo/DemoResults.h"
#include "tools/demo/DemoWriter.h"

#include "document/MassmapResults.h"
#include "document/ZarMessages.h"

#include "TestSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

#include <csignal>
#include <memory>
#include <set>

using namespace zar;
using zartest::RunTool;

namespace {

// The first 700 scans of the demo run: 284 MS/MS spectra of known peptides.
constexpr int kDemoScans = 700;

class SearchProgramTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = std::make_unique<QTemporaryDir>();
        DemoSettings settings;
        settings.scanCount = kDemoScans;
        run_ = std::make_unique<DemoRun>(MakeDemoRun(settings));
        QString error;
        written_ = WriteDemoFolder(dir_->filePath("demo"), *run_, false, error);
        error_ = error;
    }
    static void TearDownTestSuite() {
        run_.reset();
        dir_.reset();
    }
    void SetUp() override {
        ASSERT_TRUE(written_) << error_.toStdString();
        ASSERT_TRUE(QDir().mkpath(results()));
    }

    static QString demo(const QString& name) { return dir_->filePath("demo/" + name); }
    QString results() const { return work_.filePath("results"); }
    static bool HasComet() { return !QStandardPaths::findExecutable("comet-ms").isEmpty(); }

    // Extracts the demo run into the results folder as the launcher does, with the names from
    // the pipe written into a list file; returns the names.
    QStringList extract(const char* program, const QStringList& options) {
        zartest::NotifyListener listener;
        const zartest::ToolRun r = RunTool(
            program, QStringList{"-Z", "-X", "-D" + results()} + options + QStringList{demo("demo.mzML")},
            results(), &listener);
        EXPECT_EQ(r.exitCode, 0) << r.outText().toStdString();
        const QStringList names = zartest::PipeFileNames(r);
        zartest::WriteSpectrumList(list(), names);
        return names;
    }
    QString list() const { return work_.filePath("SorvexList"); }

    static std::unique_ptr<QTemporaryDir> dir_;
    static std::unique_ptr<DemoRun> run_;
    static bool written_;
    static QString error_;
    QTemporaryDir work_;
    zartest::ScopedConfigDir config_;
    zartest::MessageBoxCapture boxes_;
};

std::unique_ptr<QTemporaryDir> SearchProgramTest::dir_;
std::unique_ptr<DemoRun> SearchProgramTest::run_;
bool SearchProgramTest::written_ = false;
QString SearchProgramTest::error_;

TEST_F(SearchProgramTest, SorvexFindsTheDemoPeptidesAndAgreesWithComet) {
    if (!HasComet()) GTEST_SKIP() << "comet-ms is not installed (scripts/install-deps.sh)";
    const QStringList names = extract("dravel_msn", {});
    ASSERT_EQ(names.size(), static_cast<qsizetype>(run_->ms2.size()));
    // The heavy label is a differential modification of cysteine, as the demo results have it.
    zartest::WriteSearchParams(results(), false, demo("demo.fasta"),
                               {{"enzyme_number", "1"},
                                {"diff_search_options", "8.0 C 0.0 X 0.0 X"},
                                {"mass_type_parent", "1"},
                                {"mass_type_fragment", "1"},
                                {"peptide_mass_tolerance", "1.5"},
                                {"num_output_lines", "5"}});
    zartest::NotifyListener listener;
    QProcessEnvironment keep;
    keep.insert("ZAR_COMET_WORK_DIR", work_.filePath("comet"));
    const zartest::ToolRun r = RunTool("sorvex27", {"-R" + list()}, results(), &listener, keep);
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.errText().toStdString();

    // Progress: code 2 from file 1, code 3 once for each file in order, code 0 last.
    const auto records = zartest::RecordsNamed(r.records, kRegSorvexProgress);
    ASSERT_GE(records.size(), 2u);
    EXPECT_EQ(records.front().lParam, 2);
    EXPECT_EQ(records.front().wParam & 0xFFFF, 1u);
    std::vector<int> done;
    int lastPercent = 0;
    for (const NotifyRecord& record : records) {
        if (record.lParam == 3) done.push_back(static_cast<int>(record.wParam & 0xFFFF));
        if (record.lParam == 2) {
            EXPECT_GE(static_cast<int>(record.wParam >> 16), lastPercent);
            lastPercent = static_cast<int>(record.wParam >> 16);
        }
    }
    std::vector<int> expected(static_cast<size_t>(names.size()));
    for (size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<int>(i) + 1;
    EXPECT_EQ(done, expected);
    EXPECT_EQ(records.back().wParam, 0u);
    EXPECT_EQ(records.back().lParam, 0);

    // Read back by the result set: the true peptide on top of (nearly) every spectrum.
    int count = 0;
    QStringList messages;
    const auto top = zartest::ReadTopHits(results(), demo("demo.mzML"), &count, &messages);
    EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
    ASSERT_EQ(count, names.size());
    int right = 0;
    for (const DemoOutFile& truth : MakeDemoResults(*run_)) {
        const auto it = top.find(truth.baseName + ".out");
        ASSERT_NE(it, top.end()) << truth.baseName.toStdString();
        if (it->second.peptide == truth.hits.front().peptide &&
            it->second.reference == truth.hits.front().reference)
            ++right;
    }
    EXPECT_GE(right, count * 95 / 100) << right << " of " << count;

    const int compared =
        zartest::ExpectOutFilesAgreeWithComet(results(), names, work_.filePath("comet/comet.txt"));
    EXPECT_GE(compared, count * 4);
}

TEST_F(SearchProgramTest, SorvexSearchesTheFolderWithoutAListAndNamesUnusableSpectra) {
    if (!HasComet()) GTEST_SKIP() << "comet-ms is not installed";
    const QStringList names = extract("dravel_msn", {"-F300", "-L330"});
    ASSERT_GE(names.size(), 3);
    zartest::WriteSearchParams(results(), false, demo("demo.fasta"), {{"mass_type_parent", "1"}});
    zartest::ToolRun r = RunTool("sorvex27", {}, results());
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    EXPECT_EQ(QDir(results()).entryList({"*.out"}).size(), names.size());

    // A list naming a file that is gone and a file that is no spectrum: the others are searched.
    QFile::remove(QDir(results()).filePath(names[0]));
    QFile bad(QDir(results()).filePath("bad.dta"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("no numbers here\n");
    bad.close();
    for (const QString& out : QDir(results()).entryList({"*.out"})) QFile::remove(QDir(results()).filePath(out));
    zartest::WriteSpectrumList(list(), QStringList{"bad.dta"} + names);
    r = RunTool("sorvex27", {"-R" + list()}, results());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.errText().contains("bad.dta: not a spectrum file")) << r.errText().toStdString();
    EXPECT_TRUE(r.errText().contains(names[0] + ": cannot be opened"));
    EXPECT_TRUE(r.errText().contains("2 of the listed .dta files could not be searched"));
    EXPECT_EQ(QDir(results()).entryList({"*.out"}).size(), names.size() - 1);
}

struct SearchFailure {
    const char* name;
    const char* program;
    std::vector<std::pair<QString, QString>> params;  // empty key: no parameter file
    QStringList arguments;                            // "%list" is replaced
    bool withSpectra;
    int exitCode;
    const char* message;
};

// Test names and failure reports show the case by its name.
void PrintTo(const SearchFailure& c, std::ostream* os) {
    *os << c.name;
}

class SearchFailures : public SearchProgramTest,
                       public ::testing::WithParamInterface<SearchFailure> {};

TEST_P(SearchFailures, SayWhyAndEndTheRun) {
    const SearchFailure& c = GetParam();
    const bool massmap = QString(c.program) == "massmap";
    if (c.withSpectra) {
        QFile dta(QDir(results()).filePath("demo.0300.0300.2.dta"));
        ASSERT_TRUE(dta.open(QIODevice::WriteOnly));
        dta.write("1000.5 2\n200.1 10.0\n300.2 20.0\n");
    }
    if (c.params.empty() || !c.params.front().first.isEmpty())
        zartest::WriteSearchParams(results(), massmap, demo("demo.fasta"), c.params);
    QStringList arguments;
    for (QString a : c.arguments) arguments << a.replace("%list", list());
    zartest::NotifyListener listener;
    const zartest::ToolRun r = RunTool(c.program, arguments, results(), &listener);
    ASSERT_TRUE(r.started);
    EXPECT_FALSE(r.crashed);
    EXPECT_EQ(r.exitCode, c.exitCode);
    EXPECT_TRUE(r.errText().contains(c.message)) << r.errText().toStdString();
    const auto records = zartest::RecordsNamed(
        r.records, massmap ? kRegMassmapProgress : kRegSorvexProgress);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().lParam, 0);  // the launcher's run ends
    EXPECT_TRUE(QDir(results()).entryList({"*.out"}).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SearchFailures,
    ::testing::Values(
        SearchFailure{"noParams", "sorvex27", {{"", ""}}, {}, true, 3, "sorvex.params does not exist"},
        SearchFailure{"otherParamsFile", "sorvex27", {}, {"-P/none/x.params"}, true, 3,
                      "/none/x.params does not exist"},
        SearchFailure{"noDatabaseEntry", "sorvex27", {{"first_database_name", ""}}, {}, true, 3,
                      "names no database"},
        SearchFailure{"badValue", "massmap", {{"max_num_internal_cleavage_sites", "two"}}, {},
                      true, 3, "is not usable"},
        SearchFailure{"missingDatabase", "sorvex27", {{"first_database_name", "/none/db.fasta"}},
                      {}, true, 4, "Cannot read the database /none/db.fasta"},
        SearchFailure{"missingIndexedDatabase", "massmap",
                      {{"first_database_name", "/none/db.fasta.hdr"}}, {}, true, 4,
                      "Unable to open the indexed database"},
        SearchFailure{"noSpectra", "sorvex27", {}, {}, false, 6, "No .dta files to search"},
        SearchFailure{"missingList", "massmap", {}, {"-R%list"}, true, 6,
                      "Cannot read the list file"},
        SearchFailure{"strayWord", "sorvex27", {}, {"list.txt"}, true, 2,
                      "unexpected arguments: list.txt"}),
    [](const ::testing::TestParamInfo<SearchFailure>& info) { return std::string(info.param.name); });

// A stand-in for Comet, for the ways Comet itself fails: it answers the version and template
// questions and then fails, or runs until it is killed.
class FakeComet {
  public:
    explicit FakeComet(const char* search) {
        QFile script(dir_.filePath("comet-ms"));
        script.open(QIODevice::WriteOnly);
        script.write(QByteArray("#!/bin/sh\n"
                                "if [ $# -eq 0 ]; then echo ' Comet version \"2019.01 rev. 5\"'; exit 1; fi\n"
                                "if [ \"$1\" = -p ]; then echo '# comet_version 2019.01 rev. 5' > comet.params.new; exit 0; fi\n") +
                     search + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QProcessEnvironment path() const {
        QProcessEnvironment e;
        e.insert("PATH", dir_.path());
        return e;
    }
    QString file(const char* name) const { return dir_.filePath(name); }

  private:
    QTemporaryDir dir_;
};

TEST_F(SearchProgramTest, CometMissingOrFailingIsReported) {
    QFile dta(QDir(results()).filePath("demo.0300.0300.2.dta"));
    ASSERT_TRUE(dta.open(QIODevice::WriteOnly));
    dta.write("1000.5 2\n200.1 10.0\n300.2 20.0\n");
    dta.close();
    zartest::WriteSearchParams(results(), false, demo("demo.fasta"));

    QTemporaryDir empty;
    QProcessEnvironment noPath;
    noPath.insert("PATH", empty.path());
    zartest::ToolRun r = RunTool("sorvex27", {}, results(), nullptr, noPath);
    EXPECT_EQ(r.exitCode, 5);
    EXPECT_TRUE(r.errText().contains("comet-ms was not found")) << r.errText().toStdString();

    const FakeComet failing("echo ' Error - cannot read the spectra'; exit 1");
    r = RunTool("sorvex27", {}, results(), nullptr, failing.path());
    EXPECT_EQ(r.exitCode, 5);
    EXPECT_TRUE(r.errText().contains("Comet failed (exit code 1)")) << r.errText().toStdString();
    EXPECT_TRUE(r.errText().contains("Error - cannot read the spectra"));
    EXPECT_TRUE(QDir(results()).entryList({"*.out"}).isEmpty());
}

// sorvex27 started on one spectrum with a Comet that hangs; the hanging Comet's pid, 0 when it
// did not start. TMPDIR is the given folder.
int StartHangingSearch(QProcess& search, const FakeComet& hanging, const QString& results,
                       const QString& temp) {
    QFile dta(QDir(results).filePath("demo.0300.0300.2.dta"));
    if (!dta.open(QIODevice::WriteOnly)) return 0;
    dta.write("1000.5 2\n200.1 10.0\n300.2 20.0\n");
    dta.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PATH", hanging.path().value("PATH") + ":/usr/bin:/bin");
    environment.insert("FAKE_COMET_PID", hanging.file("pid"));
    environment.insert("TMPDIR", temp);
    search.setProcessEnvironment(environment);
    search.setWorkingDirectory(results);
    search.start(zartest::ToolPath("sorvex27"), {});
    if (!search.waitForStarted(zartest::kWorkWaitMs)) return 0;
    QFile pidFile(hanging.file("pid"));
    const QDeadlineTimer started(zartest::kWorkWaitMs);
    while (pidFile.size() == 0 && !started.hasExpired()) QThread::msleep(20);
    if (!pidFile.open(QIODevice::ReadOnly)) return 0;
    return pidFile.readAll().trimmed().toInt();
}

// Whether the process ends (gone, or a zombie waiting to be reaped); killed when it does not.
bool Ends(int pid) {
    bool running = true;
    for (const QDeadlineTimer ended(zartest::kWorkWaitMs); running && !ended.hasExpired();) {
        QFile stat(QString("/proc/%1/stat").arg(pid));
        running = stat.open(QIODevice::ReadOnly) && !stat.readAll().contains(") Z ");
        if (running) QThread::msleep(20);
    }
    if (running) ::kill(pid, SIGKILL);
    return !running;
}

TEST_F(SearchProgramTest, KillingTheSearchProgramEndsComet) {
    zartest::WriteSearchParams(results(), false, demo("demo.fasta"));
    const FakeComet hanging("echo $$ > \"$FAKE_COMET_PID\"; exec /bin/sleep 60");
    QTemporaryDir temp;
    QProcess search;
    const int pid = StartHangingSearch(search, hanging, results(), temp.path());
    ASSERT_GT(pid, 0);
    search.kill();
    search.waitForFinished(zartest::kWorkWaitMs);
    EXPECT_TRUE(Ends(pid));
}

// Stopped as the launcher stops it (SIGTERM), the search program ends Comet, removes its
// scratch folder and says it was stopped; nothing is left in the results or the temp folder.
TEST_F(SearchProgramTest, StoppingTheSearchProgramEndsCometAndLeavesNoScratch) {
    zartest::WriteSearchParams(results(), false, demo("demo.fasta"));
    const FakeComet hanging("echo $$ > \"$FAKE_COMET_PID\"; exec /bin/sleep 60");
    QTemporaryDir temp;
    QProcess search;
    const int pid = StartHangingSearch(search, hanging, results(), temp.path());
    ASSERT_GT(pid, 0);
    search.terminate();
    ASSERT_TRUE(search.waitForFinished(zartest::kWorkWaitMs));
    EXPECT_EQ(search.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(search.exitCode(), 7);
    EXPECT_TRUE(QString::fromLocal8Bit(search.readAllStandardError()).contains("stopped"));
    EXPECT_TRUE(Ends(pid));
    EXPECT_EQ(QDir(results()).entryList({"sorvex27-*"}, QDir::AllEntries | QDir::Hidden),
              QStringList{});
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{});
    EXPECT_TRUE(QDir(results()).entryList({"*.out"}).isEmpty());
}

TEST_F(SearchProgramTest, MassmapMapsTheDemoSpectraToTheirProteins) {
    const QStringList names = extract("dravel_ms", {"-F300", "-L700", "-E1000000"});
    ASSERT_GE(names.size(), 50);
    zartest::WriteSearchParams(results(), true, demo("demo.fasta"),
                               {{"enzyme_number", "1"},
                                {"mass_type_parent", "1"},
                                {"peptide_mass_tolerance", "0.02"}});
    zartest::NotifyListener listener;
    const zartest::ToolRun r = RunTool("massmap", {"-R" + list()}, results(), &listener);
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    const auto records = zartest::RecordsNamed(r.records, kRegMassmapProgress);
    int done = 0;
    for (const NotifyRecord& record : records) done += record.lParam == 3 ? 1 : 0;
    EXPECT_EQ(done, names.size());
    EXPECT_EQ(records.back().lParam, 0);

    CMassmapResults set;
    set.SetRawFilePath(demo("demo.mzML"));
    ASSERT_TRUE(set.Initialize());
    ASSERT_TRUE(set.ReadResults(results())) << boxes_.texts().join("|").toStdString();
    EXPECT_TRUE(boxes_.texts().isEmpty()) << boxes_.texts().join("|").toStdString();
    ASSERT_EQ(set.GetHitCount(), names.size());
    // Every top peptide is a peptide of the run of the protein named.
    std::set<std::pair<QString, QString>> truth;
    for (const DemoPeptide& p : run_->peptides)
        if (p.labelCount == 0)
            truth.insert({run_->database[static_cast<size_t>(p.protein)].reference, p.text});
    int withHits = 0, right = 0;
    for (int i = 0; i < set.GetHitCount(); ++i) {
        const SearchHitRecord* hit = set.GetHit(i);
        if (hit->peptide.isEmpty()) continue;
        ++withHits;
        right += truth.count({hit->reference, hit->peptide}) ? 1 : 0;
    }
    EXPECT_GE(withHits, names.size() * 9 / 10);
    EXPECT_GE(right, withHits * 9 / 10) << right << " of " << withHits;
}

TEST_F(SearchProgramTest, DbtallyCountsAndReportsTheProteins) {
    zartest::NotifyListener listener;
    zartest::ToolRun r = RunTool("dbtally", {demo("demo.fasta")}, work_.path(), &listener);
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    const int proteins = static_cast<int>(run_->database.size());
    EXPECT_EQ(r.outText().trimmed(), QString::number(proteins));
    const auto records = zartest::RecordsNamed(r.records, kRegDatabaseSize);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].wParam, 0u);
    EXPECT_EQ(records[0].lParam, proteins);

    QFile small(work_.filePath("small db.fasta"));
    ASSERT_TRUE(small.open(QIODevice::WriteOnly));
    small.write(">one\nACDE\nFG\n>two\n\n>three x\r\nKK\r\n");
    small.close();
    r = RunTool("dbtally", {small.fileName()}, work_.path());
    EXPECT_EQ(r.outText().trimmed(), "3");

    r = RunTool("dbtally", {work_.filePath("none.fasta")}, work_.path(), &listener);
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_TRUE(r.errText().contains("Cannot read the database")) << r.errText().toStdString();
    EXPECT_EQ(zartest::RecordsNamed(r.records, kRegDatabaseSize).size(), 1u);  // nothing new
    r = RunTool("dbtally", {}, work_.path());
    EXPECT_EQ(r.exitCode, 2);
}

}  // namespace
