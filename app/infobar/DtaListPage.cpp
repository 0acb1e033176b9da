#include "DtaListPage.h"

#include "MainFrame.h"
#include "ZarDoc.h"
#include "core/Numbers.h"
#include "document/MassmapResults.h"
#include "document/SorvexResults.h"
#include "document/TextHelpers.h"
#include "grid/GridWnd.h"
#include "resultviews/TableFit.h"

#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

#include <climits>

namespace zar {
namespace {

constexpr int kGridControl = 8523;
constexpr int kInfoStatic = 8524;
// A row number beyond this comes from no real list: it is dropped rather than grown to.
constexpr int kMaxRows = 1000000;

// One "%d" field of a name: blanks, a sign and digits; false when there are none or the number
// does not fit.
bool readInt(std::string_view& text, int& value) {
    std::size_t used = 0;
    const long long v = LeadingInt(text, 10, &used);
    if (used == 0 || v < INT_MIN || v > INT_MAX) return false;
    value = static_cast<int>(v);
    text.remove_prefix(used);
    return true;
}

}  // namespace

CDtaListPage::CDtaListPage(QWidget* parent)
    : CSheetPage(8522, QStringLiteral("Dta files"), parent) {}

bool CDtaListPage::OnInitDialog() {
    if (initialised_) return true;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(4);
    info_ = new QLabel(QStringLiteral("Dta Information"), this);
    grid_ = new CDtaListGrid(this);
    grid_->setObjectName(QStringLiteral("DtaListGrid"));
    AddControl(kInfoStatic, info_);
    AddControl(kGridControl, grid_);
    layout->addWidget(info_);
    layout->addWidget(grid_, 1);
    grid_->SetGridOwner(this);
    grid_->SetColCount(2);
    grid_->SetRowCount(kInitialRows);
    grid_->verticalHeader()->hide();
    grid_->SetValueRange(0, 1, QStringLiteral("Scans, Charge"));
    grid_->SetValueRange(0, 2, QStringLiteral("Time (s)"));
    grid_->SetColWidth(1, kScanColumnWidth);
    grid_->SetColWidth(2, kTimeColumnWidth);
    grid_->SetStyleRange(CGXRange::cols(2, 2), CGXStyle().setAlignment(Qt::AlignRight | Qt::AlignVCenter));
    FitColumnsOf(grid_);
    rowCount_ = kInitialRows;
    initialised_ = true;
    return true;
}

bool CDtaListPage::OnSetActive() {
    if (refreshPending_) {
        ClearList();
        refreshPending_ = false;
    }
    return true;
}

void CDtaListPage::SetCount(int count) {
    if (!grid_) return;
    if (count > grid_->GetRowCount() && count <= kMaxRows) {
        grid_->SetRowCount(count);
        rowCount_ = count;
    }
    ClearList();
}

void CDtaListPage::growTo(int row) {
    if (row <= rowCount_) return;
    // Whole steps of 10 rows, as many as the row needs.
    const int steps = (row - rowCount_ + kRowGrowth - 1) / kRowGrowth;
    grid_->InsertRows(grid_->GetRowCount() + 1, steps * kRowGrowth);
    rowCount_ = grid_->GetRowCount();
}

QString CDtaListPage::ScanText(const QString& name) {
    // First scan, last scan and charge: "%d.%d.%d" after the first '.'.
    const QByteArray bytes = GetTextAfterDot(name).toLatin1();
    std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    int values[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (text.empty() || text.front() != '.') return name;
            text.remove_prefix(1);
        }
        if (!readInt(text, values[i])) return name;
    }
    const auto [first, last, charge] = values;
    if (first == last) return QStringLiteral("%1, +%2").arg(first).arg(charge);
    return QStringLiteral("%1 - %2, +%3").arg(first).arg(last).arg(charge);
}

QString CDtaListPage::OutputName(const QString& name) {
    QString out = name;
    out.remove(QLatin1Char(' '));
    for (const char* end : {".dta", ".out"}) {
        const qsizetype at = out.indexOf(QLatin1String(end));
        if (at >= 0) out.truncate(at);
    }
    if (out.endsWith(QLatin1Char('.'))) out.chop(1);
    return out + QStringLiteral(".out");
}

void CDtaListPage::SetEntry(int row, const QString& name) {
    if (!grid_ || row < 1 || row > kMaxRows) return;
    growTo(row);
    grid_->SetValueRange(row, 0, OutputName(name));
    grid_->SetValueRange(row, 1, ScanText(name));
}

void CDtaListPage::SetTime(int row, double seconds) {
    if (!grid_ || row < 1 || row > kMaxRows) return;
    growTo(row);
    // The whole number of seconds, however long the search took.
    grid_->SetValueRange(row, 2, static_cast<double>(static_cast<long long>(seconds)));
}

void CDtaListPage::ClearList() {
    if (!grid_) return;
    grid_->ClearCells(CGXRange::cells(1, 0, grid_->GetRowCount(), grid_->GetColCount()));
}

void CDtaListPage::Refresh() {
    if (HasWindow()) ClearList();
    else refreshPending_ = true;
}

void CDtaListPage::FitColumns() {
    if (initialised_) SpreadSpareWidth(*grid_, {{1, kScanColumnWidth}, {2, kTimeColumnWidth}});
}

QString CDtaListPage::CurrentResultsFolder() {
    const CZarDoc* doc = CZarDoc::GetDoc();
    if (!doc) return QString();
    const int type = doc->GetViewType();
    if (const CSorvexResults* set = doc->GetSorvexResults(); set && (set->GetCapacity() > 0 || type == 5))
        return set->GetDirectory();
    if (const CMassmapResults* set = doc->GetMassmapResults(); set && (set->GetCapacity() > 0 || type == 10))
        return set->GetDirectory();
    return QString();
}

void CDtaListPage::ShowOutputFile(const QString& outputName) {
    const QString folder = CurrentResultsFolder();
    if (folder.isEmpty() || outputName.isEmpty()) return;
    if (CMainFrame* frame = CMainFrame::GetMainFrame()) frame->ShowOutFileDialog(folder, outputName);
}

}  // namespace zar
