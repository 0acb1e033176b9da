#pragma once
// The "Enzyme Editor" dialog (Tools > Enzyme Editor...): the 25 records of the document's
// enzyme table in a grid (name, offset, cleavage and blocking residues). OK writes every record
// back into the table and into the settings; Defaults reloads the built-in records into the
// table at once; Close keeps the grid's edits out of the table.

#include "controls/DialogBase.h"

namespace zar {

class CEnzymeGrid;
class CEnzymeTable;

class CEnzymeEditorDlg : public CDialogBase {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 8841;
    static constexpr int kGridId = 8842;
    static constexpr int kDefaultsId = 8721;
    static constexpr int kNameColumnMinWidth = 160;

    explicit CEnzymeEditorDlg(QWidget* parent = nullptr);

    // The table edited; not owned.
    void SetEnzymeTable(CEnzymeTable* table) { table_ = table; }

    void OnDefaults();
    void OnOK() override;
    // Column 1 takes the width the other columns leave, never less than kNameColumnMinWidth.
    void ResizeNameColumn();

    CEnzymeGrid* Grid() const { return grid_; }

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FillGrid();

    CEnzymeGrid* grid_;
    CEnzymeTable* table_ = nullptr;
    bool gridReady_ = false;
};

}  // namespace zar
