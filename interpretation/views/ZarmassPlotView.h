#pragma once
// What the two lower panes of the Zarmass layout share: a Spec control showing a spectrum the
// deconvolution engines hold, with the view's own zoom state, its context menu, copy, export
// of the peak list as text and printing. The source spectrum pane and the deconvoluted
// spectrum pane derive from it and say which spectrum they show and what a click picks.

#include "app/ZarViewWidget.h"
#include "fileio/VXSpectrum.h"
#include "interpretation/ZarmassTypes.h"
#include "plot/typelib/ZarPlotTypes.h"

#include <QString>

#include <functional>
#include <memory>
#include <span>

class QMenu;

namespace zar {

class CSpec;

class CZarmassPlotView : public CZarViewWidget {
    Q_OBJECT
  public:
    static constexpr int kContextMenuId = 9332;
    static constexpr double kZoomFactor = 2.0;

    CZarmassPlotView(const QString& noDataText, QWidget* parent);
    ~CZarmassPlotView() override;

    void OnInitialUpdate() override;
    void OnUpdate(CZarView* sender, int hint) override;

    // The main window's print and zoom commands act on the spectrum shown.
    bool HasViewCommand(int id) const override;
    bool IsViewCommandEnabled(int id) const override;
    void OnViewCommand(int id) override;
    bool PrintsPageRanges() const override { return false; }
    void PrintPages(QPainter& painter, QPrinter& printer) override;

    // Context-menu commands (ids of the spectrum panes) and whether each is enabled now.
    void OnCommand(int id);
    bool IsCommandEnabled(int id) const;
    std::unique_ptr<QMenu> BuildContextMenu();

    // Reads the spectrum from the engine again and hands it to the control.
    void Rebuild();
    // Loads the view's spectrum (with its labels) into a Spec control.
    void SendSpectrumToControl(CSpec& control);
    // The peak list as text on the clipboard; false when there is no spectrum.
    bool ExportSpectrumText(bool exact);
    // Draws the page: footer band, the plot, header band (quarter-inch margins).
    void PrintPage(QPainter& painter, const QRect& page, int dpiX, int dpiY, bool landscape);

    // Control events.
    void OnSpecZoom(bool valid, double startMass, double startIntensity, double endMass,
                    double endIntensity);
    virtual void OnSpecLButtonUp(bool valid, double mass, double intensity) = 0;

    const CVXSpec& Spectrum() const { return spectrum_; }
    const CVXSpecDisplay& Display() const { return display_; }
    CSpec* Control() const { return control_.get(); }
    QString NoDataText() const { return noDataText_; }
    bool DataValid() const;

  protected:
    // Whether a hint makes the view read its spectrum again.
    virtual bool RebuildsOn(int hint) const = 0;
    // Fills the spectrum from the engine; false when the engine holds none.
    virtual bool FillSpectrum(CVXSpec& spectrum) = 0;
    // The labels the control draws over the spectrum: none here.
    virtual void SendLabels(CSpec& control);
    // After a zoom of the mass axis (low and high mass shown).
    virtual void OnMassRangeShown(double, double) {}
    // The most intense peak within [mass - halfWidth, mass + halfWidth]; -1 when none is.
    int MostIntensePeakWithin(double mass, double halfWidth) const;
    // Fills spectrum peaks and the header values computed from them.
    static void TakePeaks(CVXSpec& spectrum, std::span<const PeakRecord> peaks);
    void guarded(const char* what, const std::function<void()>& action);
    void repaintControl();

    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void setDataValid(bool valid);
    void applyXRange();
    void applyYRange();
    void sendAxisLimits(CSpec& control);

    QString noDataText_;
    bool initialised_ = false;
    std::unique_ptr<CSpec> control_;
    CVXSpec spectrum_;
    CVXSpecDisplay display_;
};

}  // namespace zar
