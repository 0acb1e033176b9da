#pragma once
// The "XPRESS" page of the results window: for one hit of the search-engine results, the ion
// chromatograms of the light and the heavy form of its peptide one above the other, each with
// its integrated elution peak marked, beside the masses, the peak start and end times and the
// ratio of each form. "Calculate ratio" quantifies the hit again within edited times and mass
// tolerance; "Update table" writes that ratio into the hit, which the summary table then shows.
// Quantitation runs on a worker that posts its result back.

#include "ChroPane.h"
#include "fileio/VXChro.h"
#include "plot/typelib/ZarPlotTypes.h"
#include "resultviews/ResultsFormView.h"
#include "spectrumviews/XpressWorker.h"

#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class QComboBox;
class QLineEdit;
class QMenu;
class QPainter;
class QPushButton;
class QScrollBar;
class QVBoxLayout;

namespace zar {

class CDoubleEditCtrl;
class MessageReceiver;

class CIcatView : public CResultsFormView, public CChroPane {
    Q_OBJECT
  public:
    static constexpr int kResultsViewType = 9;
    static constexpr int kFormId = 9058;
    enum ControlId : int {
        kCalculateRatioId = 9059,
        kUpdateTableId = 9060,
        kChargeListId = 9061,
        kMassToleranceId = 9062,
        kLightRatioId = 9063,
        kLightMassId = 9064,
        kLightStartId = 9065,
        kLightEndId = 9066,
        kHeavyRatioId = 9067,
        kHeavyMassId = 9068,
        kHeavyStartId = 9069,
        kHeavyEndId = 9070,
        kScrollBarId = 9071,
    };
    enum Form : int { kLight = 0, kHeavy = 1, kFormCount = 2 };
    static constexpr double kMinTolerance = 0.0;
    static constexpr double kMaxTolerance = 15.0;
    static constexpr double kMaxMass = 100000.0;
    static constexpr int kInitialCharges = 5;
    // Scans shown beside the integrated peaks.
    static constexpr int kWindowMargin = 10;
    // A trace value of 0 (or less, or none) is plotted at this height.
    static constexpr double kLeastIntensity = 0.0001;
    // The peak markers are red (COLORREF).
    static constexpr std::uint32_t kMarkerColor = 0x0000FF;

    explicit CIcatView(CResultsWindow* owner, QWidget* parent = nullptr);
    ~CIcatView() override;

    void OnInitialUpdate() override;
    void Display(const SelectedResult& item) override;

    // Shows hit `entry` of the search-engine results; `second` is handed
    // back with Update table.
    void SetXpressEntry(HitNumber entry, int second);
    void OnCalculateRatio();
    void OnUpdateTable();
    void SetChargeList(int count);

    // Zoom and print commands of the chromatograms' menu; both traces follow.
    void OnCommand(int id);
    bool IsCommandEnabled(int id) const;
    std::unique_ptr<QMenu> BuildContextMenu() override;
    // A zoom box on either chromatogram zooms both.
    void OnChroZoom(int slot, int trace, bool valid, double startTime, double startIntensity,
                    double endTime, double endIntensity) override;
    void OnHScroll(ScrollStep step, int position) { OnTimeScroll(step, position); }
    // Shows the time window that starts `position` per cent into the full range and spans
    // `page` per cent of it.
    void ScrollToRange(int position, int page) { ShowTimePercent(position, page); }
    // The scroll bar from a shown time window.
    void SetScrollRange(double start, double end) { UpdateTimeScrollBar(start, end); }

    // Both forms' values and chromatograms on a page, with the footer and header bands.
    void PrintPage(QPainter& painter, const QRect& page, int dpiX, int dpiY, bool landscape);
    bool PrintWithDialog();

