#include "BitmapFile.h"
#include "BitmapView.h"
#include "FrameCommands.h"
#include "MainFrame.h"
#include "RegisteredMessages.h"
#include "SplitterViews.h"
#include "ViewFactory.h"
#include "ZarApp.h"
#include "ZarCommandLine.h"
#include "ZarDoc.h"

#include "TestSupport.h"
#include "document/MultiConsensusResults.h"
#include "document/UpdateHints.h"
#include "document/ZarMessages.h"
#include "rawfile/RunFileWriter.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace zar;

namespace {

QStringList args(const char* line) {
    return line[0] ? QString::fromLatin1(line).split(QLatin1Char(' ')) : QStringList();
}

// A view that records the hints it hears.
class HintView : public CZarViewWidget {
public:
    explicit HintView(const char* name) : name_(name) {}
    const char* ViewClassName() const override { return name_; }
    void OnUpdate(CZarView*, int hint) override { hints.push_back(hint); }
    std::vector<int> hints;

private:
    const char* name_;
};

// Records what the main frame hands the Info Bar.
struct FakeInfoBar : CInfoBarTarget {
    std::vector<std::pair<int, double>> zarmassInfo;
    std::vector<std::pair<int, QString>> dtaList;
    int pages = 0;
    void ShowPage(int) override { ++pages; }
    void SetDtaCount(int) override {}
    void ClearDtaListPage() override {}
    void SetDtaList(int row, const QString& name) override { dtaList.emplace_back(row, name); }
    void SetDtaInfo(int, double) override {}
    void SetZarmassInfo(int first, double value) override { zarmassInfo.emplace_back(first, value); }
    void SetZarmassResults(int, int) override {}
    void ClearZarmassPage() override {}
    void Reset() override {}
    void UpdateMSnListPage() override {}
    void UpdateMSnTimeRange(double, double) override {}
    void ParseScanList() override {}
};

QString writeSmallRun(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("small.mzML"));
    QString error;
    WriteRunFile(path, 4, [](int i) {
        RunSpectrum s;
        s.scanNumber = i + 1;
        s.retentionTime = 1.0 + i;
        s.mz = {400.0, 500.0};
        s.intensity = {10.0, 20.0};
        return s;
    }, error);
    return path;
}

}  // namespace

// ---- command line ----

TEST(CommandLine, SwitchesAsTheProgramReadsThem) {
    struct Case {
        const char* line;
        int p, q, verbose, unregister;
        const char* r;
        const char* b;
        int br;
    } cases[] = {
        {"", 0, 0, 0, 0, "", "", -1},
        {"/q", 0, 1, 0, 0, "", "", -1},
        {"/p", 1, 0, 0, 0, "", "", -1},
        {"/pf", 1, 0, 0, 0, "", "", -1},
        {"/unregserver /q", 0, 0, 0, 1, "", "", -1},
        {"/r /data/run1 /q", 0, 1, 0, 0, "/data/run1", "", -1},
        {"/r/data/run2", 0, 0, 0, 0, "/data/run2", "", -1},
        {"/unregister /V", 0, 0, 1, 1, "", "", -1},
        {"/VERBOSE", 0, 0, 1, 0, "", "", -1},
        {"/b name", 0, 0, 0, 0, "", "name", -1},
        {"/br5", 0, 0, 0, 0, "", "", 5},
        {"/br 7", 0, 0, 0, 0, "", "", 7},
        {"/r /q", 0, 1, 0, 0, "/q", "", -1},
    };
    for (const Case& c : cases) {
        CZarCommandLineInfo info;
        info.arguments = args(c.line);
        info.Parse();
        EXPECT_EQ(info.pFlag, c.p) << c.line;
        EXPECT_EQ(info.qFlag, c.q) << c.line;
        EXPECT_EQ(info.verboseFlag, c.verbose) << c.line;
        EXPECT_EQ(info.unregisterFlag, c.unregister) << c.line;
        EXPECT_EQ(info.rValue, QString::fromLatin1(c.r)) << c.line;
        EXPECT_EQ(info.bValue, QString::fromLatin1(c.b)) << c.line;
        EXPECT_EQ(info.brValue, c.br) << c.line;
        EXPECT_EQ(info.valid, 1);
        EXPECT_EQ(info.action, 0);
    }
    CZarCommandLineInfo pf;
    pf.arguments = args("/pf");
    pf.Parse();
    EXPECT_EQ(pf.pfFlag, 1);
}

