#include "databases/DtaIons.h"

#include "core/Numbers.h"

#include <QRegularExpression>

#include <cctype>
#include <string>

namespace zar {

namespace {

// The number right after a key in the text; false when the key is absent.
bool NumberAfter(const QString& text, const QString& key, double& value) {
    const qsizetype at = text.indexOf(key);
    if (at < 0) return false;
    double v[1];
    if (ScanNumbers(text.mid(at + key.size()), v, 1) != 1) return false;
    value = v[0];
    return true;
}

// The mass of a "%s %lf" group such as "M* +15.995"; 0 when it has no number.
double GroupMass(const QString& group) {
    const QString trimmed = group.trimmed();
    const qsizetype blank = trimmed.indexOf(QLatin1Char(' '));
    if (blank < 0) return 0.0;
    double v[1];
    return ScanNumbers(trimmed.mid(blank + 1), v, 1) == 1 ? v[0] : 0.0;
}

double Charged(double mass, int charge, double h) {
    return charge > 1 ? (mass + (charge - 1) * h) / charge : mass;
}

}  // namespace

void ParseModifications(const QString& text, SequenceMassTable& masses,
                        PeptideModifications& modifications) {
    if (text.isEmpty()) return;
    for (const char letter : std::string("GASPVTCLIXNOBDQKZEMHFRYW")) {
        double mass;
        if (NumberAfter(text, QString(QLatin1Char(letter)) + QLatin1Char('='), mass)) {
            masses.residue[static_cast<unsigned char>(letter)] = mass;
            masses.residue[static_cast<unsigned char>(letter | 0x20)] = mass;
        }
    }
    NumberAfter(text, QStringLiteral("+Nterm-pep="), modifications.nTerminal);
    NumberAfter(text, QStringLiteral("+Cterm-pep="), modifications.cTerminal);
    const qsizetype open = text.indexOf(QLatin1Char('('));
    if (open < 0) return;
    static const QRegularExpression kParens(QStringLiteral("[()]"));
    const QStringList pieces = text.mid(1).split(kParens);
    if (!pieces.isEmpty()) modifications.differential[0] = GroupMass(pieces[0]);
    if (text.indexOf(QLatin1Char('('), open + 1) >= 0 && pieces.size() > 2)
        modifications.differential[1] = GroupMass(pieces[2]);
}

std::vector<std::pair<char, double>> StaticResidueShifts(const QString& text, bool monoisotopic) {
    const SequenceMassTable plain = SequenceMassTable::For(monoisotopic);
    SequenceMassTable modified = plain;
    PeptideModifications ignored;
    ParseModifications(text, modified, ignored);
    std::vector<std::pair<char, double>> shifts;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const auto at = static_cast<unsigned char>(letter);
        const double shift = modified.residue[at] - plain.residue[at];
        if (shift != 0.0) shifts.emplace_back(letter, shift);
    }
    return shifts;
}

QString StripFlankingResidues(const QString& text) {
    QString core = text;
    if (core.size() >= 2 && core[1] == QLatin1Char('.')) core = core.mid(2);
    // A flanking residue after the last '.' is no part of the peptide.
    if (core.size() >= 2 && core[core.size() - 2] == QLatin1Char('.')) core.chop(2);
    if (core.endsWith(QLatin1Char('.'))) core.chop(1);
    return core;
}

std::vector<ModifiedResidue> ParseIonPeptide(const QString& text) {
    const QString core = StripFlankingResidues(text);
    std::vector<ModifiedResidue> residues;
    for (const QChar qc : core) {
        const char16_t c = qc.unicode();
        if (c < 128 && std::isalpha(int(c))) {
            if (static_cast<int>(residues.size()) == kMaxIonResidues) break;
            residues.push_back({static_cast<char>(std::toupper(int(c))), 0});
            continue;
        }
        for (std::size_t m = 0; m < kDifferentialMarks.size(); ++m)
            if (c == char16_t(kDifferentialMarks[m]) && !residues.empty())
                residues.back().modification = int(m) + 1;
    }
    return residues;
}

DtaIonTable CalculateDtaIons(const QString& peptide, int charge, int ionSeries,
                             const SequenceMassTable& masses,
                             const PeptideModifications& modifications,
                             const CDtaSpectrum& spectrum) {
    DtaIonTable table;
    const std::vector<ModifiedResidue> residues = ParseIonPeptide(peptide);
    const int n = static_cast<int>(residues.size());
    std::vector<double> own(residues.size());
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        const ModifiedResidue& r = residues[std::size_t(i)];
        own[std::size_t(i)] =
            masses.residue[static_cast<unsigned char>(r.residue)] +
            (r.modification ? modifications.differential[std::size_t(r.modification - 1)] : 0.0);
        sum += own[std::size_t(i)];
        table.cumulative.push_back(sum);
    }
    table.totalResidueMass = sum;
    const double halfBin = spectrum.binWidth() / 2.0;
    const auto label = [&](double mz, bool present, char kind, int number) {
        table.labels.push_back({mz - halfBin, mz, mz + halfBin, present ? 3 : 0,
                                QCFormat("%c%d-%d", kind, charge, number), 0, 1});
    };
    for (int i = 0; i < n; ++i) {
        const ModifiedResidue& r = residues[std::size_t(i)];
        DtaIonRow row;
        row.number = i + 1;
        row.residue =
            QCFormat(" %c%c", r.residue,
                     r.modification ? kDifferentialMarks[std::size_t(r.modification - 1)] : ' ');
        row.fromCTerminus = n - i;
        const double cumulative = table.cumulative[std::size_t(i)];
        if (ionSeries & kIonSeriesA) {
            row.hasA = true;
            row.a = Charged(cumulative + modifications.nTerminal - kAIonOffset, charge, masses.h);
            row.aPresent = spectrum.findPeak(row.a);
            label(row.a, row.aPresent, 'a', i + 1);
        }
        if (ionSeries & kIonSeriesB) {
            row.hasB = true;
            row.b = Charged(cumulative + modifications.nTerminal + masses.h, charge, masses.h);
            row.bPresent = spectrum.findPeak(row.b);
            label(row.b, row.bPresent, 'b', i + 1);
        }
        if (ionSeries & kIonSeriesY) {
            row.hasY = true;
            row.y = Charged(
                sum - cumulative + own[std::size_t(i)] + modifications.cTerminal + kYIonOffset,
                charge, masses.h);
            row.yPresent = spectrum.findPeak(row.y);
            label(row.y, row.yPresent, 'y', n - i);
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

}  // namespace zar