    // For checks: waits until no worker runs and its result was taken (false on time-out).
    bool WaitUntilIdle(int milliseconds);
    bool IsBusy() const { return busy_; }
    HitNumber Entry() const { return entry_; }
    QString RatioText(int form) const;
    QString TableRatioText() const { return tableRatioText_; }
    double Mass(int form) const { return sides_[form].mass; }
    double StartTime(int form) const { return sides_[form].startTime; }
    double EndTime(int form) const { return sides_[form].endTime; }
    int PeakFirstScan(int form) const { return sides_[form].firstScan; }
    int PeakLastScan(int form) const { return sides_[form].lastScan; }
    double MassTolerance() const { return tolerance_; }
    double FullStart() const { return fullStart_; }
    double FullEnd() const { return fullEnd_; }
    const CVXChro& Trace(int form) const { return traces_[form].chro; }
    const CVXChroDisplay& TraceDisplay(int form) const { return traces_[form].display; }
    const ZAR_PLOTLib::VXPlot_Marker& Marker(int form) const { return traces_[form].marker; }
    CChro* Control(int form) const { return traces_[form].control.get(); }
    QPushButton* CalculateButton() const { return calculate_; }
    QPushButton* UpdateButton() const { return update_; }
    QComboBox* ChargeList() const { return charges_; }
    CDoubleEditCtrl* ToleranceEdit() const { return toleranceEdit_; }
    CDoubleEditCtrl* StartEdit(int form) const { return widgets_[form].start; }
    CDoubleEditCtrl* EndEdit(int form) const { return widgets_[form].end; }
    QScrollBar* ScrollBar() const { return TimeScrollBar(); }

  protected:
    PlotRange FullTimeRange() const override { return {fullStart_, fullEnd_}; }
    void ShowTimePercent(int position, int page) override;

  private:
    // What the page shows of one form.
    struct Side {
        QString ratioText;
        double mass = 0.0;
        double startTime = 0.0;
        double endTime = 0.0;
        int firstScan = 0;  // the integrated peak
        int lastScan = 0;
    };
    struct SideWidgets {
        QLineEdit* ratio = nullptr;
        CDoubleEditCtrl* mass = nullptr;
        CDoubleEditCtrl* start = nullptr;
        CDoubleEditCtrl* end = nullptr;
    };
    // One chromatogram: its control, zoom state, points as shown and peak marker.
    struct TraceState {
        std::unique_ptr<CChro> control;
        CVXChroDisplay display;
        CVXChro chro;
        ZAR_PLOTLib::VXPlot_Marker marker{};
    };
    enum JobKind : int { kEntryJob = 0, kCalculateJob = 1 };

    void createControls();
    void initialiseEdits();
    // Moves the members into the edits, or the edits into the members (false after a message).
    bool exchange(bool save);
    void clearEntry();
    void clearTraces();
    void followDocumentTolerance();
    const SearchHitRecord* entryHit() const;
    void startJob(JobKind kind, const SearchHitRecord& hit);
    void takeResult(const Message& message);
    void loadTracePoints(const XpressJobResult& result);
    void setMarkers();
    // The window from `before` scans ahead of the earlier peak to `after` scans past the later.
    void loadControls(int margin);
    void loadControl(int form, CChro& control, double start, double end);
    // Both controls show their trace's ranges (redrawn).
    void applyLimits();
    void redraw();
    // The scroll bar follows the light trace's shown time range.
    void followShownRange();
    double timeOfScan(int scan) const;
    int clampScan(int scan) const;

    QPushButton* calculate_;
    QPushButton* update_;
    QComboBox* charges_;
    CDoubleEditCtrl* toleranceEdit_;
    std::array<SideWidgets, kFormCount> widgets_;
    QVBoxLayout* plotLayout_;
    MessageReceiver* receiver_;
    bool initialised_ = false;

    std::array<TraceState, kFormCount> traces_;
    std::array<Side, kFormCount> sides_;
    double tolerance_ = 1.5;
    double documentTolerance_ = -1.0;  // the document's tolerance the pane last took
    QString tableRatioText_;
    double fullStart_ = 0.0;
    double fullEnd_ = 10.0;
    int runFirstScan_ = 0;
    int runLastScan_ = 0;
    int chargeCount_ = 0;
    int charge_ = 0;  // of the entry's spectrum
    HitNumber entry_;
    int second_ = 0;
    // Each shown entry gets a number: a result for an older one is not shown.
    unsigned serial_ = 0;
    bool busy_ = false;
    bool entryPending_ = false;
    std::optional<SearchHitRecord> calculated_;  // what Update table writes
    // Cancelled and joined before the widgets it reports to go.
    CXpressWorker worker_;
};

}  // namespace zar
