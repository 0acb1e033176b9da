#include "IcatView.h"

#include "PaneSupport.h"
#include "PlotFeeding.h"
#include "ViewCommands.h"
#include "app/FrameCommands.h"
#include "app/ZarApp.h"
#include "app/plotwrappers/PlotWrappers.h"
#include "controls/DialogBase.h"
#include "controls/NumericEditCtrl.h"
#include "core/Numbers.h"
#include "document/SorvexResults.h"
#include "document/ZarMessages.h"
#include "document/hub/PlotRange.h"
#include "document/hub/ZarDoc.h"
#include "gui/PrintJob.h"
#include "rawfile/VRawfile.h"
#include "resultviews/ResultsStatusDlg.h"
#include "resultviews/ResultsWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace zar {

using namespace ZAR_PLOTLib;

namespace {

// The worker's result, posted to the page's own receiver: wParam the entry's number, lParam
// the kind of job.
constexpr unsigned kMsgIcatReady = WM_USER + 0x302;

// The ratio texts of the two forms from their areas: the light form's to 1 and 1 to the heavy
// form's.
void RatioTexts(double lightArea, double heavyArea, QString& lightText, QString& heavyText) {
    heavyText = lightArea != 0.0 ? QCFormat("1 : %.2lf", heavyArea / lightArea) : QString();
    const double lightToHeavy = heavyArea != 0.0 ? lightArea / heavyArea : 0.0;
    lightText = lightToHeavy != 0.0 ? QCFormat("%.2lf : 1", lightToHeavy) : QString();
}

// Time limits of the edits, wide enough for the run's ends as the edits show them.
double LowerLimit(double time) {
    return std::floor(time * 100.0) / 100.0;
}
double UpperLimit(double time) {
    return std::ceil(time * 100.0) / 100.0;
}

// The height of a trace at a scan as its line is drawn: the scan's own point, or between the
// points of the full-MS scans around it.
double IntensityAtScan(const CVXChro& chro, int scan, double time) {
    const auto& points = chro.points;
    const auto after =
        std::lower_bound(points.begin(), points.end(), scan,
                         [](const CVXDataPeak& p, int s) { return p.nScanPosition < s; });
    if (after != points.end() && after->nScanPosition == scan) return after->dIntensity;
    if (after == points.begin() || after == points.end()) return 0.0;
    const CVXDataPeak& a = *(after - 1);
    const CVXDataPeak& b = *after;
    if (!(b.dPosition > a.dPosition)) return a.dIntensity;
    const double f = std::clamp((time - a.dPosition) / (b.dPosition - a.dPosition), 0.0, 1.0);
    return a.dIntensity + f * (b.dIntensity - a.dIntensity);
}

}  // namespace

