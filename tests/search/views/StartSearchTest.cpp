// Start Search: the checks, the parameter file, then the run handed to the launcher in the
// launcher's order; the same button stops a running search; the queue program; the option text
// and summary; closing.

#include "search/views/SearchAdvancedPage.h"
#include "search/views/SearchBasicPage.h"
#include "search/views/SorvexQueuePage.h"

#include "SheetTestSupport.h"
#include "document/ZarMessages.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>
#include <QThread>

using namespace zar;
using namespace sheettest;

namespace {

using Basic = CSearchBasicPage;

class StartFixture : public SheetFixture {
  protected:
    // A sheet whose database is the horse database of the test's database folder.
    std::unique_ptr<CSorvexPropertySheet> Ready() {
        auto sheet = OpenSorvex();
        Ctl<QLineEdit>(sheet->GetPage(0), Basic::kDatabaseEditId)->setText("horse.fasta");
        boxes.clear();
        return sheet;
    }
    void Start(CSearchPropertySheet& sheet) {
        sheet.Button(CSearchPropertySheet::kStartId)->click();
        QApplication::processEvents();
    }
};

}  // namespace

TEST_F(StartFixture, GenerationThenSearchGoesToTheExtraction) {
    zartest::MessageTrap trap(&owner, {kMsgSheetIgnored, kMsgSorvexReshowSheet});
    auto sheet = Ready();
    Start(*sheet);
    EXPECT_TRUE(boxes.texts().isEmpty()) << qPrintable(boxes.texts().join('|'));
    EXPECT_EQ(launcher.calls, (QStringList{"DeleteOldResultFiles", "StartDtaGeneration"}));
    ASSERT_EQ(trap.caught().size(), 1u);
    EXPECT_EQ(trap.caught()[0].message, kMsgSheetIgnored);
    EXPECT_EQ(trap.caught()[0].wParam, 1u);
    EXPECT_TRUE(sheet->IsSearchRunning());
    EXPECT_EQ(sheet->Button(CSearchPropertySheet::kStartId)->text(), "&Stop Search");
    EXPECT_FALSE(sheet->Button(CSearchPropertySheet::kCloseId)->isEnabled());
    EXPECT_EQ(sheet->StartedResultsDirectory(), results);
    CParamFile saved;
    ASSERT_TRUE(saved.Open(SorvexFile()));
    QString database;
    ASSERT_TRUE(saved.GetEntryString("first_database_name", database));
    EXPECT_EQ(database, databases + "horse.fasta");

    // The same button now stops the search, whatever the pages hold.
    Ctl<QLineEdit>(sheet->GetPage(0), Basic::kDatabaseEditId)->setText("missing.fasta");
    Start(*sheet);
    EXPECT_TRUE(boxes.texts().isEmpty());
    EXPECT_EQ(launcher.calls.size(), 2);
    ASSERT_EQ(trap.caught().size(), 2u);
    EXPECT_EQ(trap.caught()[1].message, kMsgSorvexReshowSheet);
    EXPECT_EQ(trap.caught()[1].wParam, 0u);
    EXPECT_FALSE(sheet->IsSearchRunning());
    EXPECT_EQ(sheet->Button(CSearchPropertySheet::kStartId)->text(), "&Start search");
    EXPECT_TRUE(sheet->Button(CSearchPropertySheet::kCloseId)->isEnabled());
}

TEST_F(StartFixture, SearchAloneListsTheFilesPresent) {
    struct Case {
        const char* listPath;
        QStringList calls;
    } cases[] = {
        {"/r/SorvexList",
         {"DeleteOldResultFiles", "ListExistingDtaFiles", "RunSearch(/r/SorvexList)"}},
        {"", {"DeleteOldResultFiles", "ListExistingDtaFiles"}},
        {"x", {"DeleteOldResultFiles", "ListExistingDtaFiles"}},
    };
    for (const Case& c : cases) {
        launcher.calls.clear();
        launcher.listPath = QString::fromLatin1(c.listPath);
        auto sheet = Ready();
        Click(sheet->GetPage(0), Basic::kGenerationCheckId);
        Start(*sheet);
        launcher.calls.removeAll("ClearDatabaseTallyDone");  // recorded by the first run
        EXPECT_EQ(launcher.calls, c.calls) << c.listPath;
    }
}

TEST_F(StartFixture, ChecksStopTheStartWithTheirMessages) {
    struct Case {
        const char* name;
        std::function<void(CSearchPageBase*)> arrange;
        const char* message;
        const char* databaseAfter;
    } cases[] = {
        {"neither",
         [](CSearchPageBase* page) {
             Click(page, Basic::kGenerationCheckId);
             Click(page, Basic::kSearchCheckId);
         },
         "Neither the Dta Generation or Dta Search check boxes are active", "horse.fasta"},
        {"noDatabase",
         [](CSearchPageBase* page) { Ctl<QLineEdit>(page, Basic::kDatabaseEditId)->clear(); },
         "Can't find that database or database is invalid!", ""},
        {"missingDatabase",
         [](CSearchPageBase* page) {
             Ctl<QLineEdit>(page, Basic::kDatabaseEditId)->setText("missing.fasta");
         },
         "Can't find that database or database is invalid!", ""},
    };
    for (const Case& c : cases) {
        auto sheet = Ready();
        c.arrange(sheet->GetPage(0));
        Start(*sheet);
        EXPECT_EQ(boxes.texts(), QStringList{QString::fromLatin1(c.message)}) << c.name;
        EXPECT_EQ(Ctl<QLineEdit>(sheet->GetPage(0), Basic::kDatabaseEditId)->text(),
                  QString::fromLatin1(c.databaseAfter))
            << c.name;
        EXPECT_TRUE(launcher.calls.isEmpty()) << c.name;
        EXPECT_FALSE(sheet->IsSearchRunning()) << c.name;
        EXPECT_FALSE(QFile::exists(SorvexFile())) << c.name;
    }
}

