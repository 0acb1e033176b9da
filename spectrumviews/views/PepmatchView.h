#pragma once
// The middle pane of the Pepmatch layout: the peptide sequence to test as a table of one row per
// residue and one column per fragment-ion series, the Pepmatch options, and the buttons that
// edit the sequence, set the options and run the fragment-ion engine against the scan shown.
// The table is exported to a workbook and printed.

#include "app/ZarViewWidget.h"
#include "controls/DialogBase.h"
#include "databases/views/SequenceEditorDlg.h"
#include "spectrumviews/PepmatchData.h"

#include <QString>

#include <memory>

class QMenu;
class QPushButton;

namespace zar {

class CIonListGrid;
class CPepmatchOptionsDlg;

class CPepmatchView : public CZarViewWidget, public CControlTable, public CSequenceEditorView {
    Q_OBJECT
  public:
    static constexpr int kFormId = 9051;
    static constexpr int kSequenceId = 9052;
    static constexpr int kOptionsId = 9053;
    static constexpr int kUpdateId = 9054;
    static constexpr int kGridId = 9055;
    static constexpr int kContextMenuId = 9273;
    static constexpr int kMinimumRows = 25;
    static constexpr int kRowHeaderWidth = 25;
    static constexpr int kResidueColumnWidth = 30;
    static constexpr int kIonColumnWidth = 54;
    static constexpr int kNarrowestIonColumn = 30;
    enum Command : int {
        ID_SELECT_IONS_ALL = 9274,
        ID_SELECT_IONS_NONE = 9275,
        ID_SELECT_IONS_DEFAULT = 9276,
        ID_EXPORT_EXCEL = 9230,
        ID_EXPORT_XML = 9232,
    };

    explicit CPepmatchView(QWidget* parent = nullptr);
    ~CPepmatchView() override;
    const char* ViewClassName() const override { return "CPepmatchView"; }

    void OnInitialUpdate() override;
    void OnUpdate(CZarView* sender, int hint) override;
    // The table prints through the grid: File > Print, Page Setup, Page Header and Footer.
    CGXGridWnd* PrintableGrid() const override;
    QString PrintTitle() const override { return QStringLiteral("Pepmatch"); }

    // CSequenceEditorView: the editor stored a new sequence in the document.
    void TakeDocumentSequence() override { FillSelectIonsGrid(); }
    // Options and Update together.
    void EnableButtons(bool enable) override;
    void EnableOptionsButton(bool enable);

    // Takes the document's sequence and writes its residues and "M + H" values.
    void FillSelectIonsGrid();
    void SetGridRows(int length);
    void FitGrid(int cx, int cy);
    void FitGridColumns();
    // The width of the grid's cells area (without the row headers, a scroll bar or the frame).
    int GridClientWidth() const;
    // Runs the fragment-ion engine on the sequence and options against the scan shown.
    void CalculatePepmatch();

    void OnSequence();
    void OnOptions();
    void OnSelectIonsAll();
    void OnSelectIonsDefault();
    void OnSelectIonsNone();
    void OnExportExcel();
    void OnCommand(int id);
    bool IsCommandEnabled(int id) const;
    std::unique_ptr<QMenu> BuildContextMenu();

    const PepmatchOptions& Options() const { return options_; }
    PepmatchOptions& Options() { return options_; }
    QString Sequence() const { return sequence_; }
    CIonListGrid* Grid() const { return grid_; }
    CPepmatchOptionsDlg* OptionsDialog() const { return optionsDlg_.get(); }
    CSequenceEditorDlg* SequenceEditor() const { return editor_.get(); }
    QPushButton* Button(int id) const;

  protected:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void updateSelectionInDialog();

    std::unique_ptr<CPepmatchOptionsDlg> optionsDlg_;
    CIonListGrid* grid_;
    std::unique_ptr<CSequenceEditorDlg> editor_;
    PepmatchOptions options_;
    QString sequence_;
    int rowCount_ = kMinimumRows;
    bool gridReady_ = false;
    bool busy_ = false;
};

// Options of a new Pepmatch view: blue labels, 2 % threshold, overwrite, average masses, the
// default series.
PepmatchOptions DefaultPepmatchOptions();

}  // namespace zar
