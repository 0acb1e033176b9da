#pragma once
// The deconvolution's windows join the program: the Zarmass layout's panes and the command
// that opens the deconvolution sheet.

namespace zar {

class CMainFrame;

void RegisterZarmassViews();
// Actions > ZARMASS: makes the sheet on first use (the frame keeps it), points it at the open
// run, empties its mass grids, shows it and brings the Info Bar's ZARMASS Results page up.
void ShowZarmassSheet(CMainFrame& frame);

}  // namespace zar
