#pragma once
// What the summary table keeps and shows of a search-engine result set: the filter that writes
// every hit's shown flag, the texts of its cells and the sort key of a column title. Plain
// computation over the set; the view only puts the results into its grid.

#include "document/ResultsDisplayOptions.h"
#include "document/SearchResults.h"

#include <QString>

#include <functional>

namespace zar {

// Scan number -> retention time in minutes (0.0 without a run).
using ScanToTime = std::function<double(int scan)>;

// Scans and charge a hit's file information names ("base.first.last.charge").
struct ScanName {
    int firstScan = 0;
    int lastScan = 0;
    int charge = 0;
    // Both scans above 0: the name gives a scan range.
    bool hasScans() const { return firstScan > 0 && lastScan > 0; }
};
ScanName ParseScanName(const QString& fileInformation);

// (ions matched * 100) / ions total in whole numbers; -1 when there are no ions.
int PercentIonsMatched(int matched, int total);

// Decides the shown flag of every hit and returns how many are shown.
int ApplySummaryFilter(CSearchResults& set, const ResultsDisplayOptions& options,
                       const ScanToTime& scanToTime);

// A scan range as the tables show it: "%d" or "%d - %d", or their retention times "%.2f" or
// "%.2f - %.2f".
QString ScanRangeText(int firstScan, int lastScan, bool showTimes, const ScanToTime& scanToTime);
// Whether the scans' retention times lie in the options' chromatographic range.
bool InRetentionRange(int firstScan, int lastScan, const ResultsDisplayOptions& options,
                      const ScanToTime& scanToTime);

// Text of the "Scan(s)"/"Time(s)" cell.
QString ScanCellText(const SearchHitRecord& hit, bool showTimes, const ScanToTime& scanToTime);

// Sort key of a title click, -1 for a column that does not sort.
int SummaryColumnToSortKey(int column, bool singleScore);

// Summary table layouts.
constexpr int kSummaryFullColumns = 14;
constexpr int kSummaryScoreOnlyColumns = 11;
constexpr int kMinTableRows = 50;

}  // namespace zar
