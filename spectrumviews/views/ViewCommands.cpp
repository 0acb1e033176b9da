#include "ViewCommands.h"

namespace zar {

QString CommandPrompt(int id) {
    switch (id) {
        case ID_PLOT_TRACE_COPY:
            return QStringLiteral("Copy chromatogram to the clipboard");
        case ID_PLOT_TRACE_PRINT:
            return QStringLiteral("Print chromatogram");
        case ID_PLOT_SPEC_COPY:
            return QStringLiteral("Copy spectrum to the clipboard");
        case ID_PLOT_SPEC_PRINT:
            return QStringLiteral("Print spectrum");
        case ID_PLOT_ZOOM_IN_Y:
            return QStringLiteral("Zoom in Y from current baseline to show more detail");
        case ID_PLOT_ZOOM_OUT_Y:
            return QStringLiteral("Zoom out Y to show more data");
        case ID_PLOT_NORMALIZE:
            return QStringLiteral("Normalize intensity scale");
        case ID_PLOT_ZOOM_IN_X:
            return QStringLiteral("Zoom in X at the center to show more detail");
        case ID_PLOT_ZOOM_OUT_X:
            return QStringLiteral("Zoom out X from the center to show more data");
        case ID_PLOT_DISPLAY_ALL:
            return QStringLiteral("Display all data on X axis or all text in report");
        case ID_PLOT_RESET_SCALING:
            return QStringLiteral("Reset the zoom to display all values");
        case ID_PLOT_EXPORT_EXACT_MASS:
            return QStringLiteral("Export the exact mass spectrum to the clipboard");
        case ID_PLOT_EXPORT_NOMINAL_MASS:
            return QStringLiteral("Export the nominal mass spectrum to the clipboard");
        case ID_PLOT_EXPORT_PALLISADE:
            return QStringLiteral("Export the spectrum to Pallisade");
        case ID_PLOT_DISPLAY_OPTIONS:
            return QStringLiteral("Change report styling, colors etc.");
        case ID_PLOT_PREVIOUS_SCAN:
            return QStringLiteral("Show previous scan");
        case ID_PLOT_NEXT_SCAN:
            return QStringLiteral("Show next scan");
        case ID_PLOT_ZARMASS:
            return QStringLiteral("ZARMASS Calculation and Deconvolution");
        case ID_PLOT_SORVEX_SEARCH:
            return QStringLiteral("Perform a TurboSORVEX search of the raw file");
        case ID_PLOT_SORVEX_DTA:
            return QStringLiteral("Create the DTA file used by TurboSORVEX and SORVEX Browser");
        default:
            return QString();
    }
}

}  // namespace zar
