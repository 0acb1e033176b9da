#include "ScanFilter.h"

#include "RegSetting.h"
#include "core/Numbers.h"

#include <QLocale>

#include <cmath>
#include <cstring>

namespace zar::plot {

namespace {

// Floating-point slack for the decimal bounds of the comparisons.
constexpr double kSlack = 1e-9;
constexpr double kMassBound = 0.2;     // a difference of exactly this is equal
constexpr double kEnergyBound = 0.01;  // a difference of exactly this is not

bool within(double a, double b, double bound) {
    return std::fabs(a - b) <= bound + kSlack;
}
bool strictlyWithin(double a, double b, double bound) {
    return std::fabs(a - b) < bound - kSlack;
}

QString fixed(double value, int decimals) {
    return QCFormat("%.*f", std::max(decimals, 0), value);
}

const char* ionizationToken(VXPlot_IonizationMode mode) {
    static const char* const tokens[] = {"EI ",  "CI ",  "FAB ", "ESI ",   "APCI ",
                                         "NSI ", "TSP ", "FD ",  "MALDI ", "GD "};
    const int i = static_cast<int>(mode);
    return i >= 0 && i < 10 ? tokens[i] : "";
}

const char* scanTypeToken(VXPlot_ScanType type) {
    switch (type) {
        case VXPlot_Fullsc:
            return "Full ";
        case VXPlot_Zoomsc:
            return "Z ";
        case VXPlot_SIMsc:
            return "SIM ";
        case VXPlot_SRMsc:
            return "SRM ";
        case VXPlot_CRMsc:
            return "CRM ";
        case VXPlot_Q1MSsc:
            return "Q1MS ";
        case VXPlot_Q3MSsc:
            return "Q3MS ";
        default:
            return "";
    }
}

}  // namespace

QChar LocaleDecimalSeparator() {
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.at(0);
}

QChar LocaleListSeparator() {
    return LocaleDecimalSeparator() == QLatin1Char(',') ? QLatin1Char(';') : QLatin1Char(',');
}

CScanFilter::CScanFilter()
    : listSeparator_(LocaleListSeparator()), decimalSeparator_(LocaleDecimalSeparator()) {}

void CScanFilter::ResizePrecursors(std::size_t count) {
    precursors_.resize(count);
}

void CScanFilter::SetPrecursor(std::size_t index, double mass, double energy, bool energyValid) {
    if (index >= precursors_.size()) ResizePrecursors(index + 1);
    precursors_[index] = {mass, energy, !energyValid};
}

void CScanFilter::ResizeMassRanges(std::size_t count) {
    if (count > massRanges_.size()) {
        const DefaultMassRange range = GetDefaultMassRange();
        massRanges_.resize(count, FilterMassRange{range.low, range.high});
    } else {
        massRanges_.resize(count);
    }
}

void CScanFilter::SetMassRange(std::size_t index, double low, double high) {
    if (index >= massRanges_.size()) ResizeMassRanges(index + 1);
    massRanges_[index] = {low, high};
}

void CScanFilter::ResizeSourceFragmentation(std::size_t count) {
    sourceEnergies_.resize(count);
}

void CScanFilter::SetSourceFragmentationEnergy(std::size_t index, double energy, bool valid) {
    if (index >= sourceEnergies_.size()) ResizeSourceFragmentation(index + 1);
    sourceEnergies_[index] = {energy, !valid};
}

void CScanFilter::Clear() {
    settings_ = ScanFilterSettings{};
    precursors_.clear();
    massRanges_.clear();
    sourceEnergies_.clear();
    secondMassRanges_.clear();
}

QString CScanFilter::Format(int massDecimals, int maxLength, int energyDecimals) const {
    const ScanFilterSettings& s = settings_;
    QString text;
    auto add = [&text](const QString& token) { text += token; };
    auto addC = [&text](const char* token) { text += QLatin1String(token); };
    auto precursorText = [&](const FilterPrecursor& p) {
        return p.energyIgnored ? fixed(p.mass, massDecimals)
                               : fixed(p.mass, massDecimals) + QLatin1Char('@') +
                                     fixed(p.energy, energyDecimals);
    };

    if (s.scanTypeIndex != -1) {
        const auto index = static_cast<std::uint32_t>(s.scanTypeIndex);
        add(QStringLiteral("{%1%2%3} ")
                .arg(static_cast<int>(index >> 16))
                .arg(listSeparator_)
                .arg(static_cast<int>(index & 0xFFFF)));
    }
    if (s.polarity == VXPlot_Negative)
        addC("- ");
    else if (s.polarity == VXPlot_Positive)
        addC("+ ");
    if (s.scanData == VXPlot_Centroid)
        addC("c ");
    else if (s.scanData == VXPlot_Profile)
        addC("p ");
    addC(ionizationToken(s.ionizationMode));
    if (s.corona == VXPlot_CoronaOn)
        addC("corona ");
    else if (s.corona == VXPlot_CoronaOff)
        addC("!corona ");

    if (s.sourceCID == VXPlot_SourceCIDoff) {
        addC("!sid ");
    } else if (s.sourceCID == VXPlot_SourceCIDon) {
        // Energies that the filter lacks are left out rather than read past the list.
        const std::size_t n = sourceEnergies_.size();
        if (s.sourceCIDType == VXPlot_SourceCIDTypeSingleValue && n >= 1) {
            add(QStringLiteral("sid=") + fixed(sourceEnergies_[0].energy, energyDecimals) +
                QStringLiteral("  "));
        } else if (s.sourceCIDType == VXPlot_SourceCIDTypeRamp && n >= 2) {
            add(QStringLiteral("sid=") + fixed(sourceEnergies_[0].energy, energyDecimals) +
                QLatin1Char('-') + fixed(sourceEnergies_[1].energy, energyDecimals) +
                QLatin1Char(' '));
        } else if (s.sourceCIDType == VXPlot_SourceCIDTypeRamp && n == 1) {
            add(QStringLiteral("sid=") + fixed(sourceEnergies_[0].energy, energyDecimals) +
                QLatin1Char(' '));
        } else {
            addC("sid ");
        }
    }
    if (s.detector == VXPlot_DetectorValid)
        add(QStringLiteral("det=") + fixed(s.detectorValue, energyDecimals) + QLatin1Char(' '));
    if (s.turboScan == VXPlot_TurboScanOn)
        addC("t ");
    else if (s.turboScan == VXPlot_TurboScanOff)
        addC("!t ");
    if (s.dependent == VXPlot_NotDependent)
        addC("!d ");
    else if (s.dependent == VXPlot_Dependent)
        addC("d ");
    if (s.wideband == VXPlot_WidebandOff)
        addC("!w ");
    else if (s.wideband == VXPlot_WidebandOn)
        addC("w ");
    addC(scanTypeToken(s.scanType));

    if (s.scanType != VXPlot_Q1MSsc && s.scanType != VXPlot_Q3MSsc) {
        const int order = static_cast<int>(s.msOrder);
        if (order >= -3 && order <= -1) {
            addC(order == -3 ? "cng " : order == -2 ? "cnl " : "pr ");
            if (!precursors_.empty()) add(precursorText(precursors_[0]) + QLatin1Char(' '));
        } else if (order == 1) {
            addC("ms ");
        } else if (order >= 2 && order <= 10) {
            add(QStringLiteral("ms%1 ").arg(order));
            for (const FilterPrecursor& p : precursors_) add(precursorText(p) + QLatin1Char(' '));
        }
    }

    if (!massRanges_.empty()) {
        addC("[ ");
        const bool simEnergies =
            s.sourceCID == VXPlot_SourceCIDon && s.sourceCIDType == VXPlot_SourceCIDTypeSIM;
        for (std::size_t i = 0; i < massRanges_.size(); ++i) {
            if (i > 0) add(QString(listSeparator_) + QLatin1Char(' '));
            const FilterMassRange& r = massRanges_[i];
            add(r.low == r.high
                    ? fixed(r.low, massDecimals)
                    : fixed(r.low, massDecimals) + QLatin1Char('-') + fixed(r.high, massDecimals));
            if (simEnergies && i < sourceEnergies_.size() && !sourceEnergies_[i].ignored)
                add(QLatin1Char('@') + fixed(sourceEnergies_[i].energy, energyDecimals));
        }
        addC("]");
    }

    while (text.endsWith(QLatin1Char(' '))) text.chop(1);
    if (maxLength >= 3 && text.size() > maxLength) {
        text.truncate(maxLength - 3);
        text += QStringLiteral("...");
    }
    return text;
}

bool CScanFilter::IsAcceptAll() const {
    const ScanFilterSettings& s = settings_;
    return s.scanTypeIndex == -1 && s.scanData == VXPlot_AcceptAnyScanData &&
           s.polarity == VXPlot_AnyPolarity && s.dependent == VXPlot_AcceptAnyDep &&
           s.sourceCID == VXPlot_AcceptAnySourceCID && s.turboScan == VXPlot_AcceptAnyTurboScan &&
           s.corona == VXPlot_AcceptAnyCorona && s.msOrder == VXPlot_AcceptAnyMSorder &&
           s.scanType == VXPlot_AcceptAnyScanType &&
           s.ionizationMode == VXPlot_AcceptAnyIonizationMode &&
           s.detector == VXPlot_AcceptAnyDetector &&
           s.sourceCIDType == VXPlot_AcceptAnySourceCIDType && massRanges_.empty();
}

bool CScanFilter::Equals(const CScanFilter& other) const {
    if (this == &other) return true;
    const ScanFilterSettings& a = settings_;
    const ScanFilterSettings& b = other.settings_;
    if (a.scanData != b.scanData || a.polarity != b.polarity || a.msOrder != b.msOrder ||
        a.dependent != b.dependent || a.wideband != b.wideband || a.sourceCID != b.sourceCID ||
        a.scanType != b.scanType || a.turboScan != b.turboScan ||
        a.ionizationMode != b.ionizationMode || a.corona != b.corona || a.detector != b.detector)
        return false;
    if (!strictlyWithin(a.detectorValue, b.detectorValue, kEnergyBound)) return false;
    if (precursors_.size() != other.precursors_.size()) return false;
    for (std::size_t i = 0; i < precursors_.size(); ++i) {
        const FilterPrecursor& p = precursors_[i];
        const FilterPrecursor& q = other.precursors_[i];
        if (!within(p.mass, q.mass, kMassBound) || p.energyIgnored != q.energyIgnored ||
            !strictlyWithin(p.energy, q.energy, kEnergyBound))
            return false;
    }
    if (massRanges_.size() != other.massRanges_.size()) return false;
    for (std::size_t i = 0; i < massRanges_.size(); ++i) {
        if (!within(massRanges_[i].low, other.massRanges_[i].low, kMassBound) ||
            !within(massRanges_[i].high, other.massRanges_[i].high, kMassBound))
            return false;
    }
    if (a.sourceCIDType != b.sourceCIDType) return false;
    if (sourceEnergies_.size() != other.sourceEnergies_.size()) return false;
    for (std::size_t i = 0; i < sourceEnergies_.size(); ++i) {
        const FilterEnergy& e = sourceEnergies_[i];
        const FilterEnergy& f = other.sourceEnergies_[i];
        if (e.ignored == f.ignored && !strictlyWithin(e.energy, f.energy, kEnergyBound))
            return false;
    }
    return true;
}

bool CScanFilter::Matches(const CScanFilter& other, double massTolerance,
                          double energyTolerance) const {
    const ScanFilterSettings& a = settings_;
    const ScanFilterSettings& b = other.settings_;
    if (a.scanData != b.scanData || a.polarity != b.polarity || a.msOrder != b.msOrder ||
        a.dependent != b.dependent || a.wideband != b.wideband || a.sourceCID != b.sourceCID ||
        a.scanType != b.scanType || a.turboScan != b.turboScan)
        return false;
    if (precursors_.size() != other.precursors_.size() ||
        sourceEnergies_.size() != other.sourceEnergies_.size() ||
        massRanges_.size() != other.massRanges_.size())
        return false;
    const double halfMass = massTolerance / 2;
    const double halfEnergy = energyTolerance / 2;
    for (std::size_t i = 0; i < precursors_.size(); ++i) {
        const FilterPrecursor& p = precursors_[i];
        const FilterPrecursor& q = other.precursors_[i];
        if (!within(p.mass, q.mass, halfMass)) return false;
        if (!p.energyIgnored && !within(p.energy, q.energy, halfEnergy)) return false;
    }
    for (std::size_t i = 0; i < sourceEnergies_.size(); ++i) {
        const FilterEnergy& e = sourceEnergies_[i];
        if (!e.ignored && !within(e.energy, other.sourceEnergies_[i].energy, halfEnergy))
            return false;
    }
    for (std::size_t i = 0; i < massRanges_.size(); ++i) {
        if (!within(massRanges_[i].low, other.massRanges_[i].low, halfMass) ||
            !within(massRanges_[i].high, other.massRanges_[i].high, halfMass))
            return false;
    }
    return true;
}

void InitFilterRecord(VXPlot_Filter* r) {
    if (!r) return;
    r->bIsComplete = 1;
    r->eScanData = VXPlot_AcceptAnyScanData;
    r->ePolarity = VXPlot_AnyPolarity;
    r->eMSOrder = VXPlot_AcceptAnyMSorder;
    r->eDependent = VXPlot_AcceptAnyDep;
    r->eWideband = VXPlot_AcceptAnyWideband;
    r->eSourceCID = VXPlot_AcceptAnySourceCID;
    r->eScanType = VXPlot_AcceptAnyScanType;
    r->eTurboScan = VXPlot_AcceptAnyTurboScan;
    r->eIonizationMode = VXPlot_AcceptAnyIonizationMode;
    r->eCorona = VXPlot_AcceptAnyCorona;
    r->eDetector = VXPlot_AcceptAnyDetector;
    r->dDetectorValue = 0.0;
    r->eSourceCIDType = VXPlot_AcceptAnySourceCIDType;
    r->nlScanTypeIndex = -1;
    r->nNumMassRanges = 0;
    r->nNumPrecursorMasses = 0;
    r->nNumSourceFragmentationEnergies = 0;
    std::memset(r->arrPrecursorEnergiesValid, 0, sizeof r->arrPrecursorEnergiesValid);
    std::memset(r->arrSourceFragmentationEnergiesValid, 0,
                sizeof r->arrSourceFragmentationEnergiesValid);
}

bool FilterRecordCountsValid(const VXPlot_Filter& r) {
    return r.nNumMassRanges >= 0 && r.nNumMassRanges <= kMaxFilterMassRanges &&
           r.nNumPrecursorMasses >= 0 && r.nNumPrecursorMasses <= kMaxFilterPrecursors &&
           r.nNumSourceFragmentationEnergies >= 0 &&
           r.nNumSourceFragmentationEnergies <= kMaxFilterSourceFragmentationEnergies;
}

bool ConvertFilterRecord(const VXPlot_Filter* r, CScanFilter& filter) {
    if (!r || !FilterRecordCountsValid(*r)) return false;
    ScanFilterSettings& s = filter.Settings();
    s.scanData = r->eScanData;
    s.polarity = r->ePolarity;
    s.msOrder = r->eMSOrder;
    s.dependent = r->eDependent;
    s.wideband = r->eWideband;
    s.sourceCID = r->eSourceCID;
    s.scanType = r->eScanType;
    s.isComplete = r->bIsComplete;
    s.turboScan = r->eTurboScan;
    s.ionizationMode = r->eIonizationMode;
    s.corona = r->eCorona;
    s.detector = r->eDetector;
    s.detectorValue = r->dDetectorValue;
    s.scanTypeIndex = r->nlScanTypeIndex;
    s.sourceCIDType = r->eSourceCIDType;
    filter.ResizeMassRanges(static_cast<std::size_t>(r->nNumMassRanges));
    for (int i = 0; i < r->nNumMassRanges; ++i)
        filter.SetMassRange(static_cast<std::size_t>(i), r->arrMassRanges[i].dLowMass,
                            r->arrMassRanges[i].dHighMass);
    filter.ResizePrecursors(static_cast<std::size_t>(r->nNumPrecursorMasses));
    for (int i = 0; i < r->nNumPrecursorMasses; ++i)
        filter.SetPrecursor(static_cast<std::size_t>(i), r->arrPrecursorMasses[i],
                            r->arrPrecursorEnergies[i], r->arrPrecursorEnergiesValid[i] != 0);
    filter.ResizeSourceFragmentation(static_cast<std::size_t>(r->nNumSourceFragmentationEnergies));
    for (int i = 0; i < r->nNumSourceFragmentationEnergies; ++i)
        filter.SetSourceFragmentationEnergy(static_cast<std::size_t>(i),
                                            r->arrSourceFragmentationEnergies[i],
                                            r->arrSourceFragmentationEnergiesValid[i] != 0);
    return true;
}

}  // namespace zar::plot
