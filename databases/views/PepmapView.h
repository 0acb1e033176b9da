#pragma once
// The lower pane of the Pepmap layout: the Pepmap engine's peptides as a table (label, from, to,
// M+nH, matched time or scan, residues with the bonded cysteines in blue), with the buttons that
// drive the feature: Sequence (the Sequence Editor), Options (the Pepmap Options dialog) and
// Update (a Pepmap run with its status window). A click on a title sorts the table.

#include "SequenceEditorDlg.h"

#include "ZarViewWidget.h"
#include "grids/ListGrids.h"

#include <QString>

#include <memory>

class QPushButton;

namespace zar {

class CPepmapEngine;
class CPepmapStatusDlg;
class CPepmapPeptide;

class CPepmapView : public CZarViewWidget, public CPepmapGridOwner, public CSequenceEditorView {
    Q_OBJECT
  public:
    static constexpr const char* kClassName = "CPepmapView";
    static constexpr int kTemplateId = 9104;
    static constexpr int kSequenceId = 9107;
    static constexpr int kGridId = 9108;
    static constexpr int kOptionsId = 9109;
    static constexpr int kUpdateId = 9110;
    static constexpr int kMinRows = 50;
    static constexpr int kColumns = 6;
    // The charge n of the M+nH column.
    static constexpr int kCharge = 1;

    explicit CPepmapView(QWidget* parent = nullptr);
    ~CPepmapView() override;
    const char* ViewClassName() const override { return kClassName; }
    void OnInitialUpdate() override;
    void OnUpdate(CZarView* sender, int hint) override;

    // CPepmapGridOwner
    int PeptideCount() const override;
    void SortPeptides(int mode) override;
    // CSequenceEditorView
    void TakeDocumentSequence() override;
    void EnableButtons(bool enable) override;

    void OnSequence();
    void OnOptions();
    // "&Update...": a new run with its status window. A digest of very many rows is put to the
    // user first, who may bound it.
    void OnRunPepmap();
    // Fills the table from the engine (update hint 68).
    void FillGrid();
    int OnExportExcel(QString* outputPath = nullptr);
    // While the Pepmap Options dialog is open, Sequence and Options are disabled.
    void SetOptionsDialogOpen(bool open);

    CPepmapGrid* Grid() const { return grid_; }
    CGXGridWnd* PrintableGrid() const override;
    QString PrintTitle() const override { return QStringLiteral("Pepmap"); }
    QPushButton* SequenceButton() const { return sequenceButton_; }
    QPushButton* OptionsButton() const { return optionsButton_; }
    QPushButton* UpdateButton() const { return updateButton_; }
    QString Sequence() const { return sequence_; }
    CSequenceEditorDlg* SequenceEditor() const { return editor_.get(); }
    CPepmapStatusDlg* StatusDialog() const { return status_.get(); }
    // The residues of a row as the table shows them: rich text, and its plain form.
    static QString SequenceCellHtml(const CPepmapPeptide& row, const QString& protein,
                                    bool neighbours);
    static QString SequenceCellText(const CPepmapPeptide& row, const QString& protein,
                                    bool neighbours);

  protected:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    CPepmapEngine* engine() const;
    void fitColumns();
    void showContextMenu();
    // Asks about a digest of very many rows; false when the user cancels the run.
    bool confirmLargeDigest(CPepmapEngine& engine);

    CPepmapGrid* grid_;
    QPushButton* sequenceButton_;
    QPushButton* optionsButton_;
    QPushButton* updateButton_;
    std::unique_ptr<CPepmapStatusDlg> status_;
    std::unique_ptr<CSequenceEditorDlg> editor_;
    QString sequence_;
    int rows_ = kMinRows;
    bool initialised_ = false;
    bool optionsOpen_ = false;
};

}  // namespace zar
