#pragma once
// Comet's tab-separated output ("output_txtfile"): a version line, a line of column names, then
// one line per hit. Columns are found by name, so the order of a later Comet does not matter.

#include <QString>
#include <QStringList>

#include <map>
#include <vector>

namespace zar {

struct CometHit {
    int scan = 0;
    int rank = 0;  // "num", 1 = best XCorr
    int charge = 0;
    double experimentalMass = 0.0;  // neutral
    double calculatedMass = 0.0;    // neutral
    double xcorr = 0.0;
    double deltaCn = 0.0;  // Comet's: to the next hit
    double sp = 0.0;
    int ionsMatched = 0;
    int ionsTotal = 0;
    QString peptide;          // residues only
    QString previousResidue;  // "-" at a protein end
    QString nextResidue;
    QStringList proteins;  // every protein that holds the peptide
    int proteinCount = 0;
    // "position_kind_mass" items: position from 1 (or N/C), V variable or S static.
    QStringList modifications;
};

class CCometResults {
  public:
    // Reads the file; false with a text when it cannot be read or lacks a needed column.
    bool read(const QString& path, QString& error);
    // The hits of a scan and charge, best first; empty when Comet reported none.
    const std::vector<CometHit>& hits(int scan, int charge) const;
    int scanCount() const { return static_cast<int>(hits_.size()); }
    QString version() const { return version_; }

  private:
    std::map<std::pair<int, int>, std::vector<CometHit>> hits_;
    QString version_;
};

}  // namespace zar
