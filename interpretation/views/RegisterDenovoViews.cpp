#include "RegisterDenovoViews.h"

#include "DenovoParamsDlg.h"
#include "DenovoScatterView.h"
#include "DenovoSpecView.h"
#include "DenovoView.h"
#include "FrameCommands.h"
#include "MainFrame.h"
#include "ViewFactory.h"
#include "ZarDoc.h"
#include "spectrumviews/views/AnnotationTargets.h"

namespace zar {

namespace {

// The frame's one settings dialog, made on first use and kept while the frame lives.
void ShowDeNovoParameters(CMainFrame& frame) {
    auto* dialog = frame.findChild<CDenovoParamsDlg*>(QString(), Qt::FindDirectChildrenOnly);
    if (!dialog) {
        dialog = new CDenovoParamsDlg(&frame);
        dialog->Create(&frame);
    }
    if (CZarDoc* doc = CZarDoc::GetDoc()) {
        const DenovoParams p = doc->GetDenovoParameters();
        dialog->SetParameters(p.daTolerance, p.minimumPrimaryScore, p.ppmTolerance,
                              p.noiseThreshold, p.maximumPartialSequences, p.maximumCandidates,
                              p.percentOfHighestScore, p.expandPartialSequences);
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

}  // namespace

void RegisterDenovoViews() {
    RegisterViewClass(QString::fromLatin1(CDenovoView::kClassName),
                      [](QWidget* parent) -> CZarViewWidget* { return new CDenovoView(parent); });
    RegisterViewClass(
        QString::fromLatin1(CDenovoScatterView::kClassName),
        [](QWidget* parent) -> CZarViewWidget* { return new CDenovoScatterView(parent); });
    RegisterViewClass(
        QString::fromLatin1(CDenovoSpecView::kClassName), [](QWidget* parent) -> CZarViewWidget* {
            return WithAnnotationPicks(new CDenovoSpecView(parent), &CDenovoSpecView::peakPicked);
        });
    RegisterAnnotationTarget<CDenovoSpecView>(CDenovoSpecView::kClassName, kAnnotateDenovoSpectrum);
    RegisterFrameCommand(ID_ACTION_DENOVO, ShowDeNovoParameters);
}

}  // namespace zar
