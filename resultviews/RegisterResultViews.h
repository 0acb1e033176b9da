#pragma once
// Connects the search-result views to the program: the summary, consensus, peptide-mapping and
// multiple-file consensus views for the frame's layouts, File > Open TurboSORVEX Results, Open
// Peptide Mapping Results and Open Multiple Results, Display > Options of the result tables,
// the results window the document asks for, and the grids' way to the results window and the
// main window.

#include <QString>

namespace zar {

class CMainFrame;
class CResultsWindow;

// Call once after the main frame is made.
void RegisterResultViews(CMainFrame& frame);

// Loads the search-engine results of a folder through the status dialog; false when a load is
// already running or there is no document.
bool OpenSorvexResults(CMainFrame& frame, const QString& folder);

// Loads the peptide-mapping results of a folder the same way.
bool OpenMassmapResults(CMainFrame& frame, const QString& folder);
// Combines the folders of the multiple-results set's list the same way; false also when the
// list is empty.
bool OpenMultipleResults(CMainFrame& frame);

// The results window, made on first use; null before.
CResultsWindow* GetResultsWindow();

}  // namespace zar
