#include "SummaryFilterPage.h"

#include "PageRadios.h"
#include "ResultsStatusDlg.h"
#include "SummaryFilter.h"
#include "ZarDoc.h"
#include "core/Numbers.h"
#include "document/MassmapResults.h"
#include "document/MultiConsensusResults.h"
#include "document/SorvexResults.h"
#include "grid/GridWnd.h"
#include "grids/SimpleEditGrids.h"

#include <QButtonGroup>
#include <QCursor>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace zar {
namespace {

struct KindRange {
    double max;
    int decimals;
};

// Range of the single-threshold edit by kind (the minimum is always 0).
KindRange RangeOfKind(int kind, ResultsPageSet set) {
    if (set == ResultsPageSet::Massmap) {
        switch (kind) {
            case 3:
                return {1000.0, 1};
            case 5:
                return {100.0, 0};
            case 6:
                return {10000.0, 1};
            default:
                return {100.0, 0};
        }
    }
    switch (kind) {
        case 1:
            return {100.0, 1};
        case 2:
            return {10.0, 3};
        case 3:
            return {10000.0, 1};
        case 4:
            return {1000.0, 1};
        case 5:
            return {100.0, 0};
        case 6:
            return {10000.0, 1};
        default:
            return {100.0, 0};
    }
}

QDoubleSpinBox* DoubleEdit(double max, int decimals, QWidget* parent) {
    auto* edit = new QDoubleSpinBox(parent);
    edit->setRange(0.0, max);
    edit->setDecimals(decimals);
    edit->setButtonSymbols(QAbstractSpinBox::NoButtons);
    return edit;
}

QSpinBox* IntEdit(int max, QWidget* parent) {
    auto* edit = new QSpinBox(parent);
    edit->setRange(0, max);
    edit->setButtonSymbols(QAbstractSpinBox::NoButtons);
    return edit;
}

CSorvexResults* DocumentSet() {
    CZarDoc* doc = CZarDoc::GetDoc();
    return doc ? doc->GetSorvexResults() : nullptr;
}

}  // namespace

// ---- Filters ----

