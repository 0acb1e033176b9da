#pragma once
// The results window's "Blast Results" view: the proteins of the result's database that contain
// the hit's peptide, one grid row each (reference, sequence, mass, position), found by a look-up
// behind the Database Status dialog. From it the peptide goes to an NCBI BLAST search and the
// reference to the Swiss-Prot searches in the web browser; a row's sequence goes to the
// clipboard; a click on a row retrieves that protein.

#include "LookupFormView.h"
#include "app/grids/ResultGrids.h"

class QLabel;

namespace zar {

class CBlastView : public CLookupFormView, public CBlastGridOwner {
    Q_OBJECT
  public:
    static constexpr int kResultsViewType = 1;
    static constexpr int kFormId = 8908;
    static constexpr int kGridId = 8909;
    static constexpr int kDatabaseStaticId = 8910;
    static constexpr int kMinRows = 50;
    // Rows added at a time when more proteins match than the grid has rows.
    static constexpr int kRowGrowth = 10;

    explicit CBlastView(CResultsWindow* owner, QWidget* parent = nullptr);

    void OnInitialUpdate() override;
    void Display(const SelectedResult& item) override {
        StartDatabaseSearch(item, item.furtherReferences + 1);
    }
    void ReadingFrameChanged(const SelectedResult& item) override {
        StartDatabaseSearch(item, item.furtherReferences + 1);
    }
    // Looks up the proteins that contain the result's peptide; `rows` (above 0) is the number
    // of rows the grid starts with, at least kMinRows.
    void StartDatabaseSearch(const SelectedResult& item, int rows);

    // CBlastGridOwner
    HitNumber GetShownHit() const override { return hit_; }
    int GetResultKind() const override { return kind_; }

    // CDatabaseLookupView
    HitNumber GetLookupHit() const override { return hit_; }
    QString GetLookupPeptide() const override { return sequence_; }
    QString GetLookupReference() const override { return reference_; }

    int PrintReport(QPrinter& printer) override;

    CBlastGrid* Grid() const { return grid_; }
    QString Sequence() const { return sequence_; }
    QString Reference() const { return reference_; }
    QString DatabaseText() const;
    // Rows filled by the last look-up.
    int HitRows() const { return hitRows_; }

  protected:
    QString BlastSequence() const override { return sequence_; }
    QString SwissProtText() const override { return reference_; }
    // The sequence of the row last pressed.
    QString ClipboardSequence() const override;
    void OnSearchResult(std::any& result) override;

  private:
    QLabel* database_;
    CBlastGrid* grid_;
    QString sequence_;
    QString reference_;
    HitNumber hit_;
    int hitRows_ = 0;
    bool initialised_ = false;
};

}  // namespace zar
