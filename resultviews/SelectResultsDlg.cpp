#include "SelectResultsDlg.h"

#include "TableFit.h"
#include "ZarApp.h"
#include "ZarDoc.h"
#include "document/MultiConsensusResults.h"
#include "grids/BitmapButtonEdit.h"
#include "grids/SimpleEditGrids.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace zar {

CSelectResultsDlg::CSelectResultsDlg(QWidget* parent) : CDialogBase(kTemplateId, parent) {
    setWindowTitle(QStringLiteral("Select Results"));
    auto* layout = new QVBoxLayout(this);
    grid_ = new CSelectResultsGrid(this);
    grid_->setObjectName(QStringLiteral("ConsensusFileGrid"));
    grid_->setMinimumSize(160, kRows * kRowHeight + 30);
    AddControl(kGridId, grid_);
    layout->addWidget(grid_);
    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    close_ = buttons->addButton(QStringLiteral("&Close"), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    AddControl(1, ok_);
    AddControl(2, close_);
    AddControl(9, help);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, &CSelectResultsDlg::OnHelp);
    layout->addWidget(buttons);
    folderCell_ = new CBitmapButtonEdit(grid_);
    grid_->viewport()->installEventFilter(this);
    resize(420, 330);
}

bool CSelectResultsDlg::OnInitDialog() {
    if (!initialised_) {
        grid_->SetRowCount(kRows);
        grid_->SetColCount(1);
        grid_->setItemDelegateForColumn(0, folderCell_);
        grid_->SetValueRange(0, 1, QStringLiteral("TurboSORVEX Results"));
        grid_->SetColWidth(1, kColumnWidth);
        grid_->SetRowHeight(kRowHeight);
        grid_->SetStyleRange(
            CGXRange::cells(1, 1, kRows, 1),
            CGXStyle().setControl(GridControl::BrowseEdit).setValueType(GridValueType::Text));
        for (int r = 1; r <= kRows; ++r) grid_->SetValueRange(r, 1, QString());
        initialised_ = true;
        LoadList();
    }
    FitColumn();
    return true;
}

void CSelectResultsDlg::LoadList() {
    CZarDoc* doc = CZarDoc::GetDoc();
    const CMultiConsensusResults* set = doc ? doc->GetMultiConsensusResults() : nullptr;
    for (int r = 1; r <= grid_->GetRowCount(); ++r) grid_->SetValueRange(r, 1, QString());
    if (set) {
        const auto& list = set->GetResultList();
        const int shown = std::min(static_cast<int>(list.size()), grid_->GetRowCount());
        for (int i = 0; i < shown; ++i)
            grid_->SetValueRange(i + 1, 1, list[static_cast<size_t>(i)].resultsDirectory);
    }
    grid_->Redraw();
}

void CSelectResultsDlg::OnOK() {
    CZarDoc* doc = CZarDoc::GetDoc();
    CMultiConsensusResults* set = doc ? doc->GetMultiConsensusResults() : nullptr;
    if (!set) return;  // nothing to fill: the dialog stays open
    // A folder still being typed counts: leaving the cell stores it.
    grid_->setCurrentIndex(QModelIndex());
    set->ClearResultList();
    std::vector<ResultsListEntry>& list = set->GetResultList();
    for (int r = 1; r <= grid_->GetRowCount(); ++r) {
        const QString folder = grid_->GetValueRowCol(r, 1);
        if (folder.isEmpty()) continue;
        const bool listed = std::any_of(list.begin(), list.end(), [&](const ResultsListEntry& e) {
            return e.resultsDirectory == folder;
        });
        if (!listed) list.push_back({QString(), folder});
    }
    QDialog::accept();
}

void CSelectResultsDlg::OnHelp() {
    ShowContextHelp(this, kTemplateId);
}

bool CSelectResultsDlg::eventFilter(QObject* watched, QEvent* event) {
    // The column follows the grid's visible width, known only once the grid is laid out.
    if (watched == grid_->viewport() && event->type() == QEvent::Resize) FitColumn();
    return CDialogBase::eventFilter(watched, event);
}

void CSelectResultsDlg::FitColumn() {
    if (!initialised_) return;
    SpreadSpareWidth(*grid_, {{1, kColumnWidth}});
}

}  // namespace zar
