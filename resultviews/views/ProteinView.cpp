#include "ProteinView.h"

#include "app/grids/DisplayGrids.h"
#include "controls/NumericEditCtrl.h"
#include "databases/DatabaseSearch.h"
#include "databases/views/DatabaseStatusDlg.h"
#include "document/SearchResults.h"
#include "resultviews/ResultsStatusDlg.h"
#include "resultviews/ResultsWindow.h"
#include "resultviews/SequenceCells.h"
#include "resultviews/SequenceReport.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>

#include <algorithm>

namespace zar {
namespace {

struct Column {
    const char* title;
    int width;
};
const Column kPeptideColumnInfo[CProteinView::kPeptideColumns] = {
    {"Sequence", 260}, {"Mass", 90}, {"% by Mass", 90}, {"Position", 90}, {"% by AA's", 90}};

struct Total {
    const char* label;
    int decimals;
};
const Total kTotalInfo[4] = {
    {"by Mass:", 1}, {"% by Mass:", 2}, {"by Position:", 0}, {"% by AA's:", 2}};
constexpr double kTotalsLimit = 1000000.0;
constexpr unsigned kTotalsWidth = 11;

}  // namespace

CProteinView::CProteinView(CResultsWindow* owner, QWidget* parent)
    : CSequenceFormView(owner, parent, kInitialRows), peptideGrid_(new CProteinGrid(this)) {
    setObjectName(QStringLiteral("CProteinView"));
    peptideGrid_->setObjectName(QStringLiteral("CoverageGrid"));
    QGridLayout* form = Form();
    form->addWidget(referenceEdit_, 0, 0, 1, 3);
    form->addWidget(database_, 1, 0);
    form->addWidget(aminoAcids_, 1, 1);
    form->addWidget(proteinMass_, 1, 2);
    form->addWidget(sequenceGrid_, 2, 0, 1, 3);
    form->addWidget(peptideGrid_, 3, 0, 1, 3);
    auto* totals = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        totals_[i] = new CDoubleEditCtrl(this);
        totals_[i]->setReadOnly(true);
        totals_[i]->setObjectName(QStringLiteral("Total%1").arg(kTotalsIds[i]));
        auto* label = new QLabel(QString::fromLatin1(kTotalInfo[i].label), this);
        label->setBuddy(totals_[i]);
        totals->addWidget(label);
        totals->addWidget(totals_[i]);
    }
    totals->addStretch();
    form->addLayout(totals, 4, 0, 1, 3);
    form->setRowStretch(2, 3);
    form->setRowStretch(3, 2);
}

void CProteinView::OnInitialUpdate() {
    if (!initialised_) {
        initialised_ = true;
        SetUpSequenceGrid();
        peptideGrid_->SetColCount(kPeptideColumns);
        for (int c = 1; c <= kPeptideColumns; ++c) {
            peptideGrid_->SetValueRange(0, c, QString::fromLatin1(kPeptideColumnInfo[c - 1].title));
            peptideGrid_->SetColWidth(c, kPeptideColumnInfo[c - 1].width);
        }
        const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
        peptideGrid_->SetStyleRange(CGXRange::cols(1, 1),
                                    CGXStyle().setAlignment(Qt::AlignLeft | Qt::AlignVCenter));
        const std::pair<int, int> decimals[] = {{2, 1}, {3, 2}, {5, 2}};
        for (const auto& [col, places] : decimals)
            peptideGrid_->SetStyleRange(CGXRange::cols(col, col),
                                        CGXStyle()
                                            .setAlignment(right)
                                            .setValueType(GridValueType::Number)
                                            .setFormat(GridNumberFormat::Fixed, places));
        peptideGrid_->SetStyleRange(CGXRange::cols(4, 4), CGXStyle().setAlignment(right));
        peptideGrid_->SetRowCount(peptideRows_);
    }
    UpdateData();
}

void CProteinView::UpdateData() {
    for (int i = 0; i < 4; ++i)
        totals_[i]->Initialize(totalValues_[i], 0.0, kTotalsLimit, kTotalsWidth,
                               static_cast<unsigned>(kTotalInfo[i].decimals));
}

void CProteinView::PreparePeptideRows(int rows) {
    peptideRows_ = std::max(peptideRows_, rows);
    peptideGrid_->SetRowCount(peptideRows_);
}

namespace {

bool HoldsHit(const CProteinRecord* protein, HitNumber hit) {
    if (!protein) return false;
    for (const auto& numbers : protein->hitNumbersByRank)
        if (std::find(numbers.begin(), numbers.end(), hit) != numbers.end()) return true;
    return false;
}

}  // namespace

int CProteinView::EntryOfHit(const CSearchResults& set, HitNumber number) {
    const SearchHitRecord* hit = set.FindHit(number);
    if (!hit) return -1;
    const ProteinArray& proteins = set.GetProteins();
    for (std::size_t i = 0; i < proteins.size(); ++i)
        if (HoldsHit(proteins[i].get(), hit->hitNumber())) return static_cast<int>(i);
    for (std::size_t i = 0; i < proteins.size(); ++i)
        if (proteins[i] && proteins[i]->reference == hit->reference) return static_cast<int>(i);
    return -1;
}

