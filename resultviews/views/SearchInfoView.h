#pragma once
// The results window's "Search Parameters" view: the search settings of one spectrum's search
// (database, enzyme, mass type, search line, precursor mass, charge, fragment tolerance) from
// the header of the hit's ".out" file, and its ".dta" spectrum in a Spec control with zoom, a
// scroll bar over the m/z axis and printing. The file is read on a worker that posts its
// result back; a request while one loads runs once it ends (the newest wins).

#include "databases/DatabaseSearch.h"
#include "fileio/VXSpectrum.h"
#include "resultviews/ResultsFormView.h"
#include "spectrumviews/views/PlotPane.h"

#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

class QLabel;
class QPainter;
class QPrinter;
class QScrollBar;

namespace zar {

class CSpec;

// What the loader brings back.
struct SearchInfoLoad {
    QString fileInformation;  // of the hit it was read for
    std::optional<SearchInfoResult> info;
    // The header alone, when the spectrum could not be read.
    std::optional<SearchInfoText> header;
};

class CSearchInfoView : public CResultsFormView, public CPlotPane {
    Q_OBJECT
  public:
    static constexpr int kResultsViewType = 7;
    static constexpr int kFormId = 8938;
    static constexpr int kScrollBarId = 8946;
    // The seven statics, in the order they print.
    static constexpr std::array<int, 7> kStaticIds = {8939, 8940, 8943, 8944, 8945, 8941, 8942};

    explicit CSearchInfoView(CResultsWindow* owner, QWidget* parent = nullptr);
    // Waits for a load that still runs.
    ~CSearchInfoView() override;

    void OnInitialUpdate() override;
    void Display(const SelectedResult& item) override { ShowSearchInfo(item); }
    void ShowSearchInfo(const SelectedResult& item);
    // The hit shown; none before the first.
    HitNumber ShownHit() const { return hit_; }

    // Zoom (9211 to 9217) and printing (57607, 57608).
    void OnCommand(int id) override;
    bool IsCommandEnabled(int id) const override;
    void OnHScroll(ScrollStep step, int position) { OnMassScroll(step, position); }
    // Shows [pos, pos + page] per cent of the full m/z range.
    void ShowXPercent(int position, int page) { ShowMassPercent(position, page); }
    void OnFilePrint();
    // The statics and the spectrum on one page of the printer; false when nothing printed.
    bool PrintReport(QPrinter& printer);

    // The scroll bar over a shown range of the full m/z range (per cent, 0 to 100).
    struct ScrollBox {
        int position = 0;
        int page = 100;
    };
    static ScrollBox ScrollBoxFor(double fullLow, double fullHigh, double shownLow,
                                  double shownHigh);
    // Line steps move to multiples of 10.
    static int LineLeft(int position);
    static int LineRight(int position, int page);

    bool IsLoading() const { return loading_; }
    bool HasPendingRequest() const { return pending_.has_value(); }
    // For checks: waits until no load runs or waits (false on time-out).
    bool WaitUntilIdle(int milliseconds);
    QString StaticText(int id) const;
    QScrollBar* ScrollBar() const { return scrollBar_; }
    ScrollBox Scroll() const { return {MassScrollPosition(), MassScrollPage()}; }
    const CVXSpecDisplay& DisplayState() const { return display_; }
    const CVXSpec& Spectrum() const { return spectrum_; }
    double FullLow() const { return fullLow_; }
    double FullHigh() const { return fullHigh_; }
    int FirstScan() const { return firstScan_; }
    bool HasData() const;

    void SendSpectrumToControl(CSpec& control) override;
    std::unique_ptr<QMenu> BuildContextMenu() override;

  protected:
    const CVXSpec& PlotSpectrum() const override { return spectrum_; }
    CVXSpecDisplay* ZoomDisplay() const override { return &display_; }
    void ApplyYLimits(CSpec& control) override;
    void OnZoomChanged() override;
    void contextMenuEvent(QContextMenuEvent* e) override;

  private:
    struct Request {
        int kind = 0;
        HitNumber hit;
        QString folder;
        QString file;  // the ".out"/".dta" name without extension
        QString fileInformation;
        bool monoisotopic = false;
    };
    void startLoad(const Request& request);
    void takeLoad(SearchInfoLoad load);
    void loadSpectrum(const std::vector<DtaPeak>& peaks);
    void clearStatics();

    std::array<QLabel*, 7> statics_{};
    QScrollBar* scrollBar_;
    MessageReceiver* receiver_;

    CVXSpec spectrum_;
    mutable CVXSpecDisplay display_;
    int kind_ = 0;
    HitNumber hit_;
    double fullLow_ = 0.0;
    double fullHigh_ = 100.0;
    double lowest_ = 0.0;
    double lowestMz_ = 0.0;
    double highest_ = 0.0;
    double highestMz_ = 0.0;
    double base_ = 0.0;
    double retentionTime_ = 0.0;
    double total_ = 0.0;
    int firstScan_ = 0;
    bool loading_ = false;
    std::optional<Request> pending_;
    std::thread loader_;
    bool initialised_ = false;
};

}  // namespace zar
