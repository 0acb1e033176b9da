#include "ZarmassPlotView.h"

#include "ZarDoc.h"
#include "app/FrameCommands.h"
#include "document/UpdateHints.h"
#include "document/hub/PlotRange.h"
#include "document/hub/SpectrumText.h"
#include "plotwrappers/PlotWrappers.h"
#include "spectrumviews/views/PaneSupport.h"
#include "spectrumviews/views/PlotFeeding.h"
#include "spectrumviews/views/ViewCommands.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QMenu>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cstring>

namespace zar {

using namespace ZAR_PLOTLib;

namespace {

const QString kMassAxis = QStringLiteral("mass");

}  // namespace

CZarmassPlotView::CZarmassPlotView(const QString& noDataText, QWidget* parent)
    : CZarViewWidget(parent), CPlotPane(this, "Zarmass spectrum"), noDataText_(noDataText) {}

CZarmassPlotView::~CZarmassPlotView() = default;

void CZarmassPlotView::OnInitialUpdate() {
    if (initialised_) return;
    initialised_ = true;
    CreatePlotControl(QRect(15, 15, 100, 100), noDataText_);
    resizeEvent(nullptr);
    // A layout shown again after a deconvolution shows what the engines hold.
    Rebuild();
}

void CZarmassPlotView::OnUpdate(CZarView*, int hint) {
    if (hint == kHintPlotLayout) {
        HandOver("clearing the plot", [](CSpec& c) { c.Call(&ISpec::put_DataValid, 0); });
        return;
    }
    if (RebuildsOn(hint)) Rebuild();
}

void CZarmassPlotView::Rebuild() {
    if (!Control() || !Control()->Interface()) return;
    spectrum_.Empty();
    HandOver("loading the spectrum", [this](CSpec& c) {
        if (!FillSpectrum(spectrum_)) {
            spectrum_.Empty();
            c.Call(&ISpec::put_DataValid, 0);
            return;
        }
        SendSpectrumToControl(c);
        c.Call(&ISpec::put_EnableManualZoom, 1);
    });
    CommandStateChanged();
}

void CZarmassPlotView::TakePeaks(CVXSpec& spectrum, std::span<const PeakRecord> peaks) {
    CVXSpectrumHeaderData& h = spectrum.header.data;
    spectrum.peaks.clear();
    spectrum.peaks.reserve(peaks.size());
    double total = 0.0;
    for (const PeakRecord& p : peaks) {
        spectrum.peaks.push_back({p.mass, p.intensity, p.extra, p.flags});
        total += p.intensity;
    }
    if (peaks.empty()) return;
    const auto lowest =
        std::min_element(peaks.begin(), peaks.end(),
                         [](const auto& a, const auto& b) { return a.intensity < b.intensity; });
    const auto base =
        std::max_element(peaks.begin(), peaks.end(),
                         [](const auto& a, const auto& b) { return a.intensity < b.intensity; });
    h.dLowMass = peaks.front().mass;
    h.dHighMass = peaks.back().mass;
    h.dMinPeakIntensity = lowest->intensity;
    h.dMinPeakMass = lowest->mass;
    h.dBasePeakIntensity = base->intensity;
    h.dBasePeakMass = base->mass;
    h.dTIC = total;
    spectrum.massRanges = {CVX_MassRange{h.dLowMass, h.dHighMass}};
    spectrum.segmentSizes = {static_cast<int>(peaks.size())};
}

void CZarmassPlotView::SendLabels(CSpec& c) {
    c.Call(&ISpec::SetPeakInfo, static_cast<VXPlot_PeakInfo*>(nullptr), 0);
    c.Call(&ISpec::SetPeakInfoColors, static_cast<std::uint32_t*>(nullptr), 0);
}

void CZarmassPlotView::SendSpectrumToControl(CSpec& c) {
    SendLabels(c);
    // The document's smoothing, as the heading shows it.
    const CZarDoc* doc = GetDocument();
    const SmoothingRecord smoothing = doc ? doc->GetSmoothing() : SmoothingRecord();
    if (smoothing.type >= 0)
        c.Call(&ISpec::SetSmoothingParams, 1, smoothing.type, smoothing.points);
    else
        c.Call(&ISpec::SetSmoothingParams, 0, 0, 0);

    std::vector<VXPlot_MassRange> ranges;
    for (const CVX_MassRange& r : spectrum_.massRanges) ranges.push_back({r.low, r.high});
    std::vector<std::int32_t> sizes(spectrum_.segmentSizes.begin(), spectrum_.segmentSizes.end());
    std::vector<VXPlot_DataPeak> peaks = PlotPeaks(spectrum_.peaks.data(), spectrum_.peaks.size());
    c.Call(&ISpec::SetPeakData, sizes.empty() ? nullptr : sizes.data(),
           ranges.empty() ? nullptr : ranges.data(), static_cast<std::int32_t>(ranges.size()),
           peaks.empty() ? nullptr : peaks.data(), static_cast<std::int32_t>(peaks.size()));
    const QString path = doc ? doc->GetRawFilePath() : QString();
    c.Call(&ISpec::put_FileName, WideText(path));
    VXPlot_SpectrumHeader header;
    static_assert(sizeof(header) == sizeof(spectrum_.header.data));
    std::memcpy(&header, &spectrum_.header.data, sizeof(header));
    c.Call(&ISpec::SetScanHeader, &header, 0);
    VXPlot_SpecStyle style{};
    style.eStyle = VXPlot_SpecStyle_ProfileStyle;
    style.bShowLabels = display_.showLabels;
    style.dLabelThreshold = display_.labelThreshold;
    style.bOffsetLabels = display_.offsetLabels;
    style.fLabelOffset = display_.labelOffset;
    style.bRotateLabels = display_.rotateLabels;
    c.Call(&ISpec::SetStyle, &style);
    VXPlot_Filter filter;
    c.Call(&ISpec::InitializeFilter, &filter);
    FillPlotFilter(spectrum_.filter, filter);
    c.Call(&ISpec::put_Filter, &filter);
    const QString yAbsolute = QString::fromLatin1(kDefaultYAxisAbsolute);
    const QString yRelative = QString::fromLatin1(kDefaultYAxisRelative);
    c.Call(&ISpec::SetAxisLabels, WideText(kMassAxis), WideText(yAbsolute), WideText(yRelative),
           static_cast<LPCWSTR>(nullptr), static_cast<LPCWSTR>(nullptr));
    c.Call(&ISpec::SetYAxisScaleType, static_cast<VXPlot_YAxisScaleType>(display_.yAxisScaleType));
    ApplyXLimits(c);
    ApplyYLimits(c);
    c.Call(&ISpec::put_DataValid, 1);
}

int CZarmassPlotView::MostIntensePeakWithin(double mass, double halfWidth) const {
    const std::vector<CVXDataPeak>& peaks = spectrum_.peaks;
    auto it = std::lower_bound(peaks.begin(), peaks.end(), mass - halfWidth,
                               [](const CVXDataPeak& p, double m) { return p.dPosition < m; });
    int best = -1;
    for (; it != peaks.end() && it->dPosition <= mass + halfWidth; ++it) {
        const int i = static_cast<int>(it - peaks.begin());
        if (best < 0 || it->dIntensity > peaks[best].dIntensity) best = i;
    }
    return best;
}

// ---- commands ----------------------------------------------------------------------------

bool CZarmassPlotView::IsCommandEnabled(int id) const {
    if (IsZoomCommand(id)) return IsZoomCommandEnabled(id);
    switch (id) {
        case ID_PLOT_SPEC_COPY:
        case ID_PLOT_SPEC_PRINT:
        case ID_PLOT_EXPORT_EXACT_MASS:
        case ID_PLOT_EXPORT_NOMINAL_MASS:
            return DataValid();
        // The spectrum display options belong to the plot layout's spectrum pane.
        case ID_PLOT_DISPLAY_OPTIONS:
            return false;
        default:
            return false;
    }
}

void CZarmassPlotView::OnCommand(int id) {
    if (!IsCommandEnabled(id)) return;
    if (RunZoomCommand(id)) return;
    Guarded("a command", [&] {
        switch (id) {
            case ID_PLOT_SPEC_COPY:
                CopyPicture();
                break;
            case ID_PLOT_SPEC_PRINT:
                PrintWithDialog();
                break;
            case ID_PLOT_EXPORT_EXACT_MASS:
                ExportSpectrumText(true);
                break;
            case ID_PLOT_EXPORT_NOMINAL_MASS:
                ExportSpectrumText(false);
                break;
            default:
                break;
        }
    });
    Redraw();
    CommandStateChanged();
}

bool CZarmassPlotView::ExportSpectrumText(bool exact) {
    if (spectrum_.peaks.empty()) return false;
    CZarDoc* doc = GetDocument();
    SpectrumTextHeader header;
    const CVXSpectrumHeaderData& h = spectrum_.header.data;
    header.scan = h.nScanNumber;
    header.retentionTime = h.dRT;
    if (h.bScanRangeValid) {
        header.averaged = true;
        header.firstScan = h.nFirstScanNumber;
        header.lastScan = h.nLastScanNumber;
        header.firstTime = h.dStartRT;
        header.lastTime = h.dEndRT;
        header.scansAveraged = h.nNumScansAveraged;
    }
    const CVXMassDefect defect =
        doc && doc->GetFileHolder() ? doc->GetFileHolder()->massDefect : CVXMassDefect();
    return SpectrumToText(QString(), doc ? doc->GetRawFilePath() : QString(), &spectrum_.filter,
                          header, spectrum_.peaks, exact, defect);
}

// ---- the main window's commands and printing -------------------------------------------

void CZarmassPlotView::PrintPage(QPainter& painter, const QRect& page, int dpiX, int dpiY,
                                 bool landscape) {
    PrintSpectrum(painter, page, dpiX, dpiY, landscape);
}

// ---- context menu -----------------------------------------------------------------------

std::unique_ptr<QMenu> CZarmassPlotView::BuildContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    const auto run = [this](int command) { OnCommand(command); };
    AddCommandItem(menu.get(), ID_PLOT_SPEC_COPY, "&Copy", run);
    AddCommandItem(menu.get(), ID_PLOT_SPEC_PRINT, "&Print...", run);
    QMenu* exportMenu = menu->addMenu(QStringLiteral("&Export"));
    AddCommandItem(exportMenu, ID_PLOT_EXPORT_EXACT_MASS, "Clipboard (&Exact Mass)", run);
    AddCommandItem(exportMenu, ID_PLOT_EXPORT_NOMINAL_MASS, "Clipboard (&Nominal Mass)", run);
    menu->addSeparator();
    AddZoomItems(menu.get(), run);
    menu->addSeparator();
    AddCommandItem(menu.get(), ID_PLOT_DISPLAY_OPTIONS, "&Display Options...", run);
    ForEachCommandItem(menu.get(),
                       [this](QAction* a, int id) { a->setEnabled(IsCommandEnabled(id)); });
    return menu;
}

void CZarmassPlotView::contextMenuEvent(QContextMenuEvent* event) {
    ShowContextMenu(event->globalPos());
}

void CZarmassPlotView::resizeEvent(QResizeEvent* event) {
    if (event) CZarViewWidget::resizeEvent(event);
    if (Control()) Control()->setGeometry(2, 2, std::max(0, width() - 4), std::max(0, height() - 4));
}

}  // namespace zar
