#include "PaneSupport.h"

#include "PlotFeeding.h"
#include "ViewCommands.h"
#include "ZarDoc.h"
#include "app/MainFrame.h"
#include "com/ComError.h"
#include "app/plotwrappers/PlotWrappers.h"
#include "core/Log.h"
#include "interpretation/ZarmassTransform.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QScrollBar>

#include <algorithm>

namespace zar {

void RunPaneOperation(const char* pane, const char* what, const std::function<void()>& action) {
    try {
        action();
    } catch (const CComError& e) {
        LogLine(QStringLiteral("%1: %2 failed: %3")
                    .arg(QLatin1String(pane), QLatin1String(what), e.ErrorMessage()));
    }
}

namespace {

template <class I, class Control>
bool CreateControlOf(Control& control, QWidget* host, const QRect& rect, int id, const char* pane,
                     const QString& noDataText, bool visible) {
    if (!control.Create(host, rect, id, visible)) return false;
    bool ready = false;
    RunPaneOperation(pane, "initialising the control", [&] {
        control.Call(&I::Initialize);
        if (!noDataText.isEmpty()) control.Call(&I::put_NoDataText, WideText(noDataText));
        ready = true;
    });
    return ready;
}

template <class I, class Control>
void DrawControlOf(Control& control, QPainter& painter, const QRect& rect) {
    std::uintptr_t dc = reinterpret_cast<std::uintptr_t>(&painter);
    ZAR_PLOTLib::tagRECT target{rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
    control.Call(&I::Draw, &dc, &dc, 1, &target, 0);
}

}  // namespace

bool CreatePaneControl(CSpec& control, QWidget* host, const QRect& rect, int id, const char* pane,
                       const QString& noDataText, bool visible) {
    return CreateControlOf<ZAR_PLOTLib::ISpec>(control, host, rect, id, pane, noDataText, visible);
}

bool CreatePaneControl(CChro& control, QWidget* host, const QRect& rect, int id, const char* pane,
                       const QString& noDataText, bool visible) {
    return CreateControlOf<ZAR_PLOTLib::IChro>(control, host, rect, id, pane, noDataText, visible);
}

bool CreatePaneControl(CDenovoPlot& control, QWidget* host, const QRect& rect, int id,
                       const char* pane, const QString& noDataText, bool visible) {
    return CreateControlOf<ZAR_PLOTLib::IDenovoPlot>(control, host, rect, id, pane, noDataText,
                                                     visible);
}

CPaneBase::~CPaneBase() = default;

std::unique_ptr<QMenu> CPaneBase::BuildContextMenu() {
    return nullptr;
}

void CPaneBase::ShowContextMenu(const QPoint& global) {
    if (menuShown_) return;
    std::unique_ptr<QMenu> menu = BuildContextMenu();
    if (!menu) return;
    menuShown_ = true;
    const QPointer<QWidget> alive(host_);
    const QPointer<QMenu> open(menu.get());
    menu->exec(global);
    // The host went (and the pane with it), or took the menu along.
    if (!alive || !open) {
        (void)menu.release();
        return;
    }
    menuShown_ = false;
}

void CPaneBase::Guarded(const char* what, const std::function<void()>& action) const {
    RunPaneOperation(paneName_, what, action);
}

QAction* AddCommandItem(QMenu* menu, int id, const char* text,
                        const std::function<void(int)>& run) {
    QAction* a = menu->addAction(QString::fromLatin1(text));
    a->setData(id);
    a->setStatusTip(CommandPrompt(id));
    QObject::connect(a, &QAction::triggered, menu, [run, id] { run(id); });
    return a;
}

void AddZoomItems(QMenu* menu, const std::function<void(int)>& run) {
    QMenu* zoom = menu->addMenu(QStringLiteral("&Zoom"));
    AddCommandItem(zoom, ID_PLOT_ZOOM_IN_Y, "&Zoom In Y", run);
    AddCommandItem(zoom, ID_PLOT_ZOOM_OUT_Y, "Zoom &Out Y", run);
    AddCommandItem(zoom, ID_PLOT_NORMALIZE, "&Normalize", run);
    zoom->addSeparator();
    AddCommandItem(zoom, ID_PLOT_ZOOM_IN_X, "Zoom In &X", run);
    AddCommandItem(zoom, ID_PLOT_ZOOM_OUT_X, "Zoo&m Out X", run);
    AddCommandItem(zoom, ID_PLOT_DISPLAY_ALL, "&Display All", run);
    AddCommandItem(menu, ID_PLOT_RESET_SCALING, "Reset &Scaling", run);
}

void AddSearchItems(QMenu* menu, const std::function<void(int)>& run) {
    AddCommandItem(menu, ID_PLOT_ZARMASS, "&ZARMASS Calculation and Deconvolution...", run);
    menu->addSeparator();
    AddCommandItem(menu, ID_PLOT_SORVEX_DTA, "TurboSORVEX &Dta...", run);
    AddCommandItem(menu, ID_PLOT_SORVEX_SEARCH, "TurboSORVEX &Search...", run);
}

void ForEachCommandItem(QMenu* menu, const std::function<void(QAction*, int)>& fn) {
    for (QAction* a : menu->actions()) {
        if (a->menu())
            ForEachCommandItem(a->menu(), fn);
        else if (!a->isSeparator())
            fn(a, a->data().toInt());
    }
}

CZarmassSheetTarget* OpenZarmassSheet() {
    CMainFrame* frame = CMainFrame::GetMainFrame();
    return frame ? frame->GetZarmassSheet() : nullptr;
}

const CZarmassDeconvolution* ActiveZarmassEngine(const CZarDoc* doc) {
    const CZarmassSheetTarget* sheet = OpenZarmassSheet();
    if (!sheet || !doc) return nullptr;
    if (sheet->IsCalculationPageActive()) return doc->GetZarmassDeconvolution();
    if (sheet->IsDeconvolutionPageActive()) return doc->GetZarmassTransform();
    return nullptr;
}

void SendZarmassLabels(CSpec& c, const CZarDoc* doc, const std::vector<CVXDataPeak>& peaks) {
    using namespace ZAR_PLOTLib;
    const CZarmassDeconvolution* engine = ActiveZarmassEngine(doc);
    std::vector<VXPlot_PeakInfo> infos;
    if (engine) infos = ZarmassPeakInfos(engine->GetIdentifiedPeaks(), peaks);
    if (infos.empty()) {
        c.Call(&ISpec::SetPeakInfo, static_cast<VXPlot_PeakInfo*>(nullptr), 0);
        c.Call(&ISpec::SetPeakInfoColors, static_cast<std::uint32_t*>(nullptr), 0);
        return;
    }
    std::vector<std::uint32_t> colours(engine->GetColours().begin(), engine->GetColours().end());
    c.Call(&ISpec::SetPeakInfo, infos.data(), static_cast<std::int32_t>(infos.size()));
    c.Call(&ISpec::SetPeakInfoColors, colours.data(),
           static_cast<std::int32_t>(
               std::min<std::size_t>(engine->GetComponentCount(), colours.size())));
}

void CopySpectrumPicture(QWidget* host, const char* pane, const std::function<void(CSpec&)>& send) {
    CSpec offscreen;
    if (!CreatePaneControl(offscreen, host, QRect(-50, -50, 25, 25), 0, pane, QString())) return;
    RunPaneOperation(pane, "copying", [&] {
        send(offscreen);
        offscreen.Call(&ZAR_PLOTLib::ISpec::CopyToClipboard);
    });
}

void PrintSpectrumPage(QWidget* host, const char* pane, const std::function<void(CSpec&)>& send,
                       QPainter& painter, const QRect& page, int dpiX, int dpiY, bool landscape) {
    CSpec offscreen;
    if (!CreatePaneControl(offscreen, host, QRect(-50, -50, 25, 25), 0, pane, QString())) return;
    RunPaneOperation(pane, "printing", [&] {
        send(offscreen);
        PrintPlotPage(painter, page, dpiX, dpiY, landscape,
                      [&](const QRect& plot) { DrawSpecControl(offscreen, painter, plot); });
    });
}

PrintedPage LayOutPrintedPage(const QRect& page, int dpiX, int dpiY, bool landscape) {
    const int qx = dpiX / 4;
    const int qy = dpiY / 4;
    QRect r = page.adjusted(qx, qy, -qx, -qy).adjusted(0, qy, 0, -qy);
    if (landscape)
        r.adjust(0, qy, 0, 0);
    else
        r.adjust(qx, 0, 0, 0);
    PrintedPage p;
    p.plot = r;
    p.footer = QRect(r.left(), r.top() - qy, r.width(), qy);
    p.header = QRect(r.left(), r.bottom() + 1, r.width(), qy);
    return p;
}

PrinterPage PrintablePage(QPrinter& printer) {
    PrinterPage p;
    p.dpi = printer.resolution();
    p.page = QRect(QPoint(0, 0), printer.pageLayout().paintRectPixels(p.dpi).size());
    p.landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    return p;
}

void DrawSpecControl(CSpec& control, QPainter& painter, const QRect& rect) {
    DrawControlOf<ZAR_PLOTLib::ISpec>(control, painter, rect);
}

void DrawChroControl(CChro& control, QPainter& painter, const QRect& rect) {
    DrawControlOf<ZAR_PLOTLib::IChro>(control, painter, rect);
}

void PrintPlotPage(QPainter& painter, const QRect& page, int dpiX, int dpiY, bool landscape,
                   const std::function<void(const QRect& plot)>& drawPlot, const QString& title) {
    const PrintedPage p = LayOutPrintedPage(page, dpiX, dpiY, landscape);
    CZarDoc* doc = CZarDoc::GetDoc();
    if (doc)
        doc->PrintPageFooter(painter, doc->GetRawFilePath(), title, 1, 1, p.footer, dpiX, dpiY);
    drawPlot(p.plot);
    if (doc) doc->PrintPageHeader(painter, p.header, dpiX, dpiY);
}

void ConnectScrollSteps(QScrollBar* bar, QObject* context,
                        const std::function<void(ScrollStep, int)>& onStep) {
    QObject::connect(bar, &QScrollBar::actionTriggered, context, [bar, onStep](int action) {
        switch (action) {
            case QAbstractSlider::SliderSingleStepSub:
                onStep(ScrollStep::LineBack, bar->value());
                break;
            case QAbstractSlider::SliderSingleStepAdd:
                onStep(ScrollStep::LineForward, bar->value());
                break;
            case QAbstractSlider::SliderPageStepSub:
                onStep(ScrollStep::PageBack, bar->value());
                break;
            case QAbstractSlider::SliderPageStepAdd:
                onStep(ScrollStep::PageForward, bar->value());
                break;
            case QAbstractSlider::SliderMove:
                onStep(ScrollStep::ThumbTrack, bar->sliderPosition());
                break;
            default:
                return;
        }
        // The bar's own move would follow the signal: keep the position the pane set.
        bar->setSliderPosition(bar->value());
    });
    QObject::connect(bar, &QScrollBar::sliderReleased, context,
                     [bar, onStep] { onStep(ScrollStep::ThumbPosition, bar->sliderPosition()); });
}

void SetPercentScrollBar(QScrollBar* bar, double fullLow, double fullHigh, double shownLow,
                         double shownHigh) {
    const double span = fullHigh - fullLow;
    const QSignalBlocker block(bar);
    // A spectrum without span (no peaks, or all at one m/z) has nothing to scroll.
    if (span <= 0.0) {
        bar->setRange(0, 0);
        bar->setPageStep(100);
        bar->setEnabled(false);
        return;
    }
    const int position = static_cast<int>((shownLow - fullLow) * 100.0 / span);
    const int page = std::clamp(static_cast<int>((shownHigh - shownLow) * 100.0 / span), 1, 100);
    bar->setRange(0, 100 - page);
    bar->setPageStep(page);
    bar->setValue(position);
    bar->setEnabled(page < 100);
}

}  // namespace zar
