#pragma once
// The "Display Ions" page of the results window: for the opened hit, the theoretical ions of
// its peptide in the hit's own series (a, b, y) for one charge beside the hit's ".dta"
// spectrum with those ions marked, a
// charge selector, a scroll bar that pans the spectrum and a segment display of the residues in
// the shown mass range. The ions are computed on a worker that posts its result back.

#include "PlotPane.h"
#include "databases/DatabaseSearch.h"
#include "fileio/VXSpectrum.h"
#include "messages/Messages.h"
#include "plot/typelib/ZarPlotTypes.h"
#include "resultviews/ResultsFormView.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

class QComboBox;
class QLabel;
class QPainter;
class QPrinter;
class QScrollBar;

namespace zar {

class CDisplayIonsGrid;
class CSegmentCtrl;
class CSpec;

// What the worker brings back: the ion table for the charge and the ".dta" peaks.
struct DisplayIonsResult {
    int charge = 1;
    bool ionsOk = false;
    DtaIonResult ions;
    std::vector<DtaPeak> peaks;
};

class CDisplayIonsView : public CResultsFormView, public CPlotPane {
    Q_OBJECT
  public:
    static constexpr int kResultsViewType = 5;
    static constexpr int kFormId = 8930;
    static constexpr int kInitialRows = 25;
    static constexpr int kChargeCount = 5;
    static constexpr int kIonColumnWidth = 100;
    // Pens of the marked ions: black, blue, red, green (COLORREF).
    static constexpr std::uint32_t kIonPens[4] = {0x00000000, 0x00FF0000, 0x000000FF, 0x0000FF00};

    explicit CDisplayIonsView(CResultsWindow* owner, QWidget* parent = nullptr);
    ~CDisplayIonsView() override;

    void OnInitialUpdate() override;
    void Display(const SelectedResult& item) override { SetDtaFile(item); }
    void SetRowCount(WPARAM rows, LPARAM second) override;
    void SetIonsValue(double precursor) override { precursor_ = precursor; }

    void SetDtaFile(const SelectedResult& item, const QString& sequence = QString());
    void LoadDtaFile(int kind, HitNumber hit, const QString& sequence);
    void FillIonsGrid(int rows);
    void SetMassList(const std::vector<double>& masses);
    void OnSelChangeCharge(int index);
    void OnHScroll(ScrollStep step, int position) { OnMassScroll(step, position); }
    void ScrollSpectrum(int position, int page) { ShowMassPercent(position, page); }
    void UpdateScrollBar() { UpdateMassScrollBar(); }
    void UpdateSegmentControl(double low, double high);
    void OnCommand(int id);
    void PrintPage(QPainter& painter, const QRect& page, int dpiX, int dpiY, bool landscape);
    // The ion table and the spectrum on one page of the printer; false when printing failed.
    bool PrintReport(QPrinter& printer);
    // File > Print is always offered.
    bool IsCommandEnabled(int id) const override;

    // For checks: waits until no worker runs and its result was taken (false on time-out).
    bool WaitUntilIdle(int milliseconds);
    bool IsBusy() const { return busy_; }
    CDisplayIonsGrid* Grid() const { return grid_; }
    QComboBox* ChargeCombo() const { return charge_; }
    CSegmentCtrl* SegmentControl() const { return segments_; }
    QScrollBar* ScrollBar() const { return scrollBar_; }
    QString DtaFileText() const;
    QString PrecursorText() const;
    QString MassTypeText() const;
    QString Heading() const { return heading_; }
    QString Peptide() const { return peptide_; }
    int SelectedCharge() const { return selectedCharge_; }
    int RowCount() const { return rowCount_; }
    const std::vector<ZAR_PLOTLib::VXPlot_PeakInfo>& PeakInfos() const { return infos_; }
    const std::vector<DtaPeak>& Peaks() const { return peaks_; }
    const CVXSpecDisplay& DisplayOptions() const { return display_; }
    double LowMass() const { return lowMass_; }
    double HighMass() const { return highMass_; }

    void SendSpectrumToControl(CSpec& control) override;
    // The zoom commands of the page.
    std::unique_ptr<QMenu> BuildContextMenu() override;

  protected:
    const CVXSpec& PlotSpectrum() const override { return spectrum_; }
    CVXSpecDisplay* ZoomDisplay() const override { return &display_; }
    PlotRange FullMassRange() const override { return {lowMass_, highMass_}; }
    void OnMassRangeShown(double low, double high) override { UpdateSegmentControl(low, high); }

  private:
    struct Request {
        int kind = 0;
        HitNumber hit;
        QString sequence;
    };
    void startWorker(const Request& request);
    void takeResult(DisplayIonsResult result);
    void showSpectrum();

    QComboBox* charge_;
    QLabel* dtaFile_;
    QLabel* precursorLabel_;
    QLabel* massTypeLabel_;
    CDisplayIonsGrid* grid_;
    CSegmentCtrl* segments_;
    QScrollBar* scrollBar_;
    MessageReceiver* receiver_;

    std::vector<DtaPeak> peaks_;
    CVXSpec spectrum_;  // the peaks and their ranges, as the zoom and the peak pick read them
    std::vector<IonLabel> ions_;
    std::vector<ZAR_PLOTLib::VXPlot_PeakInfo> infos_;
    std::vector<double> massList_;
    mutable CVXSpecDisplay display_;
    int kind_ = 0;
    HitNumber hit_;
    QString sequenceOverride_;
    QString peptide_;
    QString heading_;
    int selectedCharge_ = 1;
    int chargeCount_ = 0;
    int firstScan_ = 0;
    int lastScan_ = 0;
    double firstTime_ = 0.0;
    double lastTime_ = 0.0;
    double lowMass_ = 0.0;
    double highMass_ = 0.0;
    double smallest_ = 0.0;
    double largest_ = 0.0;
    double total_ = 0.0;
    double precursor_ = 0.0;
    int rowCount_ = kInitialRows;
    bool segmentsInitialised_ = false;

    bool busy_ = false;
    std::optional<Request> pending_;
    std::thread worker_;
};

}  // namespace zar