TEST(ZarApp, QuietSwitchesEndBeforeTheWindowShows) {
    for (const char* line : {"/q", "/p", "/pf", "/r /tmp/x /q"}) {
        CZarApp app;
        EXPECT_FALSE(app.InitInstance(args(line))) << line;
        EXPECT_EQ(app.GetMainFrame(), nullptr) << line;
    }
    CZarApp app;
    ASSERT_TRUE(app.InitInstance({}));
    ASSERT_NE(app.GetMainFrame(), nullptr);
    EXPECT_TRUE(app.GetMainFrame()->isVisible());
    EXPECT_EQ(app.GetDocument()->GetViewType(), 0);
    EXPECT_STREQ(app.GetMainFrame()->CurrentView()->ViewClassName(), "CBitmapView");
}

TEST(ZarApp, UnregisterEndsWithoutAWindow) {
    zartest::MessageBoxCapture boxes;
    CZarApp app;
    EXPECT_FALSE(app.InitInstance(args("/unregserver /q")));
    EXPECT_EQ(app.GetMainFrame(), nullptr);
}

TEST(ZarApp, MarginsStartAsTheProgramKeepsThem) {
    CZarApp app;
    EXPECT_EQ(app.Margins()[0], 500);
    EXPECT_EQ(app.Margins()[1], 750);
    EXPECT_EQ(app.Margins()[2], 250);
    EXPECT_EQ(app.Margins()[3], 500);
}

TEST(ZarApp, ContextHelpSaysWhenThereIsNoPage) {
    zartest::MessageBoxCapture boxes;
    EXPECT_FALSE(ShowContextHelp(nullptr, 424242));
    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts()[0].contains(QStringLiteral("424242")));
}

TEST(RegisteredMessages, FiveNamesInOrder) {
    const RegisteredMessages& m = ProgramMessages();
    EXPECT_EQ(RegisteredMessageName(m.databaseSize), QStringLiteral("WM_DATABASE_SIZE"));
    EXPECT_EQ(RegisteredMessageName(m.sorvexProgress), QStringLiteral("ZV_SORVEX_PROGRESS"));
    EXPECT_LT(m.databaseSize, m.dravelMSProgress);
    EXPECT_LT(m.massmapProgress, m.sorvexProgress);
}

// ---- view switching ----

class FrameTest : public ::testing::Test {
protected:
    // Every view class of every layout.
    static constexpr const char* kViewClasses[] = {
        "CTraceView",        "CSummaryView",       "CConsensusView", "CSpecView",      "CMultiConsensusView",
        "CZarmassSpecView",  "CZarmassDeconvView", "CDenovoView",    "CDenovoScatterView", "CDenovoSpecView",
        "CPepmatchView",     "CPepmatchSpecView",  "CPepmapView",    "CMassmapView"};
    void SetUp() override {
        for (const char* cls : kViewClasses) {
            RegisterViewClass(QString::fromLatin1(cls), [this, cls](QWidget*) {
                auto* v = new HintView(cls);
                made.push_back(v);
                return v;
            });
        }
        doc = std::make_unique<CZarDoc>();
        frame = std::make_unique<CMainFrame>(doc.get());
        frame->resize(800, 601);
        frame->show();
        doc->OnNewDocument();
    }
    void TearDown() override {
        frame.reset();
        doc.reset();
        for (const char* cls : kViewClasses) RegisterViewClass(QString::fromLatin1(cls), nullptr);
    }
    // Hints heard by the views that still exist.
    std::vector<int> hintsOfLiveViews() {
        std::vector<int> all;
        for (CZarViewWidget* w : frame->findChildren<CZarViewWidget*>())
            if (auto* v = dynamic_cast<HintView*>(w)) all.insert(all.end(), v->hints.begin(), v->hints.end());
        return all;
    }
    std::unique_ptr<CZarDoc> doc;
    std::unique_ptr<CMainFrame> frame;
    std::vector<HintView*> made;
};

