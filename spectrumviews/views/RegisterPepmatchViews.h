#pragma once

namespace zar {

// The Pepmatch layout's panes, the Select Ions page of the results window, the annotation
// targets of the spectrum and trace panes, and the main window's Annotate and Options >
// Display commands.
void RegisterPepmatchViews();

}  // namespace zar
