#include "RegisterSpectrumViews.h"

#include "DisplayIonsView.h"
#include "SpecView.h"
#include "TraceView.h"
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
}

}  // namespace zar
