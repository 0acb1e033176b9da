// The Database Status dialog driving the look-up worker for a view: what it reads of the view,
// what reaches the results window and the dialog, and Cancel during a long scan.

#include "databases/views/DatabaseStatusDlg.h"

#include "document/ProteinRecord.h"
#include "document/SorvexResults.h"
#include "document/ZarMessages.h"
#include "document/hub/ZarDoc.h"

#include "DatabaseTestUtil.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace zar;

namespace {

// Loads a one-hit results folder made from the fixture's file for peptide R.GGGGK.A of
// sp|P00002|xABCy, its database renamed.
bool LoadOneHit(CZarDoc& doc, const QString& folder, const QString& database) {
    QFile fixture(zartest::DataPath(QStringLiteral("resultviews/seven/run.0101.0101.2.out")));
    if (!fixture.open(QIODevice::ReadOnly)) return false;
    QByteArray text = fixture.readAll();
    text.replace("test.fasta", database.toLatin1());
    QDir().mkpath(folder);
    QFile out(folder + QStringLiteral("/run.0101.0101.2.out"));
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size()) return false;
    out.close();
    CSorvexResults* set = doc.GetSorvexResults();
    set->Initialize();
    set->ReadResults(folder);
    return set->GetHitCount() == 1;
}

// The view side: its request fields and the busy flag the dialog sets.
struct FakeView : CDatabaseLookupView {
    int kind = 1;
    HitNumber hit{1};
    int protein = 0;
    QString peptide;
    QString reference;
    QObject* window = nullptr;
    int frame = 1;
    std::vector<bool> searching;
    int GetResultKind() const override { return kind; }
    HitNumber GetLookupHit() const override { return hit; }
    int GetLookupProtein() const override { return protein; }
    QString GetLookupPeptide() const override { return peptide; }
    QString GetLookupReference() const override { return reference; }
    QObject* GetResultsWindow() const override { return window; }
    int GetReadingFrame() const override { return frame; }
    WPARAM GetLookupOwner() const override { return 4242; }
    void SetSearching(bool on) override { searching.push_back(on); }
};

struct Caught {
    unsigned message;
    WPARAM wParam;
    std::any payload;
};

class DatabaseStatusDlgTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (unsigned m :
             {kMsgReadingFrameEnable, kMsgRowCount, kMsgSequenceRecord, kMsgSequencePeptide,
              kMsgSequenceCoverage, kMsgCoverageUpdate, kMsgDatabaseSearchEnded})
            window.messageMap().on(m, [this](const Message& msg) {
                caught.push_back(
                    {msg.message, msg.wParam, msg.payload ? std::move(*msg.payload) : std::any()});
                return LRESULT(0);
            });
        dbtest::WriteFile(
            dir, "db.fasta",
            ">sp|P1|ONE first\nMKPEPTIDEKAA\n>sp|P00002|xABCy second\nGGGGKPEPTIDEK\n");
        // The hit names "../db.fasta": the look-up finds it beside the results.
        ASSERT_TRUE(LoadOneHit(doc, dir.filePath("results"), "../db.fasta"));
        view.window = &window;
        dialog = std::make_unique<CDatabaseStatusDlg>(nullptr);
        dialog->SetRequest(&view);
        dialog->Create();
    }
    CSorvexResults& set() { return *doc.GetSorvexResults(); }
    // Waits for the worker and delivers what it posted.
    void finish() {
        dialog->Wait();
        QCoreApplication::processEvents();
    }
    std::vector<unsigned> numbers() const {
        std::vector<unsigned> out;
        for (const Caught& c : caught) out.push_back(c.message);
        return out;
    }
    const Caught* find(unsigned message) const {
        for (const Caught& c : caught)
            if (c.message == message) return &c;
        return nullptr;
    }

    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    QTemporaryDir dir;
    CZarDoc doc;
    MessageReceiver window;
    std::vector<Caught> caught;
    FakeView view;
    std::unique_ptr<CDatabaseStatusDlg> dialog;
};

}  // namespace

