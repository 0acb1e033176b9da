#include "SearchParamsFile.h"

#include "core/Numbers.h"
#include "core/Paths.h"
#include "search/BuildixSettings.h"
#include "search/ParamFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>

namespace zar {

namespace {

constexpr const char* kEnzymeSections[] = {"[SORVEX_ENZYME_INFO]", "[MASSMAP_ENZYME_INFO]"};
constexpr char kDifferentialSymbols[] = {'*', '#', '@'};
// The residue letters of the static-modification keys ("add_G_Glycine").
constexpr const char* kStaticLetters = "GASPVTCLIXNOBDQKZEMHFRYW";

QStringList Words(const QString& text) {
    return text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

// Reads the key's value when the file has it; a value that is there but is no number fails.
class Reader {
  public:
    Reader(const CParamFile& file, const QString& path) : file_(file), path_(path) {}

    bool number(const char* key, double& value) {
        QString text;
        if (!file_.GetEntryString(QString::fromLatin1(key), text) || text.isEmpty()) return true;
        if (file_.GetEntryDouble(QString::fromLatin1(key), value)) return true;
        return bad(key, text);
    }
    bool number(const char* key, int& value) {
        QString text;
        if (!file_.GetEntryString(QString::fromLatin1(key), text) || text.isEmpty()) return true;
        if (file_.GetEntryInt(QString::fromLatin1(key), value)) return true;
        return bad(key, text);
    }
    bool flag(const char* key, bool& value) {
        int v = value ? 1 : 0;
        if (!number(key, v)) return false;
        value = v != 0;
        return true;
    }
    QString text(const char* key) const {
        QString value;
        file_.GetEntryString(QString::fromLatin1(key), value);
        return value.trimmed();
    }
    bool bad(const char* key, const QString& text) {
        error = QStringLiteral("%1: the value \"%2\" of %3 is not usable")
                    .arg(QDir::toNativeSeparators(path_), text, QString::fromLatin1(key));
        return false;
    }
    QString error;

  private:
    const CParamFile& file_;
    QString path_;
};

bool ReadIonSeries(Reader& r, const QString& text, SearchParamsFile& p) {
    if (text.isEmpty()) return true;
    const QStringList words = Words(text);
    if (words.size() < 12) return r.bad("ion_series", text);
    for (int i = 0; i < 3; ++i) {
        long long v = 0;
        if (!ParseInt(words[i], v)) return r.bad("ion_series", text);
        p.neutralLoss[static_cast<size_t>(i)] = static_cast<int>(v);
    }
    for (int i = 0; i < 9; ++i) {
        if (!ParseDouble(words[i + 3], p.ionWeights[static_cast<size_t>(i)]))
            return r.bad("ion_series", text);
    }
    return true;
}

bool ReadDifferential(Reader& r, const QString& text, SearchParamsFile& p) {
    const QStringList words = Words(text);
    for (qsizetype i = 0; i + 1 < words.size() && i / 2 < 3; i += 2) {
        double mass = 0.0;
        if (!ParseDouble(words[i], mass)) return r.bad("diff_search_options", text);
        const QString residues = words[i + 1].toUpper();
        if (mass == 0.0 || residues.isEmpty()) continue;
        p.differential.push_back({residues, mass, QLatin1Char(kDifferentialSymbols[i / 2])});
    }
    return true;
}

}  // namespace

QString SearchParamsFile::IonSeriesText() const {
    QString text = QCFormat("%d %d %d", neutralLoss[0], neutralLoss[1], neutralLoss[2]);
    for (double w : ionWeights) text += QCFormat(" %.1f", w);
    return text;
}

bool ReadSearchParamsFile(const QString& path, SearchParamsFile& p, QString& error) {
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo(path).isFile()) {
        error = QStringLiteral("The parameter file %1 does not exist").arg(shown);
        return false;
    }
    CParamFile file;
    if (!file.Open(path) || !file.IsLoaded()) {
        error = QStringLiteral("Cannot read the parameter file %1").arg(shown);
        return false;
    }
    Reader r(file, path);
    QString database = r.text("first_database_name");
    if (database.isEmpty()) database = r.text("database_name");
    if (database.isEmpty()) {
        error = QStringLiteral("The parameter file %1 names no database").arg(shown);
        return false;
    }
    p.database = PortablePath(database);

