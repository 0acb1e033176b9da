#include "ResultsPropertySheet.h"

#include "ResultsStatusDlg.h"
#include "ZarApp.h"
#include "ZarDoc.h"
#include "document/MassmapResults.h"
#include "document/MultiConsensusResults.h"
#include "document/SorvexResults.h"
#include "document/UpdateHints.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <optional>

namespace zar {

ResultsDisplayOptions CResultsPropertySheet::StartingRecord() {
    ResultsDisplayOptions r;
    r.scoreMethod = 1;
    r.showTimes = 0;
    r.thresholdKind = 0;
    r.filterMode = 0;
    r.singleScore = 0;
    r.sortKey = 0;
    r.retentionTimeMin = r.retentionTimeMax = 0.0;
    r.consensusThreshold = 10.0;
    r.deltaCnMin = 0.085;
    r.ionsPercentMin = 30.0;
    r.rspMax = 5.0;
    r.spMin = 500.0;
    r.xcorrMin = 1.0;
    r.singleThreshold = 0.0;
    r.consensusRowLimit = 0;
    r.criteriaNeeded = 4;
    r.summaryRowLimit = 0;
    r.referenceText.clear();
    return r;
}

CResultsPropertySheet::CResultsPropertySheet(int, QWidget* parent, int mode, int selectPage)
    : QDialog(parent), mode_(mode), record_(StartingRecord()) {
    setWindowTitle(QStringLiteral("Search Results Options"));
    setMinimumSize(560, 440);
    auto* layout = new QVBoxLayout(this);
    tabs_ = new QTabWidget(this);
    switch (mode) {
        case kMassmapMode:
            filter_ = new CMassmapFilterPage(tabs_);
            sort_ = new CMassmapSortPage(tabs_);
            options_ = new CMassmapOptionsPage(tabs_);
            break;
        case kConsensusMode:
            filter_ = new CConsensusFilterPage(tabs_);
            sort_ = new CConsensusSortPage(tabs_);
            options_ = new CConsensusOptionsPage(tabs_);
            break;
        default:
            filter_ = new CSummaryFilterPage(tabs_);
            sort_ = new CSummarySortPage(tabs_);
            options_ = new CSummaryOptionsPage(tabs_);
            break;
    }
    tabs_->addTab(filter_, QStringLiteral("Filters"));
    tabs_->addTab(sort_, QStringLiteral("Sort"));
    tabs_->addTab(options_, QStringLiteral("Options"));
    tabs_->setCurrentIndex(selectPage);
    layout->addWidget(tabs_);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    close_ = buttons->addButton(QStringLiteral("&Close"), QDialogButtonBox::RejectRole);
    help_ = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CResultsPropertySheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CResultsPropertySheet::reject);
    connect(help_, &QPushButton::clicked, this, [this] { ShowContextHelp(this, HelpContext()); });
    layout->addWidget(buttons);
}

int CResultsPropertySheet::HelpContext() const {
    switch (mode_) {
        case kMassmapMode: return 9155;
        case kConsensusMode: return 9170;
        default: return 8843;
    }
}

void CResultsPropertySheet::SetSingleScore(int singleScore) {
    if (mode_ == kMassmapMode) return;
    filter_->SetSingleScore(singleScore);
    sort_->SetSingleScore(singleScore);
    options_->SetSingleScore(singleScore);
}

void CResultsPropertySheet::SetRetentionRange(double low, double high) {
    record_.retentionTimeMin = low;
    record_.retentionTimeMax = high;
}

void CResultsPropertySheet::OnApplyNow() {
    filter_->StoreControls();
    filter_->StoreStep();
    sort_->StoreControls();
    options_->StoreControls();
}

void CResultsPropertySheet::accept() {
    // The pages' OK handling: their controls into their fields, the dta selection into the hits.
    OnApplyNow();
    QDialog::accept();
}

void CResultsPropertySheet::SetSummaryRowLimit(int rows) {
    if (mode_ != kMassmapMode && mode_ != kConsensusMode) filter_->SetSummaryRows(rows);
}

