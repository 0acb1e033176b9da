#pragma once
// Command ids of the spectrum and trace panes' menus, and their status prompts.

#include <QString>

namespace zar {

enum SpectrumViewCommand : int {
    ID_PLOT_TRACE_COPY = 9207,
    ID_PLOT_TRACE_PRINT = 9208,
    ID_PLOT_SPEC_COPY = 9209,
    ID_PLOT_SPEC_PRINT = 9210,
    ID_PLOT_ZOOM_IN_Y = 9211,
    ID_PLOT_ZOOM_OUT_Y = 9212,
    ID_PLOT_NORMALIZE = 9213,
    ID_PLOT_ZOOM_IN_X = 9214,
    ID_PLOT_ZOOM_OUT_X = 9215,
    ID_PLOT_DISPLAY_ALL = 9216,
    ID_PLOT_RESET_SCALING = 9217,
    ID_PLOT_EXPORT_EXACT_MASS = 9218,
    ID_PLOT_EXPORT_NOMINAL_MASS = 9219,
    ID_PLOT_EXPORT_PALLISADE = 9220,
    ID_PLOT_DISPLAY_OPTIONS = 9221,
    ID_PLOT_EXPORT_CHROMATOGRAM = 9222,
    ID_PLOT_PREVIOUS_SCAN = 9223,
    ID_PLOT_NEXT_SCAN = 9224,
    ID_PLOT_RANGES = 9226,
    ID_PLOT_ZARMASS = 9301,
    ID_PLOT_SORVEX_SEARCH = 9302,
    ID_PLOT_SORVEX_DTA = 9303,
};

// The status-bar prompt of a command (the text before its tool tip); empty when it has none.
QString CommandPrompt(int id);

}  // namespace zar
