#include "UserTraceDialog.h"

#include "UserTraces.h"
#include "app/ZarApp.h"
#include "controls/NumericEditCtrl.h"
#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "document/hub/PlotRange.h"
#include "document/hub/SpectrumText.h"
#include "fileio/VXCore.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zar {

namespace {

constexpr QChar kRangeSeparator = QLatin1Char(',');

QString RangeText(const CVXUserTraceDef& d) {
    return FormatRangeList(d.ranges, 2, kRangeSeparator);
}

}  // namespace

CUserTraceDialog::CUserTraceDialog(QWidget* parent)
    : CDialogBase(kTemplateId, parent),
      defs_(kRows),
      detector_(new QComboBox(this)),
      plotType_(new QComboBox(this)),
      filter_(new QComboBox(this)),
      list_(new QTableWidget(kRows, 6, this)),
      delayEdit_(new CDoubleEditCtrl(this)),
      titleEdit_(new QLineEdit(this)),
      ranges_(new QLineEdit(this)),
      smoothingEdit_(new CIntEditCtrl(this)),
      up_(new QPushButton(QStringLiteral("Up"), this)),
      down_(new QPushButton(QStringLiteral("Down"), this)),
      rangeLabel_(new QLabel(QStringLiteral("Range(s):"), this)) {
    setWindowTitle(QStringLiteral("User Trace Manager"));
    filter_->setEditable(true);
    delayEdit_->Initialize(0.0, -kDelayLimit, kDelayLimit, 6, 2);
    smoothingEdit_->Initialize(1, kSmoothingMin, kSmoothingMax);
    titleEdit_->setMaxLength(CVXUserTraceDef::kMaxTitleLength);
    AddControl(8537, detector_);
    AddControl(8538, plotType_);
    AddControl(8540, filter_);
    AddControl(8535, list_);
    AddControl(8539, delayEdit_);
    AddControl(8536, titleEdit_);
    AddControl(8541, ranges_);
    AddControl(8545, smoothingEdit_);
    AddControl(8533, up_);
    AddControl(8534, down_);
    AddControl(8543, rangeLabel_);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(list_, 1);
    auto* moves = new QVBoxLayout;
    moves->addWidget(up_);
    moves->addWidget(down_);
    moves->addStretch();
    top->addLayout(moves);
    layout->addLayout(top);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Detector:"), detector_);
    form->addRow(QStringLiteral("Plot type:"), plotType_);
    form->addRow(QStringLiteral("Scan filter:"), filter_);
    form->addRow(rangeLabel_, ranges_);
    form->addRow(QStringLiteral("Delay (min):"), delayEdit_);
    form->addRow(QStringLiteral("Smoothing points:"), smoothingEdit_);
    form->addRow(QStringLiteral("Title:"), titleEdit_);
    layout->addLayout(form);
    QDialogButtonBox* buttons = MakeButtons(true);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { ShowContextHelp(this, kTemplateId); });
    layout->addWidget(buttons);
    resize(800, 520);

    connect(detector_, &QComboBox::activated, this, &CUserTraceDialog::OnDetectorChanged);
    connect(plotType_, &QComboBox::activated, this, &CUserTraceDialog::OnPlotTypeChanged);
    connect(filter_, &QComboBox::activated, this, [this] { OnFieldChanged(); });
    connect(titleEdit_, &QLineEdit::editingFinished, this, &CUserTraceDialog::OnFieldChanged);
    connect(ranges_, &QLineEdit::editingFinished, this, &CUserTraceDialog::OnRangesChanged);
    connect(smoothingEdit_, &QLineEdit::editingFinished, this,
            &CUserTraceDialog::OnSmoothingChanged);
    connect(up_, &QPushButton::clicked, this, &CUserTraceDialog::OnMoveUp);
    connect(down_, &QPushButton::clicked, this, &CUserTraceDialog::OnMoveDown);
    connect(list_, &QTableWidget::cellClicked, this, [this](int row, int column) {
        QTableWidgetItem* item = list_->item(row, 0);
        // A click on the check box toggles it before the handler sees it: undo, then toggle the
        // definition's flag the one way the handler does.
        const bool onCheckBox =
            column == 0 && item && (item->checkState() == Qt::Checked) != (defs_[row].enabled != 0);
        if (onCheckBox) {
            const QSignalBlocker block(list_);
            item->setCheckState(defs_[row].enabled ? Qt::Checked : Qt::Unchecked);
        }
        OnListClick(row, onCheckBox);
    });
}