TEST_F(StartFixture, DatabaseRecordedBeforeIsCountedAgain) {
    ASSERT_TRUE(SetDatabaseInfo("horse.fasta", 10, 5));
    auto sheet = Ready();
    Start(*sheet);
    EXPECT_EQ(launcher.calls, (QStringList{"ClearDatabaseTallyDone", "DeleteOldResultFiles",
                                           "StartDtaGeneration"}));
}

TEST_F(StartFixture, QueueChoiceStartsTheQueueProgram) {
    const QString program = programs + "/" + GetSorvexQueueProgram();
    const QString marker = dir.filePath("queue-started");
    WriteBytes(program, "#!/bin/sh\ntouch '" + marker.toLocal8Bit() + "'\n");
    QFile::setPermissions(program,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    launcher.daemon = true;
    auto sheet = Ready();
    sheet->SetActivePage(3);
    Click(sheet->GetPage(3), CSorvexQueuePage::kThroughQueueId);
    Start(*sheet);
    EXPECT_TRUE(boxes.texts().isEmpty()) << qPrintable(boxes.texts().join('|'));
    EXPECT_EQ(launcher.calls, (QStringList{"DeleteOldResultFiles", "StartDtaGeneration"}));
    QElapsedTimer waited;
    waited.start();
    while (!QFile::exists(marker) && waited.elapsed() < zartest::kWorkWaitMs) QThread::msleep(20);
    EXPECT_TRUE(QFile::exists(marker));
}

TEST_F(StartFixture, MissingQueueProgramIsReported) {
    launcher.daemon = true;
    auto sheet = Ready();
    sheet->SetActivePage(3);
    Click(sheet->GetPage(3), CSorvexQueuePage::kThroughQueueId);
    Start(*sheet);
    EXPECT_EQ(boxes.texts(), QStringList{"program or batch file not found: " + programs + "/" +
                                         GetSorvexQueueProgram()});
    EXPECT_EQ(launcher.calls, (QStringList{"DeleteOldResultFiles", "StartDtaGeneration"}));
}

TEST_F(StartFixture, OptionTextAndSummary) {
    auto sheet = Ready();
    sheet->SetScanLimits(1, 400, 1, 400);
    sheet->SetFastaMassRange(500.0, 1500.0, 300.0, 2000.0);
    sheet->SetActivePage(1);
    CSearchPageBase* advanced = sheet->GetPage(1);
    Ctl<QLineEdit>(advanced, CSearchAdvancedPage::kChargeId)->setText("2");
    Ctl<QLineEdit>(advanced, CSearchAdvancedPage::kSubsequenceId)->setText("PEPT");
    Ctl<QLineEdit>(sheet->GetPage(0), Basic::kScanLimitsId)->setText("10-10");
    EXPECT_EQ(sheet->BuildExtractionOptions(),
              "-F10 -L10 -E100000 -I35 -G1 -B500.00 -T1500.00 -C2 -YPEPT ");
    EXPECT_EQ(sheet->ExtractionOptions(), sheet->BuildExtractionOptions());
    const QByteArray summary = ReadBytes(results + "/sorvex_options.params");
    EXPECT_TRUE(summary.startsWith("Database type = Peptide\r\nStart_scan=10; End_scan=10; "));
    EXPECT_TRUE(summary.contains("Min_group_count =1;\r\n"));
    EXPECT_TRUE(summary.endsWith("Use_charge_state =2; Subsequence =[PEPT];\r\n"));
    Click(advanced, CSearchAdvancedPage::kPrintAdvancedId);
    sheet->BuildExtractionOptions();
    EXPECT_TRUE(QFile::exists(results + "/sorvex_options.params"));
    EXPECT_EQ(ReadBytes(results + "/sorvex_options.params"), "");
}

TEST_F(StartFixture, TracedRangeAndRawFileWithABlank) {
    auto sheet = Ready();
    sheet->SetScanLimits(1, 400, 1, 400);
    auto* scans = Ctl<QLineEdit>(sheet->GetPage(0), Basic::kScanLimitsId);
    sheet->TrackScanRange(30, 60);
    EXPECT_EQ(scans->text(), "30-60");
    EXPECT_TRUE(sheet->Button(CSearchPropertySheet::kStartId)->isEnabled());
    Click(sheet->GetPage(0), Basic::kTrackId);  // off: the trace no longer sets the scans
    launcher.rawFile = "/data/my run.mzML";
    sheet->TrackScanRange(70, 90);
    EXPECT_EQ(scans->text(), "30-60");
    EXPECT_FALSE(sheet->Button(CSearchPropertySheet::kStartId)->isEnabled());
}

TEST_F(StartFixture, CloseEndsTheStepUnlessASearchRuns) {
    auto sheet = Ready();
    Start(*sheet);
    launcher.calls.clear();
    sheet->close();
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_TRUE(launcher.calls.isEmpty());
    sheet->SetSearchRunning(false);
    sheet->Button(CSearchPropertySheet::kCloseId)->click();
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(launcher.calls, QStringList{"EndStep(0)"});
}

TEST_F(StartFixture, ReturnInAFieldStartsNothing) {
    auto sheet = Ready();
    auto* edit = Ctl<QLineEdit>(sheet->GetPage(0), Basic::kThresholdId);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Escape);  // no search runs: Escape closes like Close
    EXPECT_EQ(launcher.calls, QStringList{"EndStep(0)"});
    EXPECT_FALSE(sheet->IsSearchRunning());
}
