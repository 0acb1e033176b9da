#include "SheetDlgBar.h"

#include "ResizableSheet.h"

namespace zar {

namespace {

// The pages belong to the bar, not to the sheet: they leave it before it goes.
void deleteSheet(CResizableSheet* sheet) {
    if (!sheet) return;
    sheet->blockSignals(true);
    while (sheet->GetPageCount() > 0) {
        QWidget* page = sheet->widget(sheet->GetPageCount() - 1);
        sheet->RemovePage(sheet->GetPageCount() - 1);
        page->setParent(nullptr);
    }
    delete sheet;
}

}  // namespace

CSheetDlgBar::~CSheetDlgBar() { DestroySheet(); }

void CSheetDlgBar::DestroySheet() {
    deleteSheet(sheet_);
    sheet_ = nullptr;
}

bool CSheetDlgBar::Create(QMainWindow* frame, QSize defaultSize, bool changeFlag) {
    if (!CResizeDlgBar::Create(frame, defaultSize, changeFlag)) return false;
    DestroySheet();
    sheet_ = new CResizableSheet(QStringLiteral("ResizableSheet"), Client(), 0);
    AddPages(*sheet_);
    sheet_->ApplyTabImages();
    ResizeContents();
    sheet_->show();
    return true;
}

void CSheetDlgBar::ResizeContents() {
    QRect inside;
    if (sheet_ && GetInsideRect(inside)) sheet_->setGeometry(inside);
}

}  // namespace zar