void CUserTraceDialog::SetTraces(const CVXUserTraceDefWrapper& traces) {
    const int n = std::min(traces.GetSize(), int(kRows));
    for (int i = 0; i < n; ++i) defs_[i] = *traces.GetAt(i);
}

void CUserTraceDialog::GetTraces(CVXUserTraceDefWrapper& traces) const {
    std::vector<const CVXUserTraceDef*> kept;
    for (const CVXUserTraceDef& d : defs_)
        if (d.detectorType != kVXNoDevice) kept.push_back(&d);
    // Exactly the kept definitions: entries left over from before would come back as traces.
    traces.SetSize(static_cast<int>(kept.size()));
    for (std::size_t i = 0; i < kept.size(); ++i) *traces.GetAt(static_cast<int>(i)) = *kept[i];
}

CUserTraceDialog::~CUserTraceDialog() {
    // An edit that holds the focus loses it while the window is taken down: its signals must
    // not reach a dialog that is half gone.
    for (QLineEdit* edit : {static_cast<QLineEdit*>(titleEdit_), static_cast<QLineEdit*>(ranges_),
                            static_cast<QLineEdit*>(smoothingEdit_)})
        if (edit) edit->disconnect(this);
}

bool CUserTraceDialog::OnInitDialog() {
    if (!title_.isEmpty()) setWindowTitle(title_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setHorizontalHeaderLabels({QStringLiteral("Type"), QStringLiteral("Range"),
                                      QStringLiteral("Scan filter"), QStringLiteral("Delay (min)"),
                                      QString(), QStringLiteral("Title")});
    const int widths[] = {100, 110, 180, 70, 40, 250};
    for (int c = 0; c < 6; ++c) list_->setColumnWidth(c, widths[c]);
    for (int i = 0; i < kVXDetectorTypeCount; ++i) {
        QString name;
        TranslateDetectorTypeToString(i, name);
        detector_->addItem(name);
    }
    filter_->addItems(filters_);
    WriteAllRows();
    ShowSelectedDefinition();
    UpdateControlState();
    return true;
}

void CUserTraceDialog::DoDataExchange(CDataExchange& dx) {
    DDX_Double(dx, delayEdit_, delay_);
    DDX_Text(dx, titleEdit_, traceTitle_, CVXUserTraceDef::kMaxTitleLength);
    DDX_Text(dx, ranges_, rangeText_);
    DDX_Int(dx, smoothingEdit_, smoothing_);
}

QString CUserTraceDialog::RowText(int row, int column) const {
    const QTableWidgetItem* item = list_->item(row, column);
    return item ? item->text() : QString();
}

bool CUserTraceDialog::RowChecked(int row) const {
    const QTableWidgetItem* item = list_->item(row, 0);
    return item && item->checkState() == Qt::Checked;
}

void CUserTraceDialog::WriteRow(int row) {
    const QSignalBlocker block(list_);
    const CVXUserTraceDef& d = defs_[row];
    QStringList texts(6, QStringLiteral("-"));
    if (!d.IsEmpty()) {
        TranslateTraceTypeToString(d.traceType, texts[0]);
        if (!d.ranges.empty()) texts[1] = RangeText(d);
        const QString filter = d.filter.FilterString(2, -1, 2);
        if (!filter.isEmpty()) texts[2] = filter;
        texts[3] = QCFormat("%g", d.delay);
        texts[4] = QString::number(d.smoothingPoints);
        if (!d.Title().isEmpty()) texts[5] = d.Title();
    }
    for (int c = 0; c < 6; ++c) {
        auto* item = new QTableWidgetItem(texts[c]);
        if (c == 0) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(!d.IsEmpty() && d.enabled ? Qt::Checked : Qt::Unchecked);
        }
        list_->setItem(row, c, item);
    }
}

void CUserTraceDialog::WriteAllRows() {
    for (int r = 0; r < kRows; ++r) WriteRow(r);
}

void CUserTraceDialog::FillPlotTypes(int detector) {
    const QSignalBlocker block(plotType_);
    plotType_->clear();
    for (int type : TraceTypesOfDetector(detector)) {
        QString name;
        TranslateTraceTypeToString(type, name);
        plotType_->addItem(name);
    }
}

