// The launchers with stand-in programs: the whole run from the sheet's Start Search to its end,
// the messages on the way, and what a run must not do: read past its pipe buffer, take messages
// of strangers, stay busy after a failed start, leave old files or children behind, change the
// program's folder, search another folder than it listed, or break on blanks in folders.

#include "LauncherTestSupport.h"

#include "search/views/SearchProgressDlg.h"

#include "ipc/NotifyClient.h"
#include "ipc/NotifyServer.h"

#include <signal.h>

using namespace zar;
using namespace launchertest;

namespace {

bool ChildGone(qint64 pid) {
    return pid <= 0 || ::kill(static_cast<pid_t>(pid), 0) != 0;
}

QStringList Texts(const std::vector<OwnerWindow::Kept>& kept) {
    QStringList texts;
    for (const auto& k : kept) texts << k.text;
    return texts;
}

}  // namespace

TEST_F(LauncherFixture, ASearchRunsFromExtractionToItsEnd) {
    const QString before = QDir::currentPath();
    auto launcher = SorvexReady();
    ASSERT_TRUE(launcher->HasRunState());
    EXPECT_EQ(launcher->Sheet()->windowTitle(), "TurboSORVEX Search Parameters");
    EXPECT_EQ(launcher->FirstScan(), 1);
    EXPECT_EQ(launcher->LastScan(), 10);
    PressStart(*launcher);
    EXPECT_TRUE(launcher->IsExtracting());
    ASSERT_TRUE(WaitForEnd(*launcher));
    EXPECT_TRUE(boxes.texts().isEmpty()) << qPrintable(boxes.texts().join('|'));

    const QStringList dta{"run.0001.0001.2.dta", "run.0002.0002.2.dta", "run.0003.0003.2.dta"};
    EXPECT_EQ(FilesIn(results, "*.dta"), dta);
    EXPECT_EQ(FilesIn(results, "*.out"),
              (QStringList{"run.0001.0001.2.out", "run.0002.0002.2.out", "run.0003.0003.2.out"}));
    // The list file is gone with the run; the program never moved.
    EXPECT_FALSE(QFile::exists(results + "/SorvexList"));
    EXPECT_TRUE(launcher->ListPath().isEmpty());
    EXPECT_EQ(QDir::currentPath(), before);

    // The Dta files list: cleared, then one row a file (the text as the progress dialog left it).
    ASSERT_FALSE(owner.kept.empty());
    EXPECT_EQ(owner.Of(kMsgDtaListClear).size(), 1u);
    const auto names = owner.Of(kMsgDtaFileName);
    EXPECT_EQ(Texts(names),
              (QStringList{" run.0001.0001.2.", " run.0002.0002.2.", " run.0003.0003.2."}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(names[static_cast<size_t>(i)].lParam, i + 1);
    const auto times = owner.Of(kMsgDtaSearchTime);
    ASSERT_EQ(times.size(), 3u);
    EXPECT_EQ(times[2].wParam, 2u);
    EXPECT_EQ(times[2].lParam, 3);
    EXPECT_EQ(launcher->FilesSearched(), 3);

    // Argument lists: options, the folder, the sheet's options, the run; the search in its folder.
    const QStringList extractionArgs = LoggedArguments("dravel_msn");
    ASSERT_GE(extractionArgs.size(), 4);
    EXPECT_EQ(extractionArgs.mid(1, 3), (QStringList{"-Z", "-X", "-D" + results}));
    EXPECT_EQ(extractionArgs.last(), run);
    const QStringList searchArgs = LoggedArguments("sorvex27");
    EXPECT_EQ(searchArgs, (QStringList{results, "-R" + results + "/SorvexList"}));
    EXPECT_EQ(launcher->SearchedDirectory(), results);
}

TEST_F(LauncherFixture, BlanksInFoldersAreNoProblem) {
    const QString spaced = dir.filePath("my results");
    QDir().mkpath(spaced);
    SetSorvexResultsDirectory(spaced);
    auto launcher = SorvexReady();
    PressStart(*launcher);
    ASSERT_TRUE(WaitForEnd(*launcher));
    EXPECT_TRUE(boxes.texts().isEmpty()) << qPrintable(boxes.texts().join('|'));
    EXPECT_EQ(FilesIn(spaced, "*.out").size(), 3);
    EXPECT_TRUE(LoggedArguments("dravel_msn").contains("-D" + spaced));
    EXPECT_EQ(LoggedArguments("sorvex27").first(), spaced);
}

TEST_F(LauncherFixture, ARawFileWithABlankIsRefusedBeforeItIsRead) {
    auto launcher = std::make_unique<CSorvexLauncher>(&owner, &owner);
    EXPECT_FALSE(launcher->Start(dir.filePath("no such run.mzML")));
    EXPECT_EQ(boxes.texts(),
              QStringList{"Cannot run Sorvex on files with a space in filename.\n Name of file = " +
                          dir.filePath("no such run.mzML") + "\n"});
    EXPECT_FALSE(launcher->HasRunState());
    EXPECT_TRUE(launcher->Start(QString()));
    EXPECT_FALSE(launcher->HasRunState());
}

TEST_F(LauncherFixture, StartChecksTheRun) {
    const QString ms1 = dir.filePath("ms1.mzML");
    ASSERT_TRUE(WriteSmallRun(ms1, 4, true));
    struct Case {
        QString run;
        bool sorvex;
        bool opens;
        QString message;
    } cases[] = {
        {dir.filePath("missing.mzML"), true, false,
         "Error - failed to open raw file.\nThe raw file may be a newer revision or damaged."},
        {ms1, true, false,
         "Unable to run Sorvex Search. No MS/MSdata\navailable in scan range selected in file\n" +
             ms1 + "\n"},
        // Peptide mapping needs no MS/MS scans.
        {ms1, false, true, ""},
    };
    for (const Case& c : cases) {
        boxes.clear();
        std::unique_ptr<CSearchLauncherBase> launcher;
        if (c.sorvex) {
            launcher = std::make_unique<CSorvexLauncher>(&owner, &owner);
        } else {
            launcher = std::make_unique<CMassmapLauncher>(&owner, &owner);
        }
        EXPECT_EQ(launcher->Start(c.run), c.opens) << qPrintable(c.run);
        EXPECT_EQ(launcher->HasRunState(), c.opens);
        if (!c.message.isEmpty()) {
            EXPECT_EQ(boxes.texts(), QStringList{c.message});
        }
    }
}

TEST_F(LauncherFixture, AFailedExtractionStartLeavesTheSheetReadyAgain) {
    QFile::remove(extraction + "/dravel_msn.exe");
    auto launcher = SorvexReady();
    PressStart(*launcher);
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts()[0].startsWith("program or batch file not found: " + extraction +
                                            "/dravel_msn.exe -Z -X -D" + results));
    EXPECT_FALSE(launcher->IsExtracting());
    EXPECT_FALSE(launcher->Sheet()->IsSearchRunning());
    EXPECT_EQ(launcher->Sheet()->Button(CSearchPropertySheet::kStartId)->text(), "&Start search");
    EXPECT_FALSE(QFile::exists(results + "/SorvexList"));
    EXPECT_TRUE(launcher->ListPath().isEmpty());
    // Once the program is there, the same sheet starts the search.
    QFile::link(QDir(QCoreApplication::applicationDirPath()).filePath("zar_fake_search_child"),
                extraction + "/dravel_msn.exe");
    boxes.clear();
    PressStart(*launcher);
    ASSERT_TRUE(WaitForEnd(*launcher));
    EXPECT_TRUE(boxes.texts().isEmpty()) << qPrintable(boxes.texts().join('|'));
    EXPECT_EQ(FilesIn(results, "*.out").size(), 3);
}

TEST_F(LauncherFixture, OnlyTheRunsOwnChildIsHeard) {
    qputenv("ZAR_FAKE_MODE", "hang");
    auto launcher = SorvexReady();
    PressStart(*launcher);
    ASSERT_TRUE(QTest::qWaitFor([&] { return launcher->DtaCount() == 1; }, zartest::kWorkWaitMs));
    const int progressBefore = launcher->ProgressDialog()->BarValue(CSearchProgressDlg::kDtaBarId);
    // Another program that knows where the program listens, but not the run's token.
    const QByteArray address =
        "0123456789abcdef:" + CNotifyServer::Instance().SocketPath().toLocal8Bit();
    qputenv(kNotifyVariable, address);
    ASSERT_TRUE(PostRegisteredMessage("ZV_DRAVELMSN_PROGRESS", 1, 10));
    ASSERT_TRUE(PostRegisteredMessage("ZV_DRAVELMSN_PROGRESS", 0, 0));
    CloseNotifyChannel();
    qunsetenv(kNotifyVariable);
    // And one that posts the registered number itself, carrying nothing.
    PostMessage(&owner, ProgramMessages().dravelMSnProgress, 0, 0);
    QTest::qWait(300);
    EXPECT_EQ(owner.dropped, 1);
    EXPECT_TRUE(launcher->IsExtracting());
    EXPECT_EQ(launcher->ProgressDialog()->BarValue(CSearchProgressDlg::kDtaBarId), progressBefore);
    launcher->TerminateDtaProcess();
}

TEST_F(LauncherFixture, CancelDuringExtractionEndsTheChildAndTheSheetStartsAgain) {
    qputenv("ZAR_FAKE_MODE", "hang");
    auto launcher = SorvexReady();
    PressStart(*launcher);
    ASSERT_TRUE(QTest::qWaitFor([&] { return launcher->DtaCount() == 1; }, zartest::kWorkWaitMs));
    const qint64 pid = launcher->Child().ProcessId();
    ASSERT_TRUE(launcher->Child().IsRunning());
    // Cancel in the progress dialog: the main window re-shows the sheet and stops the child.
    launcher->ProgressDialog()->OnCancel();
    const auto cancel = [&] { return owner.Of(kMsgSorvexReshowSheet).size() == 1; };
    ASSERT_TRUE(QTest::qWaitFor(cancel, zartest::kWorkWaitMs));
    launcher->ReshowSheet();
    launcher->TerminateDtaProcess();
    EXPECT_TRUE(boxes.texts().isEmpty()) << qPrintable(boxes.texts().join('|'));
    EXPECT_TRUE(ChildGone(pid));
    EXPECT_FALSE(launcher->IsExtracting());
    EXPECT_TRUE(launcher->Sheet()->isVisible());
    EXPECT_TRUE(launcher->Sheet()->Button(CSearchPropertySheet::kStartId)->isEnabled());
    EXPECT_EQ(launcher->Sheet()->Button(CSearchPropertySheet::kStartId)->text(), "&Start search");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !launcher->ProgressDialog(); }, zartest::kWorkWaitMs));
    qunsetenv("ZAR_FAKE_MODE");
    PressStart(*launcher);
    ASSERT_TRUE(WaitForEnd(*launcher));
    EXPECT_EQ(FilesIn(results, "*.out").size(), 3);
}