CIcatView::CIcatView(CResultsWindow* owner, QWidget* parent)
    : CResultsFormView(owner, parent),
      CChroPane(this, "XPRESS"),
      calculate_(new QPushButton(QStringLiteral("&Calculate ratio"), this)),
      update_(new QPushButton(QStringLiteral("&Update table"), this)),
      charges_(new QComboBox(this)),
      toleranceEdit_(new CDoubleEditCtrl(this)),
      plotLayout_(new QVBoxLayout),
      receiver_(new MessageReceiver(this)) {
    setObjectName(QStringLiteral("CIcatView"));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* top = new QFormLayout;
    auto* chargeLabel = new QLabel(QStringLiteral("C&harge:"), this);
    chargeLabel->setBuddy(charges_);
    top->addRow(chargeLabel, charges_);
    auto* toleranceLabel = new QLabel(QStringLiteral("&Mass tolerance:"), this);
    toleranceLabel->setBuddy(toleranceEdit_);
    top->addRow(toleranceLabel, toleranceEdit_);
    left->addLayout(top);
    struct GroupText {
        const char* title;
        const char* start;
        const char* end;
    };
    const GroupText groups[kFormCount] = {{"Light (D0)", "&Start time:", "&End time:"},
                                          {"Heavy (D8)", "Sta&rt time:", "E&nd time:"}};
    for (int form = 0; form < kFormCount; ++form) {
        auto* box = new QGroupBox(QString::fromLatin1(groups[form].title), this);
        auto* rows = new QFormLayout(box);
        SideWidgets& w = widgets_[form];
        w.ratio = new QLineEdit(box);
        w.ratio->setReadOnly(true);
        w.mass = new CDoubleEditCtrl(box);
        w.mass->setReadOnly(true);
        w.start = new CDoubleEditCtrl(box);
        w.end = new CDoubleEditCtrl(box);
        rows->addRow(QStringLiteral("Ratio:"), w.ratio);
        rows->addRow(QStringLiteral("Mass:"), w.mass);
        auto* startLabel = new QLabel(QString::fromLatin1(groups[form].start), box);
        startLabel->setBuddy(w.start);
        rows->addRow(startLabel, w.start);
        auto* endLabel = new QLabel(QString::fromLatin1(groups[form].end), box);
        endLabel->setBuddy(w.end);
        rows->addRow(endLabel, w.end);
        left->addWidget(box);
    }
    left->addWidget(calculate_);
    left->addWidget(update_);
    left->addStretch(1);
    auto* leftPanel = new QWidget(this);
    leftPanel->setLayout(left);
    leftPanel->setFixedWidth(210);
    layout->addWidget(leftPanel);
    auto* scrollBar = new QScrollBar(Qt::Horizontal, this);
    plotLayout_->addWidget(scrollBar);
    layout->addLayout(plotLayout_, 1);

    calculate_->setEnabled(false);
    update_->setEnabled(false);
    AttachTimeScrollBar(scrollBar);
    connect(calculate_, &QPushButton::clicked, this, &CIcatView::OnCalculateRatio);
    connect(update_, &QPushButton::clicked, this, &CIcatView::OnUpdateTable);
    receiver_->messageMap().on(kMsgIcatReady, [this](const Message& m) -> LRESULT {
        takeResult(m);
        return 0;
    });
}

CIcatView::~CIcatView() {
    worker_.Cancel();
    worker_.Wait();
    if (busy_) QApplication::restoreOverrideCursor();
}

void CIcatView::OnInitialUpdate() {
    if (initialised_) return;
    initialised_ = true;
    createControls();
    if (!entry_.isValid()) {
        followDocumentTolerance();
        initialiseEdits();
        exchange(false);
        calculate_->setEnabled(false);
        update_->setEnabled(false);
    }
    SetScrollRange(fullStart_, fullEnd_);
    if (chargeCount_ == 0) SetChargeList(kInitialCharges);
}

void CIcatView::createControls() {
    for (int form = 0; form < kFormCount; ++form) {
        TraceState& t = traces_[form];
        if (t.control) continue;
        std::unique_ptr<CChro> control =
            CreateChroControl(QRect(145, 40 + form * 195, 705, 190), 0, form, QString());
        if (!control) continue;
        HandOver(control.get(), "initialising a chromatogram",
                 [&](CChro& c) { c.Call(&IChro::InitializeMarker, &t.marker); });
        control->setMinimumSize(200, 120);
        plotLayout_->insertWidget(form, control.get(), 1);
        t.control = std::move(control);
    }
}

void CIcatView::initialiseEdits() {
    CZarDoc* doc = CZarDoc::GetDoc();
    const double start = doc ? LowerLimit(doc->GetStartTime()) : 0.0;
    const double end = doc ? UpperLimit(doc->GetEndTime()) : 0.0;
    toleranceEdit_->Initialize(tolerance_, kMinTolerance, kMaxTolerance, 6, 2, 1, 0);
    for (int form = 0; form < kFormCount; ++form) {
        const Side& s = sides_[form];
        SideWidgets& w = widgets_[form];
        w.mass->Initialize(s.mass, 0.0, kMaxMass, 11, 2, 1, 0);
        w.start->Initialize(s.startTime, start, end, 6, 2, 1, 0);
        w.end->Initialize(s.endTime, start, end, 6, 2, 1, 0);
    }
}

