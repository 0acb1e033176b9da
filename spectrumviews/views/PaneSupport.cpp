#include "PaneSupport.h"

#include "ViewCommands.h"
#include "ZarDoc.h"
#include "app/MainFrame.h"
#include "interpretation/ZarmassTransform.h"
#include "com/ComError.h"
#include "core/Log.h"

#include <QAction>
#include <QMenu>

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

}  // namespace zar
