#include "DenovoSelection.h"

#include "DenovoEngine.h"
#include "document/AminoAcidMasses.h"

#include <QRegularExpression>

#include <cmath>

namespace zar {

namespace {

// Water and a proton on a y ion, a proton on a b ion: nominal and monoisotopic.
constexpr int kNominalBTerminal = 1;
constexpr int kNominalYTerminal = 19;

int ReadGap(const QString& digits) {
    bool ok = false;
    const int value = digits.toInt(&ok);
    return ok ? value : 0;
}

}  // namespace

DenovoSelectionRecord ParseDenovoCandidate(const QString& text) {
    DenovoSelectionRecord record;
    const QString cell = text.trimmed();
    if (!cell.contains(QLatin1Char('.'))) {
        record.text = cell.left(kMaxDenovoSelectionLetters);
        return record;
    }
    // A leading number before the first dot, the letters, a trailing number after the last.
    static const QRegularExpression form(
        QStringLiteral("^(?:(\\d+)\\.)?([A-Za-z]+)(?:\\.(\\d+))?$"));
    const QRegularExpressionMatch m = form.match(cell);
    if (!m.hasMatch()) return record;
    record.first = m.capturedLength(1) > 0 ? ReadGap(m.captured(1)) : 0;
    record.text = m.captured(2).left(kMaxDenovoSelectionLetters);
    record.second = m.capturedLength(3) > 0 ? ReadGap(m.captured(3)) : 0;
    return record;
}

std::vector<DenovoIonLabel> DenovoSelectionLabels(const DenovoSelectionRecord& selection,
                                                  DenovoIonScale scale) {
    std::vector<DenovoIonLabel> labels;
    ResidueMassTable masses = ZeroResidueMasses();
    InitAminoAcidMasses(masses, true);
    const bool nominal = scale == DenovoIonScale::Nominal;
    // Residue masses on the chosen scale; the engine's nominal mass is the integer part.
    std::vector<double> residues;
    for (QChar c : selection.text) {
        const double m = c.unicode() < 256 ? masses[c.unicode()] : 0.0;
        if (m > 0.0) residues.push_back(nominal ? std::floor(m) : m);
    }
    if (residues.empty()) return labels;
    // The gaps are nominal: on the measured scale they become masses again.
    const double head =
        nominal ? selection.first : selection.first / CDenovoEngine::kMS2NominalFactor;
    const double tail =
        nominal ? selection.second : selection.second / CDenovoEngine::kMS2NominalFactor;
    const double bTerminal = nominal ? kNominalBTerminal : CDenovoEngine::kProton;
    const double yTerminal = nominal ? kNominalYTerminal : CDenovoEngine::kWaterPlusProton;
    const int n = static_cast<int>(residues.size());
    std::vector<double> prefix(static_cast<size_t>(n) + 1, head);
    for (int k = 1; k <= n; ++k) prefix[k] = prefix[k - 1] + residues[static_cast<size_t>(k - 1)];
    const auto add = [&labels](QString text, double mz, int colourSet) {
        labels.push_back({std::move(text), mz, mz - kDenovoLabelHalfWidth,
                          mz + kDenovoLabelHalfWidth, colourSet});
    };
    for (int k = 1; k <= n; ++k) {
        add(QStringLiteral("b%1").arg(k), prefix[k] + bTerminal, kDenovoBColourSet);
        // Residues k..n, then the trailing gap.
        add(QStringLiteral("y%1").arg(n - k + 1), tail + prefix[n] - prefix[k - 1] + yTerminal,
            kDenovoYColourSet);
    }
    return labels;
}

}  // namespace zar
