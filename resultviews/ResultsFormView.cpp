#include "ResultsFormView.h"

#include "ResultsWindow.h"

#include <map>

namespace zar {
namespace {

std::map<int, ResultsFormViewMaker>& Makers() {
    static std::map<int, ResultsFormViewMaker> makers;
    return makers;
}

}  // namespace

CResultsFormView::CResultsFormView(CResultsWindow* owner, QWidget* parent)
    : QWidget(parent), owner_(owner) {}

void CResultsFormView::SetTitle(const QString& title) {
    title_ = title;
    if (owner_) owner_->UpdateTitle();
}

void RegisterResultsFormView(int viewType, ResultsFormViewMaker maker) {
    Makers()[viewType] = std::move(maker);
}

ResultsFormViewMaker FindResultsFormView(int viewType) {
    const auto it = Makers().find(viewType);
    return it == Makers().end() ? ResultsFormViewMaker() : it->second;
}

}  // namespace zar
