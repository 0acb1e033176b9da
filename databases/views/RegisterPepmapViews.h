#pragma once
// Connects the Pepmap pane and the sequence tools to the main window: the view class of the
// Pepmap layout, Tools > Sequence Editor and Tools > Sequence Calculator. Call once at start-up.

namespace zar {

void RegisterPepmapViews();

}  // namespace zar
