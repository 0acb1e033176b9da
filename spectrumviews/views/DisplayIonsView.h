#pragma once
// The "Display Ions" page of the results window: for the opened hit, the theoretical ions of
// its peptide in the hit's own series (a, b, y) for one charge beside the hit's ".dta"
// spectrum with those ions marked, a
// charge selector, a scroll bar that pans the spectrum and a segment display of the residues in
// the shown mass range. The ions are computed on a worker that posts its result back.

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

class CDisplayIonsView : public CResultsFormView {
    Q_OBJECT
  public:
    static constexpr int kResultsViewType = 5;
    static constexpr int kFormId = 8930;
    static constexpr int kInitialRows = 25;
    static constexpr int kChargeCount = 5;
    static constexpr int kIonColumnWidth = 100;
    static constexpr double kZoomFactor = 2.0;
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
    enum ScrollCode {
        kLineLeft = 0,
        kLineRight = 1,
        kPageLeft = 2,
        kPageRight = 3,
        kThumbPosition = 4,
        kThumbTrack = 5
    };
    void OnHScroll(int code, int position);
    void ScrollSpectrum(int position, int page);
    void UpdateScrollBar();
    void UpdateSegmentControl(double low, double high);
    void OnCommand(int id);
    void OnSpecZoom(bool valid, double startMass, double startIntensity, double endMass,
                    double endIntensity);
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
    CSpec* Control() const { return control_.get(); }
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

  private:
    struct Request {
        int kind = 0;
        HitNumber hit;
        QString sequence;
    };
    void startWorker(const Request& request);
    void takeResult(DisplayIonsResult result);
    void showSpectrum();
    void sendSpectrumToControl(CSpec& control);
    void applyAxisLimits(CSpec& control);
    void applyXZoomFollowUps();
    void guarded(const char* what, const std::function<void()>& action);

    QComboBox* charge_;
    QLabel* dtaFile_;
    QLabel* precursorLabel_;
    QLabel* massTypeLabel_;
    CDisplayIonsGrid* grid_;
    CSegmentCtrl* segments_;
    QScrollBar* scrollBar_;
    std::unique_ptr<CSpec> control_;
    MessageReceiver* receiver_;

    std::vector<DtaPeak> peaks_;
    std::vector<IonLabel> ions_;
    std::vector<ZAR_PLOTLib::VXPlot_PeakInfo> infos_;
    std::vector<double> massList_;
    CVXSpecDisplay display_;
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
