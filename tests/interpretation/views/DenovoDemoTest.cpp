// The de novo layout on the demo run: the MSn Browser hands the scans of a known peptide to the
// de novo loader, the candidate grid ranks the peptide first, and picking it marks its ions.

#include "DenovoViewsTestSupport.h"

#include "core/Numbers.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

using namespace zar;
using namespace denovotest;

namespace {

// The MSn Browser row of the MS3 experiment on a y ion of a demo peptide; 0 when there is none.
int ExperimentRow(CMSnListPage& page, const QString& sequence, int yIon) {
    const DemoRun& run = infobartest::DemoRunData();
    for (const DemoMs3& m : run.ms3) {
        if (run.peptides[static_cast<size_t>(m.peptide)].sequence != sequence || m.residues != yIon)
            continue;
        const QString label = QCFormat("MS3 of %.2f@35.0 %.2f@35.0", m.firstMz, m.secondMz);
        const auto& rows = page.Rows();
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].label == label) return static_cast<int>(i) + 1;
    }
    return 0;
}

}  // namespace

TEST(DenovoDemo, AnMSnExperimentIsSequencedAndItsIonsMarked) {
    QString error;
    const QString demo = infobartest::DemoFolder(&error);
    ASSERT_FALSE(demo.isEmpty()) << error.toStdString();
    DenovoFrame f;
    ASSERT_TRUE(f.Open(demo + QStringLiteral("/demo.mzML")));
    f.bar().ShowPage(CInfoBar::kMSnBrowserPage);
    Settle();
    CMSnListPage& page = f.bar().MSnListPage();
    const QString peptide = QStringLiteral("NECFLSHK");
    // Its MS2 scans and the MS3 scans of its y6 ion.
    const int row = ExperimentRow(page, peptide, 6);
    ASSERT_GT(row, 0) << "the demo run has MS3 scans of " << peptide.toStdString();

    const QRect cell = page.Grid()->visualRect(page.Grid()->GetModel()->index(row - 1, 0));
    QTest::mouseClick(page.Grid()->viewport(), Qt::LeftButton, {}, cell.center());
    Settle();
    ASSERT_EQ(f.doc().GetViewType(), 7) << "the loaded scans bring the de novo layout";
    CDenovoView* view = f.CandidateView();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Grid()->GetValueRowCol(1, 2), AlphabetSpelling(peptide));
    EXPECT_GT(view->Grid()->GetValueRowCol(1, 1).toDouble(), 900.0);

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
    ASSERT_EQ(spec->Labels().size(), 2 * static_cast<size_t>(peptide.size()));
    // Most of the marked ions find a peak of the MS2 spectrum.
    int found = 0;
    for (const auto& info : spec->PeakInfos()) found += info.apex.dIntensity > 0.0;
    EXPECT_GE(found, peptide.size()) << "of " << spec->PeakInfos().size();
    f.frame().grab().save(QStringLiteral("/tmp/i33-demo-layout.png"));
    EXPECT_TRUE(f.boxes().texts().isEmpty())
        << f.boxes().texts().join(QLatin1Char('|')).toStdString();
}
