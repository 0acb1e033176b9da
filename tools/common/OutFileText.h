#pragma once
// The ".out" text of one searched spectrum, in the layout the result readers read: the header
// lines (file, program, time, masses, database, ion series, modifications), the column titles,
// the hit lines and the description lines of the references. The search-engine form ranks its
// hits by XCorr; the peptide-mapping form lists each hit's protein number and score.

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace zar {

struct OutFileHeader {
    QString fileName;  // line 2: "base.first.last.charge.out"
    QString program;   // line 3 without its leading blank: "TurboSORVEX v.27 (rev. 11), ..."
    QString line4;     // lines 4 and 5, free text
    QString line5;
    QString date;  // "01/15/2026, 10:00 AM"
    int seconds = 1;
    QString host;
    double precursorMH = 0.0;
    double precursorTolerance = 0.0;
    int charge = 0;
    double fragmentTolerance = 0.0;
    bool monoPrecursor = true;
    bool monoFragments = true;
    double totalIntensity = 0.0;
    double lowestSp = 0.0;
    int matchedPeptides = 0;
    qint64 aminoAcids = 0;
    int proteins = 0;
    QString database;
    // The three neutral-loss switches and nine weights, as "0 1 1 0.0 1.0 0.0 ...".
    QString ionSeries = QStringLiteral("0 1 1 0.0 1.0 0.0 0.0 0.0 0.0 0.0 1.0 0.0");
    int displayTop = 10;
    int displayDescriptions = 5;
    double ionPercent = 0.0;
    QString code = QStringLiteral("001040");
    // Line 12: "(M* +15.9949) (STY# +79.9663) C=160.0307 +Nterm-pep=42.0106"; may be empty.
    QString modifications;
    // Ends line 12 as "Enzyme: Trypsin". The name goes without its residues: a "(" there would
    // be read as a differential modification.
    QString enzyme = QStringLiteral("No_Enzyme");
};

struct OutFileHit {
    QString reference;
    int furtherReferences = 0;     // written "+N" after the reference (peptide mapping: before)
    QStringList otherReferences;   // continuation lines under the hit
    QString peptide;               // "K.PEPTIDEK.R"
    double mh = 0.0;               // (M+H)+ of the peptide
    double deltaCn = 0.0;
    double xcorr = 0.0;
    double sp = 0.0;               // peptide mapping: the score
    int spRank = 0;
    int ionsMatched = 0;
    int ionsTotal = 0;
    int proteinNumber = 0;         // peptide mapping: entry number in the database
    int rank = 0;                  // by XCorr, equal scores sharing one; 0: the line number
};

// Search-engine file: hits in XCorr order, ranked 1, 2, ... in that order.
QString SearchOutText(const OutFileHeader& header, const std::vector<OutFileHit>& hits,
                      const QStringList& descriptions = {});
// Peptide-mapping file: hits in score order.
QString MassmapOutText(const OutFileHeader& header, const std::vector<OutFileHit>& hits,
                       const QStringList& descriptions = {});

// The description lines of the first `count` distinct references of the hits that have one
// ("  1.  P02769|ALBU_BOVIN Serum albumin ...").
QStringList DescriptionLines(const std::vector<OutFileHit>& hits,
                             const QHash<QString, QString>& descriptions, int count);

// The reference of a FASTA header: its first word.
QString FastaReference(const QString& header);

// The modifications line: differential groups "(M* +15.9949)", then static residues
// "C=160.0307" and terminal additions "+Nterm-pep=42.0106".
struct OutModifications {
    struct Differential {
        QString residues;
        QChar symbol;
        double mass = 0.0;
    };
    struct Static {
        QChar residue;
        double residueMass = 0.0;  // the modified residue's mass
    };
    std::vector<Differential> differential;
    std::vector<Static> residues;
    double nTermPeptide = 0.0;
    double cTermPeptide = 0.0;
    double nTermProtein = 0.0;
    double cTermProtein = 0.0;
};
QString OutModificationsLine(const OutModifications& modifications);

}  // namespace zar