TEST_F(DatabaseStatusDlgTest, StartsWithAnEmptyStatusAndAtZero) {
    EXPECT_EQ(dialog->windowTitle(), "Database Status");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->StatusText()->text().isEmpty());
    EXPECT_EQ(dialog->ProgressBar()->value(), 0);
    EXPECT_EQ(dialog->ProgressBar()->maximum(), 100);
    EXPECT_EQ(dialog->CancelButton()->text(), "&Cancel");
    EXPECT_EQ(dialog->GetDlgItem(CDatabaseStatusDlg::kProgressId), dialog->ProgressBar());
}

TEST_F(DatabaseStatusDlgTest, SearchBySequenceFindsTheViewsPeptideInTheDatabaseBesideTheResults) {
    ASSERT_TRUE(dialog->StartSearch(CDatabaseStatusDlg::kSearchBySequence));
    EXPECT_EQ(view.searching, std::vector<bool>{true});
    finish();
    EXPECT_EQ(numbers(), (std::vector<unsigned>{0x409F, 0x40B6}));
    const Caught* end = find(kMsgDatabaseSearchEnded);
    EXPECT_EQ(end->wParam, 4242u);
    auto result = std::any_cast<SequenceLookupResult>(end->payload);
    ASSERT_EQ(result.rows.size(), 1u) << "the hit's peptide GGGGK";
    EXPECT_EQ(result.rows[0].reference, "sp|P00002|xABCy second");

    caught.clear();
    view.peptide = "MKPEPTIDEK";  // the view's peptide, when it has one
    ASSERT_TRUE(dialog->StartSearch(CDatabaseStatusDlg::kSearchBySequence));
    finish();
    result = std::any_cast<SequenceLookupResult>(find(kMsgDatabaseSearchEnded)->payload);
    ASSERT_EQ(result.rows.size(), 1u);
    EXPECT_EQ(result.rows[0].reference, "sp|P1|ONE first");
    EXPECT_EQ(dialog->StatusText()->text(), "Fasta database search finished");
    EXPECT_EQ(dialog->ProgressBar()->value(), 100);
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join('|').toStdString();
}

TEST_F(DatabaseStatusDlgTest, SearchForThePositionUsesTheViewsReference) {
    view.peptide = "PEPTIDEK";
    view.reference = "sp|P1|ONE";
    ASSERT_TRUE(dialog->StartSearch(CDatabaseStatusDlg::kSearchBySequencePosition));
    finish();
    EXPECT_EQ(numbers(), (std::vector<unsigned>{0x409F, 0x409E, 0x409B, 0x409C, 0x40B6}));
    const auto result = std::any_cast<ProteinLookupResult>(find(0x40B6)->payload);
    EXPECT_EQ(result.description, "sp|P1|ONE first");
    EXPECT_EQ(result.positionText, "Position of sequence:  3 - 10");
}

TEST_F(DatabaseStatusDlgTest, SearchByReferenceTakesTheProteinOfTheIndex) {
    // The reader's protein of the hit, with a second peptide of the entry added.
    const ProteinArray& proteins = set().GetProteins();
    view.protein = -1;
    for (std::size_t i = 0; i < proteins.size(); ++i)
        if (proteins[i]->reference == "sp|P00002|xABCy") view.protein = static_cast<int>(i);
    ASSERT_GE(view.protein, 0);
    proteins[std::size_t(view.protein)]->peptides.append("PEPTIDEK");
    ASSERT_TRUE(dialog->StartSearch(CDatabaseStatusDlg::kSearchByReference));
    finish();
    EXPECT_EQ(numbers(), (std::vector<unsigned>{0x409F, 0x409E, 0x409B, 0x409D, 0x40B7, 0x40B6}));
    const auto result = std::any_cast<ProteinLookupResult>(find(0x40B6)->payload);
    EXPECT_EQ(result.coveredResidues, 13);
    EXPECT_EQ(result.description, "sp|P00002|xABCy second");
}