TEST_F(LauncherFixture, CancelDuringTheSearchEndsTheChildAndTheSheetStartsAgain) {
    qputenv("ZAR_FAKE_SEARCH_MODE", "hang");
    auto launcher = SorvexReady();
    PressStart(*launcher);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return launcher->IsSearching() && launcher->FilesSearched() == 0 &&
                   QFile::exists(results + "/run.0001.0001.2.out");
        },
        zartest::kWorkWaitMs));
    const qint64 pid = launcher->Child().ProcessId();
    ASSERT_TRUE(launcher->Child().IsRunning());
    launcher->Sheet()->OnStopSearch();  // the sheet's Stop Search
    ASSERT_TRUE(QTest::qWaitFor([&] { return owner.Of(kMsgSorvexReshowSheet).size() == 1; }, zartest::kWorkWaitMs));
    launcher->ReshowSheet();
    launcher->TerminateDtaProcess();
    EXPECT_TRUE(ChildGone(pid));
    EXPECT_FALSE(launcher->IsSearching());
    EXPECT_TRUE(launcher->Sheet()->isVisible());
    EXPECT_FALSE(launcher->Sheet()->IsSearchRunning());
    qunsetenv("ZAR_FAKE_SEARCH_MODE");
    PressStart(*launcher);
    ASSERT_TRUE(WaitForEnd(*launcher));
    EXPECT_EQ(launcher->FilesSearched(), 3);
}

