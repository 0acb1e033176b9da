#include "CometResults.h"

#include "core/Numbers.h"
#include "core/TextFile.h"

#include <QDir>

#include <algorithm>

namespace zar {

namespace {

const char* const kColumns[] = {"scan",         "num",          "charge",
                                "exp_neutral_mass", "calc_neutral_mass", "xcorr",
                                "delta_cn",     "sp_score",     "ions_matched",
                                "ions_total",   "plain_peptide", "prev_aa",
                                "next_aa",      "protein",      "protein_count",
                                "modifications"};
enum Column {
    kScan, kNum, kCharge, kExpMass, kCalcMass, kXcorr, kDeltaCn, kSp, kIonsMatched, kIonsTotal,
    kPeptide, kPrevious, kNext, kProtein, kProteinCount, kModifications, kColumnCount
};

}  // namespace

bool CCometResults::read(const QString& path, QString& error) {
    hits_.clear();
    TextLineReader reader;
    if (!reader.open(path)) {
        error = QStringLiteral("Cannot read Comet's results %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    QString line;
    if (reader.readLine(line)) version_ = line.section(QLatin1Char('\t'), 0, 0);
    int at[kColumnCount];
    std::fill(std::begin(at), std::end(at), -1);
    if (reader.readLine(line)) {
        const QStringList names = line.split(QLatin1Char('\t'));
        for (int c = 0; c < kColumnCount; ++c)
            at[c] = static_cast<int>(names.indexOf(QString::fromLatin1(kColumns[c])));
    }
    for (int c = 0; c < kColumnCount; ++c) {
        if (at[c] < 0 && c != kModifications) {
            error = QStringLiteral("Comet's results %1 have no column \"%2\"")
                        .arg(QDir::toNativeSeparators(path), QString::fromLatin1(kColumns[c]));
            return false;
        }
    }
    while (reader.readLine(line)) {
        if (line.trimmed().isEmpty()) continue;
        const QStringList f = line.split(QLatin1Char('\t'));
        const auto field = [&](Column c) { return at[c] < f.size() ? f[at[c]] : QString(); };
        const auto integer = [&](Column c) { return static_cast<int>(LeadingInt(field(c))); };
        const auto number = [&](Column c) { return LeadingDouble(field(c)); };
        CometHit hit;
        hit.scan = integer(kScan);
        hit.rank = integer(kNum);
        hit.charge = integer(kCharge);
        hit.experimentalMass = number(kExpMass);
        hit.calculatedMass = number(kCalcMass);
        hit.xcorr = number(kXcorr);
        hit.deltaCn = number(kDeltaCn);
        hit.sp = number(kSp);
        hit.ionsMatched = integer(kIonsMatched);
        hit.ionsTotal = integer(kIonsTotal);
        hit.peptide = field(kPeptide);
        hit.previousResidue = field(kPrevious);
        hit.nextResidue = field(kNext);
        hit.proteins = field(kProtein).split(QLatin1Char(','), Qt::SkipEmptyParts);
        hit.proteinCount = integer(kProteinCount);
        const QString mods = at[kModifications] >= 0 ? field(kModifications) : QString();
        if (mods != QLatin1String("-"))
            hit.modifications = mods.split(QLatin1Char(','), Qt::SkipEmptyParts);
        if (hit.scan <= 0 || hit.peptide.isEmpty()) continue;
        hits_[{hit.scan, hit.charge}].push_back(std::move(hit));
    }
    if (reader.hadError()) {
        error = QStringLiteral("Cannot read Comet's results %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    for (auto& [key, list] : hits_)
        std::stable_sort(list.begin(), list.end(),
                         [](const CometHit& a, const CometHit& b) { return a.rank < b.rank; });
    return true;
}

const std::vector<CometHit>& CCometResults::hits(int scan, int charge) const {
    static const std::vector<CometHit> kNone;
    const auto it = hits_.find({scan, charge});
    return it == hits_.end() ? kNone : it->second;
}

}  // namespace zar