CSummaryFilterPage::CSummaryFilterPage(ResultsPageSet set, QWidget* parent)
    : QWidget(parent), set_(set) {
    setObjectName(QStringLiteral("Filters"));
    const bool massmap = set == ResultsPageSet::Massmap;
    if (massmap) {
        thresholdKind = 3;
        singleThreshold = 500.0;
    }
    auto* top = new QHBoxLayout(this);
    auto* modes = new QGroupBox(QStringLiteral("Filter"), this);
    auto* modeLayout = new QVBoxLayout(modes);
    Radios modeRadios = {{0, "&None"},
                         {1, "Number of &Entries"},
                         {2, "Sin&gle Threshold "},
                         {3, "&Multiple Thresholds"},
                         {4, "Se&lected Dta's"},
                         {5, "Chrom&atographic Display"}};
    if (set == ResultsPageSet::Consensus) modeRadios.resize(4);
    if (massmap) modeRadios.erase(modeRadios.begin() + 3);
    modeGroup_ = RadioGroup(modeRadios, modes, modeLayout);
    summaryCount_ = new QLabel(modes);
    consensusCount_ = new QLabel(modes);
    modeLayout->addStretch();
    modeLayout->addWidget(summaryCount_);
    modeLayout->addWidget(consensusCount_);
    modes->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
    top->addWidget(modes);

    auto* right = new QVBoxLayout;
    top->addLayout(right, 1);

    rowsBox_ = new QWidget(this);
    auto* rowsLayout = new QGridLayout(rowsBox_);
    summaryRowsEdit_ = IntEdit(1000000, rowsBox_);
    consensusRowsEdit_ = IntEdit(1000000, rowsBox_);
    if (set == ResultsPageSet::Summary) {
        rowsLayout->addWidget(new QLabel(QStringLiteral("Summar&y Table:"), rowsBox_), 0, 0);
        rowsLayout->addWidget(summaryRowsEdit_, 0, 1);
    } else {
        summaryRowsEdit_->hide();
    }
    rowsLayout->addWidget(new QLabel(massmap ? QStringLiteral("Res&ults Table:")
                                             : QStringLiteral("Consens&us Table:"),
                                     rowsBox_),
                          1, 0);
    rowsLayout->addWidget(consensusRowsEdit_, 1, 1);
    right->addWidget(rowsBox_);

    singleBox_ = new QWidget(this);
    auto* singleLayout = new QVBoxLayout(singleBox_);
    const Radios kindRadios =
        massmap ? Radios{{3, "&Sp"}, {5, "Percent &Ions"}, {6, "Consens&us"}}
                : Radios{{0, "Re&ference"}, {1, "&XCorr"},        {2, "&Delta Cn"}, {3, "&Sp"},
                         {4, "&RSp"},       {5, "&Percent Ions"}, {6, "Consens&us"}};
    kindGroup_ = RadioGroup(kindRadios, singleBox_, singleLayout);
    singleEdit_ = DoubleEdit(1000.0, 1, singleBox_);
    singleEdit_->setToolTip(QStringLiteral("Enter the threshold value"));
    referenceEdit_ = new QLineEdit(singleBox_);
    referenceEdit_->setMaxLength(ResultsDisplayOptions::kMaxReferenceText);
    singleLayout->addWidget(singleEdit_);
    singleLayout->addWidget(referenceEdit_);
    right->addWidget(singleBox_);

    multipleBox_ = new QWidget(this);
    auto* multi = new QGridLayout(multipleBox_);
    criteriaEdit_ = IntEdit(5, multipleBox_);
    xcorrEdit_ = DoubleEdit(100.0, 1, multipleBox_);
    deltaCnEdit_ = DoubleEdit(10.0, 3, multipleBox_);
    spEdit_ = DoubleEdit(1000.0, 1, multipleBox_);
    rspEdit_ = IntEdit(1000, multipleBox_);
    ionsEdit_ = IntEdit(100, multipleBox_);
    const std::pair<const char*, QWidget*> multiRows[] = {{"Ma&tch n of 5:", criteriaEdit_},
                                                          {"XCorr", xcorrEdit_},
                                                          {"Delta Cn", deltaCnEdit_},
                                                          {"Sp", spEdit_},
                                                          {"RSp", rspEdit_},
                                                          {"Percent Ions", ionsEdit_}};
    int r = 0;
    for (const auto& [label, edit] : multiRows) {
        multi->addWidget(new QLabel(QString::fromLatin1(label), multipleBox_), r, 0);
        multi->addWidget(edit, r++, 1);
    }
    right->addWidget(multipleBox_);

    grid_ = new CFilterGrid(this);
    grid_->setToolTip(QStringLiteral(
        "Limit the number of entries in the results table based upon selecting specific dta "
        "files"));
    grid_->SetColCount(2);
    grid_->SetRowCount(100);
    grid_->SetValueRange(0, 1, QString());
    grid_->SetValueRange(0, 2, QStringLiteral("Scan(s)"));
    grid_->SetColWidth(1, 25);
    grid_->SetColWidth(2, 110);
    right->addWidget(grid_, 1);
    right->addStretch();
    if (set == ResultsPageSet::Consensus) grid_->hide();

    connect(modeGroup_, &QButtonGroup::idClicked, this, &CSummaryFilterPage::onModeClicked);
    connect(kindGroup_, &QButtonGroup::idClicked, this, &CSummaryFilterPage::onKindClicked);
    LoadControls();
}

void CSummaryFilterPage::SetFilterMode(int mode) {
    filterMode = mode;
    if (set_ == ResultsPageSet::Summary && mode != 2) thresholdKind = 0;
    LoadControls();
}

void CSummaryFilterPage::SetThresholdKind(int kind) {
    thresholdKind = set_ != ResultsPageSet::Summary || filterMode == 2 ? kind : 0;
    LoadControls();
}

bool CSummaryFilterPage::Remembers(int kind) const {
    if (set_ == ResultsPageSet::Massmap) return kind == 3 || kind == 5 || kind == 6;
    return kind >= 1 && kind <= 6;
}

void CSummaryFilterPage::SetThreshold(double value) {
    if (value == -1.0) return;  // "not set": the remembered value of the kind stays
    if (Remembers(thresholdKind))
        remembered[static_cast<size_t>(thresholdKind)] = value;
    else
        singleThreshold = value;
    LoadControls();
}

void CSummaryFilterPage::SetReferenceText(const QString& text) {
    if (set_ == ResultsPageSet::Massmap) return;
    referenceText = text.left(ResultsDisplayOptions::kMaxReferenceText);
    LoadControls();
}

void CSummaryFilterPage::SetSummaryRows(int rows) {
    summaryRows = rows;
    LoadControls();
}

void CSummaryFilterPage::SetConsensusRows(int rows) {
    consensusRows = rows;
    LoadControls();
}

void CSummaryFilterPage::SetSingleScore(int value) {
    singleScore = value;
    applySingleScore();
}

