#include "ResultViewsTestSupport.h"

#include "ResultsFormView.h"
#include "ResultsWindow.h"
#include "ShowOutView.h"
#include "document/ZarMessages.h"
#include "FrameCommands.h"
#include "ZarApp.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QPrinter>
#include <QTemporaryDir>
#include <QScreen>

using namespace zar;

namespace {

// A form view that records what reaches it.
struct FakeView : CResultsFormView {
    FakeView(CResultsWindow* owner, QStringList* log, QString name)
        : CResultsFormView(owner, nullptr), log_(log), name_(std::move(name)) {}
    void Display(const SelectedResult& r) override { note(QString("Display %1").arg(r.viewType)); }
    void SetSequenceRecord(WPARAM) override { note("SetSequenceRecord"); }
    void ShowPeptide(WPARAM) override { note("ShowPeptide"); }
    void ShowCoverage(WPARAM) override { note("ShowCoverage"); }
    void SetRowCount(WPARAM w, LPARAM) override { note(QString("SetRowCount %1").arg(w)); }
    void SetIonsValue(double v) override { note(QString("SetIonsValue %1").arg(v)); }
    void SetMassList(WPARAM, LPARAM l) override { note(QString("SetMassList %1").arg(l)); }
    void DeleteSearch() override { note("DeleteSearch"); }
    void UpdateData() override { note("UpdateData"); }
    void ReadingFrameChanged(const SelectedResult& r) override {
        note(QString("Frame %1").arg(r.readingFrame));
    }
    void note(const QString& what) { *log_ << name_ + ": " + what; }
    QStringList* log_;
    QString name_;
};

struct RoutingFixture : ::testing::Test {
    QStringList log;
    std::unique_ptr<CResultsWindow> window;
    void SetUp() override {
        const std::pair<int, const char*> types[] = {
            {1, "blast"},  {2, "retrieve"}, {5, "ions"},  {6, "coverage"},
            {7, "search"}, {8, "select"},   {9, "xpress"}};
        for (const auto& [type, name] : types) {
            const QString n = QString::fromLatin1(name);
            RegisterResultsFormView(
                type, [this, n](CResultsWindow* owner) { return new FakeView(owner, &log, n); });
        }
        window = std::make_unique<CResultsWindow>();
        for (int type : {1, 2, 5, 6, 7, 8, 9}) RegisterResultsFormView(type, {});
    }
    void Show(int type, int display = 1) {
        SelectedResult r;
        r.kind = 1;
        r.viewType = type;
        r.display = display;
        window->DisplayResult(r);
    }
    QStringList Deliver(unsigned msg, WPARAM w = 0, LPARAM l = 0) {
        log.clear();
        SendMessage(window.get(), msg, w, l);
        return log;
    }
};

TEST_F(RoutingFixture, WorkerMessagesReachOnlyTheShownView) {
    Show(2);
    EXPECT_EQ(Deliver(kMsgSequenceRecord), QStringList{"retrieve: SetSequenceRecord"});
    EXPECT_EQ(Deliver(kMsgSequencePeptide), QStringList{"retrieve: ShowPeptide"});
    EXPECT_EQ(Deliver(kMsgSequenceCoverage), QStringList{});
    EXPECT_EQ(Deliver(kMsgRowCount, 12, 0), QStringList{"retrieve: SetRowCount 12"});
    EXPECT_EQ(Deliver(kMsgRowCount, 12, 1), QStringList{});

    Show(6);
    EXPECT_EQ(Deliver(kMsgSequenceRecord), QStringList{"coverage: SetSequenceRecord"});
    EXPECT_EQ(Deliver(kMsgSequencePeptide), QStringList{});  // dropped while coverage is shown
    EXPECT_EQ(Deliver(kMsgSequenceCoverage), QStringList{"coverage: ShowCoverage"});
    EXPECT_EQ(Deliver(kMsgRowCount, 3, 1), QStringList{"coverage: SetRowCount 3"});

    Show(5);
    EXPECT_EQ(Deliver(kMsgRowCount, 2, 0), QStringList{"ions: SetRowCount 2"});
    EXPECT_EQ(Deliver(kMsgIonsValue, 7), QStringList{"ions: SetIonsValue 7"});
    EXPECT_EQ(Deliver(kMsgIonsMassList, 0, 4), QStringList{"ions: SetMassList 4"});
    EXPECT_EQ(Deliver(kMsgSequenceRecord), QStringList{});

    // The end of a search goes to the view that started it, shown or not.
    const WPARAM blast = reinterpret_cast<WPARAM>(window->View(CResultsWindow::kSlotBlast));
    const WPARAM coverage = reinterpret_cast<WPARAM>(window->View(CResultsWindow::kSlotCoverage));
    EXPECT_EQ(Deliver(kMsgDatabaseSearchEnded, blast), QStringList{"blast: DeleteSearch"});
    EXPECT_EQ(Deliver(kMsgDatabaseSearchEnded, coverage), QStringList{"coverage: DeleteSearch"});
    EXPECT_EQ(Deliver(kMsgDatabaseSearchEnded, 12345), QStringList{});
    EXPECT_EQ(Deliver(kMsgCoverageUpdate, coverage), QStringList{"coverage: UpdateData"});
    EXPECT_EQ(Deliver(kMsgCoverageUpdate, blast), QStringList{});

    Deliver(kMsgOutputFileEnable, 1);
    EXPECT_TRUE(window->OutputFileCombo()->isEnabled());
    Deliver(kMsgOutputFileEnable, 0);
    EXPECT_FALSE(window->OutputFileCombo()->isEnabled());
}

TEST_F(RoutingFixture, DescriptorsAndCommandsPickTheView) {
    Show(1);
    EXPECT_EQ(window->ShownType(), 1);
    EXPECT_EQ(log.last(), "blast: Display 1");
    // Display 0 with type 5 shows nothing new; with type 8 brings select ions forward only.
    log.clear();
    Show(5, 0);
    EXPECT_EQ(window->ShownType(), 1);
    Show(8, 0);
    EXPECT_EQ(window->ShownType(), 8);
    EXPECT_TRUE(log.isEmpty());
    // A view command re-runs the look-up for a descriptor with display 1.
    Show(7);
    log.clear();
    window->OnViewCommand(9316);
    EXPECT_EQ(window->ShownType(), 1);
    EXPECT_EQ(log, QStringList{"blast: Display 1"});
    EXPECT_TRUE(window->Action(9316)->isChecked());
    EXPECT_FALSE(window->Action(9322)->isChecked());
    // Another reading frame while search parameters are shown is only stored.
    Show(7);
    log.clear();
    window->OnReadingFrameChanged(2);
    EXPECT_EQ(window->ReadingFrame(), 3);
    EXPECT_TRUE(log.isEmpty());
    Show(6);
    log.clear();
    window->OnReadingFrameChanged(1);
    EXPECT_EQ(log, QStringList{"coverage: Frame 2"});
}

TEST(ResultsWindowTest, ReadingFrameNamesAreThePiecesBeforeEachSemicolon) {
    EXPECT_EQ(CResultsWindow::ReadingFrameNames("a;b;"), (QStringList{"a", "b"}));
    EXPECT_EQ(CResultsWindow::ReadingFrameNames("a;b"), (QStringList{"a"}));
    EXPECT_EQ(CResultsWindow::ReadingFrameNames(""), QStringList{});
    zartest::ScopedConfigDir config;
    CResultsWindow window;
    EXPECT_EQ(window.ReadingFrameCombo()->count(), 6);
    EXPECT_EQ(window.ReadingFrameCombo()->itemText(3), "1 reverse");
}

// Shows a hit of the loaded Sorvex results on a page of the results window.
CResultsWindow* ShowHitOnPage(rvtest::Program& p, int viewType, int hit) {
    SelectedResult r;
    r.kind = 1;
    r.viewType = viewType;
    r.hit = HitNumber(hit);
    return p.doc->ShowResultsWindow(r) ? GetResultsWindow() : nullptr;
}

TEST(ResultsWindowTest, CloseHidesAndTheNextRequestShowsItAgain) {
    rvtest::Program p;
    ASSERT_TRUE(p.Load());
    SelectedResult r;
    r.kind = 1;
    r.viewType = 3;
    r.hit = HitNumber(2);
    CResultsWindow* window = ShowHitOnPage(p, 3, 2);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    window->close();
    EXPECT_FALSE(window->isVisible());
    r.hit = HitNumber(3);
    ASSERT_TRUE(p.doc->ShowResultsWindow(r));
    EXPECT_EQ(GetResultsWindow(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->ShowOut()->GetShownHit(), HitNumber(3));
}

TEST(ResultsWindowTest, ShowOutGridKeepsItsLargestRowCount) {
    rvtest::Program p;
    // One file with 120 hit lines, one with 3.
    ASSERT_TRUE(rvtest::CopyFolder(zartest::DataPath("resultviews/seven"), p.Folder()));
    QFile in(p.Folder() + "/run.0100.0100.1.out");
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(in.readAll());
    in.close();
    const QString line =
        "  4.   4 /  9  1046.0000  0.5000  1.0000  100.0   5/18  sp|P00009|MANY_TEST       "
        "K.MMMMK.R\n";
    QString many;
    for (int i = 0; i < 600; ++i) many += line;
    text.replace("K.AAAAWWWWR.-\n", "K.AAAAWWWWR.-\n" + many);
    QFile out(p.Folder() + "/run.0100.0100.1.out");
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(text.toUtf8());
    out.close();
    ASSERT_TRUE(p.Load());
    CResultsWindow window;
    CShowOutView& view = *window.ShowOut();
    view.OnInitialUpdate();
    view.FillFromOutFile(1, HitNumber(1), 0);
    EXPECT_EQ(view.RowCount(), CSearchResults::kMaxDisplayRecords);
    EXPECT_EQ(view.Grid()->GetValueRowCol(500, 9), "5/18");
    view.FillFromOutFile(1, HitNumber(2), 0);
    EXPECT_EQ(view.RowCount(), 500);
    EXPECT_EQ(view.Grid()->GetValueRowCol(2, 2), "K.SSSSR.A");
    EXPECT_TRUE(view.Grid()->GetValueRowCol(3, 2).isEmpty());
    // A kind the window does not know does nothing at all.
    view.FillFromOutFile(7, HitNumber(1), 0);
    EXPECT_EQ(view.GetResultKind(), 1);
}

TEST(ResultsWindowTest, ShowOutPrintsItsTableToAPdf) {
    rvtest::Program p;
    ASSERT_TRUE(p.Load());
    CResultsWindow* window = ShowHitOnPage(p, 3, 2);
    ASSERT_NE(window, nullptr);
    QAction* print = window->Action(ID_FILE_PRINT);
    ASSERT_NE(print, nullptr);
    EXPECT_TRUE(print->isEnabled()) << "File > Print is always offered for ShowOut";
    QTemporaryDir dir;
    ProgramPrinter().setOutputFormat(QPrinter::PdfFormat);
    ProgramPrinter().setOutputFileName(dir.path() + QStringLiteral("/"));
    {
        zartest::ModalDialogAnswer accept("QPrintDialog");
        print->trigger();
        EXPECT_TRUE(accept.seen());
    }
    const QStringList pdfs = QDir(dir.path()).entryList({QStringLiteral("*.pdf")});
    ASSERT_EQ(pdfs.size(), 1) << pdfs.join(',').toStdString();
    EXPECT_GE(zartest::PdfPageCount(dir.filePath(pdfs[0])), 1);
    window->close();
}

}  // namespace

namespace {

// A page that names what it shows, as the display-ions page does.
struct TitledView : CResultsFormView {
    using CResultsFormView::CResultsFormView;
    void Display(const SelectedResult& r) override {
        SetTitle(QStringLiteral("DisplayIons - ") + r.peptide);
    }
};

TEST(ResultsWindowTest, TheTitleNamesTheShownView) {
    RegisterResultsFormView(5, [](CResultsWindow* owner) { return new TitledView(owner, nullptr); });
    rvtest::Program p;
    ASSERT_TRUE(p.Load());
    SelectedResult r;
    r.kind = 1;
    r.viewType = 5;
    r.hit = HitNumber(2);
    r.peptide = QStringLiteral("PEPTIDEK");
    ASSERT_TRUE(p.doc->ShowResultsWindow(r));
    CResultsWindow* window = GetResultsWindow();
    ASSERT_NE(window, nullptr);
    RegisterResultsFormView(5, {});
    EXPECT_EQ(window->windowTitle(), QStringLiteral("DisplayIons - PEPTIDEK"));
    const struct {
        int command;
        const char* title;
    } steps[] = {
        {9318, "ShowOut - run.0101.0101.2.out"},
        {9322, "TurboSORVEX Results - Search Parameters"},  // a page without a title of its own
        {9320, "DisplayIons - PEPTIDEK"},
        {9318, "ShowOut - run.0101.0101.2.out"},
    };
    for (const auto& s : steps) {
        window->OnViewCommand(s.command);
        EXPECT_EQ(window->windowTitle(), QString::fromLatin1(s.title)) << s.command;
    }
}

TEST(ResultsWindowTest, OnlyPagesThatExistAreOffered) {
    for (int type : {1, 2, 5, 6, 7, 8, 9}) RegisterResultsFormView(type, {});
    RegisterResultsFormView(5, [](CResultsWindow* owner) { return new TitledView(owner, nullptr); });
    CResultsWindow window;
    RegisterResultsFormView(5, {});
    SelectedResult r;
    r.kind = 1;
    r.viewType = 3;
    window.DisplayResult(r);
    const struct {
        int command;
        bool enabled;
    } commands[] = {{9318, true},  {9320, true},  {9316, false}, {9317, false},
                    {9321, false}, {9322, false}, {9323, false}, {9319, false}};
    for (const auto& c : commands) EXPECT_EQ(window.Action(c.command)->isEnabled(), c.enabled) << c.command;
}

TEST(ResultsWindowTest, OpensInsideTheScreen) {
    rvtest::Program p;
    ASSERT_TRUE(p.Load());
    p.frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(p.frame.get()));
    const QRect area = p.frame->screen()->availableGeometry();
    // The main window mostly beyond the right and bottom edges of the screen.
    p.frame->move(area.right() - 150, area.bottom() - 100);
    SelectedResult r;
    r.kind = 1;
    r.viewType = 3;
    ASSERT_TRUE(p.doc->ShowResultsWindow(r));
    CResultsWindow* window = GetResultsWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_TRUE(area.contains(window->frameGeometry()))
        << window->frameGeometry().x() << "," << window->frameGeometry().y() << " "
        << window->frameGeometry().width() << "x" << window->frameGeometry().height();
    // Shown again after it was moved off the screen: back inside.
    window->close();
    window->move(area.left() - 500, area.top() - 300);
    ASSERT_TRUE(p.doc->ShowResultsWindow(r));
    EXPECT_TRUE(area.contains(window->frameGeometry()));
}

}  // namespace