bool CIcatView::exchange(bool save) {
    if (!save) {
        toleranceEdit_->SetValue(tolerance_);
        for (int form = 0; form < kFormCount; ++form) {
            const Side& s = sides_[form];
            SideWidgets& w = widgets_[form];
            w.ratio->setText(s.ratioText);
            w.mass->SetValue(s.mass);
            w.start->SetValue(s.startTime);
            w.end->SetValue(s.endTime);
        }
        return true;
    }
    // Only what the user changed is read back: an edit left as shown keeps the exact value
    // (and the scan) behind its rounded text.
    CDataExchange dx(true);
    double tolerance = tolerance_;
    if (toleranceEdit_->isModified()) DDX_Double(dx, toleranceEdit_, tolerance);
    std::array<Side, kFormCount> sides = sides_;
    std::array<std::array<bool, 2>, kFormCount> typed{};
    for (int form = 0; form < kFormCount; ++form) {
        SideWidgets& w = widgets_[form];
        if (w.start->isModified()) {
            DDX_Double(dx, w.start, sides[form].startTime);
            typed[form][0] = true;
        }
        if (w.end->isModified()) {
            DDX_Double(dx, w.end, sides[form].endTime);
            typed[form][1] = true;
        }
    }
    if (dx.Failed()) return false;
    CZarDoc* doc = CZarDoc::GetDoc();
    for (int form = 0; form < kFormCount; ++form) {
        if (typed[form][0] && doc)
            sides[form].firstScan = doc->RetentionTimeToScan(sides[form].startTime);
        if (typed[form][1] && doc)
            sides[form].lastScan = doc->RetentionTimeToScan(sides[form].endTime);
    }
    tolerance_ = tolerance;
    sides_ = sides;
    return true;
}

void CIcatView::followDocumentTolerance() {
    const CZarDoc* doc = CZarDoc::GetDoc();
    if (!doc || doc->GetXpressTolerance() == documentTolerance_) return;
    documentTolerance_ = doc->GetXpressTolerance();
    tolerance_ = documentTolerance_;
}

const SearchHitRecord* CIcatView::entryHit() const {
    CZarDoc* doc = CZarDoc::GetDoc();
    CSorvexResults* set = doc ? doc->GetSorvexResults() : nullptr;
    if (!set || CResultsStatusDlg::IsLoading(set)) return nullptr;
    return set->FindHit(entry_);
}

double CIcatView::timeOfScan(int scan) const {
    CZarDoc* doc = CZarDoc::GetDoc();
    return doc ? doc->ScanToRetentionTime(scan) : 0.0;
}

int CIcatView::clampScan(int scan) const {
    int first = runFirstScan_;
    int last = runLastScan_;
    if (last < first || last == 0) {
        CZarDoc* doc = CZarDoc::GetDoc();
        VRawfile* raw = doc ? doc->GetRawFile() : nullptr;
        if (!raw) return scan;
        first = raw->firstScan();
        last = raw->lastScan();
    }
    return last < first ? scan : std::clamp(scan, first, last);
}

void CIcatView::Display(const SelectedResult& item) {
    // The page quantifies hits of the search-engine results only.
    if (item.kind != 1) {
        ++serial_;
        entry_ = HitNumber();
        clearEntry();
        return;
    }
    SetXpressEntry(item.hit, item.row);
}

void CIcatView::clearEntry() {
    SetTitle(QString());
    calculated_.reset();
    tableRatioText_.clear();
    for (Side& s : sides_) s = Side();
    exchange(false);
    calculate_->setEnabled(false);
    update_->setEnabled(false);
    clearTraces();
}

void CIcatView::clearTraces() {
    for (TraceState& t : traces_) {
        t.chro = CVXChro();
        t.display.xZoomed = 0;
        t.display.yZoomed = 0;
        HandOver(t.control.get(), "clearing a chromatogram", [](CChro& c) {
            c.Call(&IChro::SetPeakData, static_cast<VXPlot_DataPeak*>(nullptr), 0);
            c.Call(&IChro::ClearMarkerList);
        });
    }
    redraw();
}

