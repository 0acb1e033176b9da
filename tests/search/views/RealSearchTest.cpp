// A real run searched through the launcher with the real programs: BSA2.mzML extracted by
// dravel_msn and scored by sorvex27 with Comet against the 9,439-protein database, the .out
// files read back by the result reader; then cancels in both phases leave no program running.

#include "LauncherTestSupport.h"

#include "ToolTestSupport.h"
#include "search/views/SearchAdvancedPage.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QStandardPaths>

#include <cstdio>
#include <set>

using namespace zar;
using namespace launchertest;

namespace {

// Processes whose command line names the folder (Comet is started with its work folder).
int ProcessesNaming(const QString& text) {
    int count = 0;
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
        if (pid.toInt() <= 0 || pid.toInt() == static_cast<int>(::getpid())) continue;
        QByteArray line = ReadAll("/proc/" + pid + "/cmdline");
        line.replace('\0', ' ');
        if (line.contains(text.toLocal8Bit())) ++count;
    }
    return count;
}

class RealSearchFixture : public LauncherFixture {
  protected:
    void SetUp() override {
        bsa = zartest::RealDataPath("BSA2.mzML");
        database = zartest::RealDataPath("proteins.fasta");
        if (bsa.isEmpty() || database.isEmpty()) GTEST_SKIP() << "real data not fetched";
        if (QStandardPaths::findExecutable("comet-ms").isEmpty())
            GTEST_SKIP() << "comet-ms is not installed";
        LauncherFixture::SetUp();
        // The programs beside the program itself, under the names of the settings.
        RegKey(RegRoot::LocalMachine, kGlobalKey, true).writeString("Veltrix Path", "");
        SetDatabaseDirectory(QFileInfo(database).absolutePath() + "/");
        comet = dir.filePath("comet");
        qputenv("ZAR_COMET_WORK_DIR", comet.toLocal8Bit());
    }
    void TearDown() override {
        qunsetenv("ZAR_COMET_WORK_DIR");
        LauncherFixture::TearDown();
    }
    // The sheet as a user sets it for a tryptic digest measured on an Orbitrap: no intensity
    // threshold (its MS/MS scans are faint by an ion trap's measure), monoisotopic masses, trypsin,
    // carbamidomethylated cysteines and oxidised methionines.
    std::unique_ptr<CSorvexLauncher> Ready() {
        auto launcher = std::make_unique<CSorvexLauncher>(&owner, &owner);
        owner.launcher = launcher.get();
        launcher->SetEnzymeTable(&enzymes.GetRecords());
        EXPECT_TRUE(launcher->Start(bsa));
        if (!launcher->HasRunState()) return launcher;
        TypeBasic(*launcher, CSearchBasicPage::kDatabaseEditId, "proteins.fasta");
        TypeBasic(*launcher, CSearchBasicPage::kThresholdId, "0");
        ClickBasic(*launcher, CSearchBasicPage::kMonoisotopicId);
        auto* enzyme = dynamic_cast<QComboBox*>(
            launcher->Sheet()->GetPage(0)->GetDlgItem(CSearchBasicPage::kEnzymeId));
        EXPECT_TRUE(enzyme);
        if (enzyme) enzyme->setCurrentIndex(enzyme->findText("Trypsin", Qt::MatchStartsWith));
        const auto& statics = launcher->Sheet()->Model().modifications.StaticEntries();
        for (int i = 0; i < static_cast<int>(statics.size()); ++i)
            if (statics[static_cast<size_t>(i)].name == "add_C_Cysteine")
                launcher->Sheet()->SetStaticModification(i, 57.021464);
        launcher->Sheet()->SetDifferentialModification(0, "M", 15.9949);
        boxes.clear();
        return launcher;
    }
    QString bsa, database, comet;
};

}  // namespace