void CUserTraceDialog::ShowSelectedDefinition() {
    CVXUserTraceDef& d = defs_[selected_];
    if (d.IsEmpty()) {
        d.detectorType = kVXMSDevice;
        d.traceType = kVXTICTrace;
        if (selected_ != 0 && !d.enabled) d.enabled = 1;
    }
    FillPlotTypes(d.detectorType);
    {
        const QSignalBlocker block(detector_);
        detector_->setCurrentIndex(d.detectorType);
    }
    rangeLabel_->setText(d.traceType == kVXNeutralFragmentTrace ? QStringLiteral("Mass(es):")
                                                                : QStringLiteral("Range(s):"));
    const std::vector<int> types = TraceTypesOfDetector(d.detectorType);
    const auto at = std::find(types.begin(), types.end(), d.traceType);
    {
        const QSignalBlocker block(plotType_);
        plotType_->setCurrentIndex(at == types.end() ? -1 : static_cast<int>(at - types.begin()));
    }
    {
        const QSignalBlocker block(filter_);
        filter_->setEditText(d.detectorType == kVXMSDevice ? d.filter.FilterString(2, -1, 2)
                                                           : QString());
    }
    rangeText_ = TraceTypeTakesRanges(d.traceType) ? RangeText(d) : QString();
    delay_ = d.delay;
    smoothing_ = d.smoothingPoints;
    traceTitle_ = d.Title();
    UpdateData(false);
    WriteRow(selected_);
}

void CUserTraceDialog::UpdateControlState() {
    up_->setEnabled(selected_ != 0);
    down_->setEnabled(selected_ != kRows - 1);
    {
        const QSignalBlocker block(list_);
        list_->selectRow(selected_);
    }
    const CVXUserTraceDef& d = defs_[selected_];
    if (d.IsEmpty()) return;
    const bool ms = d.detectorType == kVXMSDevice;
    if (!ms) {
        const QSignalBlocker block(filter_);
        filter_->setEditText(QString());
    }
    filter_->setEnabled(ms);
    delayEdit_->setEnabled(!ms);
    ranges_->setEnabled(TraceTypeTakesRanges(d.traceType));
}