void CProteinView::ShowProtein(const SelectedResult& item) {
    int entry = item.entryIndex;
    // A result that names a hit (by its peptide) shows the hit's protein when the entry does not
    // hold the hit: the tab follows the hit picked in the summary.
    const CSearchResults* set = item.peptide.isEmpty() ? nullptr : ReadyResultsOfKind(item.kind);
    const SearchHitRecord* hit = set ? set->FindHit(item.hit) : nullptr;
    if (hit) {
        const ProteinArray& proteins = set->GetProteins();
        const bool inRange = entry >= 0 && entry < static_cast<int>(proteins.size());
        if (!inRange || !HoldsHit(proteins[std::size_t(entry)].get(), hit->hitNumber())) {
            const int own = EntryOfHit(*set, item.hit);
            if (own >= 0) entry = own;
        }
    }
    entryIndex_ = entry;
    StartCoverageSearch(item.kind, entry);
}

void CProteinView::StartCoverageSearch(int kind, int entryIndex) {
    if (DeferWhileSearching([this, kind, entryIndex] { StartCoverageSearch(kind, entryIndex); }))
        return;
    OnInitialUpdate();
    ClearProtein();
    peptideGrid_->ClearCells(
        CGXRange::cells(1, 1, std::max(1, peptideGrid_->GetRowCount()), kPeptideColumns));
    const CSearchResults* set = ReadyResultsOfKind(kind);
    if (!set) return;
    const ProteinArray& proteins = set->GetProteins();
    if (entryIndex < 0 || entryIndex >= static_cast<int>(proteins.size()) ||
        !proteins[std::size_t(entryIndex)])
        return;
    kind_ = kind;
    entryIndex_ = entryIndex;
    const CProteinRecord& protein = *proteins[std::size_t(entryIndex)];
    reference_ = protein.reference;
    firstPeptide_ = protein.peptides.value(0);
    if (Owner()) Owner()->SetTitle(QStringLiteral("Coverage - ") + reference_);
    referenceEdit_->clear();
    database_->setText(QStringLiteral("Database:"));
    proteinMass_->setText(QStringLiteral("Protein Mass:"));
    aminoAcids_->setText(QStringLiteral("Number of Amino Acids:"));
    std::fill(std::begin(totalValues_), std::end(totalValues_), 0.0);
    UpdateData();
    StartLookup(CDatabaseStatusDlg::kSearchByReference);
}

void CProteinView::OnSearchResult(std::any& result) {
    const auto* found = std::any_cast<ProteinLookupResult>(&result);
    if (!found || found->status == LookupStatus::Cancelled) return;
    ShowFoundProtein(*found);
    if (found->status != LookupStatus::Found) return;
    const int count = static_cast<int>(found->peptides.size());
    PreparePeptideRows(count + 1);
    peptideGrid_->LockUpdate(true);
    for (int r = 1; r <= count; ++r) {
        const PeptideCoverageRow& row = found->peptides[std::size_t(r - 1)];
        peptideGrid_->SetValueRange(r, 1, row.peptide);
        peptideGrid_->SetValueRange(r, 2, row.mass);
        peptideGrid_->SetValueRange(r, 3, row.percentOfMass);
        peptideGrid_->SetValueRange(r, 4, row.positionText());
        peptideGrid_->SetValueRange(r, 5, row.percentOfLength);
    }
    peptideGrid_->LockUpdate(false);
    totalValues_[0] = found->coveredMass;
    totalValues_[1] = found->coveredMassPercent;
    totalValues_[2] = found->coveredResidues;
    totalValues_[3] = found->coveredResiduePercent;
    UpdateData();
    WriteCells(CoverageSequenceCells(found->record.sequence, found->record.coverage));
}

std::vector<ReportLine> CProteinView::ReportLines(int residuesPerLine) const {
    CoverageReport report;
    report.reference = referenceEdit_->text();
    report.statics = StaticTexts();
    report.sequence = ProteinSequence();
    for (int r = 1; r <= peptideGrid_->GetRowCount(); ++r) {
        if (peptideGrid_->GetValueRowCol(r, 1).isEmpty()) continue;
        CoveragePeptideRow row;
        row.peptide = peptideGrid_->GetValueRowCol(r, 1);
        row.mass = peptideGrid_->GetModel()->GetNumber(r, 2);
        row.percentOfMass = peptideGrid_->GetModel()->GetNumber(r, 3);
        row.position = peptideGrid_->GetValueRowCol(r, 4);
        row.percentOfLength = peptideGrid_->GetModel()->GetNumber(r, 5);
        report.peptides.push_back(row);
    }
    report.coveredMass = totalValues_[0];
    report.coveredMassPercent = totalValues_[1];
    report.coveredResidues = totalValues_[2];
    report.coveredResiduePercent = totalValues_[3];
    return CoverageReportLines(report, residuesPerLine);
}

int CProteinView::PrintReport(QPrinter& printer) {
    return PrintReportLines(printer, ReportLines(ResiduesPerLine(printer)),
                            QStringLiteral("Coverage - ") + reference_);
}

}  // namespace zar