TEST_F(RealSearchFixture, Bsa2ThroughTheLauncherFindsSerumAlbumin) {
    QElapsedTimer timer;
    timer.start();
    auto launcher = Ready();
    ASSERT_TRUE(launcher->HasRunState());
    // The whole run: its first half holds only some fifteen albumin peptides.
    PressStart(*launcher);
    ASSERT_TRUE(launcher->IsExtracting()) << qPrintable(boxes.texts().join('|'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !launcher->IsExtracting(); }, zartest::kWorkWaitMs));
    const qint64 extractionMs = timer.elapsed();
    ASSERT_TRUE(WaitForEnd(*launcher));
    const qint64 totalMs = timer.elapsed();
    EXPECT_TRUE(boxes.texts().isEmpty()) << qPrintable(boxes.texts().join('|'));
    const QStringList dta = FilesIn(results, "*.dta");
    std::printf(
        "[ timing   ] BSA2 through the launcher: %lld .dta files in %.1f s, searched by %.1f s\n",
        static_cast<long long>(dta.size()), extractionMs / 1000.0, totalMs / 1000.0);
    ASSERT_GT(dta.size(), 900);
    EXPECT_EQ(launcher->FilesSearched(), dta.size());
    EXPECT_EQ(FilesIn(results, "*.out").size(), dta.size());
    // The .out files as the result reader reads them: serum albumin on top.
    int count = 0;
    QStringList messages;
    const auto top = zartest::ReadTopHits(results, bsa, &count, &messages);
    EXPECT_TRUE(messages.isEmpty()) << qPrintable(messages.join('|'));
    EXPECT_EQ(count, dta.size());
    std::set<QString> albumin;
    for (const auto& [file, hit] : top) {
        if (!hit.reference.contains("ALBU_BOVIN")) continue;
        QString letters;
        for (QChar c : hit.peptide.mid(2, hit.peptide.size() - 4))
            if (c.isLetter()) letters += c;
        albumin.insert(letters);
    }
    std::printf("[ result   ] %zu distinct serum albumin peptides among the top hits\n",
                albumin.size());
    EXPECT_GE(albumin.size(), 20u);
    // Every hit as Comet scored it (the list's order is the order Comet was given).
    QStringList listed;
    for (const auto& k : owner.Of(kMsgDtaFileName)) listed << k.text.trimmed() + "dta";
    EXPECT_EQ(listed.size(), dta.size());
    EXPECT_GE(zartest::ExpectOutFilesAgreeWithComet(results, listed, comet + "/comet.txt"), count);
}

TEST_F(RealSearchFixture, CancelInEitherPhaseLeavesNoProgramRunning) {
    auto launcher = Ready();
    ASSERT_TRUE(launcher->HasRunState());
    // During the extraction.
    PressStart(*launcher);
    ASSERT_TRUE(QTest::qWaitFor([&] { return launcher->DtaCount() > 0; }, zartest::kWorkWaitMs));
    qint64 pid = launcher->Child().ProcessId();
    launcher->ReshowSheet();
    launcher->TerminateDtaProcess();
    EXPECT_NE(::kill(static_cast<pid_t>(pid), 0), 0);
    EXPECT_FALSE(launcher->IsExtracting());
    EXPECT_TRUE(launcher->Sheet()->Button(CSearchPropertySheet::kStartId)->isEnabled());
    // During the search: once Comet works on the spectra.
    PressStart(*launcher);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return launcher->IsSearching() && ProcessesNaming(comet) > 0; }, zartest::kWorkWaitMs));
    pid = launcher->Child().ProcessId();
    launcher->ReshowSheet();
    launcher->TerminateDtaProcess();
    EXPECT_NE(::kill(static_cast<pid_t>(pid), 0), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ProcessesNaming(comet) == 0; }, zartest::kWorkWaitMs));
    EXPECT_FALSE(launcher->IsSearching());
    EXPECT_TRUE(launcher->Sheet()->isVisible());
    EXPECT_FALSE(launcher->Sheet()->IsSearchRunning());
    EXPECT_TRUE(boxes.texts().isEmpty()) << qPrintable(boxes.texts().join('|'));
}

// Stopped in either phase, the programs clean up after themselves: their scratch files live in
// the results folder and go with them, and nothing is left in the temp folder.
TEST_F(RealSearchFixture, CancelInEitherPhaseLeavesNoScratchBehind) {
    qunsetenv("ZAR_COMET_WORK_DIR");
    QTemporaryDir temp;
    const QByteArray oldTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", temp.path().toLocal8Bit());
    auto launcher = Ready();
    ASSERT_TRUE(launcher->HasRunState());
    const QString scratch = results + "/sorvex27-";
    PressStart(*launcher);
    ASSERT_TRUE(QTest::qWaitFor([&] { return launcher->DtaCount() > 0; }, zartest::kWorkWaitMs));
    launcher->ReshowSheet();
    launcher->TerminateDtaProcess();
    EXPECT_FALSE(launcher->Child().IsRunning());
    PressStart(*launcher);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return launcher->IsSearching() && ProcessesNaming(scratch) > 0; }, zartest::kWorkWaitMs));
    launcher->ReshowSheet();
    launcher->TerminateDtaProcess();
    // The search engine the program started ends after it: on a busy machine, a moment later.
    const auto leftInResults = [&] {
        return QDir(results).entryList({"sorvex27-*", "*.dta.*", "*.out.*"},
                                       QDir::AllEntries | QDir::Hidden);
    };
    // The program's own notification channel may live there too; the searches leave nothing.
    const auto leftInTemp = [&] {
        return QDir(temp.path()).entryList({"sorvex27-*", "massmap-*", "dravel*", "*.dta", "*.out"},
                                           QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    };
    QTest::qWaitFor(
        [&] {
            return ProcessesNaming(scratch) == 0 && leftInResults().isEmpty() &&
                   leftInTemp().isEmpty();
        },
        zartest::kWorkWaitMs);
    EXPECT_EQ(ProcessesNaming(scratch), 0);
    EXPECT_EQ(leftInResults(), QStringList{});
    EXPECT_EQ(leftInTemp(), QStringList{});
    if (oldTemp.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", oldTemp);
}
