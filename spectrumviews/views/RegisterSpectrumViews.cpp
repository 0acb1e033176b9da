#include "RegisterSpectrumViews.h"

#include "AnnotationTargets.h"
#include "DisplayIonsView.h"
#include "IcatView.h"
#include "RegisterPepmatchViews.h"
#include "SpecView.h"
#include "TraceView.h"
#include "XpressParamsDlg.h"
#include "app/FrameCommands.h"
#include "app/MainFrame.h"
#include "app/ViewFactory.h"
#include "resultviews/ResultsFormView.h"

namespace zar {

void RegisterSpectrumViews() {
    RegisterViewClass(QStringLiteral("CTraceView"), [](QWidget* parent) -> CZarViewWidget* {
        return WithAnnotationPicks(new CTraceView(parent), &CTraceView::traceClicked);
    });
    RegisterViewClass(QStringLiteral("CSpecView"), [](QWidget* parent) -> CZarViewWidget* {
        return WithAnnotationPicks(new CSpecView(parent), &CSpecView::peakPicked);
    });
    RegisterResultsFormView(
        CDisplayIonsView::kResultsViewType,
        [](CResultsWindow* owner) -> CResultsFormView* { return new CDisplayIonsView(owner); });
    RegisterResultsFormView(
        CIcatView::kResultsViewType,
        [](CResultsWindow* owner) -> CResultsFormView* { return new CIcatView(owner); });
    RegisterFrameCommand(ID_ACTION_XPRESS, [](CMainFrame& frame) {
        CXpressParamsDlg dialog(&frame);
        dialog.DoModal();
    });
    RegisterPepmatchViews();
}

}  // namespace zar
