#include "MSnListPage.h"

#include "ZarDoc.h"
#include "controls/NumericEditCtrl.h"
#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "document/TextHelpers.h"
#include "grid/GridWnd.h"
#include "resultviews/TableFit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelection>
#include <QLabel>
#include <QMenu>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <new>

namespace zar {
namespace {

constexpr int kRangeEdit = 8526;
constexpr int kGridControl = 8527;
constexpr int kTrackBox = 8745;
constexpr int kUseSelectedItems = 9283;
constexpr int kSelectAll = 9281;
constexpr int kSelectNone = 9282;

// The run's range is widened to whole hundredths, so that no scan of the run falls outside it.
double floor001(double x) { return std::floor(x * 100.0 + 1e-9) / 100.0; }
double ceil001(double x) { return std::ceil(x * 100.0 - 1e-9) / 100.0; }

bool within(double a, double b, double tolerance) { return std::fabs(a - b) <= tolerance + 1e-9; }

// "MS%d of %lf@%lf %lf@%lf": the two precursors' m/z of a label; 0 for what does not read.
void readLabel(const QString& label, double& firstMz, double& secondMz) {
    firstMz = secondMz = 0.0;
    const QByteArray bytes = label.toLatin1();
    std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    const auto literal = [&text](std::string_view word) {
        while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
        if (!text.starts_with(word)) return false;
        text.remove_prefix(word.size());
        return true;
    };
    const auto number = [&text](double& value) {
        std::size_t used = 0;
        const double v = LeadingDouble(text, &used);
        if (used == 0) return false;
        value = v;
        text.remove_prefix(used);
        return true;
    };
    std::size_t used = 0;
    if (!text.starts_with("MS")) return;
    text.remove_prefix(2);
    LeadingInt(text, 10, &used);
    if (used == 0) return;
    text.remove_prefix(used);
    double energy = 0.0;
    if (!literal("of") || !number(firstMz) || !literal("@") || !number(energy)) return;
    number(secondMz);
}

}  // namespace

CMSnListPage::CMSnListPage(QWidget* parent) : CSheetPage(8525, QStringLiteral("MSn Browser"), parent) {}

CMSnListPage::~CMSnListPage() {
    // The edit loses the focus while the window is taken down: its signal must not reach a page
    // that is half gone.
    if (range_) range_->disconnect(this);
}

bool CMSnListPage::OnInitDialog() {
    if (!initialised_) {
        auto* layout = new QGridLayout(this);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->setHorizontalSpacing(4);
        layout->setVerticalSpacing(4);
        auto* label = new QLabel(QStringLiteral("Time range (min):"), this);
        range_ = new CDoubleRangeEditCtrl(this);
        label->setBuddy(range_);
        trackBox_ = new QCheckBox(QStringLiteral("Track"), this);
        trackBox_->setChecked(track_);
        grid_ = new CMSnListGrid(this);
        grid_->setObjectName(QStringLiteral("MSnListGrid"));
        AddControl(kRangeEdit, range_);
        AddControl(kTrackBox, trackBox_);
        AddControl(kGridControl, grid_);
        layout->addWidget(label, 0, 0);
        layout->addWidget(range_, 0, 1);
        layout->addWidget(trackBox_, 1, 0, 1, 2);
        layout->addWidget(grid_, 2, 0, 1, 2);
        layout->setRowStretch(2, 1);
        layout->setColumnStretch(1, 1);
        connect(trackBox_, &QCheckBox::toggled, this, &CMSnListPage::OnTrack);
        // The user's range wins over the stored one once it is entered.
        connect(range_, &QLineEdit::editingFinished, this, &CMSnListPage::OnRangeEdited);
        grid_->SetGridOwner(this);
        grid_->SetColCount(1);
        grid_->SetRowCount(kInitialRows);
        grid_->verticalHeader()->hide();
        // One column: only pixel steps can scroll it sideways.
        grid_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
        grid_->SetValueRange(0, 1, QStringLiteral("Experiment(s)"));
        grid_->SetColWidth(1, kExperimentColumnWidth);
        FitColumnsOf(grid_);
        rowCount_ = kInitialRows;
        initialised_ = true;
    }
    if (const CZarDoc* doc = CZarDoc::GetDoc()) {
        start_ = lower_ = floor001(doc->GetStartTime());
        end_ = upper_ = ceil001(doc->GetEndTime());
    }
    initRangeEdit();
    FillList();
    return true;
}

void CMSnListPage::initRangeEdit() {
    if (range_) range_->Initialize(start_, end_, lower_, upper_, 2);
}

void CMSnListPage::SetTimeRange(double start, double end) {
    if (!range_) return;
    start_ = lower_ = floor001(start);
    end_ = upper_ = ceil001(end);
    initRangeEdit();
}

void CMSnListPage::Update(double start, double end) {
    if (!track_ || !range_) return;
    start_ = RoundTo001(start);
    end_ = RoundTo001(end);
    range_->SetRange(start_, end_);
    FillList();
}

void CMSnListPage::Refresh() {
    // Without a window the list is built when the window is made.
    if (!grid_) return;
    // A new run brings its own range.
    if (const CZarDoc* doc = CZarDoc::GetDoc()) {
        const double start = floor001(doc->GetStartTime());
        const double end = ceil001(doc->GetEndTime());
        if (start != lower_ || end != upper_) SetTimeRange(start, end);
    }
    FillList();
}

const std::vector<MSnPrecursorGroup>* CMSnListPage::experiments() const {
    const CZarDoc* doc = CZarDoc::GetDoc();
    const CMSnPrecursorList* list = doc ? doc->GetMSnPrecursorList() : nullptr;
    return list ? &list->Groups() : nullptr;
}

QString CMSnListPage::ExperimentLabel(const MSnPrecursorGroup& e) {
    const double m1 = e.precursors.size() > 0 ? e.precursors[0] : 0.0;
    const double m2 = e.precursors.size() > 1 ? e.precursors[1] : 0.0;
    const double e1 = e.energies.size() > 0 ? e.energies[0] : 0.0;
    const double e2 = e.energies.size() > 1 ? e.energies[1] : 0.0;
    return QCFormat("MS%d of %.2lf@%.1lf %.2lf@%.1lf", 3, m1, e1, m2, e2);
}

void CMSnListPage::FillList() {
    if (grid_) grid_->ClearCells(CGXRange::cells(1, 1, grid_->GetRowCount(), grid_->GetColCount()));
    rows_.clear();
    labelWidth_ = 0;
    const std::vector<MSnPrecursorGroup>* list = experiments();
    if (!list || list->empty()) return;
    double low = 0.0, high = 0.0;
    if (range_ && range_->GetRange(low, high)) {
        start_ = low;
        end_ = high;
    } else if (range_) {
        // The field shows the range the list is made of.
        range_->SetRange(start_, end_);
    }
    const auto ms3 = std::count_if(list->begin(), list->end(), [](const MSnPrecursorGroup& e) { return e.level == 3; });
    if (ms3 > rowCount_) {
        rowCount_ = static_cast<int>(ms3);
        if (grid_) grid_->SetRowCount(rowCount_);
    }
    for (const MSnPrecursorGroup& e : *list) {
        if (e.level != 3 || e.precursors.size() < 2) continue;
        const bool inRange = std::any_of(e.scans.begin(), e.scans.end(), [this](const MSnScanEntry& s) {
            return s.retentionTime >= start_ && s.retentionTime <= end_;
        });
        if (inRange) rows_.push_back({ExperimentLabel(e), e.precursors[0], e.precursors[1]});
    }
    std::stable_sort(rows_.begin(), rows_.end(), [](const MSnExperimentRow& a, const MSnExperimentRow& b) {
        return a.firstMz != b.firstMz ? a.firstMz < b.firstMz : a.secondMz < b.secondMz;
    });
    if (!grid_) return;
    for (int i = 0; i < static_cast<int>(rows_.size()) && i + 1 <= rowCount_; ++i) {
        const QString& label = rows_[static_cast<size_t>(i)].label;
        grid_->SetValueRange(i + 1, 1, label);
        labelWidth_ = std::max(labelWidth_, grid_->fontMetrics().horizontalAdvance(label));
    }
    FitColumns();
}

void CMSnListPage::DoDataExchange(CDataExchange& dx) {
    // The range is written to the edit where it changes (the run, the tracked trace).
    if (dx.IsSaving()) DDX_DoubleRange(dx, range_, start_, end_);
}

void CMSnListPage::OnRangeEdited() {
    if (range_ && UpdateData(true)) FillList();
}

bool CMSnListPage::CollectScans(const QString& label, const std::vector<MSnPrecursorGroup>& experiments,
                                std::vector<MSnScanEntry>& scans) {
    double firstMz = 0.0, secondMz = 0.0;
    readLabel(label, firstMz, secondMz);
    if (firstMz == 0.0 || secondMz == 0.0) return false;
    for (const MSnPrecursorGroup& e : experiments) {
        if (e.precursors.empty() || !within(e.precursors[0], firstMz, kLabelTolerance)) continue;
        if (e.level == 2 || (e.level == 3 && e.precursors.size() > 1 && within(e.precursors[1], secondMz, kLabelTolerance)))
            scans.insert(scans.end(), e.scans.begin(), e.scans.end());
    }
    return true;
}

void CMSnListPage::SortScans(std::vector<MSnScanEntry>& scans) {
    std::stable_sort(scans.begin(), scans.end(), [](const MSnScanEntry& a, const MSnScanEntry& b) { return a.scan < b.scan; });
    scans.erase(std::unique(scans.begin(), scans.end(),
                            [](const MSnScanEntry& a, const MSnScanEntry& b) { return a.scan == b.scan; }),
                scans.end());
}

void CMSnListPage::handOver(std::vector<MSnScanEntry> scans) {
    SortScans(scans);
    selected_ = std::move(scans);
    ParseScanList();
}

void CMSnListPage::ParseScanList() {
    CZarDoc* doc = CZarDoc::GetDoc();
    if (!doc || !selected_ || selected_->empty()) return;
    std::vector<int> numbers;
    numbers.reserve(selected_->size());
    for (const MSnScanEntry& s : *selected_) numbers.push_back(s.scan);
    doc->LoadDenovoSpectra(numbers);
}

void CMSnListPage::ShowExperimentScans(int row) {
    if (!grid_) return;
    const QString label = grid_->GetValueRowCol(row, 1);
    const std::vector<MSnPrecursorGroup>* list = experiments();
    if (label.isEmpty() || !list) return;
    try {
        std::vector<MSnScanEntry> scans;
        if (CollectScans(label, *list, scans)) handOver(std::move(scans));
    } catch (const std::bad_alloc&) {
        ZarMessageBox(QStringLiteral("Unable to get the list of scans for the experiment"));
    }
}

void CMSnListPage::OnUseSelectedItems() {
    const std::vector<MSnPrecursorGroup>* list = experiments();
    if (!grid_ || !list) return;
    try {
        std::vector<MSnScanEntry> scans;
        for (int row : grid_->GetSelectedRows()) {
            const QString label = grid_->GetValueRowCol(row, 1);
            if (!label.isEmpty()) CollectScans(label, *list, scans);
        }
        if (!scans.empty()) handOver(std::move(scans));
    } catch (const std::bad_alloc&) {
        ZarMessageBox(QStringLiteral("Unable to get the list of scans for the experiment"));
    }
}

void CMSnListPage::OnSelectAll() {
    if (!grid_) return;
    QItemSelection selection;
    for (int row = 1; row <= grid_->GetRowCount(); ++row) {
        if (grid_->GetValueRowCol(row, 1).isEmpty()) continue;
        const QModelIndex cell = grid_->GetModel()->index(row - 1, 0);
        selection.select(cell, cell);
    }
    grid_->selectionModel()->select(selection, QItemSelectionModel::Select);
}

void CMSnListPage::OnSelectNone() {
    if (grid_) grid_->selectionModel()->clearSelection();
}

void CMSnListPage::OnTrack() {
    if (trackBox_) track_ = trackBox_->isChecked();
}

void CMSnListPage::FitColumns() {
    // A label is never cut: in a narrow bar the grid scrolls sideways instead.
    const int cellPadding = 12;
    if (initialised_) SpreadSpareWidth(*grid_, {{1, std::max(kExperimentColumnWidth, labelWidth_ + cellPadding)}});
}

void CMSnListPage::OnContextMenu(const QPoint& global) {
    QMenu menu(this);
    menu.addAction(QStringLiteral("&Use Selected Items"), this, &CMSnListPage::OnUseSelectedItems)->setData(kUseSelectedItems);
    menu.addAction(QStringLiteral("Select &All"), this, &CMSnListPage::OnSelectAll)->setData(kSelectAll);
    menu.addAction(QStringLiteral("Select &None"), this, &CMSnListPage::OnSelectNone)->setData(kSelectNone);
    menu.exec(global);
}

}  // namespace zar
