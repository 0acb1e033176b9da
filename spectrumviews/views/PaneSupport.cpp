#include "PaneSupport.h"

#include "ViewCommands.h"
#include "com/ComError.h"
#include "app/plotwrappers/PlotWrappers.h"
#include "core/Log.h"
#include "document/hub/ZarDoc.h"

#include <QAction>
#include <QMenu>
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
    std::uintptr_t dc = reinterpret_cast<std::uintptr_t>(&painter);
    ZAR_PLOTLib::tagRECT target{rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1};
    control.Call(&ZAR_PLOTLib::ISpec::Draw, &dc, &dc, 1, &target, 0);
}

void PrintPlotPage(QPainter& painter, const QRect& page, int dpiX, int dpiY, bool landscape,
                   const std::function<void(const QRect& plot)>& drawPlot) {
    const PrintedPage p = LayOutPrintedPage(page, dpiX, dpiY, landscape);
    CZarDoc* doc = CZarDoc::GetDoc();
    if (doc)
        doc->PrintPageFooter(painter, doc->GetRawFilePath(), QString(), 1, 1, p.footer, dpiX, dpiY);
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
