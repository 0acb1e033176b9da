#pragma once
// The spectrum pane of the plot layout: shows the scan picked in a chromatogram in a Spec
// control, steps through the scans of the current trace, zooms (the zoom state lives with the
// user result in the document), copies, prints, exports the peak list as text and hands it to
// the outside interpretation program.

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

class CSpecView : public CZarViewWidget {
    Q_OBJECT
  public:
    static constexpr int kFormId = 8596;
    static constexpr int kContextMenuId = 9331;
    static constexpr double kZoomFactor = 2.0;
    // Type code of the results of a deconvolution run: its spectrum is the deconvolution's scan.
    static constexpr int kZarmassResultsType = 6;

    explicit CSpecView(QWidget* parent = nullptr);
    ~CSpecView() override;
    const char* ViewClassName() const override { return "CSpecView"; }

    void OnInitialUpdate() override;
    void OnUpdate(CZarView* sender, int hint) override;

    // The main window's print and zoom commands act on the spectrum shown.
    bool HasViewCommand(int id) const override;
    bool IsViewCommandEnabled(int id) const override;
    void OnViewCommand(int id) override;
    QString PrintTitle() const override { return QStringLiteral("Spectrum"); }
    bool PrintsPageRanges() const override { return false; }
    void PrintPages(QPainter& painter, QPrinter& printer) override;

    // Menu and tool-bar commands (ids of ViewCommands.h) and whether each is enabled now.
    void OnCommand(int id);
    bool IsCommandEnabled(int id) const;
    // The context menu as it would be shown now; null without a display record.
    std::unique_ptr<QMenu> BuildContextMenu();

    // The Spectrum Display Options dialog on the current display record.
    void OnDisplayOptions();
    void ShowPreviousScan();
    void ShowNextScan();
    void AddTextLabel(const QString& text, double x, double y,
                      ZAR_PLOTLib::VXPlot_LabelParams* params = nullptr);
    void ClearTextLabels();
    // Loads the view's spectrum into a Spec control (the pane's own or an off-screen one).
    void SendSpectrumToControl(CSpec& control);
    // The peak list as text on the clipboard; false when there is no spectrum.
    bool ExportSpectrumText(bool exact, const QString& tag);
    // Draws the page: footer band, the plot, header band (quarter-inch margins).
    void PrintPage(QPainter& painter, const QRect& page, int dpiX, int dpiY, bool landscape);

    // Control events.
    void OnSpecZoom(bool valid, double startMass, double startIntensity, double endMass,
                    double endIntensity);
    void OnSpecLButtonUp(bool valid, double mass, double intensity);

    const CVXSpec& Spectrum() const { return spectrum_; }
    CSpec* Control() const { return control_.get(); }
    CSpecToolBar* ToolBar() const { return toolBar_; }
    int DetectorType() const { return detectorType_; }
    QString NoDataText() const { return noDataText_; }
    // The display record of the current user result; null when none is current.
    CVXSpecDisplay* GetSpecDisplay() const;

  signals:
    // A peak was picked (its mass and intensity) for the annotation dialog.
    void peakPicked(double mass, double intensity);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    CVXUserResult* currentUserResult() const;
    double currentScanTime() const;
    // The time of the scan to show.
    double spectrumTime() const;
    // The mass range now shown, for the deconvolution sheet's tracking pages.
    void trackMassRange(double low, double high);
    void setCurrentScanTime(double time);
    bool dataValid() const;
    void setNoDataText(const QString& text);
    void setDataValid(bool valid);
    void repaintControl();
    void loadMsSpectrum();
    void loadPdaSpectrum();
    bool readSpectrumAt(double time);
    void applyStyle(CSpec& control);
    void applyXRange();
    void applyYRange();
    void layoutChildren();
    void updateToolBar();
    void guarded(const char* what, const std::function<void()>& action);

    bool initialised_ = false;
    int detectorType_ = -1;
    std::unique_ptr<CSpec> control_;
    CVXSpec spectrum_;
    CSpecToolBar* toolBar_;
    int barHeight_ = 0;
    QString noDataText_;
};

}  // namespace zar
