#include "RegisterZarmassViews.h"

#include "ZarmassDeconvView.h"
#include "ZarmassPropertySheet.h"
#include "ZarmassSpecView.h"

#include "FrameCommands.h"
#include "MainFrame.h"
#include "ViewFactory.h"
#include "ZarDoc.h"
#include "spectrumviews/views/AnnotationTargets.h"

namespace zar {

namespace {

constexpr int kZarmassResultsPage = 102;

}  // namespace

void ShowZarmassSheet(CMainFrame& frame) {
    const CZarDoc* doc = CZarDoc::GetDoc();
    const QString path = doc ? doc->GetRawFilePath() : QString();
    auto* sheet = dynamic_cast<CZarmassPropertySheet*>(frame.GetZarmassSheet());
    if (!sheet) {
        sheet = new CZarmassPropertySheet(CZarmassPropertySheet::kCaptionId, &frame, 0);
        sheet->Create();
        frame.SetZarmassSheet(sheet);
    }
    CInfoBarTarget* bar = frame.GetInfoBar();
    // The page makes its window when first shown: its molecular-weight text exists from then.
    if (bar) bar->ShowPage(kZarmassResultsPage);
    sheet->SetSpectrum(path, true);
    sheet->SetOwnerView(bar ? bar->ZarmassAverageMwText() : nullptr);
    sheet->ClearMassGrids();
    sheet->show();
    sheet->raise();
    sheet->activateWindow();
}

void RegisterZarmassViews() {
    RegisterViewClass(QStringLiteral("CZarmassSpecView"), [](QWidget* parent) -> CZarViewWidget* {
        return WithAnnotationPicks(new CZarmassSpecView(parent), &CZarmassSpecView::peakPicked);
    });
    RegisterAnnotationTarget<CZarmassSpecView>("CZarmassSpecView", kAnnotateZarmassSpectrum);
    RegisterViewClass(QStringLiteral("CZarmassDeconvView"), [](QWidget* parent) -> CZarViewWidget* {
        return new CZarmassDeconvView(parent);
    });
    RegisterFrameCommand(ID_ACTION_ZARMASS, [](CMainFrame& frame) { ShowZarmassSheet(frame); });
}

}  // namespace zar