TEST_F(FrameTest, ViewTypesAndTheirHints) {
    struct Case {
        int type;
        bool ok;
        int hint;
        const char* viewClass;
    } cases[] = {{1, true, 51, "CPlotSplitterView"},     {5, true, 52, "CSummarySplitterView"},
                 {6, true, 53, "CZarmassSplitterView"},  {7, true, 55, "CDenovoSplitterView"},
                 {8, true, 56, "CPepmatchSplitterView"}, {9, true, 57, "CPepmapSplitterView"},
                 {10, true, 58, "CMassmapSplitterView"}, {11, true, 59, "CMultiConsensusView"},
                 {0, true, 50, "CBitmapView"},           {2, false, -1, nullptr},
                 {3, false, -1, nullptr},                {4, false, -1, nullptr},
                 {12, false, -1, nullptr},               {-1, false, -1, nullptr}};
    for (const Case& c : cases) {
        const int before = doc->GetViewType();
        EXPECT_EQ(frame->OnChooseView(c.type, false), c.ok) << c.type;
        QCoreApplication::processEvents();
        if (!c.ok) {
            EXPECT_EQ(doc->GetViewType(), before) << c.type;
            continue;
        }
        EXPECT_EQ(doc->GetViewType(), c.type);
        EXPECT_STREQ(frame->CurrentView()->ViewClassName(), c.viewClass);
        EXPECT_EQ(CMainFrame::HintForViewType(c.type), c.hint);
        const std::vector<int> hints = hintsOfLiveViews();
        if (!hints.empty()) {
            EXPECT_EQ(hints.back(), c.hint) << c.type;
        }
    }
}

TEST_F(FrameTest, SameTypeWithoutForceChangesNothing) {
    ASSERT_TRUE(frame->OnChooseView(5, false));
    CZarViewWidget* shown = frame->CurrentView();
    const std::vector<int> before = hintsOfLiveViews();
    EXPECT_TRUE(frame->OnChooseView(5, false));
    EXPECT_EQ(frame->CurrentView(), shown);
    EXPECT_EQ(hintsOfLiveViews(), before);
    EXPECT_TRUE(frame->OnChooseView(5, true));
    EXPECT_NE(frame->CurrentView(), shown) << "force rebuilds the layout";
}

TEST_F(FrameTest, FailedReplacementKeepsTheTypeAndTheView) {
    zartest::MessageBoxCapture boxes;
    RegisterViewClass(QStringLiteral("CMultiConsensusView"), nullptr);
    ASSERT_TRUE(frame->OnChooseView(5, false));
    CZarViewWidget* shown = frame->CurrentView();
    EXPECT_FALSE(frame->OnChooseView(11, false));
    EXPECT_EQ(doc->GetViewType(), 5);
    EXPECT_EQ(frame->CurrentView(), shown);
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("problem creating a view in CMainFrame::OnChooseView()")});
}

TEST_F(FrameTest, AViewCommandNeedsEveryViewOfItsLayout) {
    zartest::MessageBoxCapture boxes;
    QTemporaryDir dir;
    ASSERT_TRUE(doc->OnOpenDocument(writeSmallRun(dir)));
    const struct {
        int command;
        int type;
        const char* missing;  // a view class of the layout that no subsystem provides
    } cases[] = {{ID_VIEW_MULTI_CONSENSUS, 11, "CMultiConsensusView"},
                 {ID_VIEW_DENOVO, 7, "CDenovoSpecView"},  // a pane of the nested layout
                 {ID_VIEW_ZARMASS, 6, "CZarmassDeconvView"},
                 {ID_VIEW_SORVEX_SUMMARY, 5, "CConsensusView"},
                 {ID_VIEW_MASSMAP, 10, "CMassmapView"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.missing);
        frame->UpdateCommandUI();
        EXPECT_TRUE(frame->Action(c.command)->isEnabled());
        RegisterViewClass(QString::fromLatin1(c.missing), nullptr);
        frame->UpdateCommandUI();
        EXPECT_FALSE(frame->Action(c.command)->isEnabled());
        EXPECT_FALSE(CMainFrame::CanShowViewType(c.type));
        // The command does nothing; a switch asked for otherwise is refused, not shown by halves.
        CZarViewWidget* shown = frame->CurrentView();
        frame->RunCommand(c.command);
        EXPECT_EQ(frame->CurrentView(), shown);
        EXPECT_TRUE(boxes.texts().isEmpty());
        EXPECT_FALSE(frame->OnChooseView(c.type, false));
        EXPECT_EQ(frame->CurrentView(), shown);
        EXPECT_EQ(doc->GetViewType(), 1);
        EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("problem creating a view in CMainFrame::OnChooseView()")});
        boxes.clear();
        RegisterViewClass(QString::fromLatin1(c.missing), [this](QWidget*) {
            auto* v = new HintView("CStandIn");
            made.push_back(v);
            return v;
        });
    }
    EXPECT_TRUE(CMainFrame::CanShowViewType(0));
    EXPECT_FALSE(CMainFrame::CanShowViewType(3));
}