void CSummaryFilterPage::applySingleScore() {
    if (set_ == ResultsPageSet::Massmap) return;
    const bool enable = singleScore == 0;
    EnableRadio(modeGroup_, 3, enable);
    multipleBox_->setEnabled(enable);
    for (int kind = 1; kind <= 4; ++kind) EnableRadio(kindGroup_, kind, enable);
}

QWidget* CSummaryFilterPage::ThresholdEdit() const {
    return thresholdKind == 0 ? static_cast<QWidget*>(referenceEdit_) : singleEdit_;
}

void CSummaryFilterPage::showHide() {
    rowsBox_->setVisible(filterMode == 1);
    singleBox_->setVisible(filterMode == 2);
    multipleBox_->setVisible(filterMode == 3);
    grid_->setVisible(filterMode == 4 && set_ != ResultsPageSet::Consensus);
    if (filterMode != 2) return;
    const bool reference = thresholdKind == 0 && set_ != ResultsPageSet::Massmap;
    referenceEdit_->setVisible(reference);
    singleEdit_->setVisible(!reference);
    if (!reference) {
        singleThreshold =
            Remembers(thresholdKind) ? remembered[static_cast<size_t>(thresholdKind)] : 0.0;
        const KindRange range = RangeOfKind(thresholdKind, set_);
        singleEdit_->setDecimals(range.decimals);
        singleEdit_->setRange(0.0, range.max);
    }
}

void CSummaryFilterPage::LoadControls() {
    showHide();
    summaryRowsEdit_->setValue(summaryRows);
    consensusRowsEdit_->setValue(consensusRows);
    criteriaEdit_->setValue(criteria);
    xcorrEdit_->setValue(xcorr);
    deltaCnEdit_->setValue(deltaCn);
    spEdit_->setValue(sp);
    rspEdit_->setValue(rsp);
    ionsEdit_->setValue(ionsPercent);
    singleEdit_->setValue(singleThreshold);
    CheckRadio(modeGroup_, filterMode);
    CheckRadio(kindGroup_, thresholdKind);
    referenceEdit_->setText(referenceText);
    summaryCount_->setText(SummaryCountText());
    consensusCount_->setText(ConsensusCountText());
    applySingleScore();
    if (filterMode == 4 && !gridFilled_) FillGrid();
}

void CSummaryFilterPage::StoreControls() {
    summaryRows = summaryRowsEdit_->value();
    consensusRows = consensusRowsEdit_->value();
    criteria = criteriaEdit_->value();
    xcorr = xcorrEdit_->value();
    deltaCn = deltaCnEdit_->value();
    sp = spEdit_->value();
    rsp = rspEdit_->value();
    ionsPercent = ionsEdit_->value();
    singleThreshold = singleEdit_->value();
    if (modeGroup_->checkedId() >= 0) filterMode = modeGroup_->checkedId();
    if (kindGroup_->checkedId() >= 0) thresholdKind = kindGroup_->checkedId();
    referenceText = referenceEdit_->text().left(ResultsDisplayOptions::kMaxReferenceText);
}

void CSummaryFilterPage::onModeClicked(int) {
    StoreControls();
    showHide();
    if (filterMode == 4) FillGrid();
}

void CSummaryFilterPage::onKindClicked(int kind) {
    StoreControls();
    if (Remembers(kind)) singleThreshold = remembered[static_cast<size_t>(kind)];
    LoadControls();
}

QString CSummaryFilterPage::SummaryCountText() const {
    if (set_ != ResultsPageSet::Summary) return QString();
    const CSorvexResults* set = DocumentSet();
    if (!set || set->GetCapacity() <= 0) return QStringLiteral("Summary: ");
    return QCFormat("Summary: %d", set->GetHitCount());
}

QString CSummaryFilterPage::ConsensusCountText() const {
    if (set_ != ResultsPageSet::Summary) {
        CZarDoc* doc = CZarDoc::GetDoc();
        const CSearchResults* other = nullptr;
        if (doc && set_ == ResultsPageSet::Massmap) other = doc->GetMassmapResults();
        if (doc && set_ == ResultsPageSet::Consensus) other = doc->GetMultiConsensusResults();
        if (!other || other->GetCapacity() <= 0 || other->GetProteins().empty())
            return QStringLiteral("Proteins: ");
        return QCFormat("Proteins: %d", static_cast<int>(other->GetProteins().size()));
    }
    const CSorvexResults* set = DocumentSet();
    if (!set || set->GetCapacity() <= 0 || set->GetProteins().empty())
        return QStringLiteral("Consensus: ");
    return QCFormat("Consensus: %d", static_cast<int>(set->GetProteins().size()));
}

