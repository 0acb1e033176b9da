#pragma once
// The bottom left pane of the de novo layout: every spectrum slot of the de novo engine as a
// dot map in a DenovoPlot control (a row per slot at its parent mass, coloured by ion type).

#include "HighlightedPane.h"
#include "spectrumviews/views/PaneSupport.h"

#include <memory>

class QPainter;
class QPrinter;

namespace zar {

class CDenovoPlot;

class CDenovoScatterView : public CHighlightedPane, public CPaneBase {
    Q_OBJECT
  public:
    static constexpr const char* kClassName = "CDenovoScatterView";
    static constexpr int kFormId = 8596;

    explicit CDenovoScatterView(QWidget* parent = nullptr);
    ~CDenovoScatterView() override;
    const char* ViewClassName() const override { return kClassName; }

    void OnInitialUpdate() override;
    void OnUpdate(CZarView* sender, int hint) override;

    // Hands the engine's slots to a control; false (nothing handed) when no spectra are loaded.
    bool SetPlotData(CDenovoPlot& plot);
    void RefreshPlot();
    bool DataValid() const;

    // File > Print prints the dot map.
    bool HasViewCommand(int id) const override;
    bool IsViewCommandEnabled(int id) const override;
    void OnViewCommand(int id) override;
    QString PrintTitle() const override { return QStringLiteral("Denovo Plot"); }
    bool PrintsPageRanges() const override { return false; }
    void PrintPages(QPainter& painter, QPrinter& printer) override;
    // Draws the page: quarter-inch margins, footer band, the plot, header band.
    void PrintPage(QPainter& painter, const QRect& page, int dpiX, int dpiY, bool landscape);

    CDenovoPlot* Control() const { return control_.get(); }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void setDataValid(bool valid);
    void layoutControl();

    bool initialised_ = false;
    std::unique_ptr<CDenovoPlot> control_;
};

}  // namespace zar
