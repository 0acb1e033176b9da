#include "ZarmassPage.h"

#include "ZarDoc.h"
#include "grid/GridWnd.h"
#include "grids/ClipboardWnd.h"
#include "grids/DisplayGrids.h"
#include "grids/ExcelExport.h"
#include "resultviews/TableFit.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>

namespace zar {
namespace {

constexpr int kGridControl = 8529;
constexpr int kAverageMwStatic = 8530;
constexpr int kChargeInfoStatic = 8531;
constexpr int kExportExcel = 9230;

}  // namespace

CZarmassPage::CZarmassPage(QWidget* parent) : CSheetPage(8528, QStringLiteral("ZARMASS Results"), parent) {}

bool CZarmassPage::OnInitDialog() {
    if (initialised_) return true;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(4);
    averageMw_ = new QLabel(QStringLiteral("Average MW:"), this);
    chargeInfo_ = new QLabel(QStringLiteral("Charge State Information:"), this);
    grid_ = new CZarmassResultsGrid(this);
    grid_->setObjectName(QStringLiteral("ZarmassGrid"));
    AddControl(kAverageMwStatic, averageMw_);
    AddControl(kChargeInfoStatic, chargeInfo_);
    AddControl(kGridControl, grid_);
    layout->addWidget(averageMw_);
    layout->addWidget(chargeInfo_);
    layout->addWidget(grid_, 1);
    grid_->SetGridOwner(reinterpret_cast<std::uintptr_t>(this));
    grid_->SetRowCount(kRows);
    grid_->SetColCount(2);
    grid_->verticalHeader()->hide();
    grid_->SetValueRange(0, 1, QStringLiteral("m/z"));
    grid_->SetValueRange(0, 2, QStringLiteral("Charge"));
    grid_->SetColWidth(1, kMzColumnWidth);
    grid_->SetColWidth(2, kChargeColumnWidth);
    grid_->SetStyleRange(CGXRange::cells(1, 2, kRows, 2), CGXStyle().setAlignment(Qt::AlignRight | Qt::AlignVCenter));
    grid_->SetStyleRange(CGXRange::cells(1, 1, kRows, 1), CGXStyle().setFormat(GridNumberFormat::Fixed, 2));
    FitColumnsOf(grid_);
    initialised_ = true;
    return true;
}

bool CZarmassPage::OnSetActive() {
    if (refreshPending_) {
        refreshPending_ = false;
        Refresh();
    }
    return true;
}

void CZarmassPage::SetMz(int row, double mz) {
    if (grid_ && row >= 1 && row <= rowCount_) grid_->SetValueRange(row, 1, mz);
}

void CZarmassPage::SetCharge(int row, int charge) {
    if (grid_ && row >= 1 && row <= rowCount_) grid_->SetValueRange(row, 2, static_cast<double>(charge));
}

void CZarmassPage::ClearList() {
    if (grid_) grid_->ClearCells(CGXRange::cells(1, 1, grid_->GetRowCount(), grid_->GetColCount()));
}

void CZarmassPage::Refresh() {
    if (HasWindow()) ClearList();
    else refreshPending_ = true;
}

int CZarmassPage::OnExportExcel(QString* outputPath) {
    if (!grid_) return kExcelExportNoParameters;
    const CZarDoc* doc = CZarDoc::GetDoc();
    CClipboardWnd guard(nullptr);
    return ExportToExcel(*grid_, doc ? doc->GetRawFilePath() : QString(), QStringLiteral("Zarmass.xlt"),
                         QStringLiteral("Zarmass"), outputPath);
}

void CZarmassPage::FitColumns() {
    if (initialised_) SpreadSpareWidth(*grid_, {{1, kMzColumnWidth}, {2, kChargeColumnWidth}});
}

void CZarmassPage::OnContextMenu(const QPoint& global) {
    QMenu menu(this);
    QMenu* exportMenu = menu.addMenu(QStringLiteral("&Export"));
    exportMenu->addAction(QStringLiteral("&Excel"), this, [this] { OnExportExcel(); })->setData(kExportExcel);
    menu.exec(global);
}

}  // namespace zar
