#include "DenovoCommands.h"

#include "FrameCommands.h"
#include "MainFrame.h"
#include "spectrumviews/views/ViewCommands.h"

#include <QAction>
#include <QMenu>
#include <QStatusBar>

namespace zar {

namespace {

void ShowStatus(const QString& text) {
    if (CMainFrame* frame = CMainFrame::GetMainFrame()) frame->statusBar()->showMessage(text);
}

}  // namespace

QString DenovoCommandPrompt(int id) {
    switch (id) {
        case ID_DENOVO_MS2_SPECTRUM:
            return QStringLiteral("Display the MS2 spectrum\nMS2 Spectrum");
        case ID_DENOVO_MS2_RED:
            return QStringLiteral(
                "Display the MS2 spectrum with the red ions brought out\nMS2 Spectrum - Red");
        case ID_DENOVO_MS2_BLUE:
            return QStringLiteral(
                "Display the MS2 spectrum with the blue ions brought out\nMS2 Spectrum - Blue");
        case ID_DENOVO_YB_RED:
            return QStringLiteral("Display the Y-B spectrum of the red ions\nY-B Spectrum (Red)");
        case ID_DENOVO_YB_BLUE:
            return QStringLiteral("Display the Y-B spectrum of the blue ions\nY-B Spectrum (Blue)");
        case ID_DENOVO_YB_RED_PLUS_BLUE:
            return QStringLiteral(
                "Display the red ions with the blue ions at their complementary masses\nY-B "
                "Spectrum (Red + Blue)");
        case ID_DENOVO_YB_RED_MINUS_BLUE:
            return QStringLiteral(
                "Display the red ions less the blue ions\nY-B Spectrum (Red - Blue)");
        case ID_DENOVO_RAW_SPECTRUM:
            return QStringLiteral("Display the spectrum of the current scan\nRaw Spectrum");
        case ID_ACTION_DENOVO:
            return QStringLiteral("Change the de novo sequencing parameters\nDeNovo Parameters");
        case ID_FILE_PAGE_SETUP:
            return QStringLiteral("Change the printing options\nPage Setup");
        case ID_FILE_PAGE_HEADER_FOOTER:
            return QStringLiteral(
                "Change the texts above and below each printed page\nPage Header and Footer");
        case ID_FILE_PRINT:
            return QStringLiteral("Print the active pane\nPrint");
        default:
            return CommandPrompt(id);
    }
}

QAction* AddDenovoCommandItem(QMenu* menu, int id, const QString& text,
                              const std::function<void(int)>& run) {
    QAction* a = menu->addAction(text);
    a->setData(id);
    a->setStatusTip(DenovoCommandPrompt(id).section(QLatin1Char('\n'), 0, 0));
    QObject::connect(a, &QAction::triggered, menu, [run, id] { run(id); });
    return a;
}

void ShowMenuPrompts(QMenu* menu) {
    // Items of submenus are announced by the menus they open from as well.
    QObject::connect(menu, &QMenu::hovered, menu,
                     [](QAction* a) { ShowStatus(a->menu() ? QString() : a->statusTip()); });
    QObject::connect(menu, &QMenu::aboutToHide, menu, [] { ShowStatus(QStringLiteral("Ready")); });
}

}  // namespace zar
