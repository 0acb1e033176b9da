#include "RegisterSpectrumViews.h"

#include "DisplayIonsView.h"
#include "IcatView.h"
#include "SpecView.h"
#include "TraceView.h"
#include "XpressParamsDlg.h"
#include "app/FrameCommands.h"
#include "app/MainFrame.h"
#include "app/ViewFactory.h"
#include "resultviews/ResultsFormView.h"

namespace zar {

void RegisterSpectrumViews() {
    RegisterViewClass(QStringLiteral("CTraceView"),
                      [](QWidget* parent) -> CZarViewWidget* { return new CTraceView(parent); });
    RegisterViewClass(QStringLiteral("CSpecView"),
                      [](QWidget* parent) -> CZarViewWidget* { return new CSpecView(parent); });
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
}

}  // namespace zar
