#pragma once
// Names one result for the results window and its form views; passed by value.

#include "document/HitNumber.h"

#include <QString>

namespace zar {

struct SelectedResult {
    int kind =
        0;  // result-set kind: 0 none, 1 search engine, 2 peptide mapping, 3 multiple results
    int viewType = 0;           // results-window view type 1 to 9
    QString peptide;            // the hit's peptide text
    QString reference;          // the hit's protein reference
    // The hit; it names the same record however the set is sorted (receivers find it with
    // FindHit). None for a protein row, which names its protein by entryIndex.
    HitNumber hit;
    int entryIndex = 0;         // index of a protein entry (consensus tables)
    int furtherReferences = 0;  // the hit's further-references count
    int column = 0;             // grid column that was clicked
    int row = 0;                // grid row that was clicked
    int readingFrame = 1;       // 1-based; set by the results window, never by the caller
    int display = 1;            // 1: run the view's look-up; 0: only bring the view forward
};

}  // namespace zar
