#pragma once
// Base of the retrieve and protein coverage views: a protein of the result's database shown as
// its description line, database, mass and length, and its sequence in a grid of ten-residue
// rich-text cells; the sequence copies to the clipboard and prints as a report.

#include "LookupFormView.h"

#include <string>
#include <vector>

class QGridLayout;
class QLabel;
class QLineEdit;

namespace zar {

class CSequenceGrid;
struct ProteinLookupResult;
struct ReportLine;
struct SequenceCell;

class CSequenceFormView : public CLookupFormView {
    Q_OBJECT
  public:
    static constexpr int kReferenceEditId = 8915;
    static constexpr int kDatabaseStaticId = 8916;
    static constexpr int kProteinMassStaticId = 8917;
    static constexpr int kAminoAcidsStaticId = 8918;
    static constexpr int kSequenceGridId = 8920;

    CSequenceFormView(CResultsWindow* owner, QWidget* parent, int initialRows);

    // 0x409E: grows the sequence grid (rows only grow).
    void SetRowCount(WPARAM rows, LPARAM second) override;

    CSequenceGrid* SequenceGrid() const { return sequenceGrid_; }
    QLineEdit* ReferenceEdit() const { return referenceEdit_; }
    QString DatabaseText() const;
    QString ProteinMassText() const;
    QString AminoAcidsText() const;
    const std::string& ProteinSequence() const { return sequence_; }
    int RowCount() const { return rowCount_; }

    // Draws report lines on the printer's pages (the document's page header and footer on
    // each); returns the pages printed.
    static int PrintReportLines(QPrinter& printer, const std::vector<ReportLine>& lines,
                                const QString& footer);
    // Residues of a printed sequence line for the printer's orientation.
    static int ResiduesPerLine(const QPrinter& printer);

  protected:
    QString ClipboardSequence() const override { return QString::fromStdString(sequence_); }
    // The form's controls in a grid layout; the subclass adds its own below `row`.
    QGridLayout* Form() const { return form_; }
    void SetUpSequenceGrid();
    void GrowRows(int rows);
    // Empties the statics, the edit, the sequence and the grid.
    void ClearProtein();
    // The protein of a look-up: description, statics, sequence and its plain cells.
    void ShowFoundProtein(const ProteinLookupResult& result);
    void WriteCells(const std::vector<SequenceCell>& cells);
    QStringList StaticTexts() const;

    QLineEdit* referenceEdit_;
    QLabel* database_;
    QLabel* aminoAcids_;
    QLabel* proteinMass_;
    CSequenceGrid* sequenceGrid_;

  private:
    QGridLayout* form_;
    std::string sequence_;
    int rowCount_;
    bool gridReady_ = false;
};

}  // namespace zar
