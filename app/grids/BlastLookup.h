#pragma once
// The web look-ups in the user's web browser: BLAST of a peptide, Swiss-Prot of a protein
// reference.

#include <QString>
#include <QUrl>

namespace zar {

// The fixed query of every BLAST look-up.
extern const char* const kBlastQuery;

// base?SEQUENCE=peptide&PROGRAM=blastp&..., every part percent-encoded.
QUrl MakeBlastUrl(const QString& base, const QString& peptide);

// Opens the BLAST page of the peptide at the address of the settings; nothing for an empty peptide.
bool BlastPeptide(const QString& peptide);

// The three Swiss-Prot searches of a reference: by accession, by description or ID, full text.
enum class SwissProtSearch { Accession, Description, FullText };

// base/sprot-search-ac?reference ("-de", "-ful"), the reference percent-encoded as the query.
QUrl MakeSwissProtUrl(const QString& base, SwissProtSearch search, const QString& reference);

// Opens the Swiss-Prot search of the reference at the address of the settings; nothing for an
// empty reference.
bool SwissProtReference(SwissProtSearch search, const QString& reference);

}  // namespace zar
