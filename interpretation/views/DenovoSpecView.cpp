#include "DenovoSpecView.h"

#include "DenovoCommands.h"
#include "FrameCommands.h"
#include "ZarDoc.h"
#include "app/plotwrappers/PlotWrappers.h"
#include "core/Numbers.h"
#include "document/UpdateHints.h"
#include "document/hub/PlotRange.h"
#include "interpretation/DenovoEngine.h"
#include "spectrumviews/views/PaneSupport.h"
#include "spectrumviews/views/PlotFeeding.h"
#include "spectrumviews/views/ViewCommands.h"

#include <QActionGroup>
#include <QCursor>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>

#include <algorithm>
#include <cstring>

namespace zar {

using namespace ZAR_PLOTLib;

namespace {

constexpr char kNoProcessedData[] = "No processed spectral data available";
// Room left and right of the shown one-dimensional peaks.
constexpr double kOneDimensionalMargin = 10.0;

struct ModeItem {
    int id;
    int mode;
    const char* text;
};

const ModeItem kModes[] = {
    {ID_DENOVO_MS2_SPECTRUM, 7, "MS&2 Spectrum"},
    {ID_DENOVO_MS2_RED, 8, "MS2 Spectrum - &Red"},
    {ID_DENOVO_MS2_BLUE, 9, "MS2 Spectrum - &Blue"},
    {ID_DENOVO_YB_RED, 2, "Y-B &Spectrum (Red)"},
    {ID_DENOVO_YB_BLUE, 3, "Y-B S&pectrum (Blue)"},
    {ID_DENOVO_YB_RED_PLUS_BLUE, 4, "Y-B Sp&ectrum (Red + Blue)"},
    {ID_DENOVO_YB_RED_MINUS_BLUE, 6, "Y-B Spe&ctrum (Red - Blue)"},
    {ID_DENOVO_RAW_SPECTRUM, CDenovoSpecView::kRawMode, "Raw Spectrum"},
};

// The step of a per-cent scroll bar whose thumb is at `position`: a line goes to the multiple of
// 10 below or above, a page by one page; the result stays within the bar.
int PercentScrollTarget(ScrollStep step, int position, int page, int maximum) {
    switch (step) {
        case ScrollStep::LineBack:
            return std::max(0, (position + 9) / 10 * 10 - 10);
        case ScrollStep::LineForward:
            return std::min(maximum, (position / 10 + 1) * 10);
        case ScrollStep::PageBack:
            return std::max(0, position - page);
        case ScrollStep::PageForward:
            return std::min(maximum, position + page);
        default:
            return position;
    }
}

}  // namespace

CDenovoSpecView::CDenovoSpecView(QWidget* parent)
    : CHighlightedPane(parent), CPlotPane(this, "De novo spectrum"), scrollBar_(new QScrollBar(Qt::Horizontal, this)) {
    setObjectName(QStringLiteral("CDenovoSpecView"));
    scrollBar_->setRange(0, 0);
    scrollBar_->setEnabled(false);
    ConnectScrollSteps(scrollBar_, this,
                       [this](ScrollStep step, int position) { OnHScroll(step, position); });
}

CDenovoSpecView::~CDenovoSpecView() = default;

void CDenovoSpecView::OnInitialUpdate() {
    if (initialised_) return;
    initialised_ = true;
    CreatePlotControl(QRect(15, 15, 100, 100), QString::fromLatin1(kNoProcessedData));
    layoutChildren();
    Redraw();
}

void CDenovoSpecView::OnUpdate(CZarView*, int hint) {
    if (hint > kHintDenovoSelection) return;
    switch (hint) {
        case kHintPlotLayout:
            Guarded("marking the data", [this] { SetDataValid(false); });
            [[fallthrough]];
        case kHintScanRange:
        case kHintRefillResults:
        case kHintDisplaySettings:
        case kHintDenovoLayout:
        case kHintDenovoSelection:
            BuildView();
            break;
        default:
            break;
    }
}

int CDenovoSpecView::ModeOfCommand(int id) {
    for (const ModeItem& m : kModes)
        if (m.id == id) return m.mode;
    return 0;
}

void CDenovoSpecView::OnModeCommand(int id) {
    const int mode = ModeOfCommand(id);
    if (mode == 0) return;
    Guarded("marking the data", [this] { SetDataValid(true); });
    mode_ = mode;
    BuildView();
}

CVXUserResult* CDenovoSpecView::currentUserResult() const {
    CZarDoc* doc = GetDocument();
    CVXResults* r = doc ? doc->GetCurrentResults() : nullptr;
    return r ? r->GetCurrentUserResult() : nullptr;
}

void CDenovoSpecView::takeSelectionLabels(DenovoIonScale scale) {
    labels_.clear();
    CZarDoc* doc = GetDocument();
    if (!doc) return;
    doc->GetDenovoSelection(selection_.first, selection_.second, selection_.text);
    if (!selection_.text.isEmpty()) labels_ = DenovoSelectionLabels(selection_, scale);
}

bool CDenovoSpecView::readOneDimensional() {
    CZarDoc* doc = GetDocument();
    const CDenovoEngine* engine = doc ? doc->GetDenovoEngine() : nullptr;
    if (!engine || engine->SpectraLoaded() <= 0 || engine->MassRangeEnd() <= 0) return false;
    takeSelectionLabels(DenovoIonScale::Nominal);
    // The spectra are built on a copy: the document's engine keeps the state its candidate
    // table was ranked in.
    CDenovoEngine work = *engine;
    work.AssignSigns();
    work.BuildSpectrum(mode_);
    int count = 0;
    const std::vector<CDenovoEngine::Evidence>& points = work.GetOneDimensionalSpectrum(&count);
    count = std::min(count, static_cast<int>(points.size()));
    // Below the mass range start the engine neither sums nor sequences: what lies there (the
    // mirror images of the precursor's neighbours) is left out, as it would set the scale.
    for (int j = work.MassRangeStart(); j < count; ++j) {
        if (points[static_cast<size_t>(j)] <= 0) continue;
        CVXDataPeak p;
        p.dPosition = j;
        p.dIntensity = static_cast<double>(points[static_cast<size_t>(j)]);
        spectrum_.peaks.push_back(p);
    }
    if (spectrum_.peaks.empty()) return false;
    CVXSpectrumHeaderData& h = spectrum_.header.data;
    h.bIsCentroid = 1;
    h.dLowMass = std::max(0.0, spectrum_.peaks.front().dPosition - kOneDimensionalMargin);
    h.dHighMass = spectrum_.peaks.back().dPosition + kOneDimensionalMargin;
    spectrum_.massRanges = {{h.dLowMass, h.dHighMass}};
    spectrum_.segmentSizes = {static_cast<int>(spectrum_.peaks.size())};
    return true;
}

bool CDenovoSpecView::readRawSpectrum() {
    CZarDoc* doc = GetDocument();
    CVXUserResult* u = currentUserResult();
    if (!doc || !u || u->currentScanPosition < 0.0) return false;
    const CVXFilter* filter = u->chro.filter.IsAcceptAll() ? nullptr : &u->chro.filter;
    if (!doc->ReadSpectrum(0, 1, filter, u->currentScanPosition, &spectrum_, &spectrum_.filter))
        return false;
    takeSelectionLabels(DenovoIonScale::Monoisotopic);
    return !spectrum_.peaks.empty();
}

void CDenovoSpecView::BuildView() {
    const double oldLow = spectrum_.header.data.dLowMass;
    const double oldHigh = spectrum_.header.data.dHighMass;
    spectrum_.Empty();
    labels_.clear();
    infos_.clear();
    heading_.clear();
    const bool read = mode_ == kRawMode ? readRawSpectrum() : readOneDimensional();
    if (!read) {
        spectrum_.Empty();
        labels_.clear();
        display_.xZoomed = display_.yZoomed = 0;
        HandOver("marking the data", [](CSpec& c) { c.Call(&ISpec::put_DataValid, 0); });
        updateScrollBar();
        CommandStateChanged();
        return;
    }
    // The shown peaks: their ends, sum and extremes.
    firstMz_ = spectrum_.peaks.front().dPosition;
    lastMz_ = spectrum_.peaks.back().dPosition;
    summed_ = 0.0;
    largest_ = 0.0;
    smallest_ = spectrum_.peaks.front().dIntensity;
    double basePeakMass = firstMz_;
    for (const CVXDataPeak& p : spectrum_.peaks) {
        summed_ += p.dIntensity;
        if (p.dIntensity > largest_) {
            largest_ = p.dIntensity;
            basePeakMass = p.dPosition;
        }
        smallest_ = std::min(smallest_, p.dIntensity);
    }
    CVXSpectrumHeaderData& h = spectrum_.header.data;
    if (mode_ != kRawMode) {
        h.dTIC = summed_;
        h.dBasePeakIntensity = largest_;
        h.dBasePeakMass = basePeakMass;
        h.dMinPeakIntensity = smallest_;
    }
    // A zoom stays while the spectrum keeps its range (a new selection, another 1-D spectrum).
    if (h.dLowMass != oldLow || h.dHighMass != oldHigh) display_.xZoomed = display_.yZoomed = 0;

    const QString name = mode_ == kRawMode ? QStringLiteral("Raw Spectrum")
                                           : CDenovoEngine::GetSpectrumTypeName(mode_);
    heading_ = QStringLiteral("%1  NL: %2").arg(name, QCFormat("%9.2E", largest_));

    // The marks, matched to their most intense peaks.
    for (const DenovoIonLabel& label : labels_)
        infos_.push_back(
            MakePeakInfo(label.low, label.mz, label.high, label.colourSet, 1, label.text));
    std::stable_sort(infos_.begin(), infos_.end(),
                     [](const VXPlot_PeakInfo& a, const VXPlot_PeakInfo& b) {
                         return a.apex.dMass < b.apex.dMass;
                     });
    MatchPeakInfoApexes(infos_, spectrum_.peaks);

    HandOver("showing the spectrum", [this](CSpec& c) {
        SendSpectrumToControl(c);
        c.Call(&ISpec::put_EnableManualZoom, 1);
    });
    updateScrollBar();
    CommandStateChanged();
}

void CDenovoSpecView::SendSpectrumToControl(CSpec& c) {
    std::vector<VXPlot_MassRange> ranges;
    for (const CVX_MassRange& r : spectrum_.massRanges) ranges.push_back({r.low, r.high});
    std::vector<std::int32_t> sizes(spectrum_.segmentSizes.begin(), spectrum_.segmentSizes.end());
    std::vector<VXPlot_DataPeak> peaks = PlotPeaks(spectrum_.peaks.data(), spectrum_.peaks.size());
    c.Call(&ISpec::SetPeakData, sizes.empty() ? nullptr : sizes.data(),
           ranges.empty() ? nullptr : ranges.data(), static_cast<std::int32_t>(ranges.size()),
           peaks.empty() ? nullptr : peaks.data(), static_cast<std::int32_t>(peaks.size()));
    if (infos_.empty()) {
        c.Call(&ISpec::SetPeakInfo, static_cast<VXPlot_PeakInfo*>(nullptr), 0);
        c.Call(&ISpec::SetPeakInfoColors, static_cast<std::uint32_t*>(nullptr), 0);
    } else {
        std::uint32_t pens[3] = {kLabelPens[0], kLabelPens[1], kLabelPens[2]};
        c.Call(&ISpec::SetPeakInfo, infos_.data(), static_cast<std::int32_t>(infos_.size()));
        c.Call(&ISpec::SetPeakInfoColors, pens, 3);
    }
    CZarDoc* doc = GetDocument();
    const QString path = doc ? doc->GetRawFilePath() : QString();
    c.Call(&ISpec::put_FileName, WideText(path));
    VXPlot_SpectrumHeader header;
    static_assert(sizeof(header) == sizeof(spectrum_.header.data));
    std::memcpy(&header, &spectrum_.header.data, sizeof(header));
    c.Call(&ISpec::SetScanHeader, &header, 0);
    VXPlot_Filter filter;
    c.Call(&ISpec::InitializeFilter, &filter);
    if (mode_ == kRawMode) FillPlotFilter(spectrum_.filter, filter);
    c.Call(&ISpec::put_Filter, &filter);
    VXPlot_SpecStyle style{};
    style.eStyle = VXPlot_SpecPlotStyle(CVXSpecDisplay::kStick);
    style.bShowLabels = display_.showLabels;
    style.dLabelThreshold = display_.labelThreshold;
    style.bOffsetLabels = display_.offsetLabels;
    style.fLabelOffset = display_.labelOffset;
    style.bRotateLabels = display_.rotateLabels;
    c.Call(&ISpec::SetStyle, &style);
    const CVXUserResult* u = currentUserResult();
    const CVXChroDisplay titles = u ? u->chroDisplay : CVXChroDisplay();
    const QString x = titles.XAxisSpectraLabel();
    const QString yAbs = titles.YAxisAbsoluteLabel();
    const QString yRel = titles.YAxisRelativeLabel();
    c.Call(&ISpec::SetAxisLabels, WideText(x), WideText(yAbs), WideText(yRel),
           static_cast<LPCWSTR>(nullptr), static_cast<LPCWSTR>(nullptr));
    display_.yAxisScaleType = doc ? doc->GetSpectrumDisplay(0, false, true) : kVXScaleRelative;
    c.Call(&ISpec::SetYAxisScaleType, static_cast<VXPlot_YAxisScaleType>(display_.yAxisScaleType));
    ApplyXLimits(c);
    ApplyYLimits(c);
    c.Call(&ISpec::put_DataValid, 1);
    c.Call(&ISpec::SetForcedHeading, 1);
    c.Call(&ISpec::SetHeading, WideText(heading_));
}

PlotRange CDenovoSpecView::FullIntensityRange() const {
    return {0.0, spectrum_.header.data.dBasePeakIntensity};
}

bool CDenovoSpecView::StepScan(int direction) {
    if (mode_ != kRawMode) return false;
    CZarDoc* doc = GetDocument();
    CVXUserResult* u = currentUserResult();
    if (!doc || !u || u->currentScanPosition < 0.0) return false;
    const int i = NearestPointIndex(u->chro.points, u->currentScanPosition);
    const int next = i + direction;
    if (i < 0 || next < 0 || next >= static_cast<int>(u->chro.points.size())) return false;
    u->currentScanPosition = u->chro.points[static_cast<size_t>(next)].dPosition;
    const int scan = doc->RetentionTimeToScan(u->currentScanPosition);
    doc->SetCurrentScanRange(scan, scan);
    doc->UpdateAllViews(nullptr, kHintScanRange);
    return true;
}

void CDenovoSpecView::OnSpecZoom(bool valid, double startMass, double startIntensity,
                                 double endMass, double endIntensity) {
    if (!DataValid()) return;
    ZoomToBox(valid, startMass, startIntensity, endMass, endIntensity);
}

void CDenovoSpecView::updateScrollBar() {
    const CVXSpectrumHeaderData& h = spectrum_.header.data;
    SetPercentScrollBar(scrollBar_, h.dLowMass, h.dHighMass,
                        display_.xZoomed ? display_.xStart : h.dLowMass,
                        display_.xZoomed ? display_.xEnd : h.dHighMass);
}

void CDenovoSpecView::OnHScroll(ScrollStep step, int position) {
    const int page = scrollBar_->pageStep();
    int next = scrollBar_->value();
    switch (step) {
        case ScrollStep::ThumbPosition:
            scrollBar_->setValue(position);
            return;
        case ScrollStep::ThumbTrack:
            next = position;
            scrollBar_->setValue(next);
            break;
        default:
            next = PercentScrollTarget(step, next, page, scrollBar_->maximum());
            scrollBar_->setValue(next);
            break;
    }
    const CVXSpectrumHeaderData& h = spectrum_.header.data;
    const double span = h.dHighMass - h.dLowMass;
    if (span <= 0.0) return;
    display_.xZoomed = 1;
    display_.xStart = h.dLowMass + next * 0.01 * span;
    display_.xEnd = std::min(h.dHighMass, display_.xStart + page * 0.01 * span);
    HandOver("scrolling", [this](CSpec& c) {
        ApplyXLimits(c);
        ApplyYLimits(c);
    });
}

void CDenovoSpecView::OnSpecLButtonUp(bool valid, double mass, double intensity) {
    if (DataValid()) CPlotPane::OnSpecLButtonUp(valid, mass, intensity);
}

std::unique_ptr<QMenu> CDenovoSpecView::BuildContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    auto* group = new QActionGroup(menu.get());
    const auto runMode = [this](int id) { OnModeCommand(id); };
    for (const ModeItem& m : kModes) {
        QAction* a = AddDenovoCommandItem(menu.get(), m.id, QString::fromLatin1(m.text), runMode);
        a->setCheckable(true);
        a->setChecked(m.mode == mode_);
        group->addAction(a);
    }
    menu->addSeparator();
    AddZoomItems(menu.get(), [this](int id) { RunZoomCommand(id); });
    menu->addSeparator();
    AddDenovoCommandItem(menu.get(), ID_FILE_PRINT, QStringLiteral("&Print..."),
                         [this](int id) { OnViewCommand(id); });
    ForEachCommandItem(menu.get(), [this](QAction* a, int id) {
        if (id >= ID_PLOT_ZOOM_IN_Y && id <= ID_PLOT_RESET_SCALING)
            a->setEnabled(IsZoomCommandEnabled(id));
        else if (id == ID_FILE_PRINT)
            a->setEnabled(DataValid());
    });
    ShowMenuPrompts(menu.get());
    return menu;
}

bool CDenovoSpecView::IsCommandEnabled(int id) const {
    if (id == ID_PLOT_SPEC_PRINT) return DataValid();
    return CPlotPane::IsCommandEnabled(id);
}

void CDenovoSpecView::OnCommand(int id) {
    if (id != ID_PLOT_SPEC_PRINT) {
        CPlotPane::OnCommand(id);
    } else if (DataValid()) {
        PrintWithDialog();
    }
}

void CDenovoSpecView::PrintPage(QPainter& painter, const QRect& page, int dpiX, int dpiY,
                                bool landscape) {
    PrintSpectrum(painter, page, dpiX, dpiY, landscape);
}

void CDenovoSpecView::resizeEvent(QResizeEvent* event) {
    CHighlightedPane::resizeEvent(event);
    layoutChildren();
}

void CDenovoSpecView::layoutChildren() {
    const int bar = scrollBar_->sizeHint().height();
    const int w = std::max(0, width() - 2 * kFrameInset);
    const int h = std::max(0, height() - 2 * kFrameInset - bar);
    if (Control()) Control()->setGeometry(kFrameInset, kFrameInset, w, h);
    scrollBar_->setGeometry(kFrameInset, kFrameInset + h, w, bar);
}

}  // namespace zar
