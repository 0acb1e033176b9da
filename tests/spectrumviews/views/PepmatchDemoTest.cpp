// Pepmatch against the display-ions page on a hit of the demo data set: the peptide's singly
// charged b and y ions that a Pepmatch marks on the hit's scan are the ions the page marks on the
// hit's ".dta" spectrum where a peak stands within the ion's window. The page judges presence on
// the spectrum as the search scored it (binned and smoothed, so a peak one bin away counts too);
// such an ion without a peak of its own in its window is the one kind the Pepmatch leaves out.

#include "app/SplitterViews.h"
#include "document/SorvexResults.h"
#include "document/TextHelpers.h"
#include "document/UpdateHints.h"
#include "spectrumviews/PepmatchData.h"
#include "spectrumviews/views/DisplayIonsView.h"
#include "spectrumviews/views/PepmatchSpecView.h"
#include "spectrumviews/views/PepmatchView.h"
#include "spectrumviews/views/RegisterSpectrumViews.h"
#include "tools/demo/DemoWriter.h"

#include "ViewsTestSupport.h"

#include <map>
#include <set>

using namespace zar;

namespace {

QString LabelOf(const ZAR_PLOTLib::VXPlot_PeakInfo& info) {
    QString text;
    for (int k = 0; k < 16 && info.cLabelText[k] != 0; ++k)
        text += QChar(static_cast<char16_t>(info.cLabelText[k]));
    return text;
}

}  // namespace

TEST(PepmatchDemoTest, MarksTheIonsTheDisplayIonsPageMarks) {
    viewstest::RegisteredPlotServer server;
    ASSERT_TRUE(server.ok());
    zartest::MessageBoxCapture boxes;
    RegisterSpectrumViews();
    QTemporaryDir dir;
    QString error;
    // A shorter gradient than the demo's own: the same kind of scans, written in less time.
    DemoSettings settings;
    settings.runMinutes = 8.0;
    settings.firstElution = 1.5;
    settings.lastElution = 7.0;
    settings.intactMinutes = 7.5;
    ASSERT_TRUE(
        WriteDemoFolder(dir.filePath(QStringLiteral("demo")), MakeDemoRun(settings), false, error))
        << error.toStdString();
    CZarDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(dir.filePath(QStringLiteral("demo/demo.mzML"))));
    CSorvexResults* set = doc.GetSorvexResults();
    set->Initialize();
    set->ReadResults(dir.filePath(QStringLiteral("demo/results")));
    ASSERT_GT(set->GetHitCount(), 0);
    // The best-scoring hit on an unmodified peptide.
    int best = -1;
    for (int i = 0; i < set->GetHitCount(); ++i) {
        const SearchHitRecord* h = set->GetHit(i);
        const QString letters = ExtractPeptideSequence(h->peptide);
        if (letters.contains(QLatin1Char('C')) || h->peptide.contains(QLatin1Char('*'))) continue;
        if (best < 0 || h->correlation > set->GetHit(best)->correlation) best = i;
    }
    ASSERT_GE(best, 0);
    const SearchHitRecord* hit = set->GetHit(best);
    const QString peptide = ExtractPeptideSequence(hit->peptide);
    const int scan = hit->fileInformation.trimmed().split(QLatin1Char('.')).value(1).toInt();
    ASSERT_GT(scan, 0);

    // The display-ions page: the hit's b and y ions for charge 1, marked where the ".dta"
    // spectrum has them.
    CDisplayIonsView ions(nullptr);
    ions.resize(1000, 600);
    ions.show();
    ions.OnInitialUpdate();
    SelectedResult item;
    item.kind = 1;
    item.viewType = 5;
    item.hit = hit->hitNumber();
    ions.SetDtaFile(item);
    ASSERT_TRUE(ions.WaitUntilIdle(zartest::kWorkWaitMs));
    std::set<QString> marked, markedOnAPeak;
    std::map<QString, double> markedAt;
    for (const auto& info : ions.PeakInfos()) {
        if (info.iPenIndex != 3) continue;
        // "b1-2": series, charge, ion number.
        const QString label = LabelOf(info);
        const QChar series = label.front();
        if (series != QLatin1Char('b') && series != QLatin1Char('y')) continue;
        const QString name = series.toUpper() + label.section(QLatin1Char('-'), 1, 1);
        marked.insert(name);
        if (info.apex.dIntensity > 0.0) {
            markedOnAPeak.insert(name);
            markedAt[name] = info.apex.dMass;
        }
    }
    ASSERT_GE(marked.size(), 3u);

    // Pepmatch of the same peptide on the hit's scan, b and y ions, monoisotopic masses.
    CSplitterLayoutView layout(*LayoutForViewType(8));
    layout.resize(1100, 800);
    layout.show();
    layout.OnInitialUpdate();
    auto* view = dynamic_cast<CPepmatchView*>(layout.FindPane(QStringLiteral("CPepmatchView")));
    auto* spec =
        dynamic_cast<CPepmatchSpecView*>(layout.FindPane(QStringLiteral("CPepmatchSpecView")));
    ASSERT_TRUE(view && spec);
    doc.GetCurrentResults()->GetCurrentUserResult()->currentScanPosition =
        doc.ScanToRetentionTime(scan);
    doc.UpdateAllViews(nullptr, kHintScanRange);
    ASSERT_EQ(spec->Spectrum().header.data.nScanNumber, scan);
    doc.SetSequence(peptide);
    view->FillSelectIonsGrid();
    PepmatchOptions& o = view->Options();
    o.series.fill(0);
    o.series[PepmatchOptions::kB] = 1;
    o.series[PepmatchOptions::kY] = 1;
    o.monoisotopic = 1;
    o.threshold = 0.0;
    view->CalculatePepmatch();
    doc.UpdateAllViews(nullptr, kHintFragmentIons);
    std::set<QString> matched;
    for (const auto& info : spec->PeakInfos()) {
        if (!(info.apex.dIntensity > 0.0)) continue;
        const QString name = LabelOf(info).remove(QLatin1Char('\''));
        matched.insert(name);
        // The same peak of the scan (the ".dta" file keeps its m/z to four decimals).
        if (markedAt.count(name)) {
            EXPECT_NEAR(info.apex.dMass, markedAt[name], 1e-3) << name.toStdString();
        }
    }
    viewstest::Grab(layout, QStringLiteral("/tmp/pepmatch-demo.png"));

    EXPECT_GE(markedOnAPeak.size(), 8u);
    for (const QString& name : matched)
        EXPECT_TRUE(marked.count(name)) << name.toStdString() << " matched but not marked";
    for (const QString& name : markedOnAPeak)
        EXPECT_TRUE(matched.count(name)) << name.toStdString() << " marked on a peak, not matched";
}
