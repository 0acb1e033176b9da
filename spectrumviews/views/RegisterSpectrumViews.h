#pragma once
// Makes the spectrum panes known to the layouts ("CTraceView", "CSpecView") and the display-ions
// page known to the results window (its view type 5). Call once at start-up.

namespace zar {

void RegisterSpectrumViews();

}  // namespace zar