    bool monoParent = p.monoParent, monoFragment = p.monoFragment;
    const bool read =
        r.number("peptide_mass_tolerance", p.peptideTolerance) &&
        ReadIonSeries(r, r.text("ion_series"), p) &&
        r.number("fragment_ion_tolerance", p.fragmentTolerance) &&
        r.number("num_output_lines", p.outputLines) && r.number("num_results", p.numResults) &&
        r.number("num_description_lines", p.descriptionLines) &&
        r.flag("print_duplicate_references", p.printDuplicateReferences) &&
        r.number("enzyme_number", p.enzymeNumber) &&
        r.number("max_num_differential_AA_per_mod", p.maxDifferentialPerMod) &&
        ReadDifferential(r, r.text("diff_search_options"), p) &&
        r.number("nucleotide_reading_frame", p.readingFrame) &&
        r.flag("mass_type_parent", monoParent) && r.flag("mass_type_fragment", monoFragment) &&
        r.flag("remove_precursor_peak", p.removePrecursorPeak) &&
        r.number("ion_cutoff_percentage", p.ionCutoff) &&
        r.number("max_num_internal_cleavage_sites", p.cleavageSites) &&
        r.number("add_Cterm_peptide", p.cTermPeptide) &&
        r.number("add_Cterm_protein", p.cTermProtein) &&
        r.number("add_Nterm_peptide", p.nTermPeptide) &&
        r.number("add_Nterm_protein", p.nTermProtein);
    if (!read) {
        error = r.error;
        return false;
    }
    p.monoParent = monoParent;
    p.monoFragment = monoFragment;
    for (const char* letter = kStaticLetters; *letter; ++letter) {
        const QString key = QStringLiteral("add_%1_").arg(QLatin1Char(*letter));
        double mass = 0.0;
        if (file.GetEntryDouble(key, mass)) p.staticResidue[static_cast<size_t>(*letter - 'A')] = mass;
    }
    const QStringList filter = Words(r.text("protein_mass_filter"));
    if (filter.size() >= 2) {
        ParseDouble(filter[0], p.proteinMassLow);
        ParseDouble(filter[1], p.proteinMassHigh);
    }
    p.partialSequence = r.text("partial_sequence").toUpper();

    // Values the engine would take without a word and search with nonsense (a fragment
    // tolerance of 1e300, two billion results kept per spectrum) are refused here, by name.
    struct Range {
        const char* key;
        double value;
        double low;
        double high;
        bool lowOpen;  // the low end itself is refused
    };
    const Range ranges[] = {
        {"peptide_mass_tolerance", p.peptideTolerance, 0.0, kMaxPeptideTolerance, true},
        {"fragment_ion_tolerance", p.fragmentTolerance, 0.0, kMaxFragmentTolerance, false},
        {"num_output_lines", double(p.outputLines), 1.0, kMaxOutputLines, false},
        {"num_results", double(p.numResults), 1.0, kMaxNumResults, false},
        {"num_description_lines", double(p.descriptionLines), 0.0, kMaxOutputLines, false},
        {"max_num_internal_cleavage_sites", double(p.cleavageSites), 0.0, kMaxCleavageSites, false},
        {"max_num_differential_AA_per_mod", double(p.maxDifferentialPerMod), 0.0, kMaxDifferentialPerMod, false},
        {"nucleotide_reading_frame", double(p.readingFrame), 0.0, 9.0, false},
        {"ion_cutoff_percentage", p.ionCutoff, 0.0, 1.0, false},
        {"add_Cterm_peptide", p.cTermPeptide, -kMaxModification, kMaxModification, false},
        {"add_Cterm_protein", p.cTermProtein, -kMaxModification, kMaxModification, false},
        {"add_Nterm_peptide", p.nTermPeptide, -kMaxModification, kMaxModification, false},
        {"add_Nterm_protein", p.nTermProtein, -kMaxModification, kMaxModification, false},
    };
    for (const Range& range : ranges) {
        const bool inside = std::isfinite(range.value) &&
                            (range.lowOpen ? range.value > range.low : range.value >= range.low) &&
                            range.value <= range.high;
        if (inside) continue;
        error = QStringLiteral("The parameter file %1: %2 = %3 is out of range (%4 %5 to %6)")
                    .arg(shown, QString::fromLatin1(range.key), QCFormat("%g", range.value),
                         QLatin1String(range.lowOpen ? "above" : "from"), QCFormat("%g", range.low),
                         QCFormat("%g", range.high));
        return false;
    }
    for (size_t i = 0; i < p.staticResidue.size(); ++i) {
        const double mass = p.staticResidue[i];
        if (std::isfinite(mass) && std::fabs(mass) <= kMaxModification) continue;
        error = QStringLiteral("The parameter file %1: the static modification of %2 (%3) is out "
                               "of range (from %4 to %5)")
                    .arg(shown, QString(QLatin1Char(static_cast<char>('A' + i))),
                         QCFormat("%g", mass), QCFormat("%g", -kMaxModification),
                         QCFormat("%g", kMaxModification));
        return false;
    }
    for (const SearchDifferentialMod& d : p.differential) {
        if (std::isfinite(d.mass) && std::fabs(d.mass) <= kMaxModification) continue;
        error = QStringLiteral("The parameter file %1: the differential modification of %2 (%3) "
                               "is out of range (from %4 to %5)")
                    .arg(shown, d.residues, QCFormat("%g", d.mass), QCFormat("%g", -kMaxModification),
                         QCFormat("%g", kMaxModification));
        return false;
    }
    if (p.enzymeNumber > 0) {
        bool found = false;
        for (const char* section : kEnzymeSections)
            found = found || ReadEnzymeRow(file, QString::fromLatin1(section), p.enzymeNumber,
                                           p.enzyme);
        if (!found) {
            error = QStringLiteral("The parameter file %1 lists no enzyme %2")
                        .arg(shown)
                        .arg(p.enzymeNumber);
            return false;
        }
    }
    return true;
}

}  // namespace zar
