#include "XpressQuant.h"

#include "RawFileMessages.h"

#include "core/Log.h"
#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "document/Settings.h"
#include "document/TextHelpers.h"
#include "rawfile/VRawfile.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace zar {

namespace {

// Fifth-order low-pass filter, run forwards and backwards.
constexpr int kFilterOrder = 5;
constexpr double kFilterB[kFilterOrder + 1] = {0.0004, 0.0018, 0.0037, 0.0037, 0.0018, 0.0004};
constexpr double kFilterA[kFilterOrder + 1] = {1.0, -3.4789, 5.0098, -3.6995, 1.3942, -0.2138};

bool IsAsciiLetter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

bool ParseScanNumber(const QString& text, int& value) {
    if (text.isEmpty()) return false;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    }
    bool ok = false;
    value = text.toInt(&ok);
    return ok;
}

// m/z of both forms; false for a charge outside 1 to 3.
bool PairMz(double lightMH, double heavyMH, int charge, double& lightMz, double& heavyMz) {
    return XpressMassToMz(lightMH, charge, lightMz) && XpressMassToMz(heavyMH, charge, heavyMz);
}

}  // namespace

// ---- the hit's XPRESS block ----

XpressSide LightSideOf(const SearchHitRecord& hit) {
    return {hit.lightMass, hit.lightArea, hit.lightPeakStart, hit.lightPeakEnd};
}

XpressSide HeavySideOf(const SearchHitRecord& hit) {
    return {hit.heavyMass, hit.heavyArea, hit.heavyPeakStart, hit.heavyPeakEnd};
}

void SetLightSide(SearchHitRecord& hit, const XpressSide& side) {
    hit.lightMass = side.mass;
    hit.lightArea = side.area;
    hit.lightPeakStart = side.firstScan;
    hit.lightPeakEnd = side.lastScan;
}

void SetHeavySide(SearchHitRecord& hit, const XpressSide& side) {
    hit.heavyMass = side.mass;
    hit.heavyArea = side.area;
    hit.heavyPeakStart = side.firstScan;
    hit.heavyPeakEnd = side.lastScan;
}

void CopyXpressBlock(const SearchHitRecord& from, SearchHitRecord& to) {
    SetLightSide(to, LightSideOf(from));
    SetHeavySide(to, HeavySideOf(from));
    to.quantitationRatio = from.quantitationRatio;
}

XpressSettings XpressSettings::FromSettings() {
    XpressSettings s;
    s.residue = GetXpressResidue();
    s.tolerance = GetXpressTolerance();
    s.massDifference = GetXpressDifference();
    s.scanWindow = GetXpressScanWindow();
    return s;
}

bool IsFullScanFilter(const QString& filter) {
    // An MS/MS scan's filter text holds "ms2 " instead.
    return filter.contains(QLatin1String("ms "));
}

// ---- peptide and spectrum texts ----

QString PeptideCore(const QString& peptideText) {
    if (peptideText.size() < 2 || peptideText[1] != QLatin1Char('.')) return peptideText;
    QString core = peptideText.mid(2);
    if (core.size() >= 2 && core[core.size() - 2] == QLatin1Char('.')) core.chop(2);
    return core;
}

XpressLabelling ClassifyXpressLabel(const QString& peptideText, QChar residue) {
    XpressLabelling none;
    if (residue.isNull()) return none;
    const QString core = PeptideCore(peptideText);
    const qsizetype first = core.indexOf(residue);
    if (first < 0) return none;
    auto followedBySymbol = [&core](qsizetype at) {
        return at + 1 < core.size() && !IsAsciiLetter(core[at + 1]);
    };
    const bool heavy = followedBySymbol(first);
    int count = 0;
    for (qsizetype at = first; at >= 0; at = core.indexOf(residue, at + 1)) {
        if (followedBySymbol(at) != heavy) return none;
        ++count;
    }
    return {heavy ? XpressForm::kHeavy : XpressForm::kLight, count};
}

