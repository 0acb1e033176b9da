#pragma once
// The User Trace Manager: up to ten trace definitions in a checked list, edited one at a time
// (detector, plot type, scan filter, ranges, delay, smoothing, title) and validated before the
// selection moves, the order changes or the dialog closes. It works on a copy; the caller takes
// the definitions back with GetTraces after OK.

#include "controls/DialogBase.h"
#include "fileio/VXChro.h"

#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace zar {

class CDoubleEditCtrl;
class CIntEditCtrl;

class CUserTraceDialog : public CDialogBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 8532;
    static constexpr int kRows = CVXUserTraceDefWrapper::kMaxTraces;
    static constexpr int kSmoothingMin = 1;
    static constexpr int kSmoothingMax = 15;
    static constexpr double kDelayLimit = 5.0;

    explicit CUserTraceDialog(QWidget* parent = nullptr);
    ~CUserTraceDialog() override;

    void SetTitle(const QString& title) { title_ = title; }
    // The scan filters of the run offered in the filter combo.
    void SetScanFilters(const QStringList& filters) { filters_ = filters; }
    void SetTraces(const CVXUserTraceDefWrapper& traces);
    // The non-empty definitions in list order; the destination holds exactly those.
    void GetTraces(CVXUserTraceDefWrapper& traces) const;

    // What the controls do (public so the dialog can be driven without a screen).
    bool ValidateSelected(bool rangesRequired);
    void OnDetectorChanged(int index);
    void OnPlotTypeChanged(int index);
    void OnListClick(int row, bool onCheckBox);
    void OnMoveUp();
    void OnMoveDown();
    void OnFieldChanged();
    void OnRangesChanged();
    void OnSmoothingChanged();
    void OnOK() override;

    int SelectedRow() const { return selected_; }
    const CVXUserTraceDef& Definition(int row) const { return defs_[row]; }
    QString RowText(int row, int column) const;
    bool RowChecked(int row) const;
    QComboBox* DetectorCombo() const { return detector_; }
    QComboBox* PlotTypeCombo() const { return plotType_; }
    QComboBox* FilterCombo() const { return filter_; }
    QLineEdit* RangeEdit() const { return ranges_; }
    QLineEdit* TitleEdit() const { return titleEdit_; }
    CDoubleEditCtrl* DelayEdit() const { return delayEdit_; }
    CIntEditCtrl* SmoothingEdit() const { return smoothingEdit_; }
    QPushButton* UpButton() const { return up_; }
    QPushButton* DownButton() const { return down_; }
    QLabel* RangeLabel() const { return rangeLabel_; }

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;

  private:
    void ShowSelectedDefinition();
    void UpdateControlState();
    void WriteRow(int row);
    void WriteAllRows();
    void FillPlotTypes(int detector);
    void Move(int by);

    std::vector<CVXUserTraceDef> defs_;
    int selected_ = 0;
    QString title_;
    QStringList filters_;
    // Field members.
    double delay_ = 0.0;
    QString traceTitle_;
    QString rangeText_;
    int smoothing_ = 1;

    QComboBox* detector_;
    QComboBox* plotType_;
    QComboBox* filter_;
    QTableWidget* list_;
    CDoubleEditCtrl* delayEdit_;
    QLineEdit* titleEdit_;
    QLineEdit* ranges_;
    CIntEditCtrl* smoothingEdit_;
    QPushButton* up_;
    QPushButton* down_;
    QLabel* rangeLabel_;
};

}  // namespace zar
