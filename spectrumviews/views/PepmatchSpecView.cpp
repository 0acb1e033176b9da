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

#include <QMenu>
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
      CPlotPane(this, "Pepmatch spectrum"),
      toolBar_(new CSpecToolBar(this)),
      scrollBar_(new QScrollBar(Qt::Horizontal, this)) {
    setObjectName(QStringLiteral("CPepmatchSpecView"));
    scrollBar_->setObjectName(QStringLiteral("PepmatchSpecScrollBar"));
    connect(toolBar_, &CSpecToolBar::commandTriggered, this, &CPepmatchSpecView::OnCommand);
    AttachMassScrollBar(scrollBar_);
}

CPepmatchSpecView::~CPepmatchSpecView() = default;

CPepmatchData* CPepmatchSpecView::engine() const {
    CZarDoc* doc = GetDocument();
    return doc ? doc->GetPepmatchData() : nullptr;
}

std::unique_ptr<QMenu> CPepmatchSpecView::BuildContextMenu() {
    return nullptr;
}

void CPepmatchSpecView::OnPlotArrowKey(bool right) {
    if (right)
        StepToNextScan(GetDocument());
    else
        StepToPreviousScan(GetDocument());
}

void CPepmatchSpecView::OnInitialUpdate() {
    if (initialised_) return;
    initialised_ = true;
    CreatePlotControl(QRect(15, 15, 100, 100), QString());
    layoutChildren();
    CVXUserResult* u = CurrentUserResult(GetDocument());
    if (u && !u->chro.points.empty()) {
        if (u->currentScanPosition < 0) u->currentScanPosition = u->chro.points.front().dPosition;
        GetDocument()->UpdateAllViews(nullptr, kHintScanRange);
    } else {
        SetNoDataText(QString::fromLatin1(kClickToSelect));
    }
    UpdateMassScrollBar();
    Redraw();
    updateToolBar();
}

void CPepmatchSpecView::OnUpdate(CZarView*, int hint) {
    if (!Control() || !Control()->Interface()) return;
    Guarded("loading the spectrum", [&] {
        if (hint == kHintPlotLayout) SetDataValid(false);
        if (hint == kHintScanRange || hint == kHintRefillResults ||
            hint == kHintDisplaySettings || hint == kHintFragmentIons ||
            hint == kHintPlotLayout) {
            loadSpectrum();
            SetNoDataText(QString::fromLatin1(kClickToView));
        }
    });
    Redraw();
    updateToolBar();
}

void CPepmatchSpecView::loadSpectrum() {
    CZarDoc* doc = GetDocument();
    const double time = doc ? doc->GetCurrentRetentionTime() : -1.0;
    if (time < 0.0 || !CurrentUserResult(doc)) {
        SetDataValid(false);
        return;
    }
    spectrum_.Empty();
    // The scan of that time among those the current trace was read from.
    CVXUserResult* u = CurrentUserResult(doc);
    const CVXFilter* filter = !u->chro.filter.IsAcceptAll() ? &u->chro.filter : nullptr;
    doc->ReadSpectrum(0, 1, filter, time, &spectrum_, &spectrum_.filter);
    HandOver("loading the spectrum", [this](CSpec& c) {
        SendSpectrumToControl(c);
        c.Call(&ISpec::put_EnableManualZoom, 1);
    });
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
    SendSpectrumStyle(c, spectrum_, display_, kVXMSDevice);
    CVXUserResult* u = CurrentUserResult(doc);
    const CVXChroDisplay titles = u ? u->chroDisplay : CVXChroDisplay();
    // The scale type of spectra follows the display settings, as in the other spectrum pane.
    if (u) display_.yAxisScaleType = u->specDisplay.yAxisScaleType;
    UpdateMassScrollBar();
    SendSpectrumAxes(c, spectrum_, display_,
                     {titles.XAxisSpectraLabel(), titles.YAxisAbsoluteLabel(),
                      titles.YAxisRelativeLabel()});
    c.Call(&ISpec::put_DataValid, 1);
}

void CPepmatchSpecView::ApplyXLimits(CSpec& c) {
    // Zoomed into one segment before, or a window in another segment now: the control gets the
    // segment (or all segments) again.
    if ((display_.xZoomed && spectrum_.segmentSizes.size() > 1) ||
        (!display_.xZoomed && display_.selectedSegment >= 0))
        SendSpectrumToControl(c);
    SendSpectrumXLimits(c, spectrum_, display_);
}

bool CPepmatchSpecView::IsCommandEnabled(int id) const {
    if (IsZoomCommand(id)) return IsZoomCommandEnabled(id);
    if (IsScanStepCommand(id))
        return IsScanStepEnabled(id, GetDocument(), DataValid(), Control() != nullptr);
    return id == ID_PLOT_SPEC_PRINT && DataValid();
}

void CPepmatchSpecView::OnCommand(int id) {
    if (RunZoomCommand(id)) return;
    Guarded("a command", [&] {
        if (RunScanStepCommand(id, GetDocument())) return;
        if (id == ID_PLOT_SPEC_PRINT) PrintWithDialog();
    });
    updateToolBar();
}

void CPepmatchSpecView::PrintPage(QPainter& painter, const QRect& page, int dpiX, int dpiY,
                                  bool landscape) {
    PrintSpectrum(painter, page, dpiX, dpiY, landscape);
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
    if (Control())
        Control()->setGeometry(2, barHeight + 2, std::max(0, width() - 4),
                              std::max(0, height() - barHeight - scrollHeight - 6));
}

void CPepmatchSpecView::updateToolBar() {
    toolBar_->OnIdleUpdateCmdUI([this](int id) { return IsCommandEnabled(id); });
    CommandStateChanged();
}

}  // namespace zar
