#include "RegisterSpectrumViews.h"

#include "AnnotationTargets.h"
#include "DisplayIonsView.h"
#include "RegisterPepmatchViews.h"
#include "SpecView.h"
#include "TraceView.h"
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
    RegisterPepmatchViews();
}

}  // namespace zar
