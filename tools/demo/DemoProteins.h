#pragma once
// The proteins of the demo data set: a few well-known standard proteins that the synthetic run
// is made of, their reversed decoys and some background entries, as the demo FASTA holds them.

#include <QString>

#include <vector>

namespace zar {

struct DemoProtein {
    QString reference;    // the FASTA header's first word, as hit lines name it
    QString description;  // the rest of the header
    QString sequence;
    bool target = true;      // part of the sample (false: decoy or background)
    double abundance = 0.0;  // relative amount in the sample (targets only)
};

// The sample's proteins: bovine serum albumin, horse myoglobin, horse cytochrome c, chicken
// lysozyme and bovine ubiquitin (mature chains).
std::vector<DemoProtein> DemoTargetProteins();

// The whole database: the targets, then a reversed decoy of each, then background proteins
// made from a fixed seed, each also with its reversed decoy.
std::vector<DemoProtein> DemoDatabaseProteins();

// FASTA text of the proteins, 60 residues a line.
QString DemoFastaText(const std::vector<DemoProtein>& proteins);

// Index of the target named by its reference in DemoTargetProteins(), -1 when none.
int DemoTargetIndex(const QString& reference);

}  // namespace zar