bool ParseSpectrumScans(const QString& fileInformation, int& firstScan, int& lastScan,
                        int& charge) {
    // The last three whole numbers before an optional extension: base names may hold dots.
    QStringList parts = fileInformation.trimmed().split(QLatin1Char('.'));
    int value = 0;
    if (!parts.isEmpty() && !ParseScanNumber(parts.last(), value)) parts.removeLast();
    if (parts.size() < 4) return false;
    int numbers[3] = {0, 0, 0};
    for (int k = 0; k < 3; ++k) {
        if (!ParseScanNumber(parts[parts.size() - 3 + k], numbers[k])) return false;
    }
    firstScan = numbers[0];
    lastScan = numbers[1];
    charge = numbers[2];
    return true;
}

bool XpressMassToMz(double mh, int charge, double& mz) {
    switch (charge) {
        case 1:
            mz = mh;
            return true;
        case 2:
            mz = (mh + kXpressProtonMass) * 0.5;
            return true;
        case 3:
            mz = (mh + 2.0 * kXpressProtonMass) * (1.0 / 3.0);
            return true;
        default:
            return false;
    }
}

double XpressRatio(double lightArea, double heavyArea) {
    if (lightArea == 0.0 && heavyArea == 0.0) return 0.0;
    if (lightArea > heavyArea) return heavyArea / lightArea;
    return -(lightArea / heavyArea);
}

QString XpressRatioText(double ratio) {
    if (ratio < 0.0) return QCFormat("%.2lf : 1", std::fabs(ratio));
    if (ratio > 0.0) return QCFormat("1 : %.2lf", ratio);
    return QString();
}

// ---- the engine ----

CXpressQuant::CXpressQuant(double massDifference, const QString& residue, int scanWindow)
    : massDifference_(massDifference), scanWindow_(std::max(scanWindow, 0)) {
    SetLabelResidue(residue);
}

CXpressQuant::~CXpressQuant() = default;

void CXpressQuant::SetLabelResidue(const QString& residue) {
    residue_ = residue.isEmpty() ? QChar() : residue[0];
}

bool CXpressQuant::OpenRawFile(const QString& path) {
    reader_ = std::make_unique<VRawfile>();
    firstScan_ = lastScan_ = scanCount_ = 0;
    for (std::vector<double>* v :
         {&work_, &heavyWork_, &lightRaw_, &lightSmoothed_, &heavyRaw_, &heavySmoothed_})
        v->clear();
    scanKind_.clear();
    peakCache_.clear();
    peakCacheBytes_ = 0;

    if (!reader_->open(path)) {
        LogLine(QStringLiteral("XPRESS: ") + reader_->lastError());
        ZarMessageBox(QString::fromLatin1(kRawFileOpenFailedText));
        reader_.reset();
        return false;
    }
    if (!reader_->setCurrentController(0, 1)) {
        ZarMessageBox(QString::fromLatin1(kRawFileNoMSDataText));
        reader_.reset();
        return false;
    }
    firstScan_ = reader_->firstScan();
    lastScan_ = reader_->lastScan();
    if (lastScan_ < firstScan_ || lastScan_ <= 0) {
        scanCount_ = 0;
        return true;  // opens, but no hit can be quantified
    }
    scanCount_ = lastScan_ - firstScan_ + 1;
    const size_t size = static_cast<size_t>(lastScan_) + 1;
    try {
        for (std::vector<double>* v :
             {&work_, &heavyWork_, &lightRaw_, &lightSmoothed_, &heavyRaw_, &heavySmoothed_})
            v->assign(size, 0.0);
        scanKind_.assign(size, 0);
    } catch (const std::bad_alloc&) {
        // Scan numbers far beyond the run's size: the traces do not fit.
        for (std::vector<double>* v :
             {&work_, &heavyWork_, &lightRaw_, &lightSmoothed_, &heavyRaw_, &heavySmoothed_})
            std::vector<double>().swap(*v);
        scanKind_.clear();
        firstScan_ = lastScan_ = scanCount_ = 0;
        ZarMessageBox(QStringLiteral("Unable to allocate the required memory"));
        return false;
    }
    return true;
}

