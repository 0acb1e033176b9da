#pragma once
// The "Select Ions" page of the results window: the theoretical singly charged fragment ions of
// a peptide, per residue, for the chosen mass type and ion series. The sequence is typed or
// taken from the hit the window shows; Update fills the table, which is exported to a workbook
// and printed.

#include "IonSeriesBoxes.h"
#include "spectrumviews/FragmentIons.h"
#include "resultviews/ResultsFormView.h"

#include <QString>

#include <memory>

class QButtonGroup;
class QLineEdit;
class QMenu;

namespace zar {

class CControlTable;
class CIonListGrid;

class CSelectIonsView : public CResultsFormView {
    Q_OBJECT
  public:
    static constexpr int kResultsViewType = 8;
    static constexpr int kFormId = 9033;
    static constexpr int kSequenceId = 9012;
    static constexpr int kUpdateId = 9034;
    static constexpr int kGridId = 9035;
    static constexpr int kContextMenuId = 9249;
    static constexpr int kInitialRows = 50;
    static constexpr int kResidueColumnWidth = 30;
    static constexpr int kIonColumnWidth = 60;
    static constexpr int kPrintCommand = 57607;
    enum Command : int {
        ID_SELECT_ALL = 9250,
        ID_SELECT_NONE = 9251,
        ID_SELECT_DEFAULT = 9252,
        ID_EXPORT_EXCEL = 9230,
        ID_EXPORT_XML = 9232,
        ID_EXPORT_XML_OTHER = 9233,
    };

    explicit CSelectIonsView(CResultsWindow* owner, QWidget* parent = nullptr);
    ~CSelectIonsView() override;

    void OnInitialUpdate() override;
    // The window shows a hit: its peptide becomes the sequence.
    void Display(const SelectedResult& item) override;
    void OnCommand(int id) override;
    bool IsCommandEnabled(int id) const override;

    // Takes the peptide of a hit (kind 1 search results, 2 peptide mapping; hit by its record
    // index) with its mass type, and writes its residues; the ions follow on Update.
    void ShowSequenceIons(int kind, HitNumber hit);
    void OnUpdateIons();
    void OnSelectAll();
    void OnSelectDefault();
    void OnSelectNone();
    void OnExportExcel();
    void GrowGrid(int rows);
    std::unique_ptr<QMenu> BuildContextMenu();
    bool UpdateData(bool saveAndValidate);

    QString sequence;
    int massType = 0;  // 0 average, 1 monoisotopic
    SeriesFlags series = DefaultSeriesFlags();

    CIonListGrid* Grid() const { return grid_; }
    QLineEdit* SequenceEdit() const { return sequenceEdit_; }
    int RowCapacity() const { return rowCapacity_; }
    HitNumber ShownHit() const { return hit_; }
    QWidget* Control(int id) const;

  protected:
    bool event(QEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void writeResidues();
    // The ions of the sequence in the chosen series and mass type; false without an engine.
    bool calculateIons();
    void print();

    std::unique_ptr<CControlTable> controls_;
    QLineEdit* sequenceEdit_;
    QButtonGroup* massTypeGroup_;
    IonSeriesBoxes boxes_;
    CIonListGrid* grid_;
    HitNumber hit_;
    // The static modifications of the shown hit's search, which its ions carry.
    ResidueMassShifts staticShifts_;
    TerminalMassShifts terminalShifts_;
    int rowCapacity_ = kInitialRows;
    bool setUp_ = false;
};

}  // namespace zar