void CResultsPropertySheet::CollectOptions(bool fromApply) {
    if (fromApply) OnApplyNow();
    const CSummaryFilterPage& f = *filter_;
    record_.filterMode = f.filterMode;
    record_.thresholdKind = f.thresholdKind;
    record_.consensusRowLimit = f.consensusRows;
    if (mode_ == kMassmapMode) {
        if (f.filterMode == 2) record_.singleThreshold = f.singleThreshold;
        record_.showTimes = options_->showTimes;
        record_.sortKey = sort_->sortKey;
        return;
    }
    if (mode_ != kConsensusMode) record_.summaryRowLimit = f.summaryRows;
    // Only the group of the chosen mode is taken: the others go back to the starting values.
    if (f.filterMode == 2) {
        record_.singleThreshold = f.singleThreshold;
        record_.SetReferenceText(f.referenceText);
    } else if (f.filterMode == 3) {
        record_.xcorrMin = f.xcorr;
        record_.deltaCnMin = f.deltaCn;
        record_.spMin = f.sp;
        record_.rspMax = f.rsp;
        record_.ionsPercentMin = f.ionsPercent;
        record_.criteriaNeeded = f.criteria;
    }
    record_.scoreMethod = options_->scoreMethod;
    record_.showTimes = options_->showTimes;
    record_.singleScore = options_->singleScore;
    record_.sortKey = sort_->sortKey;

    if (record_.singleScore) {
        if (record_.filterMode == 2 && record_.thresholdKind >= 1 && record_.thresholdKind <= 4) {
            record_.filterMode = 0;
            record_.thresholdKind = 0;
        } else if (record_.filterMode == 3) {
            record_.filterMode = 0;
        }
    } else if (record_.filterMode == 2 && record_.thresholdKind == 7) {
        record_.filterMode = 0;
        record_.thresholdKind = 0;
    }
}

namespace {

// What a table hands the sheet besides its options record.
struct SheetRun {
    int mode = CResultsPropertySheet::kSummaryMode;
    int sortKey = 0;
    bool passSingleScore = false;
    bool passSummaryRowLimit = false;
    int consensusRowLimit = 0;
};

// Runs the sheet over a copy of a table's record; the record chosen, or nothing on Close.
std::optional<ResultsDisplayOptions> RunOptionsSheet(QWidget* parent,
                                                     const ResultsDisplayOptions& o,
                                                     const SheetRun& run) {
    CResultsPropertySheet sheet(CResultsPropertySheet::kCaptionId, parent, run.mode, 0);
    sheet.SetFilterMode(o.filterMode);
    sheet.SetReferenceText(o.referenceText);
    sheet.SetThresholdKind(o.thresholdKind);
    sheet.SetThreshold(o.singleThreshold);
    sheet.SetSortKey(run.sortKey);
    sheet.SetScoreMethod(o.scoreMethod);
    sheet.SetShowTimes(o.showTimes);
    sheet.SetRetentionRange(o.retentionTimeMin, o.retentionTimeMax);
    if (run.passSingleScore) sheet.SetSingleScore(o.singleScore);
    sheet.SetConsensusRowLimit(run.consensusRowLimit);
    if (run.passSummaryRowLimit) sheet.SetSummaryRowLimit(o.summaryRowLimit);
    // The multiple thresholds have no setter: the page starts from the record's values, so
    // that opening and closing the sheet does not change them behind the user's back.
    CSummaryFilterPage& page = *sheet.FilterPage();
    page.xcorr = o.xcorrMin;
    page.deltaCn = o.deltaCnMin;
    page.sp = o.spMin;
    page.rsp = static_cast<int>(o.rspMax);
    page.ionsPercent = static_cast<int>(o.ionsPercentMin);
    page.criteria = o.criteriaNeeded;
    page.LoadControls();
    const int result = sheet.exec();
    if (result == QDialog::Accepted)
        sheet.CollectOptions(false);
    else if (result == CResultsPropertySheet::kApplyResult)
        sheet.CollectOptions(true);
    else
        return std::nullopt;
    ResultsDisplayOptions chosen = sheet.Options();
    // Closing in another filter mode keeps the thresholds of the modes not chosen.
    if (chosen.filterMode != 2) {
        chosen.singleThreshold = o.singleThreshold;
        chosen.referenceText = o.referenceText;
    }
    if (chosen.filterMode != 3) {
        chosen.xcorrMin = o.xcorrMin;
        chosen.deltaCnMin = o.deltaCnMin;
        chosen.spMin = o.spMin;
        chosen.rspMax = o.rspMax;
        chosen.ionsPercentMin = o.ionsPercentMin;
        chosen.criteriaNeeded = o.criteriaNeeded;
    }
    return chosen;
}

// The set a protein table's sheet works on: loaded, not loading, with its protein array.
CSearchResults* SheetSet(CSearchResults* set) {
    if (!set || set->GetCapacity() <= 0 || CResultsStatusDlg::IsLoading(set)) return nullptr;
    return set;
}

int ProteinRowLimit(const ResultsDisplayOptions& o, const CSearchResults& set) {
    return o.filterMode == 1 ? o.consensusRowLimit : static_cast<int>(set.GetProteins().size());
}

}  // namespace

