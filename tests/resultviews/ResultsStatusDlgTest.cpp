#include "ResultViewsTestSupport.h"

#include "ResultsPropertySheet.h"
#include "ResultsStatusDlg.h"
#include "document/ZarMessages.h"
#include "grids/SimpleEditGrids.h"

#include "gui/GuiMessageBox.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

using namespace zar;

namespace {

// Records the messages posted to it.
struct Recorder : QObject {
    std::vector<unsigned> messages;
    bool event(QEvent* e) override {
        if (e->type() != MessageEvent::eventType()) return QObject::event(e);
        messages.push_back(static_cast<MessageEvent*>(e)->message());
        return true;
    }
    bool ended() const {
        return std::find(messages.begin(), messages.end(), kMsgResultsLoadEnded) != messages.end();
    }
};

std::vector<unsigned> Completion(const std::vector<unsigned>& all) {
    std::vector<unsigned> out;
    for (unsigned m : all)
        if (m == kMsgSorvexResultsLoaded || m == kMsgResultsLoadEnded) out.push_back(m);
    return out;
}

TEST(ResultsStatusDlgTest, SuccessPostsLoadedThenEnded) {
    zartest::ScopedConfigDir config;
    CSorvexResults set;
    Recorder owner;
    auto dialog = std::make_unique<CResultsStatusDlg>(&set, &owner);
    dialog->SetResultsFolder(zartest::DataPath("resultviews/seven"));
    EXPECT_EQ(dialog->windowTitle(), "TurboSORVEX Results Status");
    dialog->Create();
    EXPECT_TRUE(CResultsStatusDlg::IsLoading(&set));
    ASSERT_TRUE(rvtest::WaitFor([&] { return owner.ended(); }));
    EXPECT_EQ(Completion(owner.messages),
              (std::vector<unsigned>{kMsgSorvexResultsLoaded, kMsgResultsLoadEnded}));
    EXPECT_FALSE(CResultsStatusDlg::IsLoading(&set));
    EXPECT_EQ(set.GetHitCount(), 7);
    // The Dta-list messages went to the owner too.
    EXPECT_NE(std::find(owner.messages.begin(), owner.messages.end(), kMsgDtaCount),
              owner.messages.end());
    rvtest::WaitFor([&] { return dialog->ProgressBar()->value() > 0; }, zartest::kWorkWaitMs);
    EXPECT_GT(dialog->ProgressBar()->value(), 0);
    EXPECT_FALSE(dialog->StatusText()->text().isEmpty());
}

TEST(ResultsStatusDlgTest, CancelLeadsOnlyToEnded) {
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    QTemporaryDir dir;
    // Enough files that the worker is still reading when Cancel comes.
    for (int i = 0; i < 400; ++i)
        QFile::copy(zartest::DataPath("resultviews/seven/run.0100.0100.1.out"),
                    dir.path() + QString::asprintf("/run.%05d.%05d.1.out", i + 1, i + 1));
    CSorvexResults set;
    Recorder owner;
    auto dialog = std::make_unique<CResultsStatusDlg>(&set, &owner);
    dialog->SetResultsFolder(dir.path());
    dialog->Create();
    dialog->CancelButton()->click();
    EXPECT_TRUE(dialog->IsCancelled());
    EXPECT_FALSE(dialog->isVisible());
    ASSERT_TRUE(rvtest::WaitFor([&] { return owner.ended(); }));
    EXPECT_EQ(Completion(owner.messages), (std::vector<unsigned>{kMsgResultsLoadEnded}));
}

TEST(ResultsStatusDlgTest, FailedLoadPostsOnlyEnded) {
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    QTemporaryDir empty;
    CSorvexResults set;
    Recorder owner;
    auto dialog = std::make_unique<CResultsStatusDlg>(&set, &owner);
    dialog->SetResultsFolder(empty.path());
    dialog->Create();
    ASSERT_TRUE(rvtest::WaitFor([&] { return owner.ended(); }));
    EXPECT_EQ(Completion(owner.messages), (std::vector<unsigned>{kMsgResultsLoadEnded}));
}

TEST(ResultsStatusDlgTest, DeletingTheDialogMidLoadCancelsAndJoins) {
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    QTemporaryDir dir;
    for (int i = 0; i < 200; ++i)
        QFile::copy(zartest::DataPath("resultviews/seven/run.0100.0100.1.out"),
                    dir.path() + QString::asprintf("/run.%05d.%05d.1.out", i + 1, i + 1));
    CSorvexResults set;
    Recorder owner;
    auto dialog = std::make_unique<CResultsStatusDlg>(&set, &owner);
    dialog->SetResultsFolder(dir.path());
    dialog->Create();
    dialog.reset();  // joins the worker
    EXPECT_FALSE(CResultsStatusDlg::IsLoading(&set));
    QCoreApplication::processEvents();
    EXPECT_TRUE(owner.ended());
}

// A set whose load hangs where it first makes room for the folder's records, as a worker does
// in a read the system never answers, until the test lets it go.
struct StuckSet : CSorvexResults {
    std::mutex lock;
    std::condition_variable changed;
    bool stuck = false;
    bool released = false;
    void ResizeHitBlock(size_t records) override {
        if (records > 1) {
            std::unique_lock<std::mutex> hold(lock);
            stuck = true;
            changed.notify_all();
            changed.wait(hold, [this] { return released; });
        }
        CSorvexResults::ResizeHitBlock(records);
    }
    void Release() {
        std::lock_guard<std::mutex> hold(lock);
        released = true;
        changed.notify_all();
    }
};

TEST(ResultsStatusDlgTest, ClosingNeverWaitsForeverOnAStuckWorker) {
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    // The worker left behind still holds the set: it lives as long as the program.
    static StuckSet* set = new StuckSet;
    Recorder owner;
    auto dialog = std::make_unique<CResultsStatusDlg>(set, &owner);
    dialog->SetResultsFolder(zartest::DataPath("resultviews/seven"));
    dialog->Create();
    {
        std::unique_lock<std::mutex> hold(set->lock);
        ASSERT_TRUE(set->changed.wait_for(hold, std::chrono::milliseconds(zartest::kWorkWaitMs),
                                          [&] { return set->stuck; }));
    }
    dialog->CancelButton()->click();
    // Should closing wait for the worker, this lets it go after the longest wait for work.
    std::thread watchdog([&] {
        std::unique_lock<std::mutex> hold(set->lock);
        if (!set->changed.wait_for(hold, std::chrono::milliseconds(zartest::kWorkWaitMs),
                                   [&] { return set->released; }))
            set->released = true;
        set->changed.notify_all();
    });
    dialog.reset();  // as File > Exit deletes it with the main window
    bool stillStuck = false;
    {
        std::lock_guard<std::mutex> hold(set->lock);
        stillStuck = !set->released;
    }
    set->Release();
    watchdog.join();
    EXPECT_TRUE(stillStuck) << "closing waited until the worker was let go";
    EXPECT_FALSE(CResultsStatusDlg::IsLoading(set));
    // The worker, let go, reports to no one: its window and owner have gone.
    QCoreApplication::processEvents();
    EXPECT_FALSE(owner.ended());
}

TEST(ResultsStatusDlgTest, FrameAllowsOneLoadAtATimeAndDeletesTheDialog) {
    rvtest::Program p;
    ASSERT_TRUE(rvtest::CopyFolder(zartest::DataPath("resultviews/seven"), p.Folder()));
    ASSERT_TRUE(OpenSorvexResults(*p.frame, p.Folder()));
    EXPECT_TRUE(p.frame->IsLoadingResults());
    // A second load while the first runs is refused.
    EXPECT_FALSE(OpenSorvexResults(*p.frame, p.Folder()));
    ASSERT_TRUE(rvtest::WaitFor([&] { return !p.frame->IsLoadingResults(); }));
    EXPECT_EQ(p.frame->CurrentViewType(), 5);
    EXPECT_EQ(p.Summary()->RowMapLength(), 7);
}

}  // namespace