TEST_F(LauncherFixture, PipeMessagesOfAnyLengthKeepTheNamesInStep) {
    for (const char* mode : {"overlong", "drain", "nul"}) {
        qputenv("ZAR_FAKE_MODE", mode);
        owner.kept.clear();
        auto launcher = SorvexReady();
        ClickBasic(*launcher, CSearchBasicPage::kSearchCheckId);
        PressStart(*launcher);
        ASSERT_TRUE(WaitForEnd(*launcher)) << mode;
        EXPECT_TRUE(boxes.texts().isEmpty()) << mode << ": " << qPrintable(boxes.texts().join('|'));
        EXPECT_EQ(Texts(owner.Of(kMsgDtaFileName)),
                  (QStringList{" run.0001.0001.2.", " run.0002.0002.2.", " run.0003.0003.2."}))
            << mode;
    }
}

TEST_F(LauncherFixture, OldFilesAreGoneBeforeTheExtractionStarts) {
    for (const char* name : {"old.0099.0099.2.dta", "old.0099.0099.2.out"})
        sheettest::WriteBytes(results + "/" + name, "x");
    qputenv("ZAR_FAKE_MODE", "hang");
    auto launcher = SorvexReady();
    PressStart(*launcher);
    // Removed here and now, not by a program that may still run.
    EXPECT_FALSE(QFile::exists(results + "/old.0099.0099.2.dta"));
    EXPECT_FALSE(QFile::exists(results + "/old.0099.0099.2.out"));
    launcher->TerminateDtaProcess();
}

