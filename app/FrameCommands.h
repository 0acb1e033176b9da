#pragma once
// Command ids of the main window's menus and tool bar, and the registry through which the
// subsystems provide the dialogs those commands open.

#include <functional>

namespace zar {

class CMainFrame;

enum FrameCommand : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_PAGE_SETUP = 57605,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PAGE_HEADER_FOOTER = 9299,
    ID_APP_EXIT = 57665,
    ID_APP_ABOUT = 57664,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    ID_OPEN_SORVEX_RESULTS = 9295,
    ID_OPEN_MASSMAP_RESULTS = 9296,
    ID_OPEN_MULTIPLE_RESULTS = 9340,
    ID_OPEN_SEQUENCE_FILE = 9297,
    ID_SAVE_SEQUENCE_FILE = 9298,
    ID_VIEW_GENERAL_TRACE = 9284,
    ID_VIEW_SORVEX_SUMMARY = 9285,
    ID_VIEW_ZARMASS = 9286,
    ID_VIEW_DENOVO = 9287,
    ID_VIEW_PEPMATCH = 9288,
    ID_VIEW_PEPMAP = 9289,
    ID_VIEW_MASSMAP = 9290,
    ID_VIEW_MULTI_CONSENSUS = 9341,
    ID_RESULTS_WINDOW = 9291,
    ID_ANNOTATE_ADD_TEXT = 9292,
    ID_ANNOTATE_CLEAR_ALL = 9294,
    ID_DISPLAY_OPTIONS = 9221,
    ID_ZOOM_IN_Y = 9211,
    ID_ZOOM_OUT_Y = 9212,
    ID_NORMALIZE = 9213,
    ID_ZOOM_IN_X = 9214,
    ID_ZOOM_OUT_X = 9215,
    ID_DISPLAY_ALL = 9216,
    ID_RESET_SCALING = 9217,
    ID_OPTIONS_CONFIGURATION = 9326,
    ID_OPTIONS_DISPLAY = 9327,
    ID_ACTION_ZARMASS = 9301,
    ID_ACTION_SORVEX_DTA = 9303,
    ID_ACTION_SORVEX_SEARCH = 9302,
    ID_ACTION_DENOVO = 9328,
    ID_ACTION_PEPTIDE_MAPPING = 9304,
    ID_ACTION_XPRESS = 9305,
    ID_TOOLS_DB_INDEXER = 9306,
    ID_TOOLS_DB_UTILITIES = 9307,
    ID_TOOLS_FASTA_INDEX = 9308,
    ID_TOOLS_ENZYME_EDITOR = 9309,
    ID_TOOLS_SEQUENCE_CALCULATOR = 9310,
    ID_TOOLS_SEQUENCE_EDITOR = 9311,
    ID_TOOLS_DATABASE_MANAGER = 9312,
    ID_TOOLS_SORVEX_QUEUE = 9313,
    ID_TOOLS_SORVEX_BROWSER = 9314,
    ID_HELP_CONTENTS_TOOLBAR = 9204,
    ID_HELP_PROGRAM = 9205,
    ID_HELP_INDEX = 9200,
    ID_HELP_DATA_SYSTEM = 9202,
    ID_HELP_HOW_TO_DATA_SYSTEM = 9203,
    ID_HELP_USING = 57668,
};

// Runs a command that another subsystem provides (its dialog or window).
using FrameCommandHandler = std::function<void(CMainFrame& frame)>;

void RegisterFrameCommand(int id, FrameCommandHandler handler);
// The command is answered by nothing any more (its provider went).
void UnregisterFrameCommand(int id);
bool HasFrameCommand(int id);
// Runs the registered handler; false when none is registered.
bool RunFrameCommand(int id, CMainFrame& frame);

}  // namespace zar