TEST_F(FrameTest, TraceViewIsActiveInLayouts) {
    ASSERT_TRUE(frame->OnChooseView(5, false));
    ASSERT_NE(frame->ActiveView(), nullptr);
    EXPECT_STREQ(frame->ActiveView()->ViewClassName(), "CTraceView");
    ASSERT_TRUE(frame->OnChooseView(11, false));
    EXPECT_STREQ(frame->ActiveView()->ViewClassName(), "CMultiConsensusView") << "no trace view: the new view stays active";
}

TEST_F(FrameTest, SummaryRowsKeepTheirShares) {
    CSplitterLayoutView layout(*LayoutForViewType(5));
    layout.resize(800, 601);
    layout.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&layout));
    QCoreApplication::processEvents();
    const QList<int> sizes = layout.Splitter()->sizes();
    ASSERT_EQ(sizes.size(), 3);
    // The bars between the rows take a few pixels of the height.
    const int bars = 2 * layout.Splitter()->handleWidth();
    EXPECT_NEAR(sizes[0], 150, bars);
    EXPECT_NEAR(sizes[1], 270, bars);
    EXPECT_NEAR(sizes[2], 180, bars);
    // Dragging a bar lasts only until the next resize.
    layout.Splitter()->setSizes({300, 150, 150});
    layout.resize(800, 400);
    QCoreApplication::processEvents();
    EXPECT_NEAR(layout.Splitter()->sizes()[0], 100, bars);
}

TEST(SplitterRows, HeightsAreTruncatedShares) {
    EXPECT_EQ(SplitterRowHeights(601, {25, 45, 30}), (std::vector<int>{150, 270, 180}));
    EXPECT_EQ(SplitterRowHeights(0, {25, 45, 30}), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(SplitterRowHeights(99, {40, 60}), (std::vector<int>{39, 59}));
    for (int cy : {1, 7, 333, 1000, 1001}) {
        const std::vector<int> rows = SplitterRowHeights(cy, {25, 45, 30});
        EXPECT_LE(rows[0] + rows[1] + rows[2], cy);
        EXPECT_GE(rows[0] + rows[1] + rows[2], cy - 2);
    }
}

TEST(SplitterRows, LayoutsByViewType) {
    EXPECT_STREQ(LayoutForViewType(5)->className, "CSummarySplitterView");
    EXPECT_EQ(LayoutForViewType(5)->panes.size(), 3u);
    EXPECT_EQ(LayoutForViewType(11), nullptr);
    EXPECT_EQ(LayoutForViewType(3), nullptr);
    EXPECT_EQ(LayoutByClassName(QStringLiteral("CVerticalSplitterView"))->orientation, Qt::Horizontal);
}

// ---- messages ----

TEST_F(FrameTest, ResultsLoadedSwitchesOrOnlyHints) {
    ASSERT_TRUE(frame->OnChooseView(1, false));
    PostMessage(frame.get(), kMsgSorvexResultsLoaded);
    QCoreApplication::processEvents();
    EXPECT_EQ(doc->GetViewType(), 5) << "another layout: switch to the summary";
    CZarViewWidget* shown = frame->CurrentView();
    for (CZarViewWidget* w : frame->findChildren<CZarViewWidget*>())
        if (auto* v = dynamic_cast<HintView*>(w)) v->hints.clear();
    PostMessage(frame.get(), kMsgSorvexResultsLoaded);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame->CurrentView(), shown) << "the summary stays; it is only told";
    EXPECT_EQ(hintsOfLiveViews().back(), kHintSummaryLayout);
}

