#include "RegisterResultFormViews.h"

#include "BlastView.h"
#include "ProteinView.h"
#include "RetrieveView.h"
#include "SearchInfoView.h"

namespace zar {

void RegisterResultFormViews() {
    RegisterResultsFormView(
        CBlastView::kResultsViewType,
        [](CResultsWindow* owner) -> CResultsFormView* { return new CBlastView(owner); });
    RegisterResultsFormView(
        CRetrieveView::kResultsViewType,
        [](CResultsWindow* owner) -> CResultsFormView* { return new CRetrieveView(owner); });
    RegisterResultsFormView(
        CProteinView::kResultsViewType,
        [](CResultsWindow* owner) -> CResultsFormView* { return new CProteinView(owner); });
    RegisterResultsFormView(
        CSearchInfoView::kResultsViewType,
        [](CResultsWindow* owner) -> CResultsFormView* { return new CSearchInfoView(owner); });
}

}  // namespace zar
