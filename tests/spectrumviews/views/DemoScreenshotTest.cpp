// The panes on the demo data set, as a user first sees them; pictures go to /tmp. Runs only
// when ZAR_DEMO_DIR names a folder written by zar-make-demo.

#include "app/SplitterViews.h"
#include "document/SorvexResults.h"
#include "document/UpdateHints.h"
#include "spectrumviews/views/DisplayIonsView.h"
#include "spectrumviews/views/RegisterSpectrumViews.h"
#include "spectrumviews/views/SpecView.h"
#include "spectrumviews/views/TraceView.h"

#include "ViewsTestSupport.h"

#include <QDir>
#include <QElapsedTimer>

#include <cstdio>

using namespace zar;

TEST(DemoScreenshotTest, PlotLayoutAndAnnotatedHit) {
    const QString demo = qEnvironmentVariable("ZAR_DEMO_DIR");
    if (demo.isEmpty()) GTEST_SKIP() << "ZAR_DEMO_DIR not set";
    viewstest::RegisteredPlotServer server;
    ASSERT_TRUE(server.ok());
    zartest::MessageBoxCapture boxes;
    RegisterSpectrumViews();
    CZarDoc doc;
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(doc.OnOpenDocument(demo + QStringLiteral("/demo.mzML")));

    // The first hit of the results: its scan in the plot layout, its ions on the page.
    CSorvexResults* set = doc.GetSorvexResults();
    set->Initialize();
    set->ReadResults(demo + QStringLiteral("/results"));
    ASSERT_GT(set->GetHitCount(), 0);
    int best = 0;
    for (int i = 0; i < set->GetHitCount(); ++i)
        if (set->GetHit(i)->correlation > set->GetHit(best)->correlation) best = i;
    const SearchHitRecord* hit = set->GetHit(best);
    const QStringList parts = hit->fileInformation.trimmed().split(QLatin1Char('.'));
    ASSERT_GE(parts.size(), 3);
    const int scan = parts[1].toInt();

    CSplitterLayoutView layout(*LayoutForViewType(1));
    layout.resize(1200, 800);
    layout.show();
    layout.OnInitialUpdate();
    doc.UpdateAllViews(nullptr, kHintPlotLayout);
    auto* trace = dynamic_cast<CTraceView*>(layout.FindPane(QStringLiteral("CTraceView")));
    auto* spec = dynamic_cast<CSpecView*>(layout.FindPane(QStringLiteral("CSpecView")));
    ASSERT_TRUE(trace && spec);
    viewstest::Grab(layout, QStringLiteral("/tmp/specviews_demo_open.png"));
    std::printf("[ measure  ] demo run opened and drawn in %lld ms\n",
                static_cast<long long>(timer.elapsed()));
    trace->OnChroLButtonUp(0, 0, true, doc.ScanToRetentionTime(scan - 1), 0.0);
    viewstest::Grab(layout, QStringLiteral("/tmp/specviews_demo_ms1.png"));
    trace->OnChroLButtonUp(0, 0, true, doc.ScanToRetentionTime(scan), 0.0);
    EXPECT_EQ(spec->Spectrum().header.data.nScanNumber, scan);
    viewstest::Grab(layout, QStringLiteral("/tmp/specviews_demo_ms2.png"));

    CDisplayIonsView ions(nullptr);
    ions.resize(1200, 600);
    ions.show();
    ions.OnInitialUpdate();
    SelectedResult item;
    item.kind = 1;
    item.viewType = 5;
    item.hit = hit->hitNumber();
    ions.SetDtaFile(item);
    ASSERT_TRUE(ions.WaitUntilIdle(zartest::kWorkWaitMs));
    viewstest::Grab(ions, QStringLiteral("/tmp/specviews_demo_ions.png"));
    std::printf("[ demo     ] hit %s %s, scan %d; messages: %s\n", qPrintable(hit->peptide),
                qPrintable(hit->fileInformation.trimmed()), scan,
                qPrintable(boxes.texts().join(QStringLiteral(" | "))));
}