TEST_F(FrameTest, DispatchTable) {
    FakeInfoBar bar;
    frame->SetInfoBar(&bar);
    PostMessage(frame.get(), kMsgZarmassInfo, 250, 3);
    PostMessage(frame.get(), kMsgDtaFileName, 0, 7);  // no file name: nothing, nothing freed
    PostMessage(frame.get(), kMsgDtaFileName, 0, 8, QStringLiteral("demo.0100.0100.2.dta"));
    PostMessage(frame.get(), kMsgSummaryCellSelected, 12, 4);
    PostMessage(frame.get(), kMsgXpressUpdated, 3, 1);  // plot layout or none: nothing
    QCoreApplication::processEvents();
    ASSERT_EQ(bar.zarmassInfo.size(), 1u);
    EXPECT_EQ(bar.zarmassInfo[0].first, 3);
    EXPECT_DOUBLE_EQ(bar.zarmassInfo[0].second, 2.5);
    ASSERT_EQ(bar.dtaList.size(), 1u);
    EXPECT_EQ(bar.dtaList[0], std::make_pair(8, QStringLiteral("demo.0100.0100.2.dta")));
    EXPECT_EQ(frame->SummaryCellHit(), HitNumber(12));
    EXPECT_EQ(frame->SummaryCellColumn(), 4);
    EXPECT_EQ(doc->GetSorvexSelectedHit(), HitNumber(12));
    EXPECT_EQ(doc->GetXpressEntry(), HitNumber());
    frame->SetInfoBar(nullptr);
}

TEST_F(FrameTest, DenovoSelectionIsCopiedFromTheMessage) {
    DenovoSelectionRecord r{2, 5, QStringLiteral("PEPTIDE")};
    PostMessage(frame.get(), kMsgDenovoCandidateSelected, 0, 0, r);
    r.text = QStringLiteral("changed after posting");
    QCoreApplication::processEvents();
    int a = 0, b = 0;
    QString text;
    doc->GetDenovoSelection(a, b, text);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 5);
    EXPECT_EQ(text, QStringLiteral("PEPTIDE"));
}

TEST_F(FrameTest, LoadEndedDeletesTheStatusDialogAndEnablesOpeningAgain) {
    QPointer<QWidget> dialog = new QWidget;
    frame->SetResultsStatusDialog(dialog);
    EXPECT_TRUE(frame->IsLoadingResults());
    RegisterFrameCommand(ID_OPEN_MULTIPLE_RESULTS, [](CMainFrame&) {});
    frame->UpdateCommandUI();
    EXPECT_FALSE(frame->Action(ID_OPEN_MULTIPLE_RESULTS)->isEnabled()) << "no second load while one runs";
    PostMessage(frame.get(), kMsgResultsLoadEnded);
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialog.isNull());
    EXPECT_FALSE(frame->IsLoadingResults());
    EXPECT_TRUE(frame->Action(ID_OPEN_MULTIPLE_RESULTS)->isEnabled());
    RegisterFrameCommand(ID_OPEN_MULTIPLE_RESULTS, nullptr);
}

// ---- enabling ----

TEST_F(FrameTest, EnablingFollowsTheRunAndTheLayout) {
    for (int id : {ID_ACTION_XPRESS, ID_ACTION_DENOVO, ID_OPEN_SORVEX_RESULTS})
        RegisterFrameCommand(id, [](CMainFrame&) {});
    frame->UpdateCommandUI();
    struct Case {
        int id;
        bool enabled;
    } noRun[] = {{ID_VIEW_GENERAL_TRACE, false}, {ID_VIEW_SORVEX_SUMMARY, false}, {ID_VIEW_MULTI_CONSENSUS, true},
                 {ID_RESULTS_WINDOW, false},     {ID_SAVE_SEQUENCE_FILE, false},  {ID_ACTION_XPRESS, false},
                 {ID_OPEN_SORVEX_RESULTS, false}, {ID_FILE_OPEN, true}};
    for (const Case& c : noRun) EXPECT_EQ(frame->Action(c.id)->isEnabled(), c.enabled) << "no run, command " << c.id;

    QTemporaryDir dir;
    ASSERT_TRUE(doc->OnOpenDocument(writeSmallRun(dir)));
    frame->UpdateCommandUI();
    EXPECT_EQ(doc->GetViewType(), 1);
    EXPECT_TRUE(frame->Action(ID_VIEW_GENERAL_TRACE)->isChecked());
    struct Case2 {
        int id;
        bool enabled;
    } withRun[] = {{ID_VIEW_GENERAL_TRACE, true}, {ID_VIEW_SORVEX_SUMMARY, true}, {ID_RESULTS_WINDOW, true},
                   {ID_ACTION_XPRESS, false},     {ID_ACTION_DENOVO, false},      {ID_OPEN_SORVEX_RESULTS, true}};
    for (const Case2& c : withRun) EXPECT_EQ(frame->Action(c.id)->isEnabled(), c.enabled) << "run open, command " << c.id;
    ASSERT_TRUE(frame->OnChooseView(5, false));
    EXPECT_TRUE(frame->Action(ID_ACTION_XPRESS)->isEnabled()) << "XPRESS only with the summary layout";
    ASSERT_TRUE(frame->OnChooseView(7, false));
    EXPECT_TRUE(frame->Action(ID_ACTION_DENOVO)->isEnabled());
    EXPECT_FALSE(frame->Action(ID_ACTION_XPRESS)->isEnabled());
    for (int id : {ID_ACTION_XPRESS, ID_ACTION_DENOVO, ID_OPEN_SORVEX_RESULTS}) RegisterFrameCommand(id, nullptr);
}

