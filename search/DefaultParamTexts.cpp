#include "DefaultParamTexts.h"

#include <QStringList>

#include <vector>

namespace zar {
namespace {

// Comment columns (from 0) of the default texts.
constexpr int kSearchCommentColumn = 39;
constexpr int kModificationCommentColumn = 41;
constexpr int kWideCommentColumn = 42;           // add_F_Phenylalanine in the search files
constexpr int kReadingFramesCommentColumn = 49;  // buildix nucleotide_reading_frames

// Enzyme row columns of the default texts.
constexpr int kRowNumberWidth = 4;
constexpr int kRowNameWidth = 23;
constexpr int kRowSenseWidth = 7;
constexpr int kRowCleaveWidth = 12;

struct DefaultEntry {
    const char* key;
    const char* value;
    const char* comment;  // nullptr: no comment
    int column;
};

QString EntryLine(const char* key, const char* value, const char* comment, int column) {
    QString line = QString::fromLatin1(key) + QStringLiteral(" = ") + QString::fromLatin1(value);
    if (comment) {
        line = line.leftJustified(column) + QStringLiteral("; ") + QString::fromLatin1(comment);
    }
    return line + QLatin1Char('\n');
}

// One blank stands for the empty value of the two sequence filters ("key =  ").
const DefaultEntry kSearchEntries[] = {
    {"first_database_name", "C:\\veltrix\\database\\horse.fasta", nullptr, 0},
    {"second_database_name", "", nullptr, 0},
    {"peptide_mass_tolerance", "1.000", nullptr, 0},
    {"ion_series", "0 1 1 0.0 1.0 0.0 0.0 0.0 0.0 0.0 1.0 0.0", nullptr, 0},
    {"fragment_ion_tolerance", "0.0000", "leave at 0.0 unless you have real poor data",
     kSearchCommentColumn},
    {"num_output_lines", "12", "# peptide results to show", kSearchCommentColumn},
    {"num_results", "500", "# results to store", kSearchCommentColumn},
    {"num_description_lines", "5", "# full protein descriptions to show for top N peptides",
     kSearchCommentColumn},
    {"show_fragment_ions", "0", "0=no, 1=yes", kSearchCommentColumn},
    {"print_duplicate_references", "0", "0=no, 1=yes", kSearchCommentColumn},
    {"enzyme_number", "0", nullptr, 0},
    {"max_num_differential_AA_per_mod", "4", "max # of modified AA per diff. mod in a peptide",
     kSearchCommentColumn},
    {"diff_search_options", "0.0 S 0.0 C 0.0 X", nullptr, 0},
    {"nucleotide_reading_frame", "0",
     "0=protein db, 1-6, 7 = forward three, 8-reverse three, 9=all six", kSearchCommentColumn},
    {"mass_type_parent", "0", "0=average masses, 1=monoisotopic masses", kSearchCommentColumn},
    {"mass_type_fragment", "0", "0=average masses, 1=monoisotopic masses", kSearchCommentColumn},
    {"remove_precursor_peak", "0", "0=no, 1=yes", kSearchCommentColumn},
    {"ion_cutoff_percentage", "0.0", "prelim. score cutoff % as a decimal number i.e. 0.30 for 30%",
     kSearchCommentColumn},
    {"max_num_internal_cleavage_sites", "2", "maximum value is 5", kSearchCommentColumn},
    {"protein_mass_filter", "0 0", "enter protein mass min & max value ( 0 for both = unused)",
     kSearchCommentColumn},
    {"match_peak_count", "0", "number of auto-detected peaks to try matching (max 5)",
     kSearchCommentColumn},
    {"match_peak_allowed_error", "1", " number of allowed errors in matching auto-detected peaks",
     kSearchCommentColumn},
    {"match_peak_tolerance", "1.0", "mass tolerance for matching auto-detected peaks",
     kSearchCommentColumn},
    {"create_output_files", "1", "0=no, 1=yes", kSearchCommentColumn},
    {"partial_sequence", " ", nullptr, 0},
    {"sequence_header_filter", " ", nullptr, 0},
};

const DefaultEntry kBuildixEntries[] = {
    {"database_name", "", nullptr, 0},
    {"sort_directory", "c:\\temp", nullptr, 0},
    {"sort_program", "sort.exe", nullptr, 0},
    {"enzyme_number", "1", nullptr, 0},
    {"protein_or_nucleotide_dbase", "0", "0=protein, 1=nucleotide", kSearchCommentColumn},
    {"nucleotide_reading_frames", "0", "0=none, 1=3 forward, 2=3 reverse, 3=both",
     kReadingFramesCommentColumn},
    {"use_mono/avg_masses", "0", "0=average masses, 1=monoisotopic masses", kSearchCommentColumn},
    {"min_peptide_mass", "700", nullptr, 0},
    {"max_peptide_mass", "3500", nullptr, 0},
    {"max_num_internal_cleavage_sites", "2", "maximum value is 5; for enzyme search",
     kSearchCommentColumn},
    {"max_num_differential_AA_per_mod", "4", "max # of modified AA per diff. mod in a peptide",
     kSearchCommentColumn},
    {"diff_search_options", "0.0000 M 0.0000 C 0.0000 X", nullptr, 0},
};

struct ResidueEntry {
    char letter;
    const char* name;
    const char* average;
    const char* mono;
};

// In the order of the static-modification table.
const ResidueEntry kResidues[] = {
    {'G', "Glycine", "57.0519", "57.02146"},
    {'A', "Alanine", "71.0788", "71.03711"},
    {'S', "Serine", "87.0782", "87.02303"},
    {'P', "Proline", "97.1167", "97.05276"},
    {'V', "Valine", "99.1326", "99.06841"},
    {'T', "Threonine", "101.1051", "101.04768"},
    {'C', "Cysteine", "103.1388", "103.00919"},
    {'L', "Leucine", "113.1594", "113.08406"},
    {'I', "Isoleucine", "113.1594", "113.08406"},
    {'X', "LorI", "113.1594", "113.08406"},
    {'N', "Asparagine", "114.1038", "114.04293"},
    {'O', "Ornithine", "114.1472", "114.07931"},
    {'B', "avg_NandD", "114.5962", "114.53494"},
    {'D', "Aspartic_Acid", "115.0886", "115.02694"},
    {'Q', "Glutamine", "128.1307", "128.05858"},
    {'K', "Lysine", "128.1741", "128.09496"},
    {'Z', "avg_QandE", "128.6231", "128.55059"},
    {'E', "Glutamic_Acid", "129.1155", "129.04259"},
    {'M', "Methionine", "131.1926", "131.04049"},
    {'H', "Histidine", "137.1411", "137.05891"},
    {'F', "Phenylalanine", "147.1766", "147.06841"},
    {'R', "Arginine", "156.1875", "156.10111"},
    {'Y', "Tyrosine", "163.1760", "163.06333"},
    {'W', "Tryptophan", "186.2132", "186.07931"},
};

struct EnzymeDefault {
    const char* name;
    int sense;
    const char* cleave;
    const char* block;
};

const EnzymeDefault kEnzymes[] = {
    {"No_Enzyme", 0, "-", "-"},
    {"Trypsin", 1, "KR", "-"},
    {"Trypsin_modified", 1, "KRLNH", "-"},
    {"Chymotrypsin", 1, "FWYL", "-"},
    {"Chymotrypsin_modified", 1, "FWY", "P"},
    {"Clostripain", 1, "R", "-"},
    {"Cyanogen_Bromide", 1, "M", "-"},
    {"IodosoBenzoate", 1, "W", "-"},
    {"Proline_Endopept", 1, "P", "-"},
    {"Staph_Protease", 1, "E", "-"},
    {"Trypsin_K", 1, "K", "P"},
    {"Trypsin_R", 1, "R", "P"},
    {"GluC", 1, "ED", "-"},
    {"LysC", 1, "K", "-"},
    {"AspN", 0, "D", "-"},
    {"Elastase", 1, "ALIV", "P"},
    {"Elastase/Tryp/Chymo", 1, "ALIVKRWFY", "P"},
};

constexpr int kBuildixChymotrypsinRow = 4;

QString ResidueKey(const ResidueEntry& r) {
    return QStringLiteral("add_%1_%2")
        .arg(QChar::fromLatin1(r.letter))
        .arg(QString::fromLatin1(r.name));
}

QStringList ResidueLines(bool wideFLine) {
    QStringList lines;
    for (const ResidueEntry& r : kResidues) {
        // Ornithine's comment was always written "mono" without the point.
        const char* mono = r.letter == 'O' ? "mono " : "mono.";
        const QString comment = QStringLiteral("added to %1 - avg. %2, %3 %4")
                                    .arg(QChar::fromLatin1(r.letter))
                                    .arg(QString::fromLatin1(r.average), 8)
                                    .arg(QString::fromLatin1(mono))
                                    .arg(QString::fromLatin1(r.mono), 9);
        const int column =
            (wideFLine && r.letter == 'F') ? kWideCommentColumn : kModificationCommentColumn;
        lines << EntryLine(ResidueKey(r).toLatin1().constData(), "0.0000",
                           comment.toLatin1().constData(), column);
    }
    return lines;
}

QStringList EnzymeRows(bool buildix) {
    QStringList rows;
    int number = 0;
    for (const EnzymeDefault& e : kEnzymes) {
        QString name = QString::fromLatin1(e.name);
        if (buildix && number == kBuildixChymotrypsinRow)
            name = QStringLiteral("Chymotryp_modified");
        // A name too long for its column is followed by a single blank.
        name = name.size() >= kRowNameWidth - 2 ? name + QLatin1Char(' ')
                                                : name.leftJustified(kRowNameWidth);
        rows << QStringLiteral("%1.").arg(number).leftJustified(kRowNumberWidth) + name +
                    QString::number(e.sense).leftJustified(kRowSenseWidth) +
                    QString::fromLatin1(e.cleave).leftJustified(kRowCleaveWidth) +
                    QString::fromLatin1(e.block) + QLatin1Char('\n');
        ++number;
    }
    return rows;
}

QStringList SearchDefaults(bool massmap) {
    QStringList lines;
    lines << (massmap ? QStringLiteral("[MASSMAP]\n") : QStringLiteral("[SORVEX]\n"));
    for (const DefaultEntry& e : kSearchEntries) {
        if (massmap && qstrcmp(e.key, "num_results") == 0) continue;
        lines << EntryLine(e.key, e.value, e.comment, e.column);
    }
    lines << QStringLiteral("\n");
    lines << EntryLine("add_Cterm_peptide", "0.0000", "added to each peptide C-terminus",
                       kSearchCommentColumn);
    lines << EntryLine("add_Cterm_protein", "0.0000", "added to each protein C-terminus",
                       kModificationCommentColumn);
    lines << EntryLine("add_Nterm_peptide", "0.0000", "added to each peptide N-terminus",
                       kModificationCommentColumn);
    lines << EntryLine("add_Nterm_protein", "0.0000", "added to each protein N-terminus",
                       kModificationCommentColumn);
    lines << ResidueLines(true);
    lines << QStringLiteral("\n");
    lines << (massmap ? QStringLiteral("[MASSMAP_ENZYME_INFO]\n")
                      : QStringLiteral("[SORVEX_ENZYME_INFO]\n"));
    lines << EnzymeRows(false);
    return lines;
}

QStringList BuildixDefaults() {
    QStringList lines;
    lines << QStringLiteral("[BUILDIX]\n");
    for (const DefaultEntry& e : kBuildixEntries)
        lines << EntryLine(e.key, e.value, e.comment, e.column);
    lines << QStringLiteral("\n");
    lines << EntryLine("add_Cterm_peptide", "0.0000",
                       "added to C-terminus (peptide mass & all Y\"-ions)", kSearchCommentColumn);
    lines << EntryLine("add_Nterm_peptide", "0.0000", "added to N-terminus (B-ions)",
                       kModificationCommentColumn);
    lines << ResidueLines(false);
    lines << QStringLiteral("\n");
    lines << QStringLiteral("[SORVEX_ENZYME_INFO]\n");
    lines << EnzymeRows(true);
    return lines;
}

QStringList StaticModificationNames() {
    QStringList names = {QStringLiteral("add_Cterm_peptide"), QStringLiteral("add_Cterm_protein"),
                         QStringLiteral("add_Nterm_peptide"), QStringLiteral("add_Nterm_protein")};
    for (const ResidueEntry& r : kResidues) names << ResidueKey(r);
    return names;
}

struct TextBlock {
    int first;
    QStringList texts;
};

const std::vector<TextBlock>& Blocks() {
    static const std::vector<TextBlock> blocks = {
        {kStaticModificationNamesFirst, StaticModificationNames()},
        {kSorvexDefaultsFirst, SearchDefaults(false)},
        {kMassmapDefaultsFirst, SearchDefaults(true)},
        {kBuildixDefaultsFirst, BuildixDefaults()},
    };
    return blocks;
}

}  // namespace

QString ParamDefaultText(int id) {
    for (const TextBlock& block : Blocks()) {
        const int index = id - block.first;
        if (index >= 0 && index < block.texts.size()) return block.texts[index];
    }
    return QString();
}

const ParamFileInfo& InfoOf(ParamFileType type) {
    static const ParamFileInfo kSorvex = {
        "sorvex.params",
        "sorvex",
        "Sorvex search",
        "Your Sorvex Search parameters file (sorvex.params) will be overwritten. Is this OK?\n",
        "[SORVEX_ENZYME_INFO]",
        kSorvexDefaultsFirst,
        kSorvexDefaultsEnd};
    static const ParamFileInfo kMassmap = {
        "massmap.params",
        "massmap",
        "Peptide Mapping",
        "Your Peptide Mapping parameters file (massmap.params) will be overwritten. Is this OK?\n",
        "[MASSMAP_ENZYME_INFO]",
        kMassmapDefaultsFirst,
        kMassmapDefaultsEnd};
    static const ParamFileInfo kBuildix = {
        "buildix.params",
        "buildix",
        "Database Indexer",
        "Your Buildix parameters file (buildix.params) will be overwritten. Is this OK?\n",
        "[SORVEX_ENZYME_INFO]",
        kBuildixDefaultsFirst,
        kBuildixDefaultsEnd};
    switch (type) {
        case ParamFileType::Massmap:
            return kMassmap;
        case ParamFileType::Buildix:
            return kBuildix;
        case ParamFileType::Sorvex:
            break;
    }
    return kSorvex;
}

}  // namespace zar
