#include "BlastView.h"

#include "databases/DatabaseSearch.h"
#include "databases/views/DatabaseStatusDlg.h"
#include "document/SearchResults.h"
#include "document/TextHelpers.h"
#include "resultviews/ResultsStatusDlg.h"
#include "resultviews/ResultsWindow.h"

#include <QLabel>
#include <QPrinter>
#include <QVBoxLayout>

#include <algorithm>

namespace zar {
namespace {

struct Column {
    const char* title;
    int width;
};
const Column kColumns[] = {{"Reference", 225}, {"Sequence", 424}, {"Mass", 85}, {"Position", 85}};
constexpr int kColumnCount = 4;

}  // namespace

CBlastView::CBlastView(CResultsWindow* owner, QWidget* parent)
    : CLookupFormView(owner, parent),
      database_(new QLabel(QStringLiteral("Database:"), this)),
      grid_(new CBlastGrid(this)) {
    setObjectName(QStringLiteral("CBlastView"));
    grid_->setObjectName(QStringLiteral("BlastGrid"));
    database_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(database_);
    layout->addWidget(grid_, 1);
}

void CBlastView::OnInitialUpdate() {
    if (initialised_) return;
    initialised_ = true;
    grid_->SetGridOwner(this);
    grid_->SetColCount(kColumnCount);
    grid_->SetPrintMargins(kResultListPrintMargins);
    for (int c = 1; c <= kColumnCount; ++c) {
        grid_->SetValueRange(0, c, QString::fromLatin1(kColumns[c - 1].title));
        grid_->SetColWidth(c, kColumns[c - 1].width);
    }
    grid_->SetRowCount(0);
    grid_->AddHit(kMinRows);
}

QString CBlastView::DatabaseText() const {
    return database_->text();
}

void CBlastView::StartDatabaseSearch(const SelectedResult& item, int rows) {
    if (DeferWhileSearching([this, item, rows] { StartDatabaseSearch(item, rows); })) return;
    OnInitialUpdate();
    kind_ = item.kind;
    const CSearchResults* set = ReadyResultsOfKind(item.kind);
    const SearchHitRecord* hit = set ? TargetOfResult(*set, item, &reference_, &sequence_) : nullptr;
    hit_ = hit ? hit->hitNumber() : HitNumber();
    hitRows_ = 0;
    grid_->ClearCells(CGXRange::cells(1, 1, std::max(1, grid_->GetRowCount()), kColumnCount));
    const int wanted = std::max(kMinRows, rows);
    if (grid_->GetRowCount() > wanted) grid_->RemoveRows(wanted + 1, grid_->GetRowCount());
    if (grid_->GetRowCount() < wanted) grid_->AddHit(wanted - grid_->GetRowCount());
    if (!set) return;
    if (Owner()) Owner()->SetTitle(QStringLiteral("Blast - ") + sequence_);
    if (reference_.isEmpty() && sequence_.isEmpty()) return;
    database_->setText(QStringLiteral("Database: ") + (hit ? hit->databaseFile : QString()));
    StartLookup(CDatabaseStatusDlg::kSearchBySequence);
}

void CBlastView::OnSearchResult(std::any& result) {
    const auto* found = std::any_cast<SequenceLookupResult>(&result);
    if (!found) return;
    const int count = static_cast<int>(found->rows.size());
    if (grid_->GetRowCount() < count) {
        const int missing = count - grid_->GetRowCount();
        grid_->AddHit((missing + kRowGrowth - 1) / kRowGrowth * kRowGrowth);
    }
    grid_->LockUpdate(true);
    for (int r = 1; r <= count; ++r) {
        const SequenceLookupRow& row = found->rows[static_cast<std::size_t>(r - 1)];
        grid_->SetValueRange(r, 1, row.reference);
        grid_->SetValueRange(r, 2, QString::fromStdString(row.sequence));
        grid_->SetValueRange(r, 3, row.mass);
        grid_->SetValueRange(r, 4, row.positionText());
    }
    grid_->LockUpdate(false);
    hitRows_ = count;
}

QString CBlastView::ClipboardSequence() const {
    return grid_->PressedText();
}

int CBlastView::PrintReport(QPrinter& printer) {
    grid_->Print(&printer, Owner() ? Owner()->windowTitle() : QString());
    return 1;
}

}  // namespace zar
