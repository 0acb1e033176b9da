#pragma once
// Makes the spectrum panes known to the layouts ("CTraceView", "CSpecView"), the display-ions and
// XPRESS pages known to the results window (its view types 5 and 9) and answers Actions > XPRESS.
// Call once at start-up.

namespace zar {

void RegisterSpectrumViews();

}  // namespace zar
