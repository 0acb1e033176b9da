#pragma once
// The spectrum pane of the plot layout: shows the scan picked in a chromatogram in a Spec
// control, steps through the scans of the current trace, zooms (the zoom state lives with the
// user result in the document), copies, prints, exports the peak list as text and hands it to
// the outside interpretation program.

#include "PlotPane.h"
#include "app/ZarViewWidget.h"
#include "fileio/VXSpectrum.h"
#include "plot/typelib/ZarPlotTypes.h"

#include <QString>

#include <functional>
#include <memory>

class QMenu;
class QPainter;

namespace zar {

class CSpec;
class CSpecToolBar;
class CVXUserResult;

class CSpecView : public CZarViewWidget, public CPlotPane {
    Q_OBJECT
  public:
    static constexpr int kFormId = 8596;
    static constexpr int kContextMenuId = 9331;
    // Type code of the results of a deconvolution run: its spectrum is the deconvolution's scan.
    static constexpr int kZarmassResultsType = 6;

    explicit CSpecView(QWidget* parent = nullptr);
    ~CSpecView() override;
    const char* ViewClassName() const override { return "CSpecView"; }

    void OnInitialUpdate() override;
    void OnUpdate(CZarView* sender, int hint) override;

    // The main window's print and zoom commands act on the spectrum shown.
    bool HasViewCommand(int id) const override { return IsPaneViewCommand(id); }
    bool IsViewCommandEnabled(int id) const override { return IsPaneViewCommandEnabled(id); }
    void OnViewCommand(int id) override { RunPaneViewCommand(id); }
    QString PrintTitle() const override { return QStringLiteral("Spectrum"); }
    bool PrintsPageRanges() const override { return false; }
    void PrintPages(QPainter& painter, QPrinter& printer) override {
        PrintOnPrinter(painter, printer);
    }

    // Menu and tool-bar commands (ids of ViewCommands.h) and whether each is enabled now.
    void OnCommand(int id) override;
    bool IsCommandEnabled(int id) const override;
    // The context menu as it would be shown now; null without a display record.
    std::unique_ptr<QMenu> BuildContextMenu() override;

    // The Spectrum Display Options dialog on the current display record.
    void OnDisplayOptions();
    void ShowPreviousScan();
    void ShowNextScan();
    // Loads the view's spectrum into a Spec control (the pane's own or an off-screen one).
    void SendSpectrumToControl(CSpec& control) override;
    // The peak list as text on the clipboard; false when there is no spectrum.
    bool ExportSpectrumText(bool exact, const QString& tag);
    // Draws the page: footer band, the plot, header band (quarter-inch margins).
    void PrintPage(QPainter& painter, const QRect& page, int dpiX, int dpiY, bool landscape);

    const CVXSpec& Spectrum() const { return spectrum_; }
    CSpecToolBar* ToolBar() const { return toolBar_; }
    int DetectorType() const { return detectorType_; }
    // The display record of the current user result; null when none is current.
    CVXSpecDisplay* GetSpecDisplay() const;

  signals:
    // A peak was picked (its mass and intensity) for the annotation dialog.
    void peakPicked(double mass, double intensity);

  protected:
    const CVXSpec& PlotSpectrum() const override { return spectrum_; }
    CVXSpecDisplay* ZoomDisplay() const override { return GetSpecDisplay(); }
    void ApplyXLimits(CSpec& control) override;
    void OnMassRangeShown(double low, double high) override;
    void OnZoomChanged() override { updateToolBar(); }
    void OnPeakPicked(double mass, double intensity) override;
    void OnPlotArrowKey(bool right) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    CVXUserResult* currentUserResult() const;
    double currentScanTime() const;
    // The time of the scan to show.
    double spectrumTime() const;
    void setCurrentScanTime(double time);
    void loadMsSpectrum();
    void loadPdaSpectrum();
    bool readSpectrumAt(double time);
    void applyStyle(CSpec& control);
    void layoutChildren();
    void updateToolBar();

    bool initialised_ = false;
    int detectorType_ = -1;
    CVXSpec spectrum_;
    CSpecToolBar* toolBar_;
    int barHeight_ = 0;
};

}  // namespace zar
