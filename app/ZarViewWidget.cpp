#include "ZarViewWidget.h"

#include "FrameCommands.h"
#include "MainFrame.h"
#include "ZarApp.h"
#include "ZarDoc.h"
#include "grid/GridWnd.h"
#include "gui/PrintJob.h"

#include <QFileInfo>
#include <QPainter>
#include <QPrinter>

namespace zar {

CZarViewWidget::CZarViewWidget(QWidget* parent) : QWidget(parent) {
    if (CZarDoc* doc = CZarDoc::GetDoc()) doc->AddView(this);
}

CZarViewWidget::~CZarViewWidget() {
    if (CZarDoc* doc = CZarDoc::GetDoc()) doc->RemoveView(this);
}

CZarDoc* CZarViewWidget::GetDocument() const { return CZarDoc::GetDoc(); }

void CZarViewWidget::OnUpdate(CZarView*, int) { update(); }

void CZarViewWidget::CommandStateChanged() {
    if (CMainFrame* frame = CMainFrame::GetMainFrame(); frame && frame->ActiveView() == this)
        frame->UpdateCommandUI();
}

bool CZarViewWidget::HasViewCommand(int id) const {
    if (!PrintableGrid()) return false;
    return id == ID_FILE_PRINT || id == ID_FILE_PAGE_SETUP || id == ID_FILE_PAGE_HEADER_FOOTER;
}

void CZarViewWidget::OnViewCommand(int id) {
    CGXGridWnd* grid = PrintableGrid();
    switch (id) {
        case ID_FILE_PRINT:
            if (HasViewCommand(id)) PrintWithDialog();
            break;
        case ID_FILE_PAGE_SETUP:
            if (grid) grid->OnPageSetup(ProgramPrinter(), this);
            break;
        case ID_FILE_PAGE_HEADER_FOOTER:
            if (grid) grid->OnPageHeaderFooter(this);
            break;
        default:
            break;
    }
}

void CZarViewWidget::PrintPages(QPainter& painter, QPrinter& printer) {
    if (CGXGridWnd* grid = PrintableGrid()) grid->PrintPages(painter, printer);
}

QString CZarViewWidget::PrintName() const {
    CZarDoc* doc = GetDocument();
    const QString run = doc ? QFileInfo(doc->GetRawFilePath()).completeBaseName() : QString();
    const QString what = PrintTitle();
    if (run.isEmpty()) return what;
    return what.isEmpty() ? run : run + QStringLiteral(" - ") + what;
}

bool CZarViewWidget::PrintTo(QPrinter& printer) {
    if (CGXGridWnd* grid = PrintableGrid()) grid->PrepareForPrinting(printer);
    return PrintOnPrinter(printer, [this](QPainter& painter, QPrinter& p) { PrintPages(painter, p); });
}

bool CZarViewWidget::PrintWithDialog() {
    QPrinter& printer = ProgramPrinter();
    if (CGXGridWnd* grid = PrintableGrid()) grid->PrepareForPrinting(printer);
    PrintDialogOptions options;
    options.pageRanges = PrintsPageRanges();
    return RunPrintDialog(printer, this, PrintName(), options,
                          [this](QPainter& painter, QPrinter& p) { PrintPages(painter, p); });
}

}  // namespace zar
