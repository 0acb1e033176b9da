#pragma once
// The bottom right pane of the de novo layout: one one-dimensional spectrum of the de novo
// engine (or the raw spectrum of the current scan) in a Spec control, with the b and y ions of
// the candidate picked in the candidate grid marked. The right mouse button picks the spectrum;
// the arrow keys step through the scans in the raw mode; zoom, a scroll bar and printing as in
// the other spectrum panes.

#include "HighlightedPane.h"
#include "spectrumviews/views/PlotPane.h"
#include "fileio/VXSpectrum.h"
#include "interpretation/DenovoSelection.h"
#include "plot/typelib/ZarPlotTypes.h"

#include <functional>
#include <memory>
#include <vector>

class QMenu;
class QPainter;
class QPrinter;
class QScrollBar;

namespace zar {

class CSpec;
class CVXUserResult;
enum class ScrollStep;

class CDenovoSpecView : public CHighlightedPane, public CPlotPane {
    Q_OBJECT
  public:
    static constexpr const char* kClassName = "CDenovoSpecView";
    static constexpr int kFormId = 8596;
    static constexpr int kInitialMode = 7;
    static constexpr int kRawMode = 10;
    // Pens of the marks: unused, y ions (red), b ions (blue) (COLORREF).
    static constexpr std::uint32_t kLabelPens[3] = {0x00000000, 0x000000FF, 0x00FF0000};

    explicit CDenovoSpecView(QWidget* parent = nullptr);
    ~CDenovoSpecView() override;
    const char* ViewClassName() const override { return kClassName; }

    void OnInitialUpdate() override;
    void OnUpdate(CZarView* sender, int hint) override;

    // The display mode of a mode command (9254-9261); 0 for another command.
    static int ModeOfCommand(int id);
    // A mode command: the mode becomes the shown spectrum.
    void OnModeCommand(int id);
    // Reads the spectrum of the mode and hands it to the control.
    void BuildView();
    // The popup menu of the pane: the spectra, the zoom commands and printing.
    std::unique_ptr<QMenu> BuildContextMenu() override;
    // The raw mode's scan steps (the control's arrow keys): false when nothing moved.
    bool StepScan(int direction);
    // The zoom box zooms while data are shown.
    void OnSpecZoom(bool valid, double startMass, double startIntensity, double endMass,
                    double endIntensity) override;
    // A left click in the data picks the peak there for the annotation dialog.
    void OnSpecLButtonUp(bool valid, double mass, double intensity) override;
    void OnHScroll(ScrollStep step, int position);

    bool HasViewCommand(int id) const override { return IsPaneViewCommand(id); }
    bool IsViewCommandEnabled(int id) const override { return IsPaneViewCommandEnabled(id); }
    void OnViewCommand(int id) override { RunPaneViewCommand(id); }
    // Print (of the main window and the menu) besides the zoom commands.
    bool IsCommandEnabled(int id) const override;
    void OnCommand(int id) override;
    QString PrintTitle() const override { return QStringLiteral("Denovo Spectrum"); }
    bool PrintsPageRanges() const override { return false; }
    void PrintPages(QPainter& painter, QPrinter& printer) override {
        PrintOnPrinter(painter, printer);
    }
    void PrintPage(QPainter& painter, const QRect& page, int dpiX, int dpiY, bool landscape);
    // Loads the shown spectrum into a control (the pane's own or an off-screen one).
    void SendSpectrumToControl(CSpec& control) override;

    int Mode() const { return mode_; }
    const CVXSpec& Spectrum() const { return spectrum_; }
    const CVXSpecDisplay& Display() const { return display_; }
    const std::vector<DenovoIonLabel>& Labels() const { return labels_; }
    const std::vector<ZAR_PLOTLib::VXPlot_PeakInfo>& PeakInfos() const { return infos_; }
    QString Heading() const { return heading_; }
    QScrollBar* ScrollBar() const { return scrollBar_; }

  protected:
    const CVXSpec& PlotSpectrum() const override { return spectrum_; }
    CVXSpecDisplay* ZoomDisplay() const override { return &display_; }
    // The intensity axis of the one-dimensional spectra starts at 0.
    PlotRange FullIntensityRange() const override;
    void OnMassRangeShown(double, double) override { updateScrollBar(); }
    void OnZoomChanged() override { CommandStateChanged(); }
    void OnPeakPicked(double mass, double intensity) override { emit peakPicked(mass, intensity); }
    void OnPlotArrowKey(bool right) override { StepScan(right ? 1 : -1); }
    void resizeEvent(QResizeEvent* event) override;

  signals:
    // A peak was picked (its mass and intensity) for the annotation dialog.
    void peakPicked(double mass, double intensity);

  private:
    CVXUserResult* currentUserResult() const;
    bool readOneDimensional();
    bool readRawSpectrum();
    void takeSelectionLabels(DenovoIonScale scale);
    void updateScrollBar();
    void layoutChildren();

    QScrollBar* scrollBar_;
    int mode_ = kInitialMode;
    CVXSpec spectrum_;
    mutable CVXSpecDisplay display_;
    double firstMz_ = 0.0;
    double lastMz_ = 0.0;
    double summed_ = 0.0;
    double largest_ = 0.0;
    double smallest_ = 0.0;
    std::vector<DenovoIonLabel> labels_;
    std::vector<ZAR_PLOTLib::VXPlot_PeakInfo> infos_;
    DenovoSelectionRecord selection_;
    QString heading_;
    bool initialised_ = false;
};

}  // namespace zar