bool CXpressQuant::isFullScan(int scan) {
    if (!reader_ || scan < firstScan_ || scan > lastScan_ || scanKind_.empty()) return false;
    std::uint8_t& kind = scanKind_[static_cast<size_t>(scan)];
    if (kind == 0) {
        // A scan number the run does not have (numbers may have gaps) is no full-MS scan.
        QString filter;
        ++filterTextsRead_;
        kind = reader_->filterForScan(scan, filter) && IsFullScanFilter(filter) ? 1 : 2;
    }
    return kind == 1;
}

const CXpressQuant::PeakList* CXpressQuant::peaksOf(int scan) {
    const auto found = peakCache_.find(scan);
    if (found != peakCache_.end()) return &found->second;
    std::vector<CVXDataPeak> peaks;
    ++peakListsRead_;
    if (!reader_->spectrum(scan, peaks)) return nullptr;  // the scan contributes nothing
    PeakList list;
    list.reserve(peaks.size());
    for (const CVXDataPeak& p : peaks) list.emplace_back(p.dPosition, p.dIntensity);
    std::sort(list.begin(), list.end());
    const std::size_t bytes = list.size() * sizeof(PeakList::value_type);
    if (peakCacheBytes_ + bytes > kXpressPeakCacheBytes) {
        peakCache_.clear();
        peakCacheBytes_ = 0;
    }
    peakCacheBytes_ += bytes;
    return &peakCache_.emplace(scan, std::move(list)).first->second;
}

void CXpressQuant::BuildTraces(int firstScan, int lastScan, double lightMz, double heavyMz) {
    std::fill(lightRaw_.begin(), lightRaw_.end(), 0.0);
    std::fill(heavyRaw_.begin(), heavyRaw_.end(), 0.0);
    if (!hasTraces()) return;
    // Wide arithmetic: scan numbers come from file names and may be anything.
    const int low =
        static_cast<int>(std::max<long long>(1LL * firstScan - scanWindow_, firstScan_));
    const int high = static_cast<int>(std::min<long long>(1LL * lastScan + scanWindow_, lastScan_));
    const double tolerance = tolerance_;

    auto largestNear = [tolerance](const PeakList& peaks, double mz) {
        double largest = 0.0;
        auto it = std::lower_bound(peaks.begin(), peaks.end(),
                                   std::make_pair(mz - tolerance - 1e-9, -HUGE_VAL));
        for (; it != peaks.end() && it->first <= mz + tolerance + 1e-9; ++it) {
            if (std::fabs(mz - it->first) <= tolerance) largest = std::max(largest, it->second);
        }
        return largest;
    };
    for (int s = low; s <= high; ++s) {
        if (!isFullScan(s)) continue;
        const PeakList* peaks = peaksOf(s);
        if (!peaks) continue;
        lightRaw_[static_cast<size_t>(s)] = largestNear(*peaks, lightMz);
        heavyRaw_[static_cast<size_t>(s)] = largestNear(*peaks, heavyMz);
    }
    smoothBothTraces();
}

namespace {

// One output of the recursive filter at i, over x (inputs) and y (earlier outputs) read at
// i - step * k: step 1 runs forwards, step -1 over the reversed sequence. Terms outside
// 0..n-1 are left out. Inside, the sums are grouped so that the newest output enters last:
// the recursion then waits on few operations per value. SmoothTrace and the pass share it, so
// both give identical values.
inline double FilterAt(const double* x, const double* y, int i, int n, int step) {
    if (i >= kFilterOrder && i < n - kFilterOrder) {
        const double input = (kFilterB[0] * x[i] + kFilterB[1] * x[i - step]) +
                             (kFilterB[2] * x[i - 2 * step] + kFilterB[3] * x[i - 3 * step]) +
                             (kFilterB[4] * x[i - 4 * step] + kFilterB[5] * x[i - 5 * step]);
        const double older = (kFilterA[5] * y[i - 5 * step] + kFilterA[4] * y[i - 4 * step]) +
                             (kFilterA[3] * y[i - 3 * step] + kFilterA[2] * y[i - 2 * step]);
        return (input - older) - kFilterA[1] * y[i - step];
    }
    double v = 0.0;
    for (int k = 0; k <= kFilterOrder; ++k) {
        const int at = i - step * k;
        if (at >= 0 && at < n) v += kFilterB[k] * x[at];
    }
    for (int k = 1; k <= kFilterOrder; ++k) {
        const int at = i - step * k;
        if (at >= 0 && at < n) v -= kFilterA[k] * y[at];
    }
    return v;
}

}  // namespace