void CIcatView::SetXpressEntry(HitNumber entry, int second) {
    ++serial_;
    entry_ = entry;
    second_ = second;
    calculated_.reset();
    tableRatioText_.clear();
    calculate_->setEnabled(false);
    update_->setEnabled(false);
    const SearchHitRecord* hit = entryHit();
    if (!hit) {
        entryPending_ = false;
        clearEntry();
        return;
    }
    SetTitle(QStringLiteral("XPRESS - ") + hit->fileInformation.trimmed());
    int first = 0;
    int last = 0;
    int charge = 0;
    if (ParseSpectrumScans(hit->fileInformation, first, last, charge) && charge > 0)
        SetChargeList(charge);
    charge_ = charge;
    followDocumentTolerance();

    Side& light = sides_[kLight];
    Side& heavy = sides_[kHeavy];
    light.mass = hit->lightMass;
    heavy.mass = hit->heavyMass;
    light.firstScan = hit->lightPeakStart;
    light.lastScan = hit->lightPeakEnd;
    heavy.firstScan = hit->heavyPeakStart;
    heavy.lastScan = hit->heavyPeakEnd;
    for (Side& s : sides_) {
        s.startTime = timeOfScan(s.firstScan);
        s.endTime = timeOfScan(s.lastScan);
    }
    RatioTexts(hit->lightArea, hit->heavyArea, light.ratioText, heavy.ratioText);
    initialiseEdits();
    exchange(false);

    // The chromatograms of another entry are not shown beside this one's values.
    clearTraces();
    if (hit->quantitationRatio == 0.0) {
        entryPending_ = false;
        return;
    }
    // A worker still runs: the newest entry is quantified as soon as it ends.
    if (busy_)
        entryPending_ = true;
    else
        startJob(kEntryJob, *hit);
}

void CIcatView::SetChargeList(int count) {
    chargeCount_ = count;
    if (charges_->count() != count) {
        charges_->clear();
        for (int z = 1; z <= count; ++z) charges_->addItem(QString::number(z));
    }
    if (count > 0) charges_->setCurrentIndex(count - 1);
}

