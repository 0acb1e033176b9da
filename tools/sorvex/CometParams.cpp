#include "CometParams.h"

#include "core/Numbers.h"

#include <QStringList>

#include <utility>
#include <vector>

namespace zar {

namespace {

constexpr const char* kEnzymeSection = "[COMET_ENZYME_INFO]";
// Letters whose static additions Comet takes as ours; B, J, X and Z are user-defined residues
// there, so their additions would change what the letters mean.
constexpr const char* kCometStaticLetters = "GASPVTCLINDQKEMOHFRYWU";

using Values = std::vector<std::pair<QString, QString>>;

QString Mass(double value) {
    return QCFormat("%.6f", value);
}

Values OurValues(const SearchParamsFile& p) {
    const double bin = CometFragmentBin(p);
    const bool lowResolution = bin >= 0.5;
    const bool enzyme = p.enzymeNumber > 0 && !p.enzyme.name.isEmpty();
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    const auto weight = [&p](int i) { return p.ionWeights[static_cast<size_t>(i)] > 0.0; };
    Values v = {
        {"decoy_search", "0"},
        {"num_threads", "0"},
        {"peptide_mass_tolerance", QCFormat("%.4f", p.peptideTolerance)},
        {"peptide_mass_units", "0"},         // mass units, as ours
        {"mass_type_parent", flag(p.monoParent)},
        {"mass_type_fragment", flag(p.monoFragment)},
        {"precursor_tolerance_type", "0"},   // on (M+H)+, as ours
        {"isotope_error", "0"},
        {"search_enzyme_number", enzyme ? "1" : "0"},
        {"search_enzyme2_number", "0"},
        {"num_enzyme_termini", "2"},
        {"allowed_missed_cleavage", QString::number(std::min(p.cleavageSites, 5))},
        {"max_variable_mods_in_peptide", "5"},
        {"require_variable_mod", "0"},
        {"fragment_bin_tol", QCFormat("%.4f", bin)},
        {"fragment_bin_offset", lowResolution ? "0.4" : "0.0"},
        {"theoretical_fragment_ions", lowResolution ? "1" : "0"},
        // Weights of a b c d v w x y z: Comet knows a, b, c, x, y and z.
        {"use_A_ions", flag(weight(0))},
        {"use_B_ions", flag(weight(1))},
        {"use_C_ions", flag(weight(2))},
        {"use_X_ions", flag(weight(6))},
        {"use_Y_ions", flag(weight(7))},
        {"use_Z_ions", flag(weight(8))},
        {"use_NL_ions",
         flag(p.neutralLoss[0] != 0 || p.neutralLoss[1] != 0 || p.neutralLoss[2] != 0)},
        {"output_sqtstream", "0"},
        {"output_sqtfile", "0"},
        {"output_txtfile", "1"},
        {"output_pepxmlfile", "0"},
        {"output_percolatorfile", "0"},
        {"print_expect_score", "0"},
        {"num_output_lines", QString::number(p.outputLines)},
        {"show_fragment_ions", "0"},
        {"sample_enzyme_number", enzyme ? "1" : "0"},
        {"scan_range", "0 0"},
        {"precursor_charge", "0 0"},
        {"override_charge", "0"},
        {"ms_level", "2"},
        {"activation_method", "ALL"},
        {"digest_mass_range", "100.0 10000.0"},
        {"peptide_length_range", "1 63"},
        // Comet scores every candidate whatever it keeps; the hits it keeps per spectrum only
        // cost it time (500 of them took most of a short search in loading the spectra and in
        // the analysis after the pass). One more than shown keeps its distance to the next hit.
        {"num_results", QString::number(p.outputLines + 1)},
        {"max_duplicate_proteins", "-1"},
        {"skip_researching", "1"},
        {"max_fragment_charge", "3"},
        {"max_precursor_charge", "9"},
        {"nucleotide_reading_frame", QString::number(p.readingFrame)},
        {"clip_nterm_methionine", "0"},
        {"spectrum_batch_size", "0"},
        {"equal_I_and_L", "1"},
        {"output_suffix", ""},
        {"mass_offsets", ""},
        {"precursor_NL_ions", ""},
        {"minimum_peaks", "1"},
        {"minimum_intensity", "0"},
        {"remove_precursor_peak", flag(p.removePrecursorPeak)},
        {"clear_mz_range", "0.0 0.0"},
        {"add_Cterm_peptide", Mass(p.cTermPeptide)},
        {"add_Nterm_peptide", Mass(p.nTermPeptide)},
        {"add_Cterm_protein", Mass(p.cTermProtein)},
        {"add_Nterm_protein", Mass(p.nTermProtein)},
    };
    for (int i = 0; i < kCometVariableMods; ++i) {
        QString mod = QStringLiteral("0.0 X 0 3 -1 0 0 0.0");
        if (i < static_cast<int>(p.differential.size())) {
            const SearchDifferentialMod& d = p.differential[static_cast<size_t>(i)];
            mod = QStringLiteral("%1 %2 0 %3 -1 0 0 0.0")
                      .arg(Mass(d.mass), d.residues)
                      .arg(std::max(p.maxDifferentialPerMod, 1));
        }
        v.emplace_back(QCFormat("variable_mod%02d", i + 1), mod);
    }
    return v;
}

// The key of a "key = value" line, empty for comments and other lines.
QString KeyOf(const QString& line) {
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(QLatin1Char('#')) || trimmed.startsWith(QLatin1Char('['))) return {};
    const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
    return equals > 0 ? trimmed.left(equals).trimmed() : QString();
}

// The key of the template that holds the static addition of a residue letter.
QString StaticKeyFor(const QStringList& lines, QChar letter) {
    const QString prefix = QStringLiteral("add_%1_").arg(letter);
    for (const QString& line : lines) {
        const QString key = KeyOf(line);
        if (key.startsWith(prefix)) return key;
    }
    return {};
}

}  // namespace