void CXpressQuant::SmoothTrace(const std::vector<double>& input, std::vector<double>& output) {
    const int n = static_cast<int>(input.size());
    work_.resize(input.size());
    output.resize(input.size());
    for (int i = 0; i < n; ++i)
        work_[static_cast<size_t>(i)] = FilterAt(input.data(), work_.data(), i, n, 1);
    // The same filter over the reversed sequence, written back in place order.
    for (int i = n - 1; i >= 0; --i)
        output[static_cast<size_t>(i)] = FilterAt(work_.data(), output.data(), i, n, -1);
}

void CXpressQuant::smoothBothTraces() {
    // Both recursions side by side: they are independent, so the processor overlaps them.
    const int n = static_cast<int>(lightRaw_.size());
    work_.resize(lightRaw_.size());
    heavyWork_.resize(lightRaw_.size());
    lightSmoothed_.resize(lightRaw_.size());
    heavySmoothed_.resize(lightRaw_.size());
    for (int i = 0; i < n; ++i) {
        work_[static_cast<size_t>(i)] = FilterAt(lightRaw_.data(), work_.data(), i, n, 1);
        heavyWork_[static_cast<size_t>(i)] = FilterAt(heavyRaw_.data(), heavyWork_.data(), i, n, 1);
    }
    for (int i = n - 1; i >= 0; --i) {
        lightSmoothed_[static_cast<size_t>(i)] =
            FilterAt(work_.data(), lightSmoothed_.data(), i, n, -1);
        heavySmoothed_[static_cast<size_t>(i)] =
            FilterAt(heavyWork_.data(), heavySmoothed_.data(), i, n, -1);
    }
}

void CXpressQuant::FindPeakLimits(const std::vector<double>& y, int& start, int& end) const {
    if (y.empty()) return;
    const int last = std::min(lastScan_, static_cast<int>(y.size()) - 1);
    if (last < 0) return;
    int s = std::clamp(start, 0, last);
    int e = std::clamp(end, 0, last);
    auto at = [&y](int i) { return y[static_cast<size_t>(i)]; };

    int k = 1;
    while (s - k > 0 && at(s - k) == at(s)) ++k;
    const bool risesIntoStart = s - k >= 0 && at(s) > at(s - k);
    k = 1;
    while (e + k < last && at(e + k) == at(e)) ++k;
    const bool fallsAfterEnd = e + k <= last && at(e) > at(e + k);

    auto climbLeft = [&](int& i) {
        while (i > 0 && at(i - 1) >= at(i)) --i;
    };
    auto descendLeft = [&](int& i, int stop) {
        while (i > stop && at(i - 1) <= at(i)) --i;
    };
    auto stepRightOverEqual = [&](int& i) {
        while (i < last && at(i + 1) == at(i)) ++i;
    };
    auto climbRight = [&](int& i) {
        while (i < last - 1 && at(i + 1) >= at(i)) ++i;
    };
    auto descendRight = [&](int& i) {
        while (i < last - 1 && at(i + 1) <= at(i)) ++i;
    };
    auto stepLeftOverEqual = [&](int& i) {
        while (i > 0 && at(i - 1) == at(i)) --i;
    };

    if (!risesIntoStart && fallsAfterEnd) {
        climbLeft(s);
        descendLeft(s, 0);
        stepRightOverEqual(s);
        descendRight(e);
        stepLeftOverEqual(e);
    } else if (risesIntoStart && fallsAfterEnd) {
        descendLeft(s, firstScan_ + 1);
        stepRightOverEqual(s);
        descendRight(e);
        stepLeftOverEqual(e);
    } else if (risesIntoStart) {
        descendLeft(s, 0);
        stepRightOverEqual(s);
        climbRight(e);
        descendRight(e);
        stepLeftOverEqual(e);
    }
    start = std::clamp(s, firstScan_, std::max(firstScan_, lastScan_));
    end = std::clamp(e, firstScan_, std::max(firstScan_, lastScan_));
}