void CIcatView::startJob(JobKind kind, const SearchHitRecord& hit) {
    CZarDoc* doc = CZarDoc::GetDoc();
    if (!doc) return;
    XpressJob job;
    job.kind = kind == kEntryJob ? XpressJobKind::kPeptide : XpressJobKind::kInRanges;
    job.rawFilePath = doc->GetRawFilePath();
    job.settings = doc->GetXpressSettings();
    job.settings.tolerance = tolerance_;
    job.hits.push_back(hit);
    job.target = receiver_;
    job.message = kMsgIcatReady;
    job.wParam = serial_;
    job.lParam = kind;
    if (!worker_.Start(std::move(job))) return;
    busy_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CIcatView::OnCalculateRatio() {
    if (!exchange(true) || busy_) return;
    const SearchHitRecord* hit = entryHit();
    if (!hit) return;
    SearchHitRecord copy = *hit;
    copy.lightPeakStart = sides_[kLight].firstScan;
    copy.lightPeakEnd = sides_[kLight].lastScan;
    copy.heavyPeakStart = sides_[kHeavy].firstScan;
    copy.heavyPeakEnd = sides_[kHeavy].lastScan;
    startJob(kCalculateJob, copy);
}

void CIcatView::takeResult(const Message& message) {
    worker_.Wait();
    if (busy_) {
        busy_ = false;
        QApplication::restoreOverrideCursor();
    }
    if (message.wParam != serial_) {
        // The result of an entry no longer shown.
        if (entryPending_) {
            entryPending_ = false;
            if (const SearchHitRecord* hit = entryHit(); hit && hit->quantitationRatio != 0.0)
                startJob(kEntryJob, *hit);
        }
        return;
    }
    const auto* result = message.payloadAs<XpressJobResult>();
    const bool calculation = message.lParam == kCalculateJob;
    if (!result || !result->opened || result->hits.empty()) {
        // The engine told the user why the run cannot be read.
        if (calculation) update_->setEnabled(false);
        return;
    }
    CZarDoc* doc = CZarDoc::GetDoc();
    if (calculation) {
        const SearchHitRecord& copy = result->hits.front();
        RatioTexts(copy.lightArea, copy.heavyArea, sides_[kLight].ratioText,
                   sides_[kHeavy].ratioText);
        tableRatioText_ = XpressRatioText(copy.quantitationRatio);
        sides_[kLight].mass = copy.lightMass;
        sides_[kHeavy].mass = copy.heavyMass;
        calculated_ = copy;
        update_->setEnabled(true);
        exchange(false);
    }
    loadTracePoints(*result);
    setMarkers();
    const int scanWindow = doc ? doc->GetXpressSettings().scanWindow : 0;
    loadControls(calculation ? kWindowMargin : scanWindow + kWindowMargin);
    calculate_->setEnabled(true);
}

void CIcatView::loadTracePoints(const XpressJobResult& result) {
    runFirstScan_ = result.firstScan;
    runLastScan_ = result.lastScan;
    CZarDoc* doc = CZarDoc::GetDoc();
    VRawfile* raw = doc ? doc->GetRawFile() : nullptr;
    for (int form = 0; form < kFormCount; ++form) {
        const std::vector<double>& trace = form == kLight ? result.lightTrace : result.heavyTrace;
        CVXChro& chro = traces_[form].chro;
        chro = CVXChro();
        chro.detectorType = kVXMSDevice;
        chro.traceType = kVXTICTrace;
        chro.smoothingPoints = 0;
        // Every full-MS scan of the run, the last one included: the traces are read from those
        // scans only, and the MS/MS scans between them would draw as gaps down to nothing.
        const int count =
            std::min<int>(static_cast<int>(trace.size()), result.lastScan - result.firstScan + 1);
        chro.points.reserve(static_cast<size_t>(std::max(count, 0)));
        double highest = 0.0;
        QString filter;
        for (int i = 0; i < count; ++i) {
            const int scan = result.firstScan + i;
            double time = 0.0;
            if (!raw || !raw->scanToRetentionTime(scan, time)) continue;  // no such scan
            if (!raw->filterForScan(scan, filter) || !IsFullScanFilter(filter)) continue;
            double value = trace[static_cast<size_t>(i)];
            if (!(value > 0.0)) value = kLeastIntensity;  // also for a value that is no number
            chro.points.push_back({time, value, 0.0f, scan});
            highest = std::max(highest, value);
        }
        chro.normalizationLevel = highest;
        chro.dataIntensityLow = 0.0;
        chro.dataIntensityHigh = highest;
        if (!chro.points.empty()) {
            chro.dataTimeStart = chro.points.front().dPosition;
            chro.dataTimeEnd = chro.points.back().dPosition;
        }
    }
    double first = 0.0;
    double last = 0.0;
    if (raw && raw->scanToRetentionTime(result.firstScan, first) &&
        raw->scanToRetentionTime(result.lastScan, last)) {
        fullStart_ = first;
        fullEnd_ = last;
    }
}

void CIcatView::setMarkers() {
    for (int form = 0; form < kFormCount; ++form) {
        VXPlot_Marker& m = traces_[form].marker;
        m.dStartPosition = timeOfScan(sides_[form].firstScan);
        m.dEndPosition = timeOfScan(sides_[form].lastScan);
        m.dStartIntensity = 0.0;
        m.dEndIntensity = 0.0;
    }
}

void CIcatView::loadControls(int margin) {
    const int low = std::min(sides_[kLight].firstScan, sides_[kHeavy].firstScan);
    const int high = std::max(sides_[kLight].lastScan, sides_[kHeavy].lastScan);
    double start = timeOfScan(clampScan(low - margin));
    double end = timeOfScan(clampScan(high + margin));
    if (end <= start) {
        start = fullStart_;
        end = fullEnd_;
    }
    for (int form = 0; form < kFormCount; ++form) {
        TraceState& t = traces_[form];
        if (t.chro.points.empty()) continue;
        // The window counts as a zoomed view of the full range.
        t.display.xZoomed = 1;
        t.display.xStart = start;
        t.display.xEnd = end;
        t.display.yZoomed = 0;
        t.marker.lineColor = kMarkerColor;
        t.marker.fillColor = kMarkerColor;
        t.marker.bFill = 1;
        t.marker.symbol = VXPlot_MarkerSymbolType_Triangle;
        t.marker.dStartIntensity =
            IntensityAtScan(t.chro, sides_[form].firstScan, t.marker.dStartPosition);
        t.marker.dEndIntensity =
            IntensityAtScan(t.chro, sides_[form].lastScan, t.marker.dEndPosition);
        if (t.control) loadControl(form, *t.control, start, end);
    }
    redraw();
    SetScrollRange(start, end);
}

void CIcatView::loadControl(int form, CChro& control, double start, double end) {
    const TraceState& t = traces_[form];
    HandOver(&control, "loading a chromatogram", [&](CChro& c) {
        std::vector<VXPlot_DataPeak> points = PlotPeaks(t.chro.points.data(), t.chro.points.size());
        c.Call(&IChro::SetPeakData, points.empty() ? nullptr : points.data(),
               static_cast<std::int32_t>(points.size()));
        VXPlot_Filter filter;
        c.Call(&IChro::InitializeFilter, &filter);
        VXPlot_ChroInfo info;
        c.Call(&IChro::InitializeChroInfo, &info);
        info.eDetectorType = static_cast<decltype(info.eDetectorType)>(0);
        info.eTraceType = static_cast<VXPlot_ChroTraceTypes>(1);
        info.nSmoothingPoints = 0;
        info.eSmoothingType = static_cast<VXPlot_Smooth_Type>(1);
        c.Call(&IChro::SetTraceInfo, &info, &filter, 0, static_cast<VXPlot_MassRange*>(nullptr));

        VXPlot_Marker marker = t.marker;
        c.Call(&IChro::ClearMarkerList);
        c.Call(&IChro::SetMarkerList, &marker, 1);

        CZarDoc* doc = CZarDoc::GetDoc();
        BStr file(doc ? doc->GetRawFilePath() : QString());
        c.Call(&IChro::put_FileName, file.get());
        VXPlot_ChroLabels labels{};
        labels.bLabelRT = 1;
        labels.nLabelDecimals = 2;
        labels.dLabelThreshold = 0.0;
        c.Call(&IChro::SetLabelling, &labels);
        c.Call(&IChro::SetStyle, static_cast<VXPlot_ChroStyle>(t.display.plotStyle));
        c.Call(&IChro::SetXAxisLimits, start, end);
        c.Call(&IChro::SetYAxisLimits, t.chro.normalizationLevel, t.chro.dataIntensityLow,
               t.chro.dataIntensityHigh, 0.0, 100.0);
        c.Call(&IChro::put_EnableManualBaselineDrag, 0);
        c.Call(&IChro::put_EnableManualZoom, 1);
        // Which form a chromatogram shows, and at which m/z.
        QString heading = QString::fromLatin1(form == kLight ? "Light (D0)" : "Heavy (D8)");
        double mz = 0.0;
        if (sides_[form].mass > 0.0 && XpressMassToMz(sides_[form].mass, charge_, mz))
            heading += QCFormat("  m/z %.2f", mz);
        c.Call(&IChro::SetHeading, WideText(heading));
    });
}

void CIcatView::applyLimits() {
    for (TraceState& t : traces_) {
        HandOver(t.control.get(), "showing the ranges", [&](CChro& c) {
            ApplyTraceXLimits(c, t.display, FullTimeRange());
            ApplyTraceYLimits(c, t.chro, t.display);
        });
    }
}

void CIcatView::followShownRange() {
    const PlotRange shown = ShownTimeRange(traces_[kLight].display, FullTimeRange());
    SetScrollRange(shown.low, shown.high);
}

void CIcatView::redraw() {
    for (TraceState& t : traces_)
        if (t.control) t.control->RedrawControl();
    // What the window's print and zoom commands may do follows the zoom and the data.
    if (Owner()) Owner()->UpdateCommandUI();
}

QString CIcatView::RatioText(int form) const {
    return sides_[form].ratioText;
}

// ---- zoom and scrolling ----

bool CIcatView::IsCommandEnabled(int id) const {
    const bool data = !traces_[kLight].chro.points.empty() && !traces_[kHeavy].chro.points.empty();
    if (!data) return false;
    if (id == ID_PLOT_TRACE_PRINT || id == ID_FILE_PRINT) return true;
    return IsTraceZoomEnabled(id, traces_[kLight].display) &&
           IsTraceZoomEnabled(id, traces_[kHeavy].display);
}

std::unique_ptr<QMenu> CIcatView::BuildContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    const auto run = [this](int command) { OnCommand(command); };
    AddCommandItem(menu.get(), ID_PLOT_TRACE_PRINT, "&Print...", run);
    menu->addSeparator();
    AddZoomItems(menu.get(), run);
    ForEachCommandItem(menu.get(),
                       [this](QAction* a, int id) { a->setEnabled(IsCommandEnabled(id)); });
    return menu;
}

