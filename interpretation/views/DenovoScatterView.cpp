#include "DenovoScatterView.h"

#include "FrameCommands.h"
#include "ZarDoc.h"
#include "app/plotwrappers/PlotWrappers.h"
#include "document/UpdateHints.h"
#include "interpretation/DenovoEngine.h"
#include "spectrumviews/views/PaneSupport.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <array>
#include <vector>

namespace zar {

using namespace ZAR_PLOTLib;

namespace {

constexpr char kPaneName[] = "De novo plot";
constexpr char kNoDenovoData[] = "No denovo data available";

}  // namespace

CDenovoScatterView::CDenovoScatterView(QWidget* parent)
    : CHighlightedPane(parent), CPaneBase(this, kPaneName) {
    setObjectName(QStringLiteral("CDenovoScatterView"));
}

CDenovoScatterView::~CDenovoScatterView() = default;

void CDenovoScatterView::OnInitialUpdate() {
    if (initialised_) return;
    initialised_ = true;
    auto control = std::make_unique<CDenovoPlot>();
    // A control whose initialisation failed (logged) stays, as an empty plot.
    CreatePaneControl(*control, this, QRect(15, 15, 100, 100), 1, PaneName(),
                      QString::fromLatin1(kNoDenovoData));
    if (!control->Interface()) return;
    control_ = std::move(control);
    layoutControl();
    control_->RedrawControl();
}

void CDenovoScatterView::OnUpdate(CZarView*, int hint) {
    switch (hint) {
        case kHintPlotLayout:
            setDataValid(false);
            [[fallthrough]];
        case kHintScanRange:
        case kHintRefillResults:
        case kHintDisplaySettings:
        case kHintDenovoLayout:
            RefreshPlot();
            CommandStateChanged();
            break;
        default:
            break;
    }
}

bool CDenovoScatterView::SetPlotData(CDenovoPlot& plot) {
    CZarDoc* doc = GetDocument();
    const CDenovoEngine* engine = doc ? doc->GetDenovoEngine() : nullptr;
    if (!engine || engine->SpectraLoaded() <= 0 || engine->MassRangeEnd() <= 0) return false;
    const int scans = std::min(engine->SpectraLoaded(), CDenovoEngine::kMaxSlots);
    const int P = engine->MassRangeEnd();
    // The control reads P + 1 values of each slot (P: the first slot's parent mass) as 32-bit
    // numbers; the engine keeps wider ones, never above its stated maximum.
    std::vector<std::int32_t> parents(static_cast<size_t>(CDenovoEngine::kMaxSlots), 0);
    std::vector<std::int16_t> signs(static_cast<size_t>(CDenovoEngine::kMaxSlots), 0);
    std::vector<std::vector<std::int32_t>> rows(static_cast<size_t>(scans));
    std::vector<std::int32_t*> rowPointers(static_cast<size_t>(scans), nullptr);
    for (int k = 0; k < scans; ++k) {
        parents[static_cast<size_t>(k)] = engine->SlotParent(k);
        signs[static_cast<size_t>(k)] = static_cast<std::int16_t>(engine->SlotSign(k));
        const std::vector<CDenovoEngine::Evidence>& evidence = engine->SlotEvidence(k);
        std::vector<std::int32_t>& row = rows[static_cast<size_t>(k)];
        row.assign(static_cast<size_t>(P) + 1, 0);
        const size_t n = std::min(row.size(), evidence.size());
        for (size_t j = 0; j < n; ++j)
            row[j] = static_cast<std::int32_t>(
                std::clamp<CDenovoEngine::Evidence>(evidence[j], INT32_MIN, INT32_MAX));
        rowPointers[static_cast<size_t>(k)] = row.data();
    }
    plot.Call(&IDenovoPlot::SetXMassRange, engine->MassRangeStart(), P);
    plot.Call(&IDenovoPlot::SetNumScans, scans);
    plot.Call(&IDenovoPlot::SetYParentMasses, parents.data());
    plot.Call(&IDenovoPlot::SetZIntensities, rowPointers.data(), parents.data());
    plot.Call(&IDenovoPlot::SetSign, signs.data());
    plot.Call(&IDenovoPlot::SetZMaxIntensity, engine->MaximumEvidence());
    plot.Call(&IDenovoPlot::SetZDisplayRangeIntensity, engine->DisplayRange());
    int points = 0;
    engine->GetOneDimensionalSpectrum(&points);
    plot.Call(&IDenovoPlot::SetNumber1DregenPoints, points);
    plot.Call(&IDenovoPlot::put_DataValid, 1);
    return true;
}

void CDenovoScatterView::RefreshPlot() {
    HandOverTo<CDenovoPlot>(control_.get(), PaneName(), "showing the de novo data",
                            [this](CDenovoPlot& c) {
                                c.Call(&IDenovoPlot::ClearDataSet);
                                const bool valid = SetPlotData(c);
                                c.Call(&IDenovoPlot::put_DataValid, valid ? 1 : 0);
                            });
}

bool CDenovoScatterView::DataValid() const {
    return ControlHoldsData(control_.get());
}

void CDenovoScatterView::setDataValid(bool valid) {
    HandOverTo<CDenovoPlot>(
        control_.get(), PaneName(), "clearing the plot",
        [valid](CDenovoPlot& c) { c.Call(&IDenovoPlot::put_DataValid, valid ? 1 : 0); });
}

bool CDenovoScatterView::HasViewCommand(int id) const {
    return id == ID_FILE_PRINT;
}

bool CDenovoScatterView::IsViewCommandEnabled(int id) const {
    return HasViewCommand(id) && DataValid();
}

void CDenovoScatterView::OnViewCommand(int id) {
    if (IsViewCommandEnabled(id)) PrintWithDialog();
}

void CDenovoScatterView::PrintPages(QPainter& painter, QPrinter& printer) {
    const PrinterPage p = PrintablePage(printer);
    PrintPage(painter, p.page, p.dpi, p.dpi, p.landscape);
}

void CDenovoScatterView::PrintPage(QPainter& painter, const QRect& page, int dpiX, int dpiY,
                                   bool landscape) {
    CDenovoPlot offscreen;
    if (!CreatePaneControl(offscreen, this, QRect(-50, -50, 25, 25), 1, PaneName(),
                           QString::fromLatin1(kNoDenovoData), false))
        return;
    Guarded("printing", [&] {
        if (!SetPlotData(offscreen)) return;
        // The control draws into its window: the hidden window takes the plot's size on the
        // page and is rendered there.
        PrintPlotPage(painter, page, dpiX, dpiY, landscape, [&](const QRect& plot) {
            QWidget* window = offscreen.ControlWindow();
            if (!window) return;
            offscreen.resize(plot.size());
            window->resize(plot.size());
            window->render(&painter, plot.topLeft(), QRegion(), QWidget::DrawChildren);
        });
    });
}

void CDenovoScatterView::resizeEvent(QResizeEvent* event) {
    CHighlightedPane::resizeEvent(event);
    layoutControl();
}

void CDenovoScatterView::layoutControl() {
    if (control_)
        control_->setGeometry(kFrameInset, kFrameInset, std::max(0, width() - 2 * kFrameInset),
                              std::max(0, height() - 2 * kFrameInset));
}

}  // namespace zar