double CXpressQuant::peakArea(const std::vector<double>& smoothed, const std::vector<double>& raw,
                              int& start, int& end) const {
    FindPeakLimits(smoothed, start, end);
    if (raw[static_cast<size_t>(start)] != 0.0) ++start;
    if (raw[static_cast<size_t>(end)] == 0.0) --end;
    return rangeArea(raw, start, end);
}

int CXpressQuant::nearestFullScanAtOrBefore(int scan, int maxDistance) {
    for (int s = scan; s >= firstScan_ && s >= scan - maxDistance; --s) {
        if (isFullScan(s)) return s;
    }
    return -1;
}

bool CXpressQuant::deriveMasses(const SearchHitRecord& hit, Masses& masses) const {
    if (hit.peptide.isEmpty() || ExtractPeptideSequence(hit.peptide).isEmpty()) return false;
    if (!ParseSpectrumScans(hit.fileInformation, masses.firstScan, masses.lastScan,
                            masses.charge)) {
        masses.firstScan = masses.lastScan = masses.charge = 0;
    }
    // The form is decided on the text with its symbols: the sequence alone has lost them.
    const XpressLabelling label = ClassifyXpressLabel(hit.peptide, residue_);
    if (label.form == XpressForm::kNone) return false;
    const double shift = label.labelCount * massDifference_;
    if (label.form == XpressForm::kLight) {
        masses.light = hit.precursorMass;
        masses.heavy = masses.light + shift;
    } else {
        masses.heavy = hit.precursorMass;
        masses.light = masses.heavy - shift;
    }
    return true;
}

int CXpressQuant::QuantifyHit(SearchHitRecord& hit) {
    SetLightSide(hit, XpressSide{});
    SetHeavySide(hit, XpressSide{});
    hit.quantitationRatio = 0.0;
    Masses masses;
    if (!deriveMasses(hit, masses)) return 0;
    XpressSide light{masses.light, 0.0, 0, 0};
    XpressSide heavy{masses.heavy, 0.0, 0, 0};
    const double ratio =
        CalculateRatio(masses.charge, masses.firstScan, masses.lastScan, light, heavy);
    SetLightSide(hit, light);
    SetHeavySide(hit, heavy);
    hit.quantitationRatio = ratio;
    return 1;
}

double CXpressQuant::CalculateRatio(int charge, int firstScan, int lastScan, XpressSide& light,
                                    XpressSide& heavy) {
    double lightMz = 0.0;
    double heavyMz = 0.0;
    if (!PairMz(light.mass, heavy.mass, charge, lightMz, heavyMz) || !hasTraces()) return 0.0;

    int start = nearestFullScanAtOrBefore(firstScan, kMaxFullScanDistanceFirst);
    if (start < 0) return 0.0;
    int end = nearestFullScanAtOrBefore(lastScan, kMaxFullScanDistanceLast);
    if (end < 0) return 0.0;
    start = std::clamp(start, firstScan_, lastScan_);
    end = std::clamp(end, firstScan_, lastScan_);

    BuildTraces(firstScan, lastScan, lightMz, heavyMz);
    light.firstScan = heavy.firstScan = start;
    light.lastScan = heavy.lastScan = end;
    light.area = peakArea(lightSmoothed_, lightRaw_, light.firstScan, light.lastScan);
    heavy.area = peakArea(heavySmoothed_, heavyRaw_, heavy.firstScan, heavy.lastScan);
    return XpressRatio(light.area, heavy.area);
}