CSearchResults* CSummaryFilterPage::GridSet() const {
    CZarDoc* doc = CZarDoc::GetDoc();
    if (!doc) return nullptr;
    CSearchResults* set = nullptr;
    switch (set_) {
        case ResultsPageSet::Summary:
            set = doc->GetSorvexResults();
            break;
        case ResultsPageSet::Massmap:
            set = doc->GetMassmapResults();
            break;
        default:
            return nullptr;
    }
    // A set that a worker is filling is neither listed nor written.
    return CResultsStatusDlg::IsLoading(set) ? nullptr : set;
}

bool CSummaryFilterPage::GridShowsTimes() const {
    CZarDoc* doc = CZarDoc::GetDoc();
    if (!doc) return false;
    return (set_ == ResultsPageSet::Massmap ? doc->MassmapOptions() : doc->SummaryOptions())
               .showTimes != 0;
}

void CSummaryFilterPage::FillGrid() {
    CSearchResults* set = GridSet();
    if (!set || set->GetCapacity() <= 0) return;
    CZarDoc* doc = CZarDoc::GetDoc();
    const bool times = GridShowsTimes();
    const ScanToTime toTime = [doc](int scan) {
        return doc ? doc->ScanToRetentionTime(scan) : 0.0;
    };
    grid_->LockUpdate(true);
    grid_->SetValueRange(0, 2, times ? QStringLiteral("Time(s)") : QStringLiteral("Scan(s)"));
    const int n = set->GetHitCount();
    grid_->SetRowCount(n);
    grid_->SetStyleRange(
        CGXRange::cells(1, 1, std::max(n, 1), 1),
        CGXStyle().setControl(GridControl::CheckBox).setValueType(GridValueType::Number));
    for (int r = 1; r <= n; ++r) {
        const SearchHitRecord& hit = *set->GetHit(r - 1);
        grid_->SetValueRange(r, 1, static_cast<double>(hit.shown));
        const ScanName name = ParseScanName(hit.fileInformation);
        QString text = hit.fileInformation;
        if (name.hasScans()) {
            if (!times) {
                text = name.firstScan == name.lastScan
                           ? QCFormat(" %d", name.firstScan)
                           : QCFormat("%d - %d", name.firstScan, name.lastScan);
            } else {
                const double t1 = toTime(name.firstScan), t2 = toTime(name.lastScan);
                text = name.firstScan == name.lastScan ? QCFormat(" %.2f", t1)
                                                       : QCFormat(" %.2f - %.2f", t1, t2);
            }
        }
        grid_->SetValueRange(r, 2, text);
    }
    grid_->LockUpdate(false);
    gridFilled_ = true;
}

void CSummaryFilterPage::OnGridCheckCommand(int command) {
    if (filterMode != 4) return;
    for (int r = 1; r <= grid_->GetRowCount(); ++r) {
        const bool checked = LeadingInt(grid_->GetValueRowCol(r, 1)) != 0;
        double value = 0.0;
        if (command == kCheckAll)
            value = 1.0;
        else if (command == kCheckInvert)
            value = checked ? 0.0 : 1.0;
        else if (command != kCheckNone)
            return;
        grid_->SetValueRange(r, 1, value);
    }
}

void CSummaryFilterPage::StoreStep() {
    if (filterMode != 4 || !gridFilled_) return;
    CSearchResults* set = GridSet();
    if (!set || set->GetHitCount() <= 0) return;
    const int rows = std::min(grid_->GetRowCount(), set->GetHitCount());
    for (int r = 1; r <= rows; ++r)
        set->GetHit(r - 1)->shown = LeadingInt(grid_->GetValueRowCol(r, 1));
}

bool CSummaryFilterPage::event(QEvent* e) {
    if (e->type() == MessageEvent::eventType()) {
        auto* m = static_cast<MessageEvent*>(e);
        if (m->message() == WM_CONTEXTMENU) {
            if (filterMode == 4 && set_ != ResultsPageSet::Consensus) {
                QMenu menu(this);
                const std::pair<const char*, int> items[] = {
                    {"&All", kCheckAll}, {"&None", kCheckNone}, {"&Invert", kCheckInvert}};
                for (const auto& [text, id] : items) {
                    const int command = id;
                    menu.addAction(QString::fromLatin1(text), this,
                                   [this, command] { OnGridCheckCommand(command); });
                }
                menu.exec(QCursor::pos());
            }
            return true;
        }
    }
    return QWidget::event(e);
}

}  // namespace zar