namespace {

TEST(ResultsStatusDlgTest, ViewsLeaveASetAloneWhileItLoads) {
    rvtest::Program p;
    ASSERT_TRUE(p.Load());
    ASSERT_EQ(p.Summary()->GetRowHit(1), HitNumber(1));
    {
        // A dialog that owns the set and has not finished: the set counts as loading.
        CResultsStatusDlg loading(&p.Set(), nullptr);
        EXPECT_TRUE(CResultsStatusDlg::IsLoading(&p.Set()));
        EXPECT_EQ(p.Summary()->GetRowHit(1), HitNumber());
        ConsensusRowEntry entry;
        EXPECT_FALSE(p.Consensus()->GetRowEntry(1, entry));
        p.doc->SummaryOptions().filterMode = 2;
        p.doc->SummaryOptions().thresholdKind = 9;  // would keep nothing
        p.Refill();
        EXPECT_EQ(p.Summary()->RowMapLength(), 7);
        p.Summary()->SortByColumn(7);
        EXPECT_EQ(p.Set().GetSortKey(), 0);
        // Nor does the options sheet list or write its hits.
        CResultsPropertySheet sheet(CResultsPropertySheet::kCaptionId, nullptr,
                                    CResultsPropertySheet::kSummaryMode);
        sheet.SetFilterMode(4);
        EXPECT_TRUE(sheet.FilterPage()->Grid()->GetValueRowCol(1, 2).isEmpty());
    }
    EXPECT_FALSE(CResultsStatusDlg::IsLoading(&p.Set()));
    EXPECT_EQ(p.Summary()->GetRowHit(1), HitNumber(1));
}

}  // namespace