int CXpressQuant::QuantifyPeptide(SearchHitRecord& hit) {
    if (hit.peptide.isEmpty()) {
        hit.quantitationRatio = 0.0;
        return 0;
    }
    if (ExtractPeptideSequence(hit.peptide).isEmpty()) return 0;
    Masses masses;
    if (!deriveMasses(hit, masses)) {
        // Not a labelled peptide: no traces to show.
        std::fill(lightRaw_.begin(), lightRaw_.end(), 0.0);
        std::fill(heavyRaw_.begin(), heavyRaw_.end(), 0.0);
        return 1;
    }
    double lightMz = 0.0;
    double heavyMz = 0.0;
    if (!PairMz(masses.light, masses.heavy, masses.charge, lightMz, heavyMz)) return 0;
    BuildTraces(masses.firstScan, masses.lastScan, lightMz, heavyMz);
    return 1;
}

int CXpressQuant::QuantifyInRanges(SearchHitRecord& hit) {
    Masses masses;
    if (!deriveMasses(hit, masses)) {
        hit.quantitationRatio = 0.0;
        return 0;
    }
    XpressSide light = LightSideOf(hit);
    XpressSide heavy = HeavySideOf(hit);
    light.mass = masses.light;
    heavy.mass = masses.heavy;
    const double ratio =
        CalculateRatioInRanges(masses.charge, masses.firstScan, masses.lastScan, light, heavy);
    SetLightSide(hit, light);
    SetHeavySide(hit, heavy);
    hit.quantitationRatio = ratio;
    return 1;
}

double CXpressQuant::CalculateRatioInRanges(int charge, int firstScan, int lastScan,
                                            XpressSide& light, XpressSide& heavy) {
    double lightMz = 0.0;
    double heavyMz = 0.0;
    if (!PairMz(light.mass, heavy.mass, charge, lightMz, heavyMz) || !hasTraces()) return 0.0;
    // The traces the pane shows: around the identified scans, as the ratio pass built them.
    BuildTraces(firstScan, lastScan, lightMz, heavyMz);
    // The sides' scans are the limits to integrate between, as set by the user or as the pass
    // stored them; searching for the peak again from there would move them, so that an
    // unchanged range would no longer give the stored ratio. The sides keep their scans.
    light.area = rangeArea(lightRaw_, light.firstScan, light.lastScan);
    heavy.area = rangeArea(heavyRaw_, heavy.firstScan, heavy.lastScan);
    return XpressRatio(light.area, heavy.area);
}

double CXpressQuant::rangeArea(const std::vector<double>& raw, int start, int end) const {
    double area = 0.0;
    const int last = std::min(end, static_cast<int>(raw.size()) - 1);
    for (int s = std::max(start, 0); s <= last; ++s) area += raw[static_cast<size_t>(s)];
    return area;
}

XpressEngineHook MakeXpressEngineHook(double massDifference, int scanWindow) {
    return [massDifference, scanWindow](const QString& rawFilePath, const QString& residue,
                                        double tolerance) -> XpressQuantifier {
        auto engine = std::make_shared<CXpressQuant>(massDifference, residue, scanWindow);
        if (!engine->OpenRawFile(rawFilePath)) return {};
        engine->SetMassTolerance(tolerance);
        return [engine](SearchHitRecord& hit) { engine->QuantifyHit(hit); };
    };
}

void InstallXpressEngine(CSorvexResults& results, const XpressSettings& settings) {
    XpressOptions options = results.GetXpressOptions();
    options.residue = settings.residue;
    options.tolerance = settings.tolerance;
    results.SetXpressOptions(options);
    results.SetXpressEngine(MakeXpressEngineHook(settings.massDifference, settings.scanWindow));
}

}  // namespace zar