TEST_F(LauncherFixture, OldFilesThatCannotGoAreReported) {
    sheettest::WriteBytes(results + "/old.0099.0099.2.out", "x");
    qputenv("ZAR_FAKE_MODE", "hang");
    auto launcher = SorvexReady();
    ClickBasic(*launcher, CSearchBasicPage::kGenerationCheckId);
    launcher->Sheet()->CommitAll();
    zartest::ScopedUnwritableFolder locked(results);
    if (!locked.ok()) GTEST_SKIP() << "no way to make a folder unwritable here";
    launcher->DeleteOldResultFiles();
    EXPECT_EQ(boxes.texts(), QStringList{"Unable to remove 1 old result files in\n" + results +
                                         "\n\nold.0099.0099.2.out"});
}

TEST_F(LauncherFixture, ExistingFilesAreListedFromTheFolderThatIsSearched) {
    const QString other = dir.filePath("other");
    QDir().mkpath(other);
    for (const char* name : {"a.0001.0001.2.dta", "a.0002.0002.3.dta"})
        sheettest::WriteBytes(other + "/" + name, "x");
    sheettest::WriteBytes(results + "/decoy.0009.0009.2.dta", "x");
    auto launcher = SorvexReady();
    ClickBasic(*launcher, CSearchBasicPage::kGenerationCheckId);
    TypeBasic(*launcher, CSearchBasicPage::kResultsEditId, other);
    PressStart(*launcher);
    ASSERT_TRUE(WaitForEnd(*launcher));
    EXPECT_TRUE(boxes.texts().isEmpty()) << qPrintable(boxes.texts().join('|'));
    EXPECT_EQ(FilesIn(other, "*.out"), (QStringList{"a.0001.0001.2.out", "a.0002.0002.3.out"}));
    EXPECT_TRUE(FilesIn(results, "*.out").isEmpty());
    EXPECT_EQ(Texts(owner.Of(kMsgDtaFileName)),
              (QStringList{"a.0001.0001.2.dta", "a.0002.0002.3.dta"}));
    EXPECT_EQ(LoggedArguments("sorvex27").first(), other);
}

TEST_F(LauncherFixture, NothingToSearchIsSaidAndTheSheetIsShownAgain) {
    auto launcher = SorvexReady();
    ClickBasic(*launcher, CSearchBasicPage::kGenerationCheckId);
    const QString list = launcher->ListExistingDtaFiles();
    EXPECT_EQ(list, results + "/SorvexList");
    launcher->RunSearch(list);
    EXPECT_EQ(boxes.texts(), QStringList{"No dta files were generated."});
    ASSERT_TRUE(QTest::qWaitFor([&] { return owner.Of(kMsgSorvexReshowSheet).size() == 1; }, zartest::kWorkWaitMs));
    EXPECT_FALSE(launcher->Child().IsRunning());
}

