#pragma once
// The spectrum pane of the Pepmatch layout: the scan of the current retention time with the
// fragment ions that the last Pepmatch run matched on it labelled in their colours. Unlike the
// spectrum pane of the plot layout it keeps its own zoom, has a scroll bar over the mass range
// and no context menu.

#include "PlotPane.h"
#include "app/ZarViewWidget.h"
#include "fileio/VXSpectrum.h"
#include "plot/typelib/ZarPlotTypes.h"

#include <QString>

#include <memory>
#include <vector>

class QPainter;
class QScrollBar;

namespace zar {

class CSpec;
class CSpecToolBar;
class CPepmatchData;

class CPepmatchSpecView : public CZarViewWidget, public CPlotPane {
    Q_OBJECT
  public:
    static constexpr int kFormId = 8596;
    static constexpr int kScrollBarId = 9056;

    explicit CPepmatchSpecView(QWidget* parent = nullptr);
    ~CPepmatchSpecView() override;
    const char* ViewClassName() const override { return "CPepmatchSpecView"; }

    void OnInitialUpdate() override;
    void OnUpdate(CZarView* sender, int hint) override;

    // The main window's print and zoom commands act on the spectrum shown.
    bool HasViewCommand(int id) const override { return IsPaneViewCommand(id); }
    bool IsViewCommandEnabled(int id) const override { return IsPaneViewCommandEnabled(id); }
    void OnViewCommand(int id) override { RunPaneViewCommand(id); }
    QString PrintTitle() const override { return QStringLiteral("Pepmatch Spectrum"); }
    bool PrintsPageRanges() const override { return false; }
    void PrintPages(QPainter& painter, QPrinter& printer) override {
        PrintOnPrinter(painter, printer);
    }
    void PrintPage(QPainter& painter, const QRect& page, int dpiX, int dpiY, bool landscape);

    // Zoom and scan commands (ids of ViewCommands.h) and whether each is enabled now.
    void OnCommand(int id) override;
    bool IsCommandEnabled(int id) const override;

    void SendSpectrumToControl(CSpec& control) override;
    // The pane has no context menu.
    std::unique_ptr<QMenu> BuildContextMenu() override;
    // The matched ions of the engine as the control's labels: empty unless the engine's ions
    // were matched on the scan shown. Sorted by mass.
    std::vector<ZAR_PLOTLib::VXPlot_PeakInfo> PeakInfos() const;

    const CVXSpec& Spectrum() const { return spectrum_; }
    const CVXSpecDisplay& Display() const { return display_; }
    CVXSpecDisplay& Display() { return display_; }
    CSpecToolBar* ToolBar() const { return toolBar_; }
    QScrollBar* ScrollBar() const { return scrollBar_; }
    double FullFirstMass() const { return FullMassRange().low; }
    double FullLastMass() const { return FullMassRange().high; }

  signals:
    // A peak was picked (its mass and intensity) for the annotation dialog.
    void peakPicked(double mass, double intensity);

  protected:
    const CVXSpec& PlotSpectrum() const override { return spectrum_; }
    CVXSpecDisplay* ZoomDisplay() const override { return &display_; }
    void ApplyXLimits(CSpec& control) override;
    void OnZoomChanged() override { updateToolBar(); }
    void OnPeakPicked(double mass, double intensity) override { emit peakPicked(mass, intensity); }
    void OnPlotArrowKey(bool right) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    CPepmatchData* engine() const;
    void loadSpectrum();
    void layoutChildren();
    void updateToolBar();

    mutable CVXSpecDisplay display_;
    bool initialised_ = false;
    CSpecToolBar* toolBar_;
    CVXSpec spectrum_;
    QScrollBar* scrollBar_;
    int barHeight_ = 0;
};

}  // namespace zar
