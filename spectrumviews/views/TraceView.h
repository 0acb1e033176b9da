#pragma once
// The chromatogram pane on top of every data layout: the traces of the current results as a
// stack of Chro controls (one per display slot, at most ten) with a scroll bar through the
// traces. A click picks the scan the spectrum panes show; a zoom is broadcast as a time range.
// The pane keeps no trace data: traces, their display records and the layout live in the
// document's current results.

#include "ChroPane.h"
#include "app/ZarViewWidget.h"
#include "fileio/VXResults.h"
#include "plot/typelib/ZarPlotTypes.h"

#include <array>
#include <memory>

class QLabel;
class QMenu;
class QPainter;
class QScrollBar;

namespace zar {

class CTraceView : public CZarViewWidget, public CChroPane {
    Q_OBJECT
  public:
    static constexpr int kFormId = 8597;
    static constexpr int kMaxSlots = CVXResults::kMaxDisplaySlots;
    static constexpr int kControlId = 8546;
    static constexpr int kScrollBarId = 8509;
    static constexpr int kCountTextId = 8510;
    // A quarter of the shown width per arrow key.
    static constexpr double kScrollFactor = 2.0;
    static constexpr int kPepmapViewType = 9;
    // Peptide labels are blue (COLORREF).
    static constexpr std::uint32_t kPeptideLabelColor = 0xFF0000;

    explicit CTraceView(QWidget* parent = nullptr);
    ~CTraceView() override;
    const char* ViewClassName() const override { return "CTraceView"; }

    void OnInitialUpdate() override;
    void OnUpdate(CZarView* sender, int hint) override;

    // The main window's print and zoom commands act on the current trace.
    bool HasViewCommand(int id) const override;
    bool IsViewCommandEnabled(int id) const override;
    void OnViewCommand(int id) override;
    QString PrintTitle() const override { return QStringLiteral("Chromatogram"); }
    void PrintPages(QPainter& painter, QPrinter& printer) override;

    void CreateTraceControls(bool resetOrder);
    void LayoutControls();
    void LoadAllTraces();
    void ReloadVisibleTraces();
    void LoadTrace(int trace, int slot, CChro* control = nullptr);
    bool IsTraceShown(int trace) const;
    int GetTraceSlot(int trace) const;
    // The scroll bar moves the slots through the traces: a line by one, a page by a page.
    void OnVScroll(ScrollStep step, int position);

    // Control events (slot = the control's index number, trace = its info id).
    void OnChroLButtonDown(int slot, int trace) override;
    void OnChroLButtonUp(int slot, int trace, bool valid, double time, double intensity) override;
    void OnChroZoom(int slot, int trace, bool valid, double startTime, double startIntensity,
                    double endTime, double endIntensity) override;
    void OnChroArrowKey(int slot, int trace, bool right) override;

    void OnCommand(int id);
    std::unique_ptr<QMenu> BuildContextMenu() override;
    // Hands a time range (minutes) to all that take one: the document's selected range, the
    // registered takers, the range of the summary or peptide-mapping table or the Pepmap engine
    // of the layout shown, and the MSn page.
    void BroadcastRange(double start, double end);
    void AddTextLabel(const QString& text, double x, double y,
                      ZAR_PLOTLib::VXPlot_LabelParams* params);
    void ClearTextLabels();
    // Draws the current trace on a page with the footer and header bands.
    void PrintPage(QPainter& painter, const QRect& page, int dpiX, int dpiY, bool landscape);
    // The current trace's chromatogram as text on the clipboard.
    bool ExportChromatogramText();

    CChro* SlotControl(int slot) const;
    QScrollBar* ScrollBar() const { return scrollBar_; }
    QString CountText() const;

  signals:
    // A time and intensity clicked on a trace (for the annotation dialog).
    void traceClicked(double time, double intensity);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void PrepareControl(CChro& control) override;

  private:
    CVXResults* results() const;
    CVXUserResult* userResult(int trace) const;
    void destroyControls();
    void showScanMarker(bool show, int trace, double time, CChro* control);
    // Moves the scan marker of a slot's trace to a time (redrawn).
    void moveScanMarker(int slot, int trace, double time);
    void setFocusRect(CChro* control, bool on);
    void updatePeptideLabels(CChro* control);
    // After the current trace's time range changed: its control shows it (and the intensity
    // range), redrawn.
    void applyTraceLimits(int slot, int trace);
    void openRanges();
    void openDisplayOptions();

    std::array<std::unique_ptr<CChro>, kMaxSlots> slots_;
    bool initialised_ = false;
    QScrollBar* scrollBar_;
    QLabel* countText_;
};

}  // namespace zar
