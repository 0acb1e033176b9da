#include "PepmatchSpecView.h"

#include "PaneSupport.h"
#include "PlotFeeding.h"
#include "SpectrumPanes.h"
#include "ViewCommands.h"
#include "app/FrameCommands.h"
#include "app/plotwrappers/PlotWrappers.h"
#include "app/plotwrappers/SpecToolBar.h"
#include "document/UpdateHints.h"
#include "document/hub/ZarDoc.h"
#include "spectrumviews/PepmatchData.h"

#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

namespace zar {

using namespace ZAR_PLOTLib;

namespace {

constexpr char kClickToView[] = "Click on a chromatogram to view spectrum";
constexpr char kClickToSelect[] = "Click on a chromatogram to select a scan.";

CVXUserResult* CurrentUserResult(CZarDoc* doc) {
    CVXResults* r = doc ? doc->GetCurrentResults() : nullptr;
    return r ? r->GetCurrentUserResult() : nullptr;
}

}  // namespace

CPepmatchSpecView::CPepmatchSpecView(QWidget* parent)
    : CZarViewWidget(parent),
      toolBar_(new CSpecToolBar(this)),
      scrollBar_(new QScrollBar(Qt::Horizontal, this)) {
    setObjectName(QStringLiteral("CPepmatchSpecView"));
    scrollBar_->setObjectName(QStringLiteral("PepmatchSpecScrollBar"));
    connect(toolBar_, &CSpecToolBar::commandTriggered, this, &CPepmatchSpecView::OnCommand);
    ConnectScrollSteps(scrollBar_, this, [this](ScrollStep step, int position) {
        switch (step) {
            case ScrollStep::LineBack:
                OnScrollStep(PercentScroll::LineBack);
                break;
            case ScrollStep::LineForward:
                OnScrollStep(PercentScroll::LineForward);
                break;
            case ScrollStep::PageBack:
                OnScrollStep(PercentScroll::PageBack);
                break;
            case ScrollStep::PageForward:
                OnScrollStep(PercentScroll::PageForward);
                break;
            case ScrollStep::ThumbTrack:
                OnThumbTrack(position);
                break;
            case ScrollStep::ThumbPosition: {
                const QSignalBlocker block(scrollBar_);
                scrollBar_->setValue(position);
                break;
            }
        }
    });
    UpdateScrollBar(fullFirst_, fullLast_);
}

CPepmatchSpecView::~CPepmatchSpecView() = default;

void CPepmatchSpecView::guarded(const char* what, const std::function<void()>& action) {
    RunPaneOperation("Pepmatch spectrum", what, action);
}

CPepmatchData* CPepmatchSpecView::engine() const {
    CZarDoc* doc = GetDocument();
    return doc ? doc->GetPepmatchData() : nullptr;
}

bool CPepmatchSpecView::dataValid() const {
    if (!control_ || !control_->Interface()) return false;
    std::int32_t valid = 0;
    return SUCCEEDED(control_->Interface()->get_DataValid(&valid)) && valid != 0;
}

void CPepmatchSpecView::setDataValid(bool valid) {
    if (control_ && control_->Interface()) control_->Call(&ISpec::put_DataValid, valid ? 1 : 0);
}

void CPepmatchSpecView::setNoDataText(const QString& text) {
    noDataText_ = text;
    if (control_ && control_->Interface()) control_->Interface()->put_NoDataText(WideText(text));
}

void CPepmatchSpecView::repaintControl() {
    if (control_) control_->RedrawControl();
}

void CPepmatchSpecView::OnInitialUpdate() {
    if (initialised_) return;
    initialised_ = true;
    auto control = std::make_unique<CSpec>();
    if (control->Create(this, QRect(15, 15, 100, 100), 0)) {
        guarded("initialising the control", [&] { control->Call(&ISpec::Initialize); });
        // A click picks a peak for the annotation dialog, as in the other spectrum panes.
        control->OnEvent(SpecEvents::kSpecLButtonUp, [this](const DispArgs& a) {
            if (a.longAt(0) == 0) return;
            const int i = PickPeak(spectrum_.peaks, a.doubleAt(1));
            if (i >= 0)
                emit peakPicked(spectrum_.peaks[static_cast<std::size_t>(i)].dPosition,
                                spectrum_.peaks[static_cast<std::size_t>(i)].dIntensity);
        });
        control->OnEvent(SpecEvents::kSpecZoom, [this](const DispArgs& a) {
            OnSpecZoom(a.longAt(0) != 0, a.doubleAt(1), a.doubleAt(2), a.doubleAt(3),
                       a.doubleAt(4));
        });
        control->OnEvent(SpecEvents::kSpecLeftKeyPressed,
                         [this](const DispArgs&) { StepToPreviousScan(GetDocument()); });
        control->OnEvent(SpecEvents::kSpecRightKeyPressed,
                         [this](const DispArgs&) { StepToNextScan(GetDocument()); });
        control_ = std::move(control);
    }
    layoutChildren();
    CVXUserResult* u = CurrentUserResult(GetDocument());
    if (u && !u->chro.points.empty()) {
        if (u->currentScanPosition < 0) u->currentScanPosition = u->chro.points.front().dPosition;
        GetDocument()->UpdateAllViews(nullptr, kHintScanRange);
    } else {
        setNoDataText(QString::fromLatin1(kClickToSelect));
    }
    UpdateScrollBar(display_.xZoomed ? display_.xStart : fullFirst_,
                    display_.xZoomed ? display_.xEnd : fullLast_);
    repaintControl();
    updateToolBar();
}

void CPepmatchSpecView::OnUpdate(CZarView*, int hint) {
    if (!control_ || !control_->Interface()) return;
    guarded("loading the spectrum", [&] {
        if (hint == kHintPlotLayout) setDataValid(false);
        if (hint == kHintScanRange || hint == kHintRefillResults ||
            hint == kHintDisplaySettings || hint == kHintFragmentIons ||
            hint == kHintPlotLayout) {
            loadSpectrum();
            setNoDataText(QString::fromLatin1(kClickToView));
            repaintControl();
        }
    });
    updateToolBar();
}

void CPepmatchSpecView::loadSpectrum() {
    CZarDoc* doc = GetDocument();
    const double time = doc ? doc->GetCurrentRetentionTime() : -1.0;
    if (time < 0.0 || !CurrentUserResult(doc)) {
        setDataValid(false);
        return;
    }
    spectrum_.Empty();
    // The scan of that time among those the current trace was read from.
    CVXUserResult* u = CurrentUserResult(doc);
    const CVXFilter* filter = !u->chro.filter.IsAcceptAll() ? &u->chro.filter : nullptr;
    doc->ReadSpectrum(0, 1, filter, time, &spectrum_, &spectrum_.filter);
    SendSpectrumToControl(*control_);
    control_->Call(&ISpec::put_EnableManualZoom, 1);
}

std::vector<VXPlot_PeakInfo> CPepmatchSpecView::PeakInfos() const {
    std::vector<VXPlot_PeakInfo> infos;
    const CPepmatchData* e = engine();
    const CPepmatchIonList* list = e ? e->GetIonList() : nullptr;
    // Ions matched on another scan than the one shown are not drawn.
    if (!list || e->GetCurrentScan() != spectrum_.header.data.nScanNumber) return infos;
    infos.reserve(static_cast<std::size_t>(list->labelledIonCount()));
    const double half = list->matchHalfWindow();
    for (const PepmatchIon& ion : list->ions()) {
        if (!ion.present) continue;
        if (static_cast<int>(infos.size()) >= list->labelledIonCount()) break;
        VXPlot_PeakInfo info{};
        info.apex = {ion.mass, ion.intensity, 0.0};
        info.left = {ion.mass - half, 0.0, 0.0};
        info.right = {ion.mass + half, 0.0, 0.0};
        info.iPenIndex = ion.colorSet;
        info.bShowCharge = 0;
        info.bShowText = 1;
        const QString text = ion.label.left(kMaxIonLabelLength);
        for (qsizetype k = 0; k < text.size(); ++k)
            info.cLabelText[k] = static_cast<std::int16_t>(text[k].unicode());
        infos.push_back(info);
    }
    std::stable_sort(infos.begin(), infos.end(), [](const VXPlot_PeakInfo& a, const VXPlot_PeakInfo& b) {
        return a.apex.dMass < b.apex.dMass;
    });
    return infos;
}

void CPepmatchSpecView::SendSpectrumToControl(CSpec& c) {
    const int selected = SelectDisplaySegment(spectrum_, display_);
    const std::vector<VXPlot_PeakInfo> infos = PeakInfos();
    const CPepmatchData* e = engine();
    SendSpectrumPeakInfos(c, infos, e ? e->GetLabelColors().data() : nullptr,
                          e ? e->GetLabelColorCount() : 0);
    SendSpectrumPeaks(c, spectrum_, selected);
    CZarDoc* doc = GetDocument();
    SendSpectrumHeader(c, spectrum_, doc ? doc->GetRawFilePath() : QString(),
                       SpectrumFilterPass::Record);
    resetFullRange();
    SendSpectrumStyle(c, spectrum_, display_, kVXMSDevice);
    CVXUserResult* u = CurrentUserResult(doc);
    const CVXChroDisplay titles = u ? u->chroDisplay : CVXChroDisplay();
    // The scale type of spectra follows the display settings, as in the other spectrum pane.
    if (u) display_.yAxisScaleType = u->specDisplay.yAxisScaleType;
    UpdateScrollBar(display_.xZoomed ? display_.xStart : fullFirst_,
                    display_.xZoomed ? display_.xEnd : fullLast_);
    SendSpectrumAxes(c, spectrum_, display_,
                     {titles.XAxisSpectraLabel(), titles.YAxisAbsoluteLabel(),
                      titles.YAxisRelativeLabel()});
    c.Call(&ISpec::put_DataValid, 1);
}

void CPepmatchSpecView::resetFullRange() {
    fullFirst_ = spectrum_.header.data.dLowMass;
    fullLast_ = spectrum_.header.data.dHighMass;
}

void CPepmatchSpecView::UpdateScrollBar(double start, double end) {
    const double span = fullLast_ - fullFirst_;
    const QSignalBlocker block(scrollBar_);
    // A spectrum without a span (no scan, one peak) has nothing to scroll.
    if (!(span > 0.0)) {
        scrollBar_->setRange(0, 0);
        scrollBar_->setPageStep(100);
        scrollBar_->setValue(0);
        scrollBar_->setEnabled(false);
        return;
    }
    const int page = std::clamp(static_cast<int>((end - start) * 100.0 / span) + 1, 1, 100);
    const int position = std::clamp(static_cast<int>((start - fullFirst_) * 100.0 / span), 0, 100);
    scrollBar_->setRange(0, 100 - page);
    scrollBar_->setPageStep(page);
    scrollBar_->setValue(position);
    scrollBar_->setEnabled(page < 100);
}

void CPepmatchSpecView::ScrollToPercent(int position, int page) {
    const double span = fullLast_ - fullFirst_;
    if (!(span > 0.0)) return;
    double start = fullFirst_ + position * 0.01 * span;
    if (start <= fullFirst_) start = fullFirst_;
    double end = start + page * 0.01 * span;
    if (end >= fullLast_) end = fullLast_;
    display_.xZoomed = 1;
    display_.xStart = start;
    display_.xEnd = end;
    guarded("scrolling", [&] {
        applyXRange();
        applyYRange();
    });
    repaintControl();
    updateToolBar();
}

void CPepmatchSpecView::OnScrollStep(PercentScroll step) {
    const int next = PercentScrollTarget(step, scrollBar_->value(), scrollBar_->pageStep(),
                                         scrollBar_->minimum(), scrollBar_->maximum());
    const int page = scrollBar_->pageStep();
    ScrollToPercent(next, page);
    const QSignalBlocker block(scrollBar_);
    scrollBar_->setValue(next);
}

void CPepmatchSpecView::OnThumbTrack(int position) {
    ScrollToPercent(position, scrollBar_->pageStep());
    const QSignalBlocker block(scrollBar_);
    scrollBar_->setValue(position);
}

void CPepmatchSpecView::applyXRange() {
    if (!control_ || !control_->Interface()) return;
    // Zoomed into one segment before, or a window in another segment now: the control gets the
    // segment (or all segments) again.
    if ((display_.xZoomed && spectrum_.segmentSizes.size() > 1) ||
        (!display_.xZoomed && display_.selectedSegment >= 0))
        SendSpectrumToControl(*control_);
    SendSpectrumXLimits(*control_, spectrum_, display_);
}

void CPepmatchSpecView::applyYRange() {
    if (!control_ || !control_->Interface()) return;
    SendSpectrumYLimits(*control_, spectrum_, display_);
}

void CPepmatchSpecView::OnSpecZoom(bool valid, double startMass, double startIntensity,
                                   double endMass, double endIntensity) {
    if (!valid) return;
    guarded("zooming", [&] {
        if (startMass != endMass) {
            display_.xZoomed = 1;
            display_.xStart = std::min(startMass, endMass);
            display_.xEnd = std::max(startMass, endMass);
            applyXRange();
            UpdateScrollBar(display_.xStart, display_.xEnd);
        }
        if (startIntensity != endIntensity) {
            display_.yZoomed = 1;
            display_.yStart = std::min(startIntensity, endIntensity);
            display_.yEnd = std::max(startIntensity, endIntensity);
            applyYRange();
        }
    });
    repaintControl();
    updateToolBar();
}

void CPepmatchSpecView::AddTextLabel(const QString& text, double x, double y,
                                     VXPlot_LabelParams* params) {
    if (!control_ || !control_->Interface()) return;
    guarded("adding a label",
            [&] { control_->Call(&ISpec::AddTextLabel, WideText(text), x, y, params); });
    repaintControl();
}

void CPepmatchSpecView::ClearTextLabels() {
    if (!control_ || !control_->Interface()) return;
    guarded("clearing labels", [&] { control_->Call(&ISpec::ClearTextLabel); });
    repaintControl();
}

bool CPepmatchSpecView::IsCommandEnabled(int id) const {
    const bool valid = dataValid();
    const CVXUserResult* u = CurrentUserResult(GetDocument());
    const int points = u ? static_cast<int>(u->chro.points.size()) : 0;
    const double t = u ? u->currentScanPosition : -1.0;
    switch (id) {
        case ID_PLOT_ZOOM_IN_Y:
        case ID_PLOT_ZOOM_IN_X:
        case ID_PLOT_SPEC_PRINT:
            return valid;
        case ID_PLOT_ZOOM_OUT_Y:
        case ID_PLOT_NORMALIZE:
            return display_.yZoomed && valid;
        case ID_PLOT_ZOOM_OUT_X:
        case ID_PLOT_DISPLAY_ALL:
            return display_.xZoomed && valid;
        case ID_PLOT_RESET_SCALING:
            return (display_.xZoomed || display_.yZoomed) && valid;
        case ID_PLOT_PREVIOUS_SCAN:
            return points > 0 && (t < 0.0 || t > u->chro.points.front().dPosition) && valid;
        case ID_PLOT_NEXT_SCAN:
            return points > 0 && (t < 0.0 || t < u->chro.points.back().dPosition) &&
                   control_ != nullptr;
        default:
            return false;
    }
}

void CPepmatchSpecView::OnCommand(int id) {
    guarded("a command", [&] {
        switch (id) {
            case ID_PLOT_PREVIOUS_SCAN:
                StepToPreviousScan(GetDocument());
                return;
            case ID_PLOT_NEXT_SCAN:
                StepToNextScan(GetDocument());
                return;
            case ID_PLOT_SPEC_PRINT:
                PrintWithDialog();
                return;
            default:
                break;
        }
        // Display All and Reset Scaling show the whole of the scan as its header gives it.
        if (id == ID_PLOT_DISPLAY_ALL || id == ID_PLOT_RESET_SCALING) resetFullRange();
        const int changed = ApplySpectrumZoomCommand(id, display_, spectrum_, kZoomFactor);
        if (changed & kZoomChangedX) {
            applyXRange();
            UpdateScrollBar(display_.xZoomed ? display_.xStart : fullFirst_,
                            display_.xZoomed ? display_.xEnd : fullLast_);
        }
        if (changed & kZoomChangedY) applyYRange();
    });
    repaintControl();
    updateToolBar();
}

bool CPepmatchSpecView::HasViewCommand(int id) const {
    return id == ID_FILE_PRINT || (id >= ID_PLOT_ZOOM_IN_Y && id <= ID_PLOT_RESET_SCALING);
}

bool CPepmatchSpecView::IsViewCommandEnabled(int id) const {
    if (id == ID_FILE_PRINT) return IsCommandEnabled(ID_PLOT_SPEC_PRINT);
    return HasViewCommand(id) && IsCommandEnabled(id);
}

void CPepmatchSpecView::OnViewCommand(int id) {
    if (!IsViewCommandEnabled(id)) return;
    OnCommand(id == ID_FILE_PRINT ? int(ID_PLOT_SPEC_PRINT) : id);
}

void CPepmatchSpecView::PrintPages(QPainter& painter, QPrinter& printer) {
    const QRect page(QPoint(0, 0),
                     printer.pageLayout().paintRectPixels(printer.resolution()).size());
    PrintPage(painter, page, printer.resolution(), printer.resolution(),
              printer.pageLayout().orientation() == QPageLayout::Landscape);
}

void CPepmatchSpecView::PrintPage(QPainter& painter, const QRect& page, int dpiX, int dpiY,
                                  bool landscape) {
    PrintSpectrumPage(
        this, "Pepmatch spectrum", [this](CSpec& c) { SendSpectrumToControl(c); }, painter, page,
        dpiX, dpiY, landscape);
}

void CPepmatchSpecView::resizeEvent(QResizeEvent* event) {
    CZarViewWidget::resizeEvent(event);
    layoutChildren();
}

void CPepmatchSpecView::layoutChildren() {
    const int barHeight = toolBar_->sizeHint().height();
    const int scrollHeight = scrollBar_->sizeHint().height();
    toolBar_->setGeometry(0, 0, width(), barHeight);
    barHeight_ = barHeight;
    scrollBar_->setGeometry(2, std::max(0, height() - scrollHeight - 2), std::max(0, width() - 4),
                            scrollHeight);
    if (control_)
        control_->setGeometry(2, barHeight + 2, std::max(0, width() - 4),
                              std::max(0, height() - barHeight - scrollHeight - 6));
}

void CPepmatchSpecView::updateToolBar() {
    toolBar_->OnIdleUpdateCmdUI([this](int id) { return IsCommandEnabled(id); });
    CommandStateChanged();
}

}  // namespace zar