TEST_F(DatabaseStatusDlgTest, NothingToLookUpEndsAtOnceWithTheBusyFlagCleared) {
    struct Case {
        const char* what;
        int resultKind;
        int index;  // the hit's record index, or the protein's index
        int searchKind;
    } cases[] = {
        {"result-set kind 0", 0, 0, CDatabaseStatusDlg::kSearchBySequence},
        {"no such hit", 1, 1, CDatabaseStatusDlg::kSearchBySequencePosition},
        {"no hit at all", 1, -1, CDatabaseStatusDlg::kSearchBySequence},
        {"protein index equal to the number of proteins", 1, 1,
         CDatabaseStatusDlg::kSearchByReference},
        {"negative protein index", 1, -1, CDatabaseStatusDlg::kSearchByReference},
    };
    const int proteins = static_cast<int>(set().GetProteins().size());
    for (const Case& c : cases) {
        view.searching.clear();
        view.kind = c.resultKind;
        view.hit = HitNumber::OfRecordIndex(c.index);
        view.protein = c.index == 1 && c.searchKind == CDatabaseStatusDlg::kSearchByReference
                           ? proteins
                           : c.index;
        EXPECT_FALSE(dialog->StartSearch(c.searchKind)) << c.what;
        EXPECT_EQ(view.searching, (std::vector<bool>{true, false})) << c.what;
    }
    view.searching.clear();
    EXPECT_FALSE(dialog->StartSearch(4));
    EXPECT_TRUE(view.searching.empty());
    finish();
    EXPECT_TRUE(caught.empty());
}

// A look-up in a 200 MB FASTA file (the real 9,439-protein database repeated) shows its
// progress; Cancel closes the window and stops the scan at once, and the look-up still ends.
TEST_F(DatabaseStatusDlgTest, CancelStopsALongScan) {
    const QString real = zartest::RealDataPath("proteins.fasta");
    if (real.isEmpty()) GTEST_SKIP() << "real data not fetched";
    QFile source(real);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray proteins = source.readAll();
    QFile big(dir.filePath("big.fasta"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    while (big.size() < 200'000'000) ASSERT_EQ(big.write(proteins), proteins.size());
    big.close();
    ASSERT_TRUE(LoadOneHit(doc, dir.filePath("big"), "../big.fasta"));
    view.peptide = "WWWWWWWWWWWWWWWW";  // found nowhere: the scan would read it all

    ASSERT_TRUE(dialog->StartSearch(CDatabaseStatusDlg::kSearchBySequence));
    QElapsedTimer shown;
    shown.start();
    while (dialog->ProgressBar()->value() < 10 && dialog->IsBusy() && shown.elapsed() < zartest::kWorkWaitMs) {
        QCoreApplication::processEvents();
        QTest::qWait(1);
    }
    ASSERT_GE(dialog->ProgressBar()->value(), 10) << "progress is shown while the scan runs";
    ASSERT_TRUE(dialog->IsBusy());
    EXPECT_EQ(dialog->StatusText()->text(), "Performing fasta database search ...");
    const QString shots = qEnvironmentVariable("ZAR_SCREENSHOT_DIR");
    if (!shots.isEmpty()) dialog->grab().save(shots + "/database-status.png");

    QElapsedTimer cancel;
    cancel.start();
    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(dialog->IsCancelled());
    dialog->Wait();
    const qint64 stopped = cancel.elapsed();
    RecordProperty("cancel_ms", static_cast<int>(stopped));
    std::printf("the look-up stopped %lld ms after Cancel\n", static_cast<long long>(stopped));
    QCoreApplication::processEvents();
    const Caught* end = find(kMsgDatabaseSearchEnded);
    ASSERT_NE(end, nullptr) << "the look-up still ends, so the view deletes the dialog";
    EXPECT_EQ(std::any_cast<SequenceLookupResult>(end->payload).status, LookupStatus::Cancelled);
    EXPECT_LT(dialog->ProgressBar()->value(), 100);
}

TEST_F(DatabaseStatusDlgTest, DeletingTheDialogStopsItsLookUp) {
    QByteArray bytes;
    for (int i = 0; i < 200000; ++i) bytes += ">e\nAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA\n";
    dbtest::WriteFile(dir, "many.fasta", bytes);
    ASSERT_TRUE(LoadOneHit(doc, dir.filePath("many"), "../many.fasta"));
    view.peptide = "WWW";
    ASSERT_TRUE(dialog->StartSearch(CDatabaseStatusDlg::kSearchBySequence));
    dialog.reset();  // joins the worker; what it posted to the dialog goes with it
    QCoreApplication::processEvents();
    SUCCEED();
}
