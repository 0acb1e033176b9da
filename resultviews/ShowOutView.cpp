#include "ShowOutView.h"

#include "ResultsStatusDlg.h"
#include "ResultsWindow.h"
#include "TableFit.h"
#include "ZarDoc.h"
#include "FrameCommands.h"
#include "ZarApp.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "document/MassmapResults.h"
#include "document/MultiConsensusResults.h"
#include "document/SorvexResults.h"
#include "document/ZarMessages.h"

#include <QResizeEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace zar {
namespace {

struct Column {
    const char* title;
    int width;
};
const Column kColumnInfo[CShowOutView::kColumns] = {
    {"m/z", 65},      {"Sequence", 128}, {"Reference", 135}, {"Database", 80}, {"XCorr", 65},
    {"Delta Cn", 65}, {"Sp", 65},        {"RSp", 50},        {"Ions", 50},     {"Count", 50}};

}  // namespace

CShowOutView::CShowOutView(CResultsWindow* owner, QWidget* parent)
    : CResultsFormView(owner, parent) {
    setObjectName(QStringLiteral("ShowOutView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    grid_ = new CShowOutGrid(this);
    grid_->setObjectName(QStringLiteral("ShowOutGrid"));
    layout->addWidget(grid_);
    // The columns follow the grid's visible width, which is known only once it is laid out.
    grid_->viewport()->installEventFilter(this);
}

void CShowOutView::OnInitialUpdate() {
    if (!initialised_) {
        grid_->SetGridOwner(this);
        grid_->SetColCount(kColumns);
        grid_->SetPrintMargins(kResultListPrintMargins);
        for (int c = 1; c <= kColumns; ++c) {
            grid_->SetValueRange(0, c, QString::fromLatin1(kColumnInfo[c - 1].title));
            grid_->SetColWidth(c, kColumnInfo[c - 1].width);
        }
        PrepareRows(rowCount_);
        initialised_ = true;
    }
    FitSequenceColumn();
}

bool CShowOutView::IsCommandEnabled(int id) const {
    return id == ID_FILE_PRINT;
}

void CShowOutView::OnCommand(int id) {
    if (id != ID_FILE_PRINT) return;
    if (!initialised_) OnInitialUpdate();
    grid_->PrintWithDialog(ProgramPrinter(), this,
                           Title().isEmpty() ? QStringLiteral("ShowOut") : Title());
}

void CShowOutView::PrepareRows(int n) {
    if (n <= 0) {
        grid_->ClearCells(CGXRange::cells(1, 1, grid_->GetRowCount(), grid_->GetColCount()));
        return;
    }
    rowCount_ = std::max(rowCount_, n);
    grid_->SetRowCount(rowCount_);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const int last = rowCount_;
    grid_->SetStyleRange(CGXRange::cells(1, 1, last, kColumns), CGXStyle().setReadOnly(true));
    grid_->SetStyleRange(CGXRange::cells(1, 2, last, 4),
                         CGXStyle().setAlignment(left).setValueType(GridValueType::Text));
    const std::pair<int, int> decimals[] = {{1, 3}, {5, 3}, {6, 3}, {7, 1}, {8, 0}};
    for (const auto& [col, places] : decimals)
        grid_->SetStyleRange(CGXRange::cells(1, col, last, col),
                             CGXStyle()
                                 .setAlignment(right)
                                 .setValueType(GridValueType::Number)
                                 .setFormat(GridNumberFormat::Fixed, places));
    grid_->SetStyleRange(CGXRange::cells(1, 9, last, 10), CGXStyle().setAlignment(right));
    grid_->ClearCells(CGXRange::cells(1, 1, last, kColumns));
}

CSearchResults* CShowOutView::SetOfKind(int kind) {
    CZarDoc* doc = CZarDoc::GetDoc();
    if (!doc) return nullptr;
    CSearchResults* set = nullptr;
    switch (kind) {
        case kResultKindSorvex:
            set = doc->GetSorvexResults();
            break;
        case kResultKindMassmap:
            set = doc->GetMassmapResults();
            break;
        case kResultKindMultiConsensus:
            set = doc->GetMultiConsensusResults();
            break;
        default:
            return nullptr;
    }
    // A set that a worker is filling is not read here.
    return CResultsStatusDlg::IsLoading(set) ? nullptr : set;
}

void CShowOutView::ParseForDisplay(CSearchResults* set, int kind, const QString& path) {
    switch (kind) {
        case kResultKindSorvex:
            static_cast<CSorvexResults*>(set)->ParseOutFileForDisplay(path);
            break;
        case kResultKindMassmap:
            static_cast<CMassmapResults*>(set)->ParseOutFileForDisplay(path);
            break;
        case kResultKindMultiConsensus:
            static_cast<CMultiConsensusResults*>(set)->ParseOutFileForDisplay(path);
            break;
        default:
            break;
    }
}

void CShowOutView::ShowOut(const SelectedResult& item) {
    FillFromOutFile(item.kind, item.hit, 0);
}

void CShowOutView::FillFromOutFile(int kind, HitNumber number, int keepList) {
    CSearchResults* set = SetOfKind(kind);
    if (!set) return;
    if (!initialised_) OnInitialUpdate();
    const QString folder = set->GetDirectory();
    CResultsWindow* window = Owner();
    if (keepList == 0 && window) window->ResetToolBarCombo();
    PostMessage(window, kMsgOutputFileEnable, static_cast<WPARAM>(keepList), 0);

    const SearchHitRecord* hit = set->FindHit(number);
    const QString name = hit ? hit->fileInformation.trimmed() : QString();
    SetTitle(QStringLiteral("ShowOut - ") + name);

    if (hit) {
        const QString out = QStringLiteral(".out");
        const QString path = !hit->path.isEmpty() ? hit->path + out
                             : name.endsWith(out, Qt::CaseInsensitive)
                                 ? JoinPath(folder, name)
                                 : JoinPath(folder, name + out);
        ParseForDisplay(set, kind, path);
    }

    const int capacity = std::min(set->GetDisplayCount(), CSearchResults::kMaxDisplayRecords);
    int shown = 0;
    if (hit) {
        for (int i = 0; i < capacity; ++i) {
            const SearchHitRecord* r = set->GetDisplayRecord(i);
            if (r && r->displayed) ++shown;
        }
    }
    PrepareRows(shown);
    grid_->LockUpdate(true);
    int row = 0;
    for (int i = 0; hit && i < capacity; ++i) {
        const SearchHitRecord* r = set->GetDisplayRecord(i);
        if (!r || !r->displayed) continue;
        ++row;
        grid_->SetValueRange(row, 1, r->hitMass);
        grid_->SetValueRange(row, 2, r->peptide);
        grid_->SetValueRange(row, 3, r->reference);
        grid_->SetValueRange(row, 4, r->databaseFile);
        grid_->SetValueRange(row, 5, r->correlation);
        grid_->SetValueRange(row, 6, r->deltaCorrelation);
        grid_->SetValueRange(row, 7, r->preliminaryScore);
        grid_->SetValueRange(row, 8, static_cast<double>(r->preliminaryRank));
        grid_->SetValueRange(row, 9, QCFormat("%d/%d", r->ionsMatched, r->ionsTotal));
        if (r->furtherReferences > 0)
            grid_->SetValueRange(row, 10, static_cast<double>(r->furtherReferences));
        else
            grid_->SetValueRange(row, 10, QString());
    }
    grid_->LockUpdate(false);
    kind_ = kind;
    hit_ = number;
}

void CShowOutView::ShowOutForEntry(int kind, int entryIndex) {
    CSearchResults* set = SetOfKind(kind);
    if (!set) return;
    const ProteinArray& proteins = set->GetProteins();
    if (entryIndex < 0 || entryIndex >= static_cast<int>(proteins.size())) return;
    const CProteinRecord& protein = *proteins[static_cast<size_t>(entryIndex)];
    std::vector<HitNumber> numbers;
    HitNumber first;
    for (const auto& list : protein.hitNumbersByRank) {
        for (HitNumber number : list) {
            if (!first.isValid()) first = number;
            if (std::find(numbers.begin(), numbers.end(), number) == numbers.end())
                numbers.push_back(number);
        }
    }
    if (!first.isValid() || !set->FindHit(first)) return;
    FillFromOutFile(kind, first, 1);
    std::sort(numbers.begin(), numbers.end());
    if (CResultsWindow* window = Owner()) window->FillToolBarCombo(numbers, first);
}

bool CShowOutView::eventFilter(QObject* watched, QEvent* e) {
    if (watched == grid_->viewport() && e->type() == QEvent::Resize) FitSequenceColumn();
    return CResultsFormView::eventFilter(watched, e);
}

void CShowOutView::resizeEvent(QResizeEvent* e) {
    CResultsFormView::resizeEvent(e);
    FitSequenceColumn();
}

void CShowOutView::FitSequenceColumn() {
    if (!initialised_) return;
    SpreadSpareWidth(*grid_, {{2, kMinSequenceWidth}});
}

}  // namespace zar
