#include "DenovoViewsTestSupport.h"

#include "FrameCommands.h"
#include "RegisterDenovoViews.h"
#include "SplitterViews.h"
#include "com/ComRegistry.h"
#include "core/Numbers.h"
#include "registry/RegKey.h"
#include "spectrumviews/views/RegisterSpectrumViews.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTest>

#include <gtest/gtest.h>

using namespace zar;

namespace denovotest {

DenovoFrame::DenovoFrame() {
    ResetRegistryCache();
    EXPECT_EQ(RegisterServerLibrary(QFileInfo(QStringLiteral(ZAR_PLOT_LIBRARY)).absoluteFilePath(),
                                    false),
              S_OK);
    // The real panes, before the frame fills the rest of the layouts with stand-ins.
    RegisterSpectrumViews();
    RegisterDenovoViews();
    frame_ = std::make_unique<infobartest::FrameWithBar>();
    frame_->frame().resize(1280, 900);
}

DenovoFrame::~DenovoFrame() {
    frame_.reset();
    ResetRegistryCache();
}

bool DenovoFrame::Open(const QString& path) {
    const bool ok = frame().OpenRun(path);
    Settle();
    return ok;
}

bool DenovoFrame::ShowLayout() {
    frame().RunCommand(ID_VIEW_DENOVO);
    Settle();
    return doc().GetViewType() == 7;
}

namespace {

template <class T>
T* PaneOf(CMainFrame& frame, const char* name) {
    auto* layout = qobject_cast<CSplitterLayoutView*>(frame.CurrentView());
    return layout ? static_cast<T*>(layout->FindPane(QString::fromLatin1(name))) : nullptr;
}

}  // namespace

CDenovoView* DenovoFrame::CandidateView() const {
    return PaneOf<CDenovoView>(frame_->frame(), CDenovoView::kClassName);
}

CDenovoScatterView* DenovoFrame::ScatterView() const {
    return PaneOf<CDenovoScatterView>(frame_->frame(), CDenovoScatterView::kClassName);
}

CDenovoSpecView* DenovoFrame::SpecView() const {
    return PaneOf<CDenovoSpecView>(frame_->frame(), CDenovoSpecView::kClassName);
}

void DenovoFrame::ClickSequence(int row) {
    CDenovoView* view = CandidateView();
    ASSERT_NE(view, nullptr);
    CDenovoGrid* grid = view->Grid();
    grid->scrollTo(grid->GetModel()->index(row - 1, CDenovoView::kSequenceColumn - 1));
    const QRect cell =
        grid->visualRect(grid->GetModel()->index(row - 1, CDenovoView::kSequenceColumn - 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    Settle();
}

bool LoadDemoExperiment(DenovoFrame& f, const QString& peptide, int yIon) {
    QString error;
    const QString demo = infobartest::DemoFolder(&error);
    if (demo.isEmpty()) {
        ADD_FAILURE() << error.toStdString();
        return false;
    }
    if (!f.Open(demo + QStringLiteral("/demo.mzML"))) {
        ADD_FAILURE() << "the demo run did not open";
        return false;
    }
    f.bar().ShowPage(CInfoBar::kMSnBrowserPage);
    Settle();
    CMSnListPage& page = f.bar().MSnListPage();
    const DemoRun& run = infobartest::DemoRunData();
    int row = 0;
    for (const DemoMs3& m : run.ms3) {
        if (run.peptides[static_cast<size_t>(m.peptide)].sequence != peptide || m.residues != yIon)
            continue;
        const QString label = QCFormat("MS3 of %.2f@35.0 %.2f@35.0", m.firstMz, m.secondMz);
        for (size_t i = 0; i < page.Rows().size() && row == 0; ++i)
            if (page.Rows()[i].label == label) row = static_cast<int>(i) + 1;
    }
    if (row == 0) {
        ADD_FAILURE() << "no MS3 experiment of " << peptide.toStdString();
        return false;
    }
    const QRect cell = page.Grid()->visualRect(page.Grid()->GetModel()->index(row - 1, 0));
    QTest::mouseClick(page.Grid()->viewport(), Qt::LeftButton, {}, cell.center());
    Settle();
    return true;
}

void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

QString AlphabetSpelling(QString sequence) {
    sequence.replace(QLatin1Char('I'), QLatin1Char('L'));
    sequence.replace(QLatin1Char('Q'), QLatin1Char('K'));
    return sequence;
}

}  // namespace denovotest
