#pragma once
// Hints that the document passes to its views with UpdateAllViews.

namespace zar {

constexpr long kHintScanRange = 2;              // current scan range changed
constexpr long kHintRefillResults = 3;          // refill the result tables
constexpr long kHintRefillResultsAgain = 4;     // refill the result tables
constexpr long kHintRedrawResults = 5;          // redraw the result tables
constexpr long kHintDisplaySettings = 7;        // display settings changed
constexpr long kHintBitmapView = 50;            // view type 0
constexpr long kHintPlotLayout = 51;            // view type 1
constexpr long kHintSummaryLayout = 52;         // view type 5: search results loaded
constexpr long kHintZarmassLayout = 53;         // view type 6
constexpr long kHintDeconvolution = 54;         // refresh the deconvolution views
constexpr long kHintDenovoLayout = 55;          // view type 7
constexpr long kHintPepmatchLayout = 56;        // view type 8
constexpr long kHintPepmapLayout = 57;          // view type 9
constexpr long kHintMassmapLayout = 58;         // view type 10
constexpr long kHintMultiConsensusLayout = 59;  // view type 11
constexpr long kHintDenovoSelection = 60;
constexpr long kHintFragmentIons = 61;
constexpr long kHintSummaryCell = 62;    // write the pending summary cell
constexpr long kHintSummarySorted = 64;  // refill the summary after a sort by title
constexpr long kHintXpressColumn = 66;
constexpr long kHintPepmapSequence = 67;
constexpr long kHintPepmapPeptides = 68;
constexpr long kHintMassmapSorted = 69;
constexpr long kHintMultiConsensusSorted = 70;
constexpr long kHintSummaryCellSelected = 71;
constexpr long kHintMassmapCellSelected = 72;

}  // namespace zar
