#pragma once
// What the main frame and the spectrum panes ask of the modeless deconvolution sheet. The sheet
// implements it and hands itself to the frame, which keeps it while it is open.

namespace zar {

class CZarmassSheetTarget {
public:
    virtual ~CZarmassSheetTarget() = default;
    virtual bool IsCalculationPageActive() const = 0;
    virtual bool IsDeconvolutionPageActive() const = 0;
    // A mass picked in a spectrum, for the active page's list.
    virtual void SetSelectedMass(double mass) = 0;
    // The m/z range a spectrum pane now shows, for pages that track it.
    virtual void SetTrackedMassRange(double low, double high) = 0;
    // Another run replaced the open one: work running on it stops and its result is dropped.
    virtual void DropRunningWork() = 0;
    // Closes the sheet's window, which deletes the sheet; false when there is no window to close.
    virtual bool DestroySheetWindow() = 0;
};

}  // namespace zar