void CIcatView::OnCommand(int id) {
    if (!IsCommandEnabled(id)) return;
    // The results window's Print prints the page as its own Print... does.
    if (id == ID_PLOT_TRACE_PRINT || id == ID_FILE_PRINT) {
        PrintWithDialog();
        return;
    }
    for (TraceState& t : traces_)
        ZoomTrace(id, t.display, FullTimeRange(), {0.0, t.chro.dataIntensityHigh});
    applyLimits();
    followShownRange();
    redraw();
}

void CIcatView::OnChroZoom(int, int, bool valid, double startTime, double startIntensity,
                           double endTime, double endIntensity) {
    if (!valid) return;
    for (TraceState& t : traces_)
        ZoomToBox(t.control.get(), t.chro, t.display, FullTimeRange(), startTime, startIntensity,
                  endTime, endIntensity);
    redraw();
    followShownRange();
}

void CIcatView::ShowTimePercent(int position, int page) {
    if (!(FullTimeRange().span() > 0.0)) return;
    const PlotRange window = TimeWindowOfPercent(position, page);
    for (TraceState& t : traces_) {
        t.display.xZoomed = 1;
        t.display.xStart = window.low;
        t.display.xEnd = window.high;
    }
    applyLimits();
    redraw();
}

// ---- Update table ----