TEST_F(FrameTest, ResultsWindowRequestWithoutResults) {
    const SelectedResult r = frame->ResultsWindowRequest();
    EXPECT_EQ(r.kind, 0);
    EXPECT_EQ(r.viewType, 8);
    EXPECT_EQ(r.display, 0);
    EXPECT_TRUE(r.peptide.isEmpty());
}

// ---- sequence files ----

TEST_F(FrameTest, SequenceFileRoundTripTakesTheResiduesOnly) {
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("in.pep"));
    {
        QFile f(in);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        // Line ends and blanks are no residues; a sequence wrapped over lines is read whole.
        f.write("MKWVTFISLL\r\nLLFS SAYS\n");
    }
    ASSERT_TRUE(frame->OpenSequenceFile(in));
    EXPECT_EQ(doc->GetSequence(), QStringLiteral("MKWVTFISLLLLFSSAYS"));
    frame->UpdateCommandUI();
    EXPECT_TRUE(frame->Action(ID_SAVE_SEQUENCE_FILE)->isEnabled());
    const QString out = dir.filePath(QStringLiteral("out.pep"));
    ASSERT_TRUE(frame->SaveSequenceFile(out));
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("MKWVTFISLLLLFSSAYS"));
    zartest::MessageBoxCapture boxes;
    EXPECT_FALSE(frame->OpenSequenceFile(dir.filePath(QStringLiteral("missing.pep"))));
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("Unable to open the sequence file")});
}

TEST_F(FrameTest, OpeningARunAddsItToTheRecentFiles) {
    zartest::ScopedConfigDir config;
    QTemporaryDir dir;
    const QString run = writeSmallRun(dir);
    ASSERT_TRUE(doc->OnOpenDocument(run));
    EXPECT_EQ(frame->RecentFiles().value(0), run);
    // The name as the file system has it, not "small.mzml".
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("small.mzML - Zarvik Browser"));
}

// Display > Options of a protein table needs its results: without them the sheet has nothing to
// work on and the command would do nothing.
TEST_F(FrameTest, DisplayOptionsNeedsTheResultsOfItsLayout) {
    RegisterFrameCommand(ID_DISPLAY_OPTIONS, [](CMainFrame&) {});
    QTemporaryDir dir;
    ASSERT_TRUE(doc->OnOpenDocument(writeSmallRun(dir)));
    const struct {
        int type;
        bool enabled;
    } cases[] = {{1, false}, {5, true}, {10, false}, {11, false}};
    for (const auto& c : cases) {
        ASSERT_TRUE(frame->OnChooseView(c.type, false)) << c.type;
        frame->UpdateCommandUI();
        EXPECT_EQ(frame->Action(ID_DISPLAY_OPTIONS)->isEnabled(), c.enabled) << "layout " << c.type;
    }
    ASSERT_TRUE(doc->GetMultiConsensusResults()->Initialize());
    frame->UpdateCommandUI();
    EXPECT_TRUE(frame->Action(ID_DISPLAY_OPTIONS)->isEnabled()) << "with its (empty) results";
    RegisterFrameCommand(ID_DISPLAY_OPTIONS, nullptr);
}

// The main window opens where, and as large as, it was when it closed last.
TEST(MainFramePlacement, SizeAndPlaceAreKeptAcrossRestarts) {
    zartest::ScopedConfigDir config;
    CZarDoc doc;
    QRect kept;
    {
        CMainFrame frame(&doc);
        EXPECT_FALSE(frame.RestorePlacement()) << "none kept yet";
        EXPECT_EQ(frame.size(), QSize(1200, 820));
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        frame.setGeometry(130, 90, 910, 640);
        QCoreApplication::processEvents();
        kept = frame.geometry();
        frame.close();
    }
    CMainFrame next(&doc);
    next.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&next));
    EXPECT_EQ(next.geometry(), kept);
}

