#include "RetrieveView.h"

#include "app/grids/DisplayGrids.h"
#include "databases/DatabaseSearch.h"
#include "databases/views/DatabaseStatusDlg.h"
#include "document/SearchResults.h"
#include "document/TextHelpers.h"
#include "resultviews/ResultsStatusDlg.h"
#include "resultviews/ResultsWindow.h"
#include "resultviews/SequenceCells.h"
#include "resultviews/SequenceReport.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>

namespace zar {

CRetrieveView::CRetrieveView(CResultsWindow* owner, QWidget* parent)
    : CSequenceFormView(owner, parent, kInitialRows),
      sequenceEdit_(new QLineEdit(this)),
      position_(new QLabel(QStringLiteral("Position (x - x):"), this)) {
    setObjectName(QStringLiteral("CRetrieveView"));
    sequenceEdit_->setReadOnly(true);
    position_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QGridLayout* form = Form();
    form->addWidget(new QLabel(QStringLiteral("Sequence:"), this), 0, 0);
    form->addWidget(sequenceEdit_, 0, 1, 1, 3);
    form->addWidget(new QLabel(QStringLiteral("Reference:"), this), 1, 0);
    form->addWidget(referenceEdit_, 1, 1, 1, 3);
    form->addWidget(database_, 2, 0, 1, 2);
    form->addWidget(proteinMass_, 2, 2, 1, 2);
    form->addWidget(aminoAcids_, 3, 0, 1, 2);
    form->addWidget(position_, 3, 2, 1, 2);
    form->addWidget(sequenceGrid_, 4, 0, 1, 4);
    form->setRowStretch(4, 1);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);
}

QString CRetrieveView::PositionText() const {
    return position_->text();
}

void CRetrieveView::RetrieveSequence(const SelectedResult& item) {
    if (DeferWhileSearching([this, item] { RetrieveSequence(item); })) return;
    SetUpSequenceGrid();
    kind_ = item.kind;
    const CSearchResults* set = ReadyResultsOfKind(item.kind);
    const SearchHitRecord* hit = set ? TargetOfResult(*set, item, &reference_, &peptide_) : nullptr;
    hit_ = hit ? hit->hitNumber() : HitNumber();
    ClearProtein();
    if (!set) return;
    if (Owner()) Owner()->SetTitle(QStringLiteral("Retrieve - ") + reference_);
    if (reference_.isEmpty() && peptide_.isEmpty()) return;
    sequenceEdit_->setText(peptide_);
    referenceEdit_->clear();
    database_->setText(QStringLiteral("Database:"));
    proteinMass_->setText(QStringLiteral("Protein Mass:"));
    aminoAcids_->setText(QStringLiteral("Number of Amino Acids:"));
    position_->setText(QStringLiteral("Position (x - x):"));
    StartLookup(CDatabaseStatusDlg::kSearchBySequencePosition);
}

void CRetrieveView::OnSearchResult(std::any& result) {
    const auto* found = std::any_cast<ProteinLookupResult>(&result);
    if (!found || found->status == LookupStatus::Cancelled) return;
    ShowFoundProtein(*found);
    if (found->status == LookupStatus::NotFound) position_->setText(found->positionText);
    if (found->status != LookupStatus::Found) return;
    position_->setText(found->positionText);
    WriteCells(
        PeptideSequenceCells(found->record.sequence, found->record.first, found->record.last));
}

std::vector<ReportLine> CRetrieveView::ReportLines(int residuesPerLine) const {
    RetrieveReport report;
    report.peptide = peptide_;
    report.reference = referenceEdit_->text();
    report.statics = StaticTexts();
    report.statics << position_->text();
    report.sequence = ProteinSequence();
    return RetrieveReportLines(report, residuesPerLine);
}

int CRetrieveView::PrintReport(QPrinter& printer) {
    return PrintReportLines(printer, ReportLines(ResiduesPerLine(printer)),
                            QStringLiteral("Retrieve - ") + reference_);
}

}  // namespace zar