TEST_F(LauncherFixture, AFailedSaveEndsTheStepAndTheProgramStaysWhereItWas) {
    const QString before = QDir::currentPath();
    sheettest::WriteBytes(results + "/a.0001.0001.2.dta", "x");
    auto launcher = SorvexReady();
    ClickBasic(*launcher, CSearchBasicPage::kGenerationCheckId);
    const QString list = launcher->ListExistingDtaFiles();
    ASSERT_EQ(launcher->DtaCount(), 1);
    zartest::ScopedUnwritableFolder locked(results);
    if (!locked.ok()) GTEST_SKIP() << "no way to make a folder unwritable here";
    launcher->RunSearch(list);
    EXPECT_FALSE(launcher->HasRunState());
    EXPECT_FALSE(launcher->IsSearching());
    EXPECT_FALSE(launcher->Child().IsRunning());
    EXPECT_EQ(QDir::currentPath(), before);
}

TEST_F(LauncherFixture, AListPathOfOneCharacterIsNotGiven) {
    sheettest::WriteBytes(results + "/a.0001.0001.2.dta", "x");
    auto launcher = SorvexReady();
    ClickBasic(*launcher, CSearchBasicPage::kGenerationCheckId);
    launcher->ListExistingDtaFiles();
    launcher->RunSearch("x");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !launcher->Child().IsRunning() && QFile::exists(logs + "/sorvex27.args"); },
        zartest::kWorkWaitMs));
    EXPECT_EQ(LoggedArguments("sorvex27"), QStringList{results});
}

TEST_F(LauncherFixture, ARecordedDatabaseIsCountedAgainAndTheSheetTold) {
    ASSERT_TRUE(SetDatabaseInfo("horse.fasta", 10, 5));
    auto launcher = SorvexReady();
    PressStart(*launcher);
    EXPECT_FALSE(launcher->IsDbTallyDone() == false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(logs + "/dbtally.args"); }, zartest::kWorkWaitMs));
    EXPECT_EQ(LoggedArguments("dbtally").mid(1), QStringList{databases + "horse.fasta"});
    ASSERT_TRUE(WaitForEnd(*launcher));
}

TEST_F(LauncherFixture, TheMassmapFolderIsTheOneOfItsMaking) {
    auto launcher = MassmapReady();
    ASSERT_TRUE(launcher->HasRunState());
    EXPECT_EQ(launcher->Sheet()->windowTitle(), "Peptide Mapping");
    const QString later = dir.filePath("later");
    QDir().mkpath(later);
    RegKey(RegRoot::LocalMachine, kProgramKey, true).writeString("PeptideResultsDirectory", later);
    PressStart(*launcher);
    ASSERT_TRUE(WaitForEnd(*launcher));
    EXPECT_TRUE(boxes.texts().isEmpty()) << qPrintable(boxes.texts().join('|'));
    EXPECT_EQ(LoggedArguments("dravel_ms").mid(1, 3), (QStringList{"-Z", "-X", "-D" + peptide}));
    EXPECT_EQ(FilesIn(peptide, "*.out").size(), 3);
    EXPECT_TRUE(FilesIn(later, "*").isEmpty());
    EXPECT_EQ(LoggedArguments("massmap"), (QStringList{peptide, "-R" + peptide + "/MassmapList"}));
}

TEST_F(LauncherFixture, MassmapWithNothingToSearchAsksForItsOwnSheet) {
    auto launcher = MassmapReady();
    ClickBasic(*launcher, CSearchBasicPage::kGenerationCheckId);
    launcher->RunSearch(launcher->ListExistingDtaFiles());
    EXPECT_EQ(boxes.texts(), QStringList{"No dta files were generated."});
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return owner.Of(kMsgMassmapReshowSheet).size() == 1; }, zartest::kWorkWaitMs));
}

TEST_F(LauncherFixture, EndStepTellsTheOwnerAndRemovesTheList) {
    auto launcher = SorvexReady();
    ClickBasic(*launcher, CSearchBasicPage::kGenerationCheckId);
    const QString list = launcher->ListExistingDtaFiles();
    ASSERT_TRUE(QFile::exists(list));
    launcher->EndStep(true);
    EXPECT_FALSE(QFile::exists(list));
    EXPECT_FALSE(launcher->HasRunState());
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return owner.Of(kMsgSorvexLauncherEnded).size() == 1; }, zartest::kWorkWaitMs));
}