namespace {

TEST(ResultsStatusDlgTest, WithoutAFolderTheSetReadsItsOwn) {
    zartest::ScopedConfigDir config;
    CSorvexResults set;
    set.SetDirectory(zartest::DataPath("resultviews/seven"));
    Recorder owner;
    auto dialog = std::make_unique<CResultsStatusDlg>(&set, &owner);
    EXPECT_TRUE(dialog->GetResultsFolder().isEmpty());
    dialog->Create();
    ASSERT_TRUE(rvtest::WaitFor([&] { return owner.ended(); }));
    EXPECT_EQ(Completion(owner.messages),
              (std::vector<unsigned>{kMsgSorvexResultsLoaded, kMsgResultsLoadEnded}));
    EXPECT_EQ(set.GetHitCount(), 7);
}

}  // namespace

namespace {

// The program's own message boxes, answered by a user who reads each one and presses OK.
class ShownBoxes {
  public:
    ShownBoxes() : previous_(SetMessageBoxHandler({})) {
        InstallGuiMessageBox();
        QObject::connect(&reader_, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible()) continue;
                // Read while the load ends: the status dialog goes meanwhile.
                if (++looks_ < 4) continue;
                looks_ = 0;
                texts.append(box->text());
                box->accept();
            }
        });
        reader_.start(50);
    }
    ~ShownBoxes() { SetMessageBoxHandler(previous_); }
    QStringList texts;

  private:
    MessageBoxHandler previous_;
    QTimer reader_;
    int looks_ = 0;
};

// Folders that give no results; each load ends with a message and leaves the program working.
TEST(ResultsStatusDlgTest, BadFoldersEndTheLoadWithAMessage) {
    struct Case {
        const char* name;
        std::function<void(const QString& folder)> make;  // runs before the load
        bool removeDuringLoad;
        const char* message;  // the start of the expected message; empty: any message
    } cases[] = {
        {"empty", [](const QString& f) { QDir().mkpath(f); }, false,
         "No '.out' files were found in the results directory"},
        {"one garbage .out",
         [](const QString& f) {
             QDir().mkpath(f);
             QFile file(f + "/run.0100.0100.1.out");
             file.open(QIODevice::WriteOnly);
             file.write("\x01\x02 not a result\n\xff\xfe");
         },
         false, ""},
        {"gone during the load",
         [](const QString& f) {
             QDir().mkpath(f);
             for (int copy = 0; copy < 30; ++copy)
                 for (const QString& name :
                      QDir(zartest::DataPath("resultviews/seven")).entryList({"*.out"})) {
                     QFile::copy(zartest::DataPath("resultviews/seven/" + name),
                                 f + QStringLiteral("/c%1.%2").arg(copy).arg(name));
                 }
         },
         true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        rvtest::Program p;
        ASSERT_TRUE(p.Load());  // results on the screen before
        ShownBoxes boxes;
        p.frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(p.frame.get()));
        const QString bad = p.dir.path() + QStringLiteral("/bad");
        c.make(bad);
        ASSERT_TRUE(OpenSorvexResults(*p.frame, bad));
        // The status dialog is the active window when the worker's message arrives.
        QApplication::setActiveWindow(qobject_cast<QWidget*>(
            p.frame->findChild<CResultsStatusDlg*>()));
        if (c.removeDuringLoad) QDir(bad).removeRecursively();
        ASSERT_TRUE(rvtest::WaitFor([&] { return !p.frame->IsLoadingResults(); }));
        ASSERT_TRUE(rvtest::WaitFor([&] { return !boxes.texts.isEmpty(); }, zartest::kWorkWaitMs));
        if (c.message[0]) {
            EXPECT_EQ(boxes.texts.value(0), QString::fromLatin1(c.message));
        }
        EXPECT_EQ(p.frame->findChild<CResultsStatusDlg*>(), nullptr);
        EXPECT_FALSE(p.frame->IsLoadingResults()) << "results can be opened again";
        // The table lists what the set now holds (the files read before a failing one stay
        // loaded), never rows of the results the load replaced.
        EXPECT_EQ(p.Summary()->RowMapLength(), p.Set().GetHitCount());
        for (int row = 1; row <= p.Summary()->RowMapLength(); ++row)
            EXPECT_NE(p.Set().FindHit(p.Summary()->GetRowHit(row)), nullptr) << row;
        if (p.Set().GetHitCount() == 0) {
            EXPECT_TRUE(p.Summary()->Grid()->GetValueRowCol(1, 4).isEmpty());
            EXPECT_TRUE(p.Summary()->Grid()->GetValueRowCol(1, 0).isEmpty()) << "no hit number";
            EXPECT_EQ(p.Consensus()->RowEntryCount(), 0);
        }
    }
}

}  // namespace
