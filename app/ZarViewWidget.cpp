#include "ZarViewWidget.h"

#include "ZarDoc.h"

namespace zar {

CZarViewWidget::CZarViewWidget(QWidget* parent) : QWidget(parent) {
    if (CZarDoc* doc = CZarDoc::GetDoc()) doc->AddView(this);
}

CZarViewWidget::~CZarViewWidget() {
    if (CZarDoc* doc = CZarDoc::GetDoc()) doc->RemoveView(this);
}

CZarDoc* CZarViewWidget::GetDocument() const { return CZarDoc::GetDoc(); }

void CZarViewWidget::OnUpdate(CZarView*, int) { update(); }

}  // namespace zar