double CometFragmentBin(const SearchParamsFile& params) {
    return params.fragmentTolerance > 0.0 ? params.fragmentTolerance : kCometDefaultFragmentBin;
}

QString CometParamsText(const QString& templateText, const SearchParamsFile& p) {
    QStringList lines = templateText.split(QLatin1Char('\n'));
    const qsizetype section = lines.indexOf(QString::fromLatin1(kEnzymeSection));
    if (section >= 0) lines = lines.mid(0, section);
    while (!lines.isEmpty() && lines.back().trimmed().isEmpty()) lines.removeLast();

    Values values = OurValues(p);
    for (char letter : QByteArray("BJXZ")) {
        const QString key = StaticKeyFor(lines, QLatin1Char(letter));
        if (!key.isEmpty()) values.emplace_back(key, Mass(0.0));
    }
    for (const char* letter = kCometStaticLetters; *letter; ++letter) {
        const QString key = StaticKeyFor(lines, QLatin1Char(*letter));
        if (!key.isEmpty())
            values.emplace_back(key, Mass(p.staticResidue[static_cast<size_t>(*letter - 'A')]));
    }
    std::vector<bool> used(values.size(), false);
    for (QString& line : lines) {
        const QString key = KeyOf(line);
        if (key.isEmpty()) continue;
        for (size_t i = 0; i < values.size(); ++i) {
            if (values[i].first != key) continue;
            const qsizetype hash = line.indexOf(QLatin1Char('#'));
            const QString comment = hash >= 0 ? QStringLiteral("   ") + line.mid(hash) : QString();
            line = key + QStringLiteral(" = ") + values[i].second + comment;
            used[i] = true;
            break;
        }
    }
    for (size_t i = 0; i < values.size(); ++i)
        if (!used[i]) lines << values[i].first + QStringLiteral(" = ") + values[i].second;

    lines << QString() << QString::fromLatin1(kEnzymeSection);
    lines << QStringLiteral("0.  No_enzyme              0      -           -");
    if (p.enzymeNumber > 0 && !p.enzyme.name.isEmpty()) {
        const auto orDash = [](const QString& r) { return r.isEmpty() ? QStringLiteral("-") : r; };
        lines << QStringLiteral("1.  %1  %2  %3  %4")
                     .arg(p.enzyme.name)
                     .arg(p.enzyme.sense)
                     .arg(orDash(p.enzyme.cleavage), orDash(p.enzyme.blocking));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

}  // namespace zar
