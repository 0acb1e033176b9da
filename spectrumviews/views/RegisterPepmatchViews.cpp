#include "RegisterPepmatchViews.h"

#include "AnnotateDialog.h"
#include "AnnotationTargets.h"
#include "DisplaySettingsPropertySheet.h"
#include "PepmatchSpecView.h"
#include "PepmatchView.h"
#include "SelectIonsView.h"
#include "SpecView.h"
#include "TraceView.h"
#include "app/FrameCommands.h"
#include "app/MainFrame.h"
#include "app/ViewFactory.h"
#include "document/hub/ZarDoc.h"

namespace zar {

void RegisterPepmatchViews() {
    RegisterViewClass(QStringLiteral("CPepmatchView"),
                      [](QWidget* parent) -> CZarViewWidget* { return new CPepmatchView(parent); });
    RegisterViewClass(QStringLiteral("CPepmatchSpecView"), [](QWidget* parent) -> CZarViewWidget* {
        return WithAnnotationPicks(new CPepmatchSpecView(parent), &CPepmatchSpecView::peakPicked);
    });
    RegisterResultsFormView(CSelectIonsView::kResultsViewType,
                            [](CResultsWindow* owner) -> CResultsFormView* {
                                return new CSelectIonsView(owner);
                            });

    RegisterAnnotationTarget<CTraceView>("CTraceView", kAnnotateTrace);
    RegisterAnnotationTarget<CSpecView>("CSpecView", kAnnotateSpectrum);
    RegisterAnnotationTarget<CPepmatchSpecView>("CPepmatchSpecView", kAnnotatePepmatchSpectrum);

    RegisterFrameCommand(ID_ANNOTATE_ADD_TEXT, [](CMainFrame& frame) { OpenAnnotateDialog(frame); });
    RegisterFrameCommand(ID_ANNOTATE_CLEAR_ALL, [](CMainFrame& frame) {
        if (CZarViewWidget* view = frame.ActiveView()) ClearAnnotations(*view);
    });
    RegisterFrameCommand(ID_OPTIONS_DISPLAY, [](CMainFrame& frame) {
        if (CZarDoc* doc = CZarDoc::GetDoc()) RunDisplaySettings(&frame, *doc);
    });
}

}  // namespace zar
