#pragma once
// The printed reports of the protein coverage and retrieve views as lines of text: the entry's
// texts, the protein one residue line at a time with its covered (or peptide) residues bold,
// and for coverage the table of peptides with the totals. The views draw the lines on pages.

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace zar {

// Residues of a printed sequence line by page orientation.
constexpr int kReportResiduesPortrait = 50;
constexpr int kReportResiduesLandscape = 100;

struct ReportLine {
    QString text;
    // A line of residues: printed one at a time, a character's width apart, one more after
    // every tenth; bold[i] marks residue i.
    bool residues = false;
    std::vector<bool> bold;
};

struct CoveragePeptideRow {
    QString peptide;
    double mass = 0.0;
    double percentOfMass = 0.0;
    QString position;  // "%d - %d", 1-based
    double percentOfLength = 0.0;
};

struct CoverageReport {
    QString reference;    // the reference edit's text
    QStringList statics;  // database, amino acids, protein mass
    std::string sequence;
    std::vector<CoveragePeptideRow> peptides;
    double coveredMass = 0.0;
    double coveredMassPercent = 0.0;
    double coveredResidues = 0.0;
    double coveredResiduePercent = 0.0;
};

struct RetrieveReport {
    QString peptide;
    QString reference;
    QStringList statics;  // database, amino acids, protein mass, position
    std::string sequence;
};

// Residues inside any of the "%d - %d" positions (1-based, inclusive), one flag per residue.
std::vector<bool> ResiduesInPositions(int length, const QStringList& positions);

std::vector<ReportLine> CoverageReportLines(const CoverageReport& report, int residuesPerLine);
// The peptide's first occurrence in the protein is bold.
std::vector<ReportLine> RetrieveReportLines(const RetrieveReport& report, int residuesPerLine);

}  // namespace zar
