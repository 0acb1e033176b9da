#pragma once
// The spectrum pane of the Pepmatch layout: the scan of the current retention time with the
// fragment ions that the last Pepmatch run matched on it labelled in their colours. Unlike the
// spectrum pane of the plot layout it keeps its own zoom, has a scroll bar over the mass range
// and no context menu.

#include "app/ZarViewWidget.h"
#include "fileio/VXSpectrum.h"
#include "plot/typelib/ZarPlotTypes.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QScrollBar;

namespace zar {

class CSpec;
class CSpecToolBar;
class CPepmatchData;
enum class PercentScroll;

class CPepmatchSpecView : public CZarViewWidget {
    Q_OBJECT
  public:
    static constexpr int kFormId = 8596;
    static constexpr int kScrollBarId = 9056;
    static constexpr double kZoomFactor = 2.0;

    explicit CPepmatchSpecView(QWidget* parent = nullptr);
    ~CPepmatchSpecView() override;
    const char* ViewClassName() const override { return "CPepmatchSpecView"; }

    void OnInitialUpdate() override;
    void OnUpdate(CZarView* sender, int hint) override;

    // The main window's print and zoom commands act on the spectrum shown.
    bool HasViewCommand(int id) const override;
    bool IsViewCommandEnabled(int id) const override;
    void OnViewCommand(int id) override;
    QString PrintTitle() const override { return QStringLiteral("Pepmatch Spectrum"); }
    bool PrintsPageRanges() const override { return false; }
    void PrintPages(QPainter& painter, QPrinter& printer) override;
    void PrintPage(QPainter& painter, const QRect& page, int dpiX, int dpiY, bool landscape);

    // Zoom and scan commands (ids of ViewCommands.h) and whether each is enabled now.
    void OnCommand(int id);
    bool IsCommandEnabled(int id) const;

    void AddTextLabel(const QString& text, double x, double y,
                      ZAR_PLOTLib::VXPlot_LabelParams* params = nullptr);
    void ClearTextLabels();
    void SendSpectrumToControl(CSpec& control);
    // The matched ions of the engine as the control's labels: empty unless the engine's ions
    // were matched on the scan shown. Sorted by mass.
    std::vector<ZAR_PLOTLib::VXPlot_PeakInfo> PeakInfos() const;

    // Control events.
    void OnSpecZoom(bool valid, double startMass, double startIntensity, double endMass,
                    double endIntensity);

    // The scroll bar: its steps and the window they show (positions and pages in per cent of
    // the full mass span).
    void OnScrollStep(PercentScroll step);
    void OnThumbTrack(int position);
    void ScrollToPercent(int position, int page);
    void UpdateScrollBar(double start, double end);

    const CVXSpec& Spectrum() const { return spectrum_; }
    const CVXSpecDisplay& Display() const { return display_; }
    CVXSpecDisplay& Display() { return display_; }
    CSpec* Control() const { return control_.get(); }
    CSpecToolBar* ToolBar() const { return toolBar_; }
    QScrollBar* ScrollBar() const { return scrollBar_; }
    QString NoDataText() const { return noDataText_; }
    double FullFirstMass() const { return fullFirst_; }
    double FullLastMass() const { return fullLast_; }

  signals:
    // A peak was picked (its mass and intensity) for the annotation dialog.
    void peakPicked(double mass, double intensity);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    CPepmatchData* engine() const;
    bool dataValid() const;
    void setDataValid(bool valid);
    void setNoDataText(const QString& text);
    void repaintControl();
    void loadSpectrum();
    void applyXRange();
    void applyYRange();
    void resetFullRange();
    void layoutChildren();
    void updateToolBar();
    void guarded(const char* what, const std::function<void()>& action);

    std::unique_ptr<CSpec> control_;
    CVXSpecDisplay display_;
    double fullFirst_ = 0.0;
    double fullLast_ = 100.0;
    bool initialised_ = false;
    CSpecToolBar* toolBar_;
    CVXSpec spectrum_;
    QScrollBar* scrollBar_;
    int barHeight_ = 0;
    QString noDataText_;
};

}  // namespace zar