TEST_F(FrameTest, AFailedOpenLeavesTheOpenRunWorking) {
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    RegisterFrameCommand(ID_OPEN_SORVEX_RESULTS, [](CMainFrame&) {});
    QTemporaryDir dir;
    const QString run = writeSmallRun(dir);
    ASSERT_TRUE(doc->OnOpenDocument(run));
    CZarViewWidget* shown = frame->CurrentView();
    const QString title = frame->windowTitle();
    QFile whole(run);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    const struct {
        const char* name;
        QByteArray content;
    } bad[] = {{"truncated.mzML", bytes.left(bytes.size() / 2)},
               {"notes.mzML", QByteArray("these are notes, not a run\n")},
               {"empty.mzML", QByteArray()}};
    for (const auto& b : bad) {
        SCOPED_TRACE(b.name);
        const QString path = dir.filePath(QString::fromLatin1(b.name));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(b.content);
        f.close();
        boxes.clear();
        EXPECT_FALSE(doc->OnOpenDocument(path));
        EXPECT_EQ(boxes.shown().size(), 1u) << "the user is told";
        // Everything of the open run stays: the document, its reader, the views and the commands.
        EXPECT_EQ(doc->GetRawFilePath(), run);
        EXPECT_GT(doc->GetEntryCount(), 0);
        EXPECT_EQ(doc->GetViewType(), 1);
        EXPECT_EQ(frame->CurrentView(), shown);
        EXPECT_EQ(frame->windowTitle(), title);
        std::vector<CVXDataPeak> peaks;
        EXPECT_TRUE(doc->ReadScan(2, peaks));
        EXPECT_FALSE(peaks.empty());
        frame->UpdateCommandUI();
        EXPECT_TRUE(frame->Action(ID_VIEW_GENERAL_TRACE)->isEnabled());
        EXPECT_TRUE(frame->Action(ID_OPEN_SORVEX_RESULTS)->isEnabled());
        EXPECT_EQ(frame->RecentFiles().value(0), run);
    }
    RegisterFrameCommand(ID_OPEN_SORVEX_RESULTS, nullptr);
}

TEST_F(FrameTest, ADroppedFileIsOpened) {
    zartest::ScopedConfigDir config;
    QTemporaryDir dir;
    const QString run = writeSmallRun(dir);
    QMimeData words;
    words.setText(QStringLiteral("not a file"));
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(dir.filePath(QStringLiteral("missing.mzML"))), QUrl::fromLocalFile(run),
                   QUrl(QStringLiteral("https://www.example.org/other.mzML"))});
    const struct {
        QMimeData* data;
        bool accepted;
    } drops[] = {{&words, false}, {&files, true}};
    for (const auto& d : drops) {
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, d.data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame.get(), &enter);
        EXPECT_EQ(enter.isAccepted(), d.accepted);
        if (!d.accepted) continue;
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, d.data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame.get(), &drop);
    }
    EXPECT_EQ(doc->GetRawFilePath(), run);
    EXPECT_EQ(doc->GetViewType(), 1);
    EXPECT_TRUE(frame->acceptDrops());
}

// ---- start-up picture ----

namespace {
QByteArray bmpOf(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}
}  // namespace

TEST(BitmapFile, ChecksBeforeDrawing) {
    QImage picture(40, 20, QImage::Format_RGB888);
    picture.fill(QColor(10, 200, 30));
    const QByteArray file = bmpOf(picture);
    std::optional<QByteArray> dib = ReadBitmapStream(file);
    ASSERT_TRUE(dib.has_value());
    EXPECT_EQ(BitmapWidth(*dib), 40);
    EXPECT_EQ(BitmapHeight(*dib), 20);
    EXPECT_EQ(BitmapColorCount(*dib), 0) << "24-bit: no colour table";
    const QImage decoded = BitmapToImage(*dib);
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.pixelColor(5, 5), QColor(10, 200, 30));

    EXPECT_FALSE(ReadBitmapStream(QByteArray("BM123")).has_value()) << "shorter than its header";
    EXPECT_FALSE(ReadBitmapStream(QByteArray("XX") + file.mid(2)).has_value()) << "not a bitmap";
    EXPECT_TRUE(BitmapToImage(file.left(file.size() - 100).mid(14)).isNull()) << "cut short";
    QByteArray huge = *dib;
    huge[4] = '\xFF';
    huge[5] = '\xFF';
    huge[6] = '\xFF';
    huge[7] = '\x7F';
    EXPECT_TRUE(BitmapToImage(huge).isNull()) << "absurd width";
}

