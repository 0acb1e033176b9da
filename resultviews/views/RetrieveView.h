#pragma once
// The results window's "Retrieve Sequence" view: the protein of the result's database whose
// description holds the hit's reference, with the hit's peptide in red in its ten-residue
// cells and the peptide's position, found by a look-up behind the Database Status dialog.

#include "SequenceFormView.h"

namespace zar {

class CRetrieveView : public CSequenceFormView {
    Q_OBJECT
  public:
    static constexpr int kResultsViewType = 2;
    static constexpr int kFormId = 8913;
    static constexpr int kSequenceEditId = 8914;
    static constexpr int kPositionStaticId = 8919;
    static constexpr int kInitialRows = 50;

    explicit CRetrieveView(CResultsWindow* owner, QWidget* parent = nullptr);

    void OnInitialUpdate() override { SetUpSequenceGrid(); }
    void Display(const SelectedResult& item) override { RetrieveSequence(item); }
    void ReadingFrameChanged(const SelectedResult& item) override { RetrieveSequence(item); }
    // Looks up the protein of the result's reference and the position of its peptide.
    void RetrieveSequence(const SelectedResult& item);

    // CDatabaseLookupView
    HitNumber GetLookupHit() const override { return hit_; }
    QString GetLookupPeptide() const override { return peptide_; }
    QString GetLookupReference() const override { return reference_; }

    int PrintReport(QPrinter& printer) override;
    std::vector<ReportLine> ReportLines(int residuesPerLine) const;

    QString Peptide() const { return peptide_; }
    QString Reference() const { return reference_; }
    QLineEdit* SequenceEdit() const { return sequenceEdit_; }
    QString PositionText() const;

  protected:
    QString BlastSequence() const override { return peptide_; }
    QString SwissProtText() const override { return reference_; }
    void OnSearchResult(std::any& result) override;

  private:
    QLineEdit* sequenceEdit_;
    QLabel* position_;
    QString peptide_;
    QString reference_;
    HitNumber hit_;
};

}  // namespace zar
