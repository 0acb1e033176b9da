#pragma once
// What the two lower panes of the Zarmass layout share: a Spec control showing a spectrum the
// deconvolution engines hold, with the view's own zoom state, its context menu, copy, export
// of the peak list as text and printing. The source spectrum pane and the deconvoluted
// spectrum pane derive from it and say which spectrum they show and what a click picks.

#include "app/ZarViewWidget.h"
#include "spectrumviews/views/PlotPane.h"
#include "fileio/VXSpectrum.h"
#include "interpretation/ZarmassTypes.h"
#include "plot/typelib/ZarPlotTypes.h"

#include <QString>

#include <memory>
#include <span>

class QMenu;

namespace zar {

class CSpec;

class CZarmassPlotView : public CZarViewWidget, public CPlotPane {
    Q_OBJECT
  public:
    static constexpr int kContextMenuId = 9332;

    CZarmassPlotView(const QString& noDataText, QWidget* parent);
    ~CZarmassPlotView() override;

    void OnInitialUpdate() override;
    void OnUpdate(CZarView* sender, int hint) override;

    // The main window's print and zoom commands act on the spectrum shown.
    bool HasViewCommand(int id) const override { return IsPaneViewCommand(id); }
    bool IsViewCommandEnabled(int id) const override { return IsPaneViewCommandEnabled(id); }
    void OnViewCommand(int id) override { RunPaneViewCommand(id); }
    bool PrintsPageRanges() const override { return false; }
    void PrintPages(QPainter& painter, QPrinter& printer) override {
        PrintOnPrinter(painter, printer);
    }

    // Context-menu commands (ids of the spectrum panes) and whether each is enabled now.
    void OnCommand(int id) override;
    bool IsCommandEnabled(int id) const override;
    std::unique_ptr<QMenu> BuildContextMenu() override;

    // Reads the spectrum from the engine again and hands it to the control.
    void Rebuild();
    // Loads the view's spectrum (with its labels) into a Spec control.
    void SendSpectrumToControl(CSpec& control) override;
    // The peak list as text on the clipboard; false when there is no spectrum.
    bool ExportSpectrumText(bool exact);
    // Draws the page: footer band, the plot, header band (quarter-inch margins).
    void PrintPage(QPainter& painter, const QRect& page, int dpiX, int dpiY, bool landscape);

    // What a click picks is the pane's.
    void OnSpecLButtonUp(bool valid, double mass, double intensity) override = 0;

    const CVXSpec& Spectrum() const { return spectrum_; }
    const CVXSpecDisplay& Display() const { return display_; }

  protected:
    // Whether a hint makes the view read its spectrum again.
    virtual bool RebuildsOn(int hint) const = 0;
    // Fills the spectrum from the engine; false when the engine holds none.
    virtual bool FillSpectrum(CVXSpec& spectrum) = 0;
    // The labels the control draws over the spectrum: none here.
    virtual void SendLabels(CSpec& control);
    // The most intense peak within [mass - halfWidth, mass + halfWidth]; -1 when none is.
    int MostIntensePeakWithin(double mass, double halfWidth) const;
    // Fills spectrum peaks and the header values computed from them.
    static void TakePeaks(CVXSpec& spectrum, std::span<const PeakRecord> peaks);
    const CVXSpec& PlotSpectrum() const override { return spectrum_; }
    CVXSpecDisplay* ZoomDisplay() const override { return &display_; }
    void OnZoomChanged() override { CommandStateChanged(); }

    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    QString noDataText_;
    bool initialised_ = false;
    CVXSpec spectrum_;
    mutable CVXSpecDisplay display_;
};

}  // namespace zar
