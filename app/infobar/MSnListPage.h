#pragma once
// The "MSn Browser" page of the Info Bar: the MS3 experiments of the open run within a time
// range, one row per pair of precursors. A click on a row, or Use Selected Items for several,
// gathers the scans of the chosen experiments (their MS3 scans and the MS2 scans of their first
// precursor) and hands them, in scan order, to the document's de novo loader.

#include "SheetPage.h"
#include "grids/ListGrids.h"
#include "MSnPrecursorList.h"

#include <QString>

#include <optional>
#include <vector>

class QCheckBox;
class QLabel;

namespace zar {

class CDoubleRangeEditCtrl;

// One listed MS3 experiment.
struct MSnExperimentRow {
    QString label;
    double firstMz = 0.0;
    double secondMz = 0.0;
};

class CMSnListPage : public CSheetPage, public CMSnListGridOwner {
    Q_OBJECT
  public:
    static constexpr int kInitialRows = 50;
    static constexpr int kExperimentColumnWidth = 180;
    // How far a label's precursor may lie from an experiment's (both bounds included).
    static constexpr double kLabelTolerance = 0.05;

    explicit CMSnListPage(QWidget* parent = nullptr);

    ~CMSnListPage() override;
    bool OnInitDialog() override;

    // The run's time range (minutes): the range and the edit's limits; the list stays.
    void SetTimeRange(double start, double end);
    // The chromatogram's range: followed only while Track is checked; the list is refilled.
    void Update(double start, double end);
    // The document has a new experiment list: the list is built again.
    void Refresh();
    // Hands the current selected-scan list to the document again (after the de novo settings
    // changed).
    void ParseScanList();

    // Lists the experiments of the range the edit shows; an edit that holds no valid range is
    // given the range listed.
    void FillList();
    // The user finished typing a range: a valid one is listed, any other is refused with a
    // message and the list stays as it is.
    void OnRangeEdited();
    void OnUseSelectedItems();
    void OnSelectAll();
    void OnSelectNone();
    void OnTrack();

    // The experiment label of a pair of precursors with their energies.
    static QString ExperimentLabel(const MSnPrecursorGroup& experiment);
    // The scans of the experiments a label names, appended to scans: the MS3 scans of the pair
    // and the MS2 scans of its first precursor, whatever their time. False when the label names
    // no precursors.
    static bool CollectScans(const QString& label, const std::vector<MSnPrecursorGroup>& experiments,
                             std::vector<MSnScanEntry>& scans);
    // By scan number; a scan gathered twice (two rows sharing a first precursor) is kept once.
    static void SortScans(std::vector<MSnScanEntry>& scans);

    // CMSnListGridOwner
    void ShowExperimentScans(int row) override;

    CMSnListGrid* Grid() const { return grid_; }
    CDoubleRangeEditCtrl* RangeEdit() const { return range_; }
    QCheckBox* TrackBox() const { return trackBox_; }
    bool Track() const { return track_; }
    double RangeStart() const { return start_; }
    double RangeEnd() const { return end_; }
    int RowCount() const { return rowCount_; }
    const std::vector<MSnExperimentRow>& Rows() const { return rows_; }
    // The scans last handed to the document; empty before the first hand-over.
    const std::optional<std::vector<MSnScanEntry>>& SelectedScans() const { return selected_; }

    void FitColumns() override;

  protected:
    void DoDataExchange(CDataExchange& dx) override;
    // Use Selected Items, Select All and Select None.
    void OnContextMenu(const QPoint& global) override;

  private:
    const std::vector<MSnPrecursorGroup>* experiments() const;
    void initRangeEdit();
    void handOver(std::vector<MSnScanEntry> scans);

    CMSnListGrid* grid_ = nullptr;
    CDoubleRangeEditCtrl* range_ = nullptr;
    QCheckBox* trackBox_ = nullptr;
    bool track_ = true;
    std::vector<MSnExperimentRow> rows_;
    std::optional<std::vector<MSnScanEntry>> selected_;
    double start_ = 0.0;
    double end_ = 0.0;
    double lower_ = 0.0;
    double upper_ = 0.0;
    int rowCount_ = kInitialRows;
    int labelWidth_ = 0;
    bool initialised_ = false;
};

}  // namespace zar
