#include "SummaryFilter.h"

#include "core/Numbers.h"
#include "document/OutFileFormat.h"

namespace zar {

ScanName ParseScanName(const QString& fileInformation) {
    ScanName name;
    ParseOutFileName(fileInformation.trimmed(), name.firstScan, name.lastScan, name.charge);
    return name;
}

int PercentIonsMatched(int matched, int total) {
    if (total <= 0) return -1;
    return static_cast<int>((static_cast<long long>(matched) * 100) / total);
}

namespace {

// The percentage test of the filters: no ions fail, as does a NaN threshold.
bool PercentAtLeast(int matched, int total, double threshold) {
    const int percent = PercentIonsMatched(matched, total);
    return percent >= 0 && static_cast<double>(percent) >= threshold;
}

bool PassesSingleThreshold(const SearchHitRecord& hit, const ResultsDisplayOptions& o) {
    const double t = o.singleThreshold;
    switch (o.thresholdKind) {
        case 0:
            if (o.referenceText.isEmpty()) return true;
            return !hit.reference.isEmpty() &&
                   hit.reference.contains(o.referenceText, Qt::CaseSensitive);
        case 1:
            return hit.correlation >= t;
        case 2:
            return hit.deltaCorrelation >= t;
        case 3:
            return hit.preliminaryScore >= t;
        case 4:
            return static_cast<double>(hit.preliminaryRank) >= t;
        case 5:
            return PercentAtLeast(hit.ionsMatched, hit.ionsTotal, t);
        case 6:
            return true;  // the consensus threshold acts on proteins
        case 7:
            return hit.combinedScore >= t;
        default:
            return false;
    }
}

int CriteriaMet(const SearchHitRecord& hit, const ResultsDisplayOptions& o) {
    int met = 0;
    if (hit.correlation >= o.xcorrMin) ++met;
    if (hit.deltaCorrelation >= o.deltaCnMin) ++met;
    if (hit.preliminaryScore >= o.spMin) ++met;
    if (static_cast<double>(hit.preliminaryRank) <= o.rspMax) ++met;
    if (PercentAtLeast(hit.ionsMatched, hit.ionsTotal, o.ionsPercentMin)) ++met;
    return met;
}

}  // namespace

int ApplySummaryFilter(CSearchResults& set, const ResultsDisplayOptions& o,
                       const ScanToTime& scanToTime) {
    const int n = set.GetHitCount();
    int kept = 0;
    for (int i = 0; i < n; ++i) {
        SearchHitRecord& hit = *set.GetHit(i);
        bool shown = false;
        switch (o.filterMode) {
            case 0:
                shown = true;
                break;
            case 1: {
                const int limit = o.summaryRowLimit > 0 ? std::min(o.summaryRowLimit, n) : n;
                shown = i < limit;
                break;
            }
            case 2:
                shown = PassesSingleThreshold(hit, o);
                break;
            case 3:
                shown = CriteriaMet(hit, o) >= o.criteriaNeeded;
                break;
            case 4:
                shown = hit.shown == 1;
                break;  // as the filter page's dta list left it
            case 5: {
                const ScanName name = ParseScanName(hit.fileInformation);
                shown = name.hasScans() &&
                        InRetentionRange(name.firstScan, name.lastScan, o, scanToTime);
                break;
            }
            default:
                shown = false;
                break;
        }
        if (o.filterMode != 4) hit.shown = shown ? 1 : 0;
        if (shown) ++kept;
    }
    return kept;
}

QString ScanRangeText(int firstScan, int lastScan, bool showTimes, const ScanToTime& scanToTime) {
    if (!showTimes) {
        if (firstScan == lastScan) return QCFormat("%d", firstScan);
        return QCFormat("%d - %d", firstScan, lastScan);
    }
    const double t1 = scanToTime ? scanToTime(firstScan) : 0.0;
    const double t2 = scanToTime ? scanToTime(lastScan) : 0.0;
    if (firstScan == lastScan) return QCFormat("%.2f", t1);
    return QCFormat("%.2f - %.2f", t1, t2);
}

bool InRetentionRange(int firstScan, int lastScan, const ResultsDisplayOptions& o,
                      const ScanToTime& scanToTime) {
    if (!scanToTime) return false;
    return scanToTime(firstScan) >= o.retentionTimeMin &&
           scanToTime(lastScan) <= o.retentionTimeMax;
}

QString ScanCellText(const SearchHitRecord& hit, bool showTimes, const ScanToTime& scanToTime) {
    const ScanName name = ParseScanName(hit.fileInformation);
    if (!name.hasScans()) return hit.fileInformation;
    return ScanRangeText(name.firstScan, name.lastScan, showTimes, scanToTime);
}

int SummaryColumnToSortKey(int column, bool singleScore) {
    const int s = singleScore ? 3 : 0;
    switch (column) {
        case 1:
            return kSortFileInformation;
        case 2:
            return kSortHitMass;
        case 4:
            return kSortPeptide;
        case 5:
            return kSortReference;
        case 7:
            return kSortCorrelation;
        case 8:
            return kSortDeltaCorrelation + s;
        case 9:
            return kSortPreliminaryScore + s;
        case 10:
            return kSortPreliminaryRank + s;
        case 11:
            return kSortIonsRatio + s;
        case 12:
            return kSortFurtherReferences;
        case 13:
            return kSortProteinMass;
        case 14:
            return kSortQuantitationRatio;
        default:
            return -1;
    }
}

}  // namespace zar
