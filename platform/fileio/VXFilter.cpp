#include "fileio/VXFilter.h"

#include "core/Numbers.h"

#include <array>
#include <cmath>
#include <optional>

namespace zar {

namespace {

constexpr std::array<const char*, 10> kIonizationNames = {"EI",  "CI",  "FAB", "ESI",   "APCI",
                                                          "NSI", "TSP", "FD",  "MALDI", "GD"};
constexpr std::array<const char*, 8> kScanTypeNames = {"Full", "Z", "SIM",  "SRM",
                                                       "CRM",  "",  "Q1MS", "Q3MS"};
// Mass analysers that lead the instrument's own filter texts.
const QStringList kAnalyzers = {"FTMS", "ITMS", "TQMS", "SQMS", "TOFMS", "SECTOR", "ASTMS"};
// Further instrument flags found in filter texts; kept as they are.
const QStringList kFlags = {"sa", "lock", "u", "E", "r", "sps", "msx"};

// A plain decimal number: digits with at most one point, no sign, no exponent.
std::optional<double> PlainNumber(const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    int points = 0;
    int digits = 0;
    for (QChar c : text) {
        if (c == u'.') {
            ++points;
        } else if (c.isDigit()) {
            ++digits;
        } else {
            return std::nullopt;
        }
    }
    if (points > 1 || digits == 0) return std::nullopt;
    double value = 0.0;
    if (!ParseDouble(text, value)) return std::nullopt;
    return value;
}

// "445.35", "445.35@35.00", "445.35@cid35.00" (further "@..." activations are accepted and
// only the first is kept).
std::optional<CVXFilter::Precursor> ParsePrecursor(const QString& token) {
    const QStringList parts = token.split(u'@');
    CVXFilter::Precursor precursor;
    const auto mass = PlainNumber(parts[0]);
    if (!mass) return std::nullopt;
    precursor.mass = *mass;
    for (int i = 1; i < parts.size(); ++i) {
        const QString& part = parts[i];
        int letters = 0;
        while (letters < part.size() && part[letters].isLetter()) ++letters;
        const QString activation = part.left(letters).toLower();
        const QString rest = part.mid(letters);
        std::optional<double> energy;
        if (!rest.isEmpty()) {
            energy = PlainNumber(rest);
            if (!energy) return std::nullopt;
        } else if (activation.isEmpty()) {
            return std::nullopt;
        }
        if (i == 1) {
            precursor.activation = activation;
            precursor.energyValid = energy.has_value();
            precursor.energy = energy.value_or(0.0);
        }
    }
    return precursor;
}

bool IsPrecursorToken(const QString& token) {
    return !token.isEmpty() && (token[0].isDigit() || token[0] == u'.');
}

// The part between '[' and ']': ranges "low-high" or single masses, separated by ',', ';' or
// blanks; a SIM range may carry "@energy".
bool ParseRanges(const QString& inner, CVXFilter& filter) {
    QString text = inner;
    text.replace(u',', u' ').replace(u';', u' ');
    const QStringList items = text.split(u' ', Qt::SkipEmptyParts);
    std::vector<CVX_MassRange> ranges;
    std::vector<CVXFilter::SourceEnergy> energies;
    bool anyEnergy = false;
    for (const QString& item : items) {
        QString rangeText = item;
        CVXFilter::SourceEnergy energy;
        const int at = item.indexOf(u'@');
        if (at >= 0) {
            const auto value = PlainNumber(item.mid(at + 1));
            if (!value) return false;
            energy = {*value, true};
            anyEnergy = true;
            rangeText = item.left(at);
        }
        const QStringList ends = rangeText.split(u'-');
        if (ends.size() > 2) return false;
        const auto low = PlainNumber(ends[0]);
        const auto high = ends.size() == 2 ? PlainNumber(ends[1]) : low;
        if (!low || !high) return false;
        ranges.emplace_back(*low, *high);
        energies.push_back(energy);
    }
    if (static_cast<int>(ranges.size()) > CVXFilter::kMaxMassRanges) return false;
    filter.massRanges = std::move(ranges);
    if (anyEnergy) {
        filter.sourceEnergies = std::move(energies);
        if (filter.sourceCID == CVXFilter::kOn) filter.sourceCIDType = CVXFilter::kSidSIM;
    }
    return true;
}

bool ParseSid(const QString& token, CVXFilter& filter) {
    filter.sourceCID = CVXFilter::kOn;
    if (token == QLatin1String("sid")) {
        filter.sourceCIDType = CVXFilter::kSidNoValue;
        return true;
    }
    const QString values = token.mid(4);  // after "sid="
    const QStringList ends = values.split(u'-');
    if (ends.size() > 2) return false;
    std::vector<CVXFilter::SourceEnergy> energies;
    for (const QString& end : ends) {
        const auto value = PlainNumber(end);
        if (!value) return false;
        energies.push_back({*value, true});
    }
    filter.sourceCIDType = ends.size() == 1 ? CVXFilter::kSidSingleValue : CVXFilter::kSidRamp;
    filter.sourceEnergies = std::move(energies);
    return true;
}

int IndexOf(const auto& names, const QString& token) {
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
        if (names[i][0] != '\0' && token.compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool ParseFilter(const QString& input, CVXFilter& filter) {
    filter = CVXFilter();
    QString head = input.trimmed();
    const int open = head.indexOf(u'[');
    if (open >= 0) {
        const QString tail = head.mid(open).trimmed();
        if (!tail.endsWith(u']') || tail.count(u'[') != 1 || tail.count(u']') != 1) return false;
        head = head.left(open);
        // Ranges are parsed after the head, so that a "sid" token is known by then.
        if (!ParseFilter(head, filter)) return false;
        return ParseRanges(tail.mid(1, tail.size() - 2), filter);
    }

    const QStringList tokens = head.split(u' ', Qt::SkipEmptyParts);
    bool precursorsAllowed = false;
    bool singlePrecursor = false;
    for (const QString& token : tokens) {
        if (precursorsAllowed && IsPrecursorToken(token)) {
            const auto precursor = ParsePrecursor(token);
            if (!precursor) return false;
            if (static_cast<int>(filter.precursors.size()) >= CVXFilter::kMaxPrecursors)
                return false;
            filter.precursors.push_back(*precursor);
            if (singlePrecursor) precursorsAllowed = false;
            continue;
        }
        precursorsAllowed = false;
        if (token == QLatin1String("+")) {
            filter.polarity = CVXFilter::kPositive;
        } else if (token == QLatin1String("-")) {
            filter.polarity = CVXFilter::kNegative;
        } else if (token == QLatin1String("c")) {
            filter.scanData = CVXFilter::kCentroid;
        } else if (token == QLatin1String("p")) {
            filter.scanData = CVXFilter::kProfile;
        } else if (token == QLatin1String("d")) {
            filter.dependent = CVXFilter::kDependent;
        } else if (token == QLatin1String("!d")) {
            filter.dependent = CVXFilter::kNotDependent;
        } else if (token == QLatin1String("t")) {
            filter.turboScan = CVXFilter::kOn;
        } else if (token == QLatin1String("!t")) {
            filter.turboScan = CVXFilter::kOff;
        } else if (token == QLatin1String("w")) {
            filter.wideband = CVXFilter::kWidebandOn;
        } else if (token == QLatin1String("!w")) {
            filter.wideband = CVXFilter::kWidebandOff;
        } else if (token == QLatin1String("corona")) {
            filter.corona = CVXFilter::kOn;
        } else if (token == QLatin1String("!corona")) {
            filter.corona = CVXFilter::kOff;
        } else if (token == QLatin1String("!sid")) {
            filter.sourceCID = CVXFilter::kOff;
        } else if (token == QLatin1String("sid") || token.startsWith(QLatin1String("sid="))) {
            if (!ParseSid(token, filter)) return false;
        } else if (token.startsWith(QLatin1String("det="))) {
            const auto value = PlainNumber(token.mid(4));
            if (!value) return false;
            filter.detector = CVXFilter::kDetectorValid;
            filter.detectorValue = *value;
        } else if (token.startsWith(u'{') && token.endsWith(u'}')) {
            QString inner = token.mid(1, token.size() - 2);
            const QStringList parts = inner.replace(u';', u',').split(u',');
            if (parts.size() != 2) return false;
            long long high = 0;
            long long low = 0;
            if (!ParseInt(parts[0], high) || !ParseInt(parts[1], low) || high < 0 || low < 0 ||
                high > 0x7FFF || low > 0xFFFF)
                return false;
            filter.scanTypeIndex = static_cast<int>((high << 16) | low);
        } else if (IndexOf(kScanTypeNames, token) >= 0) {
            filter.scanType = IndexOf(kScanTypeNames, token);
        } else if (token.compare(QLatin1String("ms"), Qt::CaseInsensitive) == 0) {
            filter.msOrder = CVXFilter::kMs;
        } else if (token.startsWith(QLatin1String("ms"), Qt::CaseInsensitive) && token.size() > 2 &&
                   token[2].isDigit()) {
            long long order = 0;
            if (!ParseInt(token.mid(2), order) || order < 2 || order > CVXFilter::kMaxMsOrderValue)
                return false;
            filter.msOrder = static_cast<int>(order);
            precursorsAllowed = true;
            singlePrecursor = false;
        } else if (token == QLatin1String("cng") || token == QLatin1String("cnl") ||
                   token == QLatin1String("pr")) {
            filter.msOrder = token == QLatin1String("cng")   ? CVXFilter::kNg
                             : token == QLatin1String("cnl") ? CVXFilter::kNl
                                                             : CVXFilter::kPar;
            precursorsAllowed = true;
            singlePrecursor = true;
        } else if (IndexOf(kIonizationNames, token) >= 0) {
            filter.ionizationMode = IndexOf(kIonizationNames, token);
        } else if (kAnalyzers.contains(token, Qt::CaseInsensitive)) {
            if (!filter.analyzer.isEmpty()) return false;
            filter.analyzer = token.toUpper();
        } else if (kFlags.contains(token)) {
            filter.flags.append(token);
        } else {
            return false;
        }
    }
    return true;
}

QString FormatNumber(double value, int decimals) {
    return QCFormat("%.*f", std::max(0, decimals), value);
}

}  // namespace

int CVXFilter::FilterString(const QString& text) {
    CVXFilter parsed;
    if (!ParseFilter(text, parsed)) return 0;
    *this = std::move(parsed);
    return 1;
}

QString CVXFilter::FilterString(int massDecimals, int maxLength, int energyDecimals) const {
    QString text;
    auto add = [&text](const QString& token) { text += token + u' '; };
    if (!analyzer.isEmpty()) add(analyzer);
    if (scanTypeIndex != -1)
        add(QCFormat("{%d,%d}", (scanTypeIndex >> 16) & 0xFFFF, scanTypeIndex & 0xFFFF));
    if (polarity == kNegative) add("-");
    if (polarity == kPositive) add("+");
    if (scanData == kCentroid) add("c");
    if (scanData == kProfile) add("p");
    if (ionizationMode >= 0 && ionizationMode < static_cast<int>(kIonizationNames.size()))
        add(QLatin1String(kIonizationNames[ionizationMode]));
    if (corona == kOn) add("corona");
    if (corona == kOff) add("!corona");
    if (sourceCID == kOff) add("!sid");
    if (sourceCID == kOn) {
        const auto energy = [this](std::size_t i) {
            return i < sourceEnergies.size() ? sourceEnergies[i].energy : 0.0;
        };
        if (sourceCIDType == kSidSingleValue) {
            add("sid=" + FormatNumber(energy(0), energyDecimals));
        } else if (sourceCIDType == kSidRamp) {
            add("sid=" + FormatNumber(energy(0), energyDecimals) + u'-' +
                FormatNumber(energy(1), energyDecimals));
        } else {
            add("sid");
        }
    }
    if (detector == kDetectorValid) add("det=" + FormatNumber(detectorValue, energyDecimals));
    if (turboScan == kOn) add("t");
    if (turboScan == kOff) add("!t");
    if (dependent == kNotDependent) add("!d");
    if (dependent == kDependent) add("d");
    if (wideband == kWidebandOff) add("!w");
    if (wideband == kWidebandOn) add("w");
    for (const QString& flag : flags) add(flag);
    if (scanType >= 0 && scanType < static_cast<int>(kScanTypeNames.size()) &&
        kScanTypeNames[scanType][0] != '\0')
        add(QLatin1String(kScanTypeNames[scanType]));

    auto precursorText = [&](const Precursor& p) {
        QString token = FormatNumber(p.mass, massDecimals);
        if (p.energyValid) token += u'@' + p.activation + FormatNumber(p.energy, energyDecimals);
        return token;
    };
    if (scanType != kQ1MS && scanType != kQ3MS) {
        if (msOrder == kNg || msOrder == kNl || msOrder == kPar) {
            add(msOrder == kNg ? "cng" : msOrder == kNl ? "cnl" : "pr");
            if (!precursors.empty()) add(precursorText(precursors.front()));
        } else if (msOrder == kMs) {
            add("ms");
        } else if (msOrder >= 2 && msOrder <= kMaxMsOrderValue) {
            add(QCFormat("ms%d", msOrder));
            for (const Precursor& p : precursors) add(precursorText(p));
        }
    }
    if (!massRanges.empty()) {
        text += QLatin1String("[ ");
        for (std::size_t i = 0; i < massRanges.size(); ++i) {
            if (i > 0) text += QLatin1String(", ");
            const CVX_MassRange& range = massRanges[i];
            text += FormatNumber(range.low, massDecimals);
            if (range.high != range.low) text += u'-' + FormatNumber(range.high, massDecimals);
            if (sourceCID == kOn && sourceCIDType == kSidSIM && i < sourceEnergies.size() &&
                sourceEnergies[i].valid)
                text += u'@' + FormatNumber(sourceEnergies[i].energy, energyDecimals);
        }
        text += u']';
    }
    if (maxLength >= 3 && text.size() > maxLength) text = text.left(maxLength - 3) + "...";
    while (text.endsWith(u' ')) text.chop(1);
    return text;
}

bool CVXFilter::IsAcceptAll() const {
    return scanTypeIndex == -1 && scanData == kAnyScanData && polarity == kAnyPolarity &&
           dependent == kAnyDependent && sourceCID == kAny && turboScan == kAny && corona == kAny &&
           msOrder == kAnyMSOrder && scanType == kAnyScanType && ionizationMode == kAnyIonization &&
           detector == kAnyDetector && sourceCIDType == kAnySidType && massRanges.empty() &&
           analyzer.isEmpty() && flags.isEmpty() && precursors.empty();
}

bool CVXFilter::Matches(const CVXFilter& scan, double massTolerance) const {
    auto same = [](int wanted, int any, int actual) { return wanted == any || wanted == actual; };
    if (!same(scanData, kAnyScanData, scan.scanData) ||
        !same(polarity, kAnyPolarity, scan.polarity) || !same(msOrder, kAnyMSOrder, scan.msOrder) ||
        !same(dependent, kAnyDependent, scan.dependent) ||
        !same(wideband, kAnyWideband, scan.wideband) || !same(sourceCID, kAny, scan.sourceCID) ||
        !same(scanType, kAnyScanType, scan.scanType) || !same(turboScan, kAny, scan.turboScan) ||
        !same(ionizationMode, kAnyIonization, scan.ionizationMode) ||
        !same(corona, kAny, scan.corona) || !same(scanTypeIndex, -1, scan.scanTypeIndex))
        return false;
    if (detector == kDetectorValid &&
        (scan.detector != kDetectorValid || std::fabs(detectorValue - scan.detectorValue) >= 0.01))
        return false;
    if (!analyzer.isEmpty() && analyzer.compare(scan.analyzer, Qt::CaseInsensitive) != 0)
        return false;
    for (const QString& flag : flags) {
        if (!scan.flags.contains(flag)) return false;
    }
    if (!precursors.empty()) {
        if (precursors.size() != scan.precursors.size()) return false;
        for (std::size_t i = 0; i < precursors.size(); ++i) {
            const Precursor& want = precursors[i];
            const Precursor& have = scan.precursors[i];
            if (std::fabs(want.mass - have.mass) > massTolerance) return false;
            if (want.energyValid && have.energyValid &&
                std::fabs(want.energy - have.energy) >= 0.01)
                return false;
            if (!want.activation.isEmpty() && !have.activation.isEmpty() &&
                want.activation != have.activation)
                return false;
        }
    }
    if (!massRanges.empty()) {
        if (massRanges.size() != scan.massRanges.size()) return false;
        for (std::size_t i = 0; i < massRanges.size(); ++i) {
            if (std::fabs(massRanges[i].low - scan.massRanges[i].low) > massTolerance ||
                std::fabs(massRanges[i].high - scan.massRanges[i].high) > massTolerance)
                return false;
        }
    }
    return true;
}

CVX_FilterStruct::CVX_FilterStruct(int maxMsOrder, int massDecimals, int energyDecimals)
    : maxMsOrder_(maxMsOrder), massDecimals_(massDecimals), energyDecimals_(energyDecimals) {}

int CVX_FilterStruct::FilterInRng(const QString& text) {
    CVXFilter parsed;
    if (!parsed.FilterString(text)) return 0;
    if (parsed.msOrder > maxMsOrder_) return 0;
    for (const CVX_MassRange& range : parsed.massRanges) {
        if (range.low < 0.0 || range.low > range.high || range.high > kMaxAcceptedMass) return 0;
    }
    filter_ = std::move(parsed);
    return 1;
}

bool CVX_FilterStruct::GetMassRangeN(int i, double& low, double& high) const {
    if (i < 0 || i >= GetMassRangeCount()) return false;
    low = filter_.massRanges[i].low;
    high = filter_.massRanges[i].high;
    return true;
}

}  // namespace zar