TEST(BitmapFile, PaletteBitmapsCountTheirColours) {
    QImage indexed(8, 8, QImage::Format_Indexed8);
    indexed.setColorCount(256);
    for (int i = 0; i < 256; ++i) indexed.setColor(i, qRgb(i, i, i));
    indexed.fill(3);
    const std::optional<QByteArray> dib = ReadBitmapStream(bmpOf(indexed));
    ASSERT_TRUE(dib.has_value());
    EXPECT_GT(BitmapColorCount(*dib), 0);
    EXPECT_EQ(BitmapPaletteSize(*dib), BitmapColorCount(*dib) * 4);
    EXPECT_FALSE(BitmapToImage(*dib).isNull());
}

// A packed bitmap with an information header, `used` colour-table entries (entry i grey level
// i % 256, the entries past 255 red) and every pixel `pixel` (an index, or a blue-green-red
// triple for 24 bits).
QByteArray handMadeBitmap(int bits, std::uint32_t used, std::uint32_t pixel) {
    const int width = 4, height = 2;
    QByteArray dib(40, '\0');
    auto put32 = [&dib](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) dib[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put32(0, 40);
    put32(4, width);
    put32(8, height);
    dib[12] = 1;
    dib[14] = static_cast<char>(bits);
    put32(32, used);
    for (std::uint32_t i = 0; i < used; ++i) {
        const char grey = static_cast<char>(i % 256);
        const char entry[4] = {i < 256 ? grey : '\0', i < 256 ? grey : '\0', i < 256 ? grey : '\xFF', 0};
        dib.append(entry, 4);
    }
    const int rowBytes = ((width * bits + 31) / 32) * 4;
    for (int y = 0; y < height; ++y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            if (bits == 8) row[x] = static_cast<char>(pixel);
            else
                for (int k = 0; k < 3; ++k) row[3 * x + k] = static_cast<char>((pixel >> (8 * k)) & 0xFF);
        }
        dib.append(row);
    }
    return dib;
}

TEST(BitmapFile, ColourTablesLongerThan256EntriesKeepThePixelsInPlace) {
    const struct {
        int bits;
        std::uint32_t used;
        std::uint32_t pixel;
        QColor expected;
    } cases[] = {{8, 300, 5, QColor(5, 5, 5)},
                 {8, 200, 7, QColor(7, 7, 7)},
                 {24, 300, 0x1E140A, QColor(30, 20, 10)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 bits, %2 colours").arg(c.bits).arg(c.used).toStdString());
        const QByteArray dib = handMadeBitmap(c.bits, c.used, c.pixel);
        EXPECT_EQ(BitmapColorCount(dib), c.used);
        EXPECT_EQ(FindBitmapBits(dib), 40 + 4 * static_cast<std::int64_t>(c.used));
        const QImage image = BitmapToImage(dib);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.pixelColor(0, 0), c.expected);
        EXPECT_EQ(image.pixelColor(3, 1), c.expected);
    }
    QByteArray absurd = handMadeBitmap(8, 300, 5);
    absurd[32] = absurd[33] = absurd[34] = '\xFF';
    absurd[35] = '\x7F';
    EXPECT_TRUE(BitmapToImage(absurd).isNull()) << "a table larger than the file";
}

TEST(BitmapView, PictureIsCentredEvenWhenLarger) {
    EXPECT_EQ(CBitmapView::PictureRect(QSize(400, 300), QSize(100, 50)), QRect(150, 125, 100, 50));
    EXPECT_EQ(CBitmapView::PictureRect(QSize(100, 100), QSize(300, 200)), QRect(-100, -50, 300, 200));
}

TEST(BitmapView, MissingFileLeavesTheViewEmpty) {
    CBitmapView view;
    view.LoadBitmap(QStringLiteral("/nonexistent/ZarvikBrowser.bmp"));
    EXPECT_FALSE(view.HasBitmap());
    view.resize(200, 100);
    EXPECT_FALSE(view.grab().isNull());
}
