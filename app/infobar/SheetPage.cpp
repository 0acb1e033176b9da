#include "SheetPage.h"

#include "grid/GridWnd.h"

#include <QAbstractScrollArea>
#include <QCursor>

namespace zar {

void CSheetPage::CreatePageWindow() {
    if (hasWindow_) return;
    hasWindow_ = true;
    OnInitDialog();
}

void CSheetPage::FitColumnsOf(QAbstractScrollArea* grid) {
    fitted_ = grid->viewport();
    fitted_->installEventFilter(this);
}

bool CSheetPage::event(QEvent* e) {
    if (e->type() == MessageEvent::eventType() && static_cast<MessageEvent*>(e)->message() == WM_CONTEXTMENU) {
        OnContextMenu(QCursor::pos());
        return true;
    }
    return CPropertyPageBase::event(e);
}

bool CSheetPage::eventFilter(QObject* watched, QEvent* e) {
    if (watched == fitted_ && e->type() == QEvent::Resize) FitColumns();
    return CPropertyPageBase::eventFilter(watched, e);
}

}  // namespace zar
