// The de novo layout on a real MS2 spectrum of a bovine serum albumin digest: scan 1411 of
// BSA2.mzML is YLYEIAR (established by the document's tests), which the candidate grid ranks
// first; its ions are marked in the one-dimensional spectrum and in the measured one.

#include "DenovoViewsTestSupport.h"

#include "DenovoCommands.h"
#include "fileio/VXResults.h"

#include <gtest/gtest.h>

using namespace zar;
using namespace denovotest;

namespace {

int MarksOnPeaks(const CDenovoSpecView& spec) {
    int found = 0;
    for (const auto& info : spec.PeakInfos()) found += info.apex.dIntensity > 0.0;
    return found;
}

}  // namespace

TEST(DenovoRealData, ABsaSpectrumIsSequencedAndMarked) {
    const QString run = zartest::RealDataPath(QStringLiteral("BSA2.mzML"));
    if (run.isEmpty()) GTEST_SKIP() << "real data not fetched";
    DenovoFrame f;
    ASSERT_TRUE(f.Open(run));
    constexpr int kScan = 1411;
    const QString peptide = QStringLiteral("YLYEIAR");
    ASSERT_EQ(f.doc().LoadDenovoSpectra({kScan}), 1);
    Settle();
    ASSERT_EQ(f.doc().GetViewType(), 7);
    CDenovoView* view = f.CandidateView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Grid()->GetValueRowCol(1, 2), AlphabetSpelling(peptide));
    EXPECT_NEAR(view->Grid()->GetValueRowCol(1, 1).toDouble(), 927.49, 0.01);

    f.ClickSequence(1);
    CDenovoSpecView* spec = f.SpecView();
    ASSERT_NE(spec, nullptr);
    ASSERT_EQ(spec->Labels().size(), 14u);
    EXPECT_GE(MarksOnPeaks(*spec), 10) << "of the 14 ions on the one-dimensional spectrum";
    f.frame().grab().save(QStringLiteral("/tmp/i33-bsa-layout.png"));

    // The measured spectrum of the scan, marked on the monoisotopic scale.
    CVXUserResult* u = f.doc().GetCurrentResults()->GetCurrentUserResult();
    ASSERT_NE(u, nullptr);
    u->currentScanPosition = f.doc().ScanToRetentionTime(kScan);
    spec->OnModeCommand(ID_DENOVO_RAW_SPECTRUM);
    ASSERT_TRUE(spec->DataValid());
    EXPECT_EQ(spec->Spectrum().header.data.nScanNumber, kScan);
    EXPECT_GE(MarksOnPeaks(*spec), 10) << "of the 14 ions in the measured spectrum";
    f.SpecView()->grab().save(QStringLiteral("/tmp/i33-bsa-raw.png"));

    EXPECT_TRUE(f.boxes().texts().isEmpty())
        << f.boxes().texts().join(QLatin1Char('|')).toStdString();
}