bool CUserTraceDialog::ValidateSelected(bool rangesRequired) {
    CVXUserTraceDef& d = defs_[selected_];
    if (d.IsEmpty()) return false;
    if (!UpdateData(true)) return false;
    if (smoothing_ % 2 == 0) {
        ZarMessageBox(QStringLiteral("The number of smoothing points must be an odd number."),
                      MB_OK);
        return false;
    }
    const int type = TraceTypeAt(d.detectorType, plotType_->currentIndex());
    if (type < 0) {
        ZarMessageBox(QStringLiteral("The plot type is invalid."), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    d.traceType = type;
    if (d.detectorType != kVXMSDevice) {
        d.filter = CVXFilter();
    } else {
        const QString text = filter_->currentText().trimmed();
        if (text.isEmpty()) {
            d.filter = CVXFilter();
        } else {
            CVX_FilterStruct check(9, 2, 2);
            if (!check.FilterInRng(text)) {
                ZarMessageBox(
                    QStringLiteral("The scan filter is invalid or incorrectly formatted."),
                    MB_OK | MB_ICONEXCLAMATION);
                return false;
            }
            d.filter.FilterString(text);
        }
    }
    const bool enabled = RowChecked(selected_);
    d.ranges.clear();
    std::vector<CVX_MassRange> parsed;
    if (TraceTypeTakesRanges(type) && !rangeText_.trimmed().isEmpty() &&
        !DescribeScanFilter(rangeText_.trimmed(), parsed)) {
        ZarMessageBox(
            QStringLiteral("The mass range(s) are incorrectly formatted or out of range."),
            MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    auto fail = [](const char* text) {
        ZarMessageBox(QString::fromLatin1(text), MB_OK | MB_ICONEXCLAMATION);
        return false;
    };
    switch (type) {
        case kVXMassRangeTrace:
            if (parsed.empty() && rangesRequired && enabled)
                return fail("The Mass Range plot type requires one or more ranges.");
            d.ranges = parsed;
            break;
        case kVXBasePeakTrace:
        case kVXSpectrumMaxTrace:
            d.ranges = parsed;
            break;
        case kVXNeutralFragmentTrace:
            for (const CVX_MassRange& r : parsed)
                if (r.low != r.high)
                    return fail("The Neutral Fragment plot type only supports single masses.");
            if (parsed.empty() && rangesRequired && enabled)
                return fail("The Neutral Fragment plot type requires one or more masses.");
            for (const CVX_MassRange& r : parsed) d.ranges.emplace_back(r.low, r.low);
            break;
        case kVXWavelengthRangeTrace:
            if (parsed.empty() && rangesRequired && enabled)
                return fail("The Wavelength Range plot type requires one or more ranges.");
            d.ranges = parsed;
            break;
        default:
            break;
    }
    d.delay = d.detectorType != kVXMSDevice ? delay_ : 0.0;
    d.smoothingPoints = smoothing_;
    d.Title(traceTitle_);
    d.enabled = enabled ? 1 : 0;
    WriteRow(selected_);
    return true;
}

void CUserTraceDialog::OnPlotTypeChanged(int index) {
    if (selected_ < 0) return;
    CVXUserTraceDef& d = defs_[selected_];
    const int type = TraceTypeAt(d.detectorType, index);
    if (type < 0) {
        ZarMessageBox(QStringLiteral("The plot type is invalid."), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    d.traceType = type;
    if (type == kVXNeutralFragmentTrace) {
        for (CVX_MassRange& r : d.ranges) r.high = r.low;
    } else if (!(type == kVXMassRangeTrace || type == kVXBasePeakTrace ||
                 type == kVXWavelengthRangeTrace || type == kVXSpectrumMaxTrace)) {
        d.ranges.clear();
    }
    ShowSelectedDefinition();
    UpdateControlState();
}

void CUserTraceDialog::OnDetectorChanged(int index) {
    if (selected_ < 0 || index < 0) return;
    CVXUserTraceDef& d = defs_[selected_];
    d.detectorType = index;
    if (index != kVXMSDevice) d.filter = CVXFilter();
    d.traceType = DefaultTraceTypeOfDetector(index);
    ShowSelectedDefinition();
    UpdateControlState();
    UpdateData(false);
}

void CUserTraceDialog::OnListClick(int row, bool onCheckBox) {
    if (row < 0 || row >= kRows) {
        UpdateControlState();
        return;
    }
    if (onCheckBox) {
        defs_[row].enabled = defs_[row].enabled ? 0 : 1;
        const QSignalBlocker block(list_);
        if (QTableWidgetItem* item = list_->item(row, 0))
            item->setCheckState(defs_[row].enabled ? Qt::Checked : Qt::Unchecked);
    }
    if (ValidateSelected(row != selected_) || defs_[selected_].IsEmpty()) {
        selected_ = row;
        ShowSelectedDefinition();
    } else if (QTableWidgetItem* item = list_->item(row, 0)) {
        const QSignalBlocker block(list_);
        item->setCheckState(defs_[row].enabled ? Qt::Checked : Qt::Unchecked);
    }
    UpdateControlState();
}

void CUserTraceDialog::Move(int by) {
    if (!ValidateSelected(true)) return;
    const int to = selected_ + by;
    if (to < 0 || to >= kRows) return;
    CVXUserTraceDef moving = defs_[selected_];
    defs_.erase(defs_.begin() + selected_);
    defs_.insert(defs_.begin() + to, std::move(moving));
    selected_ = to;
    WriteAllRows();
    ShowSelectedDefinition();
    UpdateControlState();
}

void CUserTraceDialog::OnMoveUp() {
    Move(-1);
}

void CUserTraceDialog::OnMoveDown() {
    Move(1);
}

void CUserTraceDialog::OnFieldChanged() {
    if (ValidateSelected(false)) ShowSelectedDefinition();
    UpdateControlState();
}

void CUserTraceDialog::OnRangesChanged() {
    if (ValidateSelected(true)) ShowSelectedDefinition();
    UpdateControlState();
}

void CUserTraceDialog::OnSmoothingChanged() {
    if (ValidateSelected(false)) ShowSelectedDefinition();
    UpdateControlState();
}

void CUserTraceDialog::OnOK() {
    if (ValidateSelected(true)) QDialog::accept();
}

}  // namespace zar