void CIcatView::OnUpdateTable() {
    if (!calculated_ || !entry_.isValid()) return;
    CZarDoc* doc = CZarDoc::GetDoc();
    if (!doc || !doc->GetFrame() || CResultsStatusDlg::IsLoading(doc->GetSorvexResults())) return;
    // The main window writes the hit's new XPRESS block on its own thread; it gets a copy.
    XpressJobResult record;
    record.kind = XpressJobKind::kInRanges;
    record.opened = true;
    record.finished = true;
    record.processed = 1;
    record.hits.push_back(*calculated_);
    PostMessage(doc->GetFrame()->MessageTarget(), kMsgXpressUpdated, static_cast<WPARAM>(entry_.value()), 1,
                std::move(record));
}

// ---- printing ----

bool CIcatView::PrintWithDialog() {
    CZarDoc* doc = CZarDoc::GetDoc();
    const QString run = doc ? QFileInfo(doc->GetRawFilePath()).completeBaseName() : QString();
    const QString name =
        run.isEmpty() ? QStringLiteral("XPRESS") : run + QStringLiteral(" - XPRESS");
    PrintDialogOptions options;
    options.pageRanges = false;
    return RunPrintDialog(ProgramPrinter(), this, name, options,
                          [this](QPainter& painter, QPrinter& printer) {
                              const PrinterPage p = PrintablePage(printer);
                              PrintPage(painter, p.page, p.dpi, p.dpi, p.landscape);
                          });
}

void CIcatView::PrintPage(QPainter& painter, const QRect& page, int dpiX, int dpiY,
                          bool landscape) {
    const auto load = [this](int form, CChro& c) {
        const PlotRange shown = ShownTimeRange(traces_[form].display, FullTimeRange());
        loadControl(form, c, shown.low, shown.high);
    };
    const auto draw = [&](const QRect& r, const std::vector<CChro*>& printed) {
        QFont font(QStringLiteral("Courier"));
        font.setPixelSize(std::max(1, 10 * dpiY / 72));
        painter.setFont(font);
        const int step = painter.fontMetrics().height() * 12 / 10;
        int y = r.top() + painter.fontMetrics().ascent();
        const char* headings[kFormCount] = {"Light - D0", "Heavy - D8"};
        for (int form = 0; form < kFormCount; ++form) {
            const Side& s = sides_[form];
            const QString lines[] = {QString::fromLatin1(headings[form]),
                                     QStringLiteral("----------"),
                                     QStringLiteral("Ratio:  ") + s.ratioText,
                                     QCFormat("Mass:  %.1lf", s.mass),
                                     QCFormat("Start time:  %.2lf", s.startTime),
                                     QCFormat("End time:  %.2lf", s.endTime)};
            for (const QString& line : lines) {
                painter.drawText(r.left(), y, line);
                y += step;
            }
            y += step;
        }
        // The values take the left fifth; the light trace is drawn above the heavy one.
        const int left = r.left() + r.width() / 5;
        const int middle = r.top() + r.height() / 2;
        DrawChroControl(*printed[kLight], painter,
                        QRect(QPoint(left, r.top()), QPoint(r.right(), middle - 1)));
        DrawChroControl(*printed[kHeavy], painter,
                        QRect(QPoint(left, middle), QPoint(r.right(), r.bottom())));
    };
    PrintThroughOffscreenControls(painter, page, dpiX, dpiY, landscape, Title(), kFormCount,
                                  QString(), load, draw);
}

bool CIcatView::WaitUntilIdle(int milliseconds) {
    return ProcessEventsWhile([this] { return busy_ || entryPending_; }, milliseconds);
}

}  // namespace zar
