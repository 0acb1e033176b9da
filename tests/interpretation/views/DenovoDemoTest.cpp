// The de novo layout on the demo run: the MSn Browser hands the scans of a known peptide to the
// de novo loader, the candidate grid ranks the peptide first, and picking it marks its ions.

#include "DenovoViewsTestSupport.h"

#include <gtest/gtest.h>

using namespace zar;
using namespace denovotest;

TEST(DenovoDemo, AnMSnExperimentIsSequencedAndItsIonsMarked) {
    DenovoFrame f;
    ASSERT_TRUE(LoadDemoExperiment(f));
    ASSERT_EQ(f.doc().GetViewType(), 7) << "the loaded scans bring the de novo layout";
    CDenovoView* view = f.CandidateView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Grid()->GetValueRowCol(1, 2), AlphabetSpelling(kDemoPeptide));
    EXPECT_NEAR(view->Grid()->GetValueRowCol(1, 1).toDouble(), 977.45, 0.01) << "its [M+H]+";

    // The scatter view shows every slot; the spectrum view the MS2 spectrum, unmarked.
    ASSERT_NE(f.ScatterView(), nullptr);
    EXPECT_TRUE(f.ScatterView()->DataValid());
    CDenovoSpecView* spec = f.SpecView();
    ASSERT_NE(spec, nullptr);
    EXPECT_TRUE(spec->DataValid());
    EXPECT_EQ(spec->Mode(), 7);
    EXPECT_TRUE(spec->Labels().empty());
    EXPECT_TRUE(spec->Heading().startsWith(QStringLiteral("MS2 Spectrum  NL: ")));

    f.ClickSequence(1);
    ASSERT_EQ(spec->Labels().size(), 2 * static_cast<size_t>(kDemoPeptide.size()));
    // Nearly every marked ion finds a peak of the MS2 spectrum.
    int found = 0;
    for (const auto& info : spec->PeakInfos()) found += info.apex.dIntensity > 0.0;
    EXPECT_GE(found, 2 * kDemoPeptide.size() - 2) << "of " << spec->PeakInfos().size();
    f.frame().grab().save(QStringLiteral("/tmp/i33-demo-layout.png"));
    EXPECT_TRUE(f.boxes().texts().isEmpty())
        << f.boxes().texts().join(QLatin1Char('|')).toStdString();
}