bool RunSummaryOptionsSheet(QWidget* parent, bool passSingleScore) {
    CZarDoc* doc = CZarDoc::GetDoc();
    if (!doc) return false;
    CSorvexResults* set = doc->GetSorvexResults();
    const ResultsDisplayOptions o = doc->SummaryOptions();
    SheetRun run;
    run.mode = CResultsPropertySheet::kSummaryMode;
    run.sortKey = set ? set->GetSortKey() : o.sortKey;
    run.passSingleScore = passSingleScore;
    run.passSummaryRowLimit = true;
    run.consensusRowLimit = o.consensusRowLimit;
    const std::optional<ResultsDisplayOptions> chosen = RunOptionsSheet(parent, o, run);
    if (!chosen) return false;
    if (set) set->SortHits(chosen->sortKey);
    doc->SummaryOptions() = *chosen;
    doc->UpdateAllViews(nullptr, kHintSummaryLayout);
    return true;
}

bool RunMassmapOptionsSheet(QWidget* parent) {
    CZarDoc* doc = CZarDoc::GetDoc();
    CSearchResults* set = doc ? SheetSet(doc->GetMassmapResults()) : nullptr;
    if (!set) return false;
    const ResultsDisplayOptions o = doc->MassmapOptions();
    SheetRun run;
    run.mode = CResultsPropertySheet::kMassmapMode;
    // The table's rows are in the order of the record's key (a title click sets it), which is
    // what the Sort page must show and keep.
    run.sortKey = o.sortKey;
    run.consensusRowLimit = ProteinRowLimit(o, *set);
    const std::optional<ResultsDisplayOptions> chosen = RunOptionsSheet(parent, o, run);
    if (!chosen) return false;
    set->SortHits(kSortFileInformation);
    doc->MassmapOptions() = *chosen;
    doc->UpdateAllViews(nullptr, kHintMassmapLayout);
    return true;
}

bool RunMultiConsensusOptionsSheet(QWidget* parent) {
    CZarDoc* doc = CZarDoc::GetDoc();
    CSearchResults* set = doc ? SheetSet(doc->GetMultiConsensusResults()) : nullptr;
    if (!set) return false;
    const ResultsDisplayOptions o = doc->MultiConsensusOptions();
    SheetRun run;
    run.mode = CResultsPropertySheet::kConsensusMode;
    run.sortKey = o.sortKey;
    run.passSingleScore = true;
    run.consensusRowLimit = ProteinRowLimit(o, *set);
    const std::optional<ResultsDisplayOptions> chosen = RunOptionsSheet(parent, o, run);
    if (!chosen) return false;
    // Rows find their hits by hit number, so the records may take any order.
    set->SortHits(chosen->sortKey);
    doc->MultiConsensusOptions() = *chosen;
    doc->UpdateAllViews(nullptr, kHintMultiConsensusLayout);
    return true;
}

}  // namespace zar
