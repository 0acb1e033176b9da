#include "SearchParamsModel.h"

#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "core/TextFile.h"
#include "document/Settings.h"
#include "document/TextHelpers.h"
#include "fileio/VXCore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cctype>
#include <climits>
#include <string_view>

namespace zar {
namespace {

const char* const kUnknownDatabase = "unknown";
const char* const kDefaultIonSeries = "0 1 1 0.0 1.0 0.0 0.0 0.0 0.0 0.0 1.0 0.0\n";
const char* const kDefaultIonWeights = "0.0 1.0 0.0 0.0 0.0 0.0 0.0 1.0 0.0";
const char* const kOptionSummaryName = "sorvex_options.params";
// Residues written for a differential row that has none, rows 1 to 3.
const char* const kEmptyDifferentialResidues[] = {"M", "C", "S"};
constexpr int kIonSeriesNumbers = 12;
constexpr int kHeaderProteinDivisor = 1500;
constexpr int kFastaProteinDivisor = 450;
constexpr int kBytesPerProtein = 1000;
constexpr int kUnknownProteinEstimate = 10000;

int ClampToInt(qint64 v) {
    return static_cast<int>(std::clamp<qint64>(v, INT_MIN, INT_MAX));
}

// Reads numbers and words from a text the way "%lf", "%d" and "%s" do.
class FormatScanner {
  public:
    explicit FormatScanner(const QString& text) : bytes_(text.toLatin1()) {}

    bool Double(double& value) {
        std::size_t used = 0;
        const double v = LeadingDouble(Rest(), &used);
        if (used == 0) return false;
        pos_ += static_cast<qsizetype>(used);
        value = v;
        return true;
    }
    bool Int(int& value) {
        std::size_t used = 0;
        const long long v = LeadingInt(Rest(), 10, &used);
        if (used == 0 || v < INT_MIN || v > INT_MAX) return false;
        pos_ += static_cast<qsizetype>(used);
        value = static_cast<int>(v);
        return true;
    }
    bool Word(QString& word) {
        while (pos_ < bytes_.size() && std::isspace(static_cast<unsigned char>(bytes_[pos_])))
            ++pos_;
        const qsizetype start = pos_;
        while (pos_ < bytes_.size() && !std::isspace(static_cast<unsigned char>(bytes_[pos_])))
            ++pos_;
        if (pos_ == start) return false;
        word = QString::fromLatin1(bytes_.mid(start, pos_ - start));
        return true;
    }

  private:
    std::string_view Rest() const {
        return std::string_view(bytes_.constData() + pos_,
                                static_cast<std::size_t>(bytes_.size() - pos_));
    }
    QByteArray bytes_;
    qsizetype pos_ = 0;
};

bool IsAbsoluteStoredPath(const QString& path) {
    return path.contains(QLatin1Char(':')) || path.startsWith(QLatin1Char('/')) ||
           path.startsWith(QLatin1Char('\\'));
}

QString WithoutFinalSeparator(QString path) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path;
}

bool HasHeaderExtension(const QString& name) {
    return name.endsWith(QLatin1String(kIndexedDatabaseExtension), Qt::CaseInsensitive);
}

}  // namespace

void BasicPageValues::SetSequenceType(int type) {
    sequenceType = type;
    readingFrame = type == 1 ? kNucleotideReadingFrame : 0;
}

QString QueueChoice::PriorityText() const {
    if (runChoice != 1) return QString();
    switch (priority) {
        case 0:
            return QStringLiteral("High");
        case 2:
            return QStringLiteral("Low");
        default:
            return QStringLiteral("Normal");
    }
}

SearchSettings SearchSettings::FromStore(SearchKind kind) {
    SearchSettings s;
    s.resultsDirectory =
        kind == SearchKind::Sorvex ? GetSorvexResultsDirectory() : GetPeptideResultsDirectory();
    s.databaseDirectory = GetDatabaseDirectory();
    s.dtaThreshold = GetDtaThreshold();
    s.dtaPrecursorTolerance = GetDtaPrecursorTolerance();
    s.dtaGroupScan = GetDtaGroupScan();
    s.dtaMinIonCount = GetDtaMinIonCount();
    s.dtaMinGroupCount = GetDtaMinGroupCount();
    return s;
}

QString DefaultParamFileFolder() {
    QString core;
    if (!GetVeltrixCorePath(core)) return QString();
    return PortablePath(GetProgramDirectory());
}

SearchParamsModel::SearchParamsModel(SearchKind kind, const SearchSettings& settings)
    : kind_(kind), ionSeriesWeights_(QString::fromLatin1(kDefaultIonWeights)) {
    if (kind_ == SearchKind::Sorvex) basic.resultsDirectory = settings.resultsDirectory;
    basic.databaseDirectory = settings.databaseDirectory;
    basic.threshold = settings.dtaThreshold;
    advanced.precursorTolerance = settings.dtaPrecursorTolerance;
    advanced.minIonCount = settings.dtaMinIonCount;
    if (kind_ == SearchKind::Sorvex) {
        advanced.groupScan = settings.dtaGroupScan;
        advanced.minGroupCount = settings.dtaMinGroupCount;
    }
    const QString folder = PortablePath(settings.resultsDirectory);
    paramFilePath_ = JoinPath(folder, QString::fromLatin1(InfoOf(FileType()).fileName));
    if (kind_ == SearchKind::Sorvex) {
        optionSummaryPath_ = JoinPath(folder, QString::fromLatin1(kOptionSummaryName));
    }
}

ParamFileType SearchParamsModel::FileType() const {
    return kind_ == SearchKind::Sorvex ? ParamFileType::Sorvex : ParamFileType::Massmap;
}

QStringList SearchParamsModel::EnzymeListNames() const {
    QStringList names;
    if (!enzymes_) return names;
    for (const EnzymeRecord& record : *enzymes_) {
        if (!record.name.isEmpty()) names << record.name;
    }
    return names;
}

// ---- reading ----------------------------------------------------------------------------

SearchParamsModel::ReadResult SearchParamsModel::ReadParamFile(InvalidParamsPrompt& prompt,
                                                               const QString& programDirectory) {
    ReadResult result;
    // A folder that was never searched has no file yet: that is no fault, and the defaults
    // name a database of this machine. A file that is there but cannot be read is told.
    if (!QFileInfo::exists(paramFilePath_) || !store_.Open(paramFilePath_)) {
        LoadMachineDefaults();
        return result;
    }
    result.opened = true;
    if (!store_.HasEntry(QStringLiteral("first_database_name"), 18, QStringLiteral("database_name"),
                         13)) {
        result.restoreRan = true;
        result.restore = RestoreParamFile(store_, FileType(), programDirectory, prompt);
        TakeRestoredValues(result.restore);
        return result;
    }

    result.outOfRange = TakeCheckedValues();
    if (!result.outOfRange.empty()) {
        ZarMessageBox(OutOfRangeMessage(kind_, result.outOfRange), MB_OK);
        result.restoreRan = true;
        result.restore = RestoreParamFile(store_, FileType(), programDirectory, prompt);
        TakeRestoredValues(result.restore);
    }
    return result;
}

void SearchParamsModel::LoadMachineDefaults() {
    store_.LoadDefaults(FileType());
    // The default file names a database in a folder of another system: the first database of
    // the configured database folder takes its place, else its name in that folder.
    const QString folder = PortablePath(basic.databaseDirectory);
    QString database;
    if (!store_.GetEntryString(QStringLiteral("first_database_name"), database)) return;
    const QStringList found = QDir(folder).entryList(
        {QStringLiteral("*.fasta"), QStringLiteral("*.fa"), QStringLiteral("*.hdr")}, QDir::Files,
        QDir::Name);
    const QString name = found.isEmpty() ? GetFileNamePart(PortablePath(database)) : found.first();
    store_.SetEntryString(QStringLiteral("first_database_name"), JoinPath(folder, name));
}

void SearchParamsModel::TakeRestoredValues(RestoreResult restore) {
    // The values of the damaged file must not outlive it: what the check took from it is taken
    // again from the file that replaced it.
    if (restore != RestoreResult::CopiedDefault && restore != RestoreResult::DefaultsLoaded) return;
    modifications.ResetAll();
    const AdvancedPageValues reference;
    advanced.peptideTolerance = reference.peptideTolerance;
    advanced.fragmentTolerance = reference.fragmentTolerance;
    TakeCheckedValues();
}

std::vector<RangeItem> SearchParamsModel::TakeCheckedValues() {
    std::vector<RangeItem> outOfRange;
    QString path;
    databasePath_ = store_.GetEntryString(QStringLiteral("first_database_name"), path)
                        ? path
                        : QString::fromLatin1(kUnknownDatabase);
    basic.databaseType = HasHeaderExtension(databasePath_) ? 1 : 0;

    QString diff;
    if (store_.GetEntryString(QStringLiteral("diff_search_options"), diff)) {
        FormatScanner scan(diff);
        double masses[ModificationTables::kDifferentialCount] = {};
        QString residues[ModificationTables::kDifferentialCount];
        bool all = true;
        for (int i = 0; i < ModificationTables::kDifferentialCount && all; ++i) {
            all = scan.Double(masses[i]) && scan.Word(residues[i]);
        }
        if (all) {
            bool outside = false;
            for (int i = 0; i < ModificationTables::kDifferentialCount; ++i) {
                modifications.SetDifferentialModification(i, residues[i], masses[i]);
                if (!kFileModificationLimits.Contains(masses[i])) outside = true;
            }
            if (outside) outOfRange.push_back(RangeItem::DifferentialModifications);
        }
    }

    double value = 0.0;
    if (store_.GetEntryDouble(QStringLiteral("peptide_mass_tolerance"), value)) {
        advanced.peptideTolerance = value;
        if (!kFileToleranceLimits.Contains(value)) outOfRange.push_back(RangeItem::PeptideTolerance);
    }
    if (store_.GetEntryDouble(QStringLiteral("fragment_ion_tolerance"), value)) {
        advanced.fragmentTolerance = value;
        if (!kFileToleranceLimits.Contains(value)) {
            outOfRange.push_back(RangeItem::FragmentTolerance);
        }
    }
    bool staticOutside = false;
    for (int i = 0; i < ModificationTables::kStaticCount; ++i) {
        if (!store_.GetEntryDouble(modifications.GetStaticName(i), value)) continue;
        if (kFileModificationLimits.Contains(value)) {
            modifications.SetStaticModification(i, value);
        } else {
            staticOutside = true;
        }
    }
    if (staticOutside) outOfRange.push_back(RangeItem::StaticModifications);
    return outOfRange;
}

QString SearchParamsModel::OutOfRangeMessage(SearchKind kind, const std::vector<RangeItem>& items) {
    const QString file = kind == SearchKind::Sorvex ? QStringLiteral("sorvex.params")
                                                    : QStringLiteral("massmap.params");
    QString text = QStringLiteral(
                       "Error in %1 file. \nSorvex Search dialog box can not be opened "
                       "\nuntil valid %1 file exists.\n")
                       .arg(file);
    text += QStringLiteral("The following values are out of range:\n");
    for (RangeItem item : items) {
        switch (item) {
            case RangeItem::DifferentialModifications:
                text += QStringLiteral("    One or more Differential Modifications\n");
                break;
            case RangeItem::PeptideTolerance:
                text += QStringLiteral("    Peptide Tolerance\n");
                break;
            case RangeItem::FragmentTolerance:
                text += QStringLiteral("    Fragment Ion Tolerance\n");
                break;
            case RangeItem::StaticModifications:
                text +=
                    QStringLiteral("    C-terminus, N-terminus or Amino Acid Mass Modifications\n");
                break;
        }
    }
    return text;
}

void SearchParamsModel::LoadInt(const char* key, int& field) const {
    int v = 0;
    if (store_.GetEntryInt(QString::fromLatin1(key), v)) field = v;
}

void SearchParamsModel::LoadDouble(const char* key, double& field) const {
    double v = 0.0;
    if (store_.GetEntryDouble(QString::fromLatin1(key), v)) field = v;
}

void SearchParamsModel::LoadFlag(const char* key, bool& field) const {
    int v = 0;
    if (store_.GetEntryInt(QString::fromLatin1(key), v)) field = v != 0;
}

void SearchParamsModel::LoadHeldInt(const char* key, int& field, int fallback) const {
    if (!store_.GetEntryInt(QString::fromLatin1(key), field)) field = fallback;
}

void SearchParamsModel::LoadHeldDouble(const char* key, double& field, double fallback) const {
    if (!store_.GetEntryDouble(QString::fromLatin1(key), field)) field = fallback;
}

void SearchParamsModel::LoadHeldText(const char* key, QString& field,
                                     const QString& fallback) const {
    if (!store_.GetEntryString(QString::fromLatin1(key), field)) field = fallback;
}

void SearchParamsModel::LoadPages() {
    if (!store_.IsLoaded()) return;
    const SheetHeldValues defaults;

    QString ionSeries;
    if (!store_.GetEntryString(QStringLiteral("ion_series"), ionSeries)) {
        ionSeries = QString::fromLatin1(kDefaultIonSeries);
    }
    {
        FormatScanner scan(ionSeries);
        int flags[3] = {};
        double weights[kIonSeriesNumbers - 3] = {};
        bool all = scan.Int(flags[0]) && scan.Int(flags[1]) && scan.Int(flags[2]);
        for (double& w : weights) all = all && scan.Double(w);
        if (all) {
            advanced.aIons = flags[0] > 0;
            advanced.bIons = flags[1] > 0;
            advanced.yIons = flags[2] > 0;
            const QStringList tokens = ionSeries.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            ionSeriesWeights_ = tokens.mid(3, kIonSeriesNumbers - 3).join(QLatin1Char(' '));
        }
    }

    QString path;
    databasePath_ = store_.GetEntryString(QStringLiteral("first_database_name"), path)
                        ? path
                        : QString::fromLatin1(kUnknownDatabase);
    // A database outside the database folder keeps its whole path, so that saving writes the
    // database that was read.
    const QString folder = FolderOf(databasePath_);
    const bool inDatabaseFolder =
        folder.isEmpty() || WithoutFinalSeparator(PortablePath(folder)) ==
                                WithoutFinalSeparator(PortablePath(basic.databaseDirectory));
    basic.databaseName = inDatabaseFolder ? GetFileNamePart(databasePath_) : databasePath_;

    basic.enzymeIndex = 0;
    LoadInt("enzyme_number", basic.enzymeIndex);
    LoadDouble("peptide_mass_tolerance", advanced.peptideTolerance);
    LoadDouble("fragment_ion_tolerance", advanced.fragmentTolerance);
    if (kind_ == SearchKind::Sorvex) LoadInt("num_results", advanced.numResults);
    LoadFlag("show_fragment_ions", advanced.showFragmentIons);
    LoadFlag("print_duplicate_references", advanced.printDuplicateReferences);
    LoadInt("num_output_lines", advanced.outputLines);
    LoadHeldInt("num_description_lines", held.numDescriptionLines, defaults.numDescriptionLines);
    int frame = 0;
    if (store_.GetEntryInt(QStringLiteral("nucleotide_reading_frame"), frame)) {
        basic.readingFrame = frame;
        if (frame > 0) basic.sequenceType = 1;
    }
    LoadHeldInt("mass_type_parent", held.massTypeParent, defaults.massTypeParent);
    LoadHeldInt("mass_type_fragment", held.massTypeFragment, defaults.massTypeFragment);
    LoadHeldInt("max_num_differential_AA_per_mod", held.maxDifferentialPerMod,
                defaults.maxDifferentialPerMod);
    LoadHeldInt("remove_precursor_peak", held.removePrecursorPeak, defaults.removePrecursorPeak);
    LoadHeldDouble("ion_cutoff_percentage", held.ionCutoffPercentage, defaults.ionCutoffPercentage);
    LoadInt("max_num_internal_cleavage_sites", basic.cleavageSites);
    LoadHeldInt("match_peak_count", held.matchPeakCount, defaults.matchPeakCount);
    LoadHeldInt("match_peak_allowed_error", held.matchPeakAllowedError,
                defaults.matchPeakAllowedError);
    LoadHeldDouble("match_peak_tolerance", held.matchPeakTolerance, defaults.matchPeakTolerance);
    LoadHeldText("partial_sequence", held.partialSequence, defaults.partialSequence);
    LoadHeldText("sequence_header_filter", held.sequenceHeaderFilter,
                 defaults.sequenceHeaderFilter);
    LoadHeldText("protein_mass_filter", held.proteinMassFilter, defaults.proteinMassFilter);
    for (int i = 0; i < ModificationTables::kStaticCount; ++i) {
        double mass = 0.0;
        if (store_.GetEntryDouble(modifications.GetStaticName(i), mass)) {
            modifications.SetStaticModification(i, mass);
        }
    }
    basic.massType = (held.massTypeParent == 1 && held.massTypeFragment == 1) ? 1 : 0;
}

// ---- writing ----------------------------------------------------------------------------

QString SearchParamsModel::DiffSearchOptionsText() const {
    QString text;
    for (int i = 0; i < ModificationTables::kDifferentialCount; ++i) {
        QString residues;
        double mass = 0.0;
        modifications.GetDifferentialModification(i, residues, mass);
        if (residues.isEmpty()) {
            residues = QString::fromLatin1(kEmptyDifferentialResidues[i]);
            mass = 0.0;
        }
        if (i > 0) text += QLatin1Char(' ');
        text += QCFormat("%2.4f ", mass) + residues;
    }
    return text;
}

bool SearchParamsModel::WriteEntries() {
    databasePath_ = ResolvedDatabasePath();
    held.massTypeParent = basic.massType;
    held.massTypeFragment = basic.massType;
    const bool sorvex = kind_ == SearchKind::Sorvex;
    const QString ionSeries = QCFormat("%d %d %d ", advanced.aIons ? 1 : 0,
                                       advanced.bIons ? 1 : 0, advanced.yIons ? 1 : 0) +
                              ionSeriesWeights_;

    CParamFile& s = store_;
    const bool written =
        s.SetEntryString(QStringLiteral("first_database_name"), databasePath_) &&
        s.SetEntryDouble(QStringLiteral("peptide_mass_tolerance"), advanced.peptideTolerance) &&
        (!sorvex || s.SetEntryInt(QStringLiteral("num_results"), advanced.numResults)) &&
        s.SetEntryInt(QStringLiteral("create_output_files"), held.createOutputFiles) &&
        s.SetEntryDouble(QStringLiteral("fragment_ion_tolerance"), advanced.fragmentTolerance) &&
        s.SetEntryInt(QStringLiteral("num_output_lines"), advanced.outputLines) &&
        s.SetEntryInt(QStringLiteral("num_description_lines"), held.numDescriptionLines) &&
        s.SetEntryInt(QStringLiteral("show_fragment_ions"), advanced.showFragmentIons ? 1 : 0) &&
        s.SetEntryInt(QStringLiteral("print_duplicate_references"),
                      advanced.printDuplicateReferences ? 1 : 0) &&
        // No selection is written as the first enzyme: the engine needs a row number.
        s.SetEntryInt(QStringLiteral("enzyme_number"), std::max(0, basic.enzymeIndex)) &&
        s.SetEntryInt(QStringLiteral("max_num_differential_AA_per_mod"),
                      held.maxDifferentialPerMod) &&
        s.SetEntryInt(QStringLiteral("nucleotide_reading_frame"), basic.readingFrame) &&
        s.SetEntryInt(QStringLiteral("mass_type_parent"), held.massTypeParent) &&
        s.SetEntryInt(QStringLiteral("mass_type_fragment"), held.massTypeFragment) &&
        s.SetEntryInt(QStringLiteral("remove_precursor_peak"), held.removePrecursorPeak) &&
        s.SetEntryDouble(QStringLiteral("ion_cutoff_percentage"), held.ionCutoffPercentage) &&
        s.SetEntryInt(QStringLiteral("max_num_internal_cleavage_sites"), basic.cleavageSites) &&
        s.SetEntryInt(QStringLiteral("match_peak_count"), held.matchPeakCount) &&
        s.SetEntryInt(QStringLiteral("match_peak_allowed_error"), held.matchPeakAllowedError) &&
        s.SetEntryDouble(QStringLiteral("match_peak_tolerance"), held.matchPeakTolerance) &&
        s.SetEntryString(QStringLiteral("partial_sequence"), held.partialSequence) &&
        s.SetEntryString(QStringLiteral("sequence_header_filter"), held.sequenceHeaderFilter) &&
        s.SetEntryString(QStringLiteral("protein_mass_filter"), held.proteinMassFilter) &&
        s.SetEntryString(QStringLiteral("diff_search_options"), DiffSearchOptionsText()) &&
        s.SetEntryString(QStringLiteral("ion_series"), ionSeries);
    if (!written) return false;
    for (int i = 0; i < ModificationTables::kStaticCount; ++i) {
        if (!s.SetEntryDouble(modifications.GetStaticName(i),
                              modifications.GetStaticModification(i))) {
            return false;
        }
    }
    WriteEnzymeRows();
    return true;
}

QString SearchParamsModel::FormatEnzymeRow(int number, const EnzymeRecord& record) {
    if (record.name.isEmpty()) return QStringLiteral("\n");
    const auto orDash = [](const QString& residues) {
        return (residues.isEmpty() || residues == QLatin1String("-")) ? QStringLiteral("-")
                                                                      : residues;
    };
    return QStringLiteral("%1.\t%2\t\t\t\t%3\t%4\t\t%5\n")
        .arg(number)
        .arg(record.name)
        .arg(record.sense)
        .arg(orDash(record.cleavage), orDash(record.blocking));
}

void SearchParamsModel::WriteEnzymeRows() {
    if (!enzymes_) return;
    const int header =
        store_.IndexOfLineStartingWith(QString::fromLatin1(InfoOf(FileType()).enzymeHeader));
    if (header < 0) return;
    // The last named record decides how many rows the section needs; rows beyond the end of
    // the file are added there (the enzyme section is the last one of the file).
    int lastNamed = -1;
    for (int i = 0; i < kEnzymeSlotCount; ++i) {
        if (!(*enzymes_)[static_cast<std::size_t>(i)].name.isEmpty()) lastNamed = i;
    }
    for (int i = 0; i < kEnzymeSlotCount; ++i) {
        const QString row = FormatEnzymeRow(i, (*enzymes_)[static_cast<std::size_t>(i)]);
        const int line = header + 1 + i;
        if (line < store_.GetLineCount()) {
            store_.SetLine(line, row);
        } else if (i <= lastNamed) {
            if (store_.GetLineCount() > 0 &&
                !store_.GetLine(store_.GetLineCount() - 1).endsWith(QLatin1Char('\n'))) {
                store_.SetLine(store_.GetLineCount() - 1,
                               store_.GetLine(store_.GetLineCount() - 1) + QLatin1Char('\n'));
            }
            store_.AppendLine(row);
        }
    }
}

bool SearchParamsModel::SaveParamFile(InvalidParamsPrompt& prompt,
                                      const QString& programDirectory, SaveFailure* failure) {
    SaveFailure why = SaveFailure::None;
    SetDatabaseDirectory(basic.databaseDirectory);
    if (!WriteEntries()) {
        RestoreParamFile(store_, FileType(), programDirectory, prompt);
        why = SaveFailure::MissingEntry;
    } else if (kind_ == SearchKind::Massmap) {
        if (!store_.SaveAs(paramFilePath_)) why = SaveFailure::WriteFailed;
    } else {
        // Without a results folder there is no path (an empty one fails), so nothing lands in
        // the working folder.
        const QString folder = PortablePath(basic.resultsDirectory);
        const QString path = JoinPath(folder, QString::fromLatin1(InfoOf(FileType()).fileName));
        if (basic.resultsDirectory.isEmpty() || !store_.SaveAs(path)) {
            why = SaveFailure::WriteFailed;
        } else {
            // The next sheet opens in the folder searched last, with the file written there and
            // the extraction settings it used.
            SetSorvexResultsDirectory(folder);
            SetDtaThreshold(basic.threshold);
            SetDtaPrecursorTolerance(advanced.precursorTolerance);
            SetDtaMinIonCount(advanced.minIonCount);
            SetDtaGroupScan(advanced.groupScan);
            SetDtaMinGroupCount(advanced.minGroupCount);
            paramFilePath_ = path;
            optionSummaryPath_ = JoinPath(folder, QString::fromLatin1(kOptionSummaryName));
        }
    }
    if (failure) *failure = why;
    return why == SaveFailure::None;
}

// ---- options ----------------------------------------------------------------------------

MassPair SearchParamsModel::SearchMassRange() const {
    if (kind_ == SearchKind::Sorvex && basic.IsIndexed()) return basic.indexedRange.value;
    return basic.fastaRange.value;
}

QString SearchParamsModel::BuildExtractionOptions() const {
    const bool sorvex = kind_ == SearchKind::Sorvex;
    const ScanPair scans = basic.scanRange;
    const MassPair range = SearchMassRange();
    QString options;
    if (!sorvex && basic.proteinMassChoice == 1 && basic.suppliedMass > 0.0) {
        options += QCFormat("-P%.2f ", basic.suppliedMass);
    }
    if (scans.first != basic.scanFileLimits.first) options += QCFormat("-F%d ", scans.first);
    if (scans.last != basic.scanFileLimits.last) options += QCFormat("-L%d ", scans.last);
    if (basic.threshold > 0.0) options += QCFormat("-E%.0f ", basic.threshold);
    if (advanced.precursorTolerance != AdvancedPageValues::kReferencePrecursorTolerance) {
        options += QCFormat("-M%2.2f ", advanced.precursorTolerance);
    }
    if (sorvex && advanced.groupScan != AdvancedPageValues::kReferenceGroupScan) {
        options += QCFormat("-S%d ", advanced.groupScan);
    }
    if (advanced.minIonCount != 0) options += QCFormat("-I%d ", advanced.minIonCount);
    if (sorvex) {
        if (scans.first == scans.last) {
            options += QCFormat("-G%d ", 1);
        } else if (advanced.minGroupCount != AdvancedPageValues::kReferenceMinGroupCount) {
            options += QCFormat("-G%d ", advanced.minGroupCount);
        }
    }
    if (range.low > 0.0) options += QCFormat("-B%2.2f ", range.low);
    if (range.high > 0.0) options += QCFormat("-T%2.2f ", range.high);
    if (advanced.charge != 0) options += QCFormat("-C%d ", advanced.charge);
    if (!advanced.subsequence.isEmpty())
        options += QStringLiteral("-Y%1 ").arg(advanced.subsequence);
    return options;
}

QString SearchParamsModel::OptionSummaryText() const {
    const ScanPair scans = basic.scanRange;
    const MassPair range = SearchMassRange();
    QString text = basic.sequenceType == 1 ? QStringLiteral("Database type = Nucleotide\n")
                                           : QStringLiteral("Database type = Peptide\n");
    text += QCFormat("Start_scan=%d; End_scan=%d; ", scans.first, scans.last);
    text += QCFormat("Precursor_mass_tol =%2.2f; ", advanced.precursorTolerance);
    text += QCFormat("Group_scan_tol =%d; ", advanced.groupScan);
    text +=
        QCFormat("Min_group_count =%d;\n", scans.first == scans.last ? 1 : advanced.minGroupCount);
    text += QCFormat("Min_ion_count =%d; ", advanced.minIonCount);
    text += QCFormat("Low_mass_limit =%2.2f; ", range.low);
    text += QCFormat("High_mass_limit =%2.2f; ", range.high);
    text += QCFormat("Use_charge_state =%d; ", advanced.charge);
    text += QStringLiteral("Subsequence =[%1];\n").arg(advanced.subsequence);
    return text;
}

bool SearchParamsModel::WriteOptionSummary() const {
    if (kind_ != SearchKind::Sorvex) return true;
    // Beside the parameter file of the search: in the folder searched.
    const QString path = basic.resultsDirectory.isEmpty()
                             ? optionSummaryPath_
                             : JoinPath(PortablePath(basic.resultsDirectory),
                                        QString::fromLatin1(kOptionSummaryName));
    AtomicTextWriter writer(path, AtomicTextWriter::LineEnd::CRLF);
    if (path.isEmpty() || !writer.open()) {
        ZarMessageBox(QStringLiteral("Couldn't open option output file:\n%1\n%2\n Will be unable "
                                     "to print all options in html summary file")
                          .arg(path, writer.errorString()),
                      MB_OK);
        return false;
    }
    if (advanced.printAdvancedParameters) writer.write(OptionSummaryText());
    if (!writer.commit()) {
        ZarMessageBox(QStringLiteral("Couldn't write option output file:\n%1\n%2\n Will be unable "
                                     "to print all options in html summary file")
                          .arg(path, writer.errorString()),
                      MB_OK);
        return false;
    }
    return true;
}

// ---- defaults ---------------------------------------------------------------------------

bool SearchParamsModel::IsAtDefaults() const {
    const AdvancedPageValues ref;
    const SheetHeldValues heldRef;
    const double threshold = kind_ == SearchKind::Sorvex
                                 ? BasicPageValues::kReferenceThreshold
                                 : BasicPageValues::kMassmapReferenceThreshold;
    const bool basicAtDefaults = basic.cleavageSites == BasicPageValues::kReferenceCleavageSites &&
                                 basic.readingFrame == 0 && basic.threshold == threshold;
    bool advancedAtDefaults = advanced.subsequence == ref.subsequence &&
                              advanced.peptideTolerance == ref.peptideTolerance &&
                              advanced.fragmentTolerance == ref.fragmentTolerance &&
                              advanced.outputLines == ref.outputLines &&
                              advanced.printDuplicateReferences == ref.printDuplicateReferences;
    if (kind_ == SearchKind::Sorvex) {
        advancedAtDefaults = advancedAtDefaults && advanced.aIons == ref.aIons &&
                             advanced.bIons == ref.bIons && advanced.yIons == ref.yIons &&
                             advanced.numResults == ref.numResults &&
                             advanced.showFragmentIons == ref.showFragmentIons;
    }
    // create_output_files is never changed, and the held texts are not compared.
    const bool heldAtDefaults = held.numDescriptionLines == heldRef.numDescriptionLines &&
                                held.maxDifferentialPerMod == heldRef.maxDifferentialPerMod &&
                                held.removePrecursorPeak == heldRef.removePrecursorPeak &&
                                held.ionCutoffPercentage == heldRef.ionCutoffPercentage &&
                                held.matchPeakCount == heldRef.matchPeakCount &&
                                held.matchPeakAllowedError == heldRef.matchPeakAllowedError &&
                                held.matchPeakTolerance == heldRef.matchPeakTolerance &&
                                held.massTypeParent == heldRef.massTypeParent &&
                                held.massTypeFragment == heldRef.massTypeFragment;
    return basicAtDefaults && advancedAtDefaults && heldAtDefaults && modifications.IsAtDefaults();
}

void SearchParamsModel::ApplyDefaults() {
    held = SheetHeldValues{};
    basic.threshold = kind_ == SearchKind::Sorvex ? BasicPageValues::kReferenceThreshold
                                                  : BasicPageValues::kMassmapReferenceThreshold;
    basic.cleavageSites = BasicPageValues::kReferenceCleavageSites;
    basic.sequenceType = 0;
    basic.massType = 0;
    basic.readingFrame = 0;
    for (MassRangeValue* range : {&basic.indexedRange, &basic.fastaRange}) {
        range->value = MassRangeValue::kDefaultPair;
        range->defaultPair = MassRangeValue::kDefaultPair;
    }
    basic.removeDta = true;
    basic.removeOut = true;
    basic.performGeneration = true;
    basic.performSearch = true;
    basic.trackTrace = true;
    basic.enzymeIndex = 0;
    basic.proteinMassChoice = 0;
    basic.suppliedMass = 0.0;
    SetDatabaseType(0);
    advanced = AdvancedPageValues{};
    modifications.ResetAll();
}

// ---- database ---------------------------------------------------------------------------

QString SearchParamsModel::ResolveDatabasePath(const QString& typed) const {
    if (typed.isEmpty() || IsAbsoluteStoredPath(typed)) return typed;
    QString folder = basic.databaseDirectory;
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('\\')) &&
        !folder.endsWith(QLatin1Char('/'))) {
        folder += folder.contains(QLatin1Char('\\')) ? QLatin1Char('\\') : QLatin1Char('/');
    }
    return folder + typed;
}

QString SearchParamsModel::DatabaseFilterText() const {
    return basic.databaseDirectory +
           (basic.IsIndexed() ? QStringLiteral("*.fasta.hdr") : QStringLiteral("*.fasta"));
}

void SearchParamsModel::SetDatabaseType(int type) {
    basic.databaseType = type;
    basic.databaseName = DatabaseFilterText();
}

bool SearchParamsModel::HasValidDatabase() const {
    return !basic.databaseName.isEmpty() &&
           IsValidDatabaseFile(PortablePath(ResolvedDatabasePath()));
}

bool SearchParamsModel::OnDatabaseChanged() {
    const bool valid = HasValidDatabase();
    if (!basic.databaseName.isEmpty() && !valid) {
        ZarMessageBox(QString::fromLatin1(kInvalidDatabaseMessage), MB_OK);
    }
    ReadIndexedDatabaseHeader();
    return valid;
}

bool SearchParamsModel::PrepareSearchDatabase() {
    const QString path = ResolvedDatabasePath();
    const bool recorded = PrepareDatabaseSize(path, GetFileNamePart(basic.databaseName));
    double minimum = 0.0;
    double maximum = 0.0;
    if (basic.IsIndexed() && ReadHeaderMassRange(PortablePath(path), minimum, maximum)) {
        SetIndexedMassRange(minimum, maximum, minimum, maximum);
    }
    return recorded;
}

bool SearchParamsModel::CheckResultsDirectory() const {
    const QString folder = PortablePath(basic.resultsDirectory);
    if (folder.isEmpty()) return false;
    if (QDir(folder).exists()) return true;
    const int answer =
        ZarMessageBox(QStringLiteral("The results directory \n\n") + basic.resultsDirectory +
                          QStringLiteral("\n\ndoesn't exist.  Do you want to create it?"),
                      MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) return false;
    if (QDir().mkdir(folder)) return true;
    ZarMessageBox(QStringLiteral("Unable to create the results directory \n\n") +
                      basic.resultsDirectory,
                  MB_OK);
    return false;
}

bool SearchParamsModel::ReadIndexedDatabaseHeader() {
    if (!basic.IsIndexed() || basic.databaseName.isEmpty()) return false;
    IndexedDatabaseHeader header;
    if (!zar::ReadIndexedDatabaseHeader(PortablePath(ResolvedDatabasePath()), header)) {
        return false;
    }
    ApplyIndexedDatabaseHeader(header);
    return true;
}

void SearchParamsModel::ApplyIndexedDatabaseHeader(const IndexedDatabaseHeader& header) {
    const MassRangeValue& indexed =
        kind_ == SearchKind::Sorvex ? basic.indexedRange : basic.fastaRange;
    MassPair range = indexed.defaultPair;
    if (header.minimumMass) range.low = *header.minimumMass;
    if (header.maximumMass) range.high = *header.maximumMass;
    SetIndexedMassRange(range.low, range.high, range.low, range.high);

    if (header.enzymeName.size() > 1)
        basic.enzymeIndex = EnzymeListNames().indexOf(header.enzymeName);
    if (header.numIntCleavageSites > 0) basic.cleavageSites = header.numIntCleavageSites;
    if (header.origDatabaseType.size() > 1) {
        basic.sequenceType = header.origDatabaseType.startsWith(QLatin1String("Protein")) ? 0 : 1;
    }
    if (header.massType.size() > 1) {
        basic.massType = header.massType.startsWith(QLatin1String("mono")) ? 1 : 0;
    }
    ApplyHeaderStaticModifications(header.staticModifications, modifications);
    std::array<DifferentialModification, ModificationTables::kDifferentialCount> diffs;
    ParseHeaderDifferentialModifications(header.differentialModifications, diffs);
    for (int i = 0; i < ModificationTables::kDifferentialCount; ++i) {
        const DifferentialModification& d = diffs[static_cast<std::size_t>(i)];
        modifications.SetDifferentialModification(i, d.residues, d.mass);
    }
}

namespace {
void SetRange(MassRangeValue& range, double low, double high, double boundLow, double boundHigh) {
    range.value = {RoundTo001(low), RoundTo001(high)};
    range.defaultPair = range.value;
    range.bounds = {RoundTo001(boundLow), RoundTo001(boundHigh)};
}
}  // namespace

void SearchParamsModel::SetIndexedMassRange(double low, double high, double boundLow,
                                            double boundHigh) {
    // The Massmap page has one range edit for both kinds of database.
    MassRangeValue& range = kind_ == SearchKind::Sorvex ? basic.indexedRange : basic.fastaRange;
    SetRange(range, low, high, boundLow, boundHigh);
}

void SearchParamsModel::SetFastaMassRange(double low, double high, double boundLow,
                                          double boundHigh) {
    SetRange(basic.fastaRange, low, high, boundLow, boundHigh);
}

void SearchParamsModel::SetScanLimits(int first, int last, int low, int high) {
    basic.scanFileLimits = {first, last};
    basic.scanRange = {low, high};
    basic.scanBounds = {low, high};
}

void SearchParamsModel::TrackScanRange(int first, int last) {
    basic.scanBounds = {first, last};
    if (basic.trackTrace) basic.scanRange = {first, last};
}

void SearchParamsModel::SetFastaMassRangeAndRefresh(double low, double, double high, double) {
    basic.fastaRange.defaultPair = {RoundTo001(low), RoundTo001(high)};
}

bool SearchParamsModel::PrepareDatabaseSize(const QString& path, const QString& name) {
    qint64 size = 0;
    if (!path.isEmpty()) {
        QFile file(PortablePath(path));
        if (file.open(QIODevice::ReadOnly)) size = file.size();
    }
    QStringList names;
    GetDatabaseNames(names);
    if (names.isEmpty()) {
        UpdateDatabaseSize(name, 0, 0);
        return false;
    }
    if (!names.contains(name)) {
        UpdateDatabaseSize(name, std::max<qint64>(size - 1, 0), 0);
        basic.databaseFileSize = ClampToInt(size);
        return false;
    }
    int recordedSize = 0;
    int recordedProteins = 0;
    GetDatabaseInfo(name, recordedSize, recordedProteins);
    basic.databaseFileSize = ClampToInt(size);
    basic.proteinEstimate =
        size > 0 ? ClampToInt(size / kBytesPerProtein) : kUnknownProteinEstimate;
    return true;
}

bool SearchParamsModel::UpdateDatabaseSize(const QString& name, qint64 fileSize,
                                           int numberOfProteins) {
    if (numberOfProteins > 0) {
        basic.proteinEstimate = numberOfProteins;
    } else if (fileSize != 0) {
        const int divisor = HasHeaderExtension(name) ? kHeaderProteinDivisor : kFastaProteinDivisor;
        basic.proteinEstimate = ClampToInt(fileSize / divisor + 1);
    }
    return SetDatabaseInfo(GetFileNamePart(name), ClampToInt(fileSize), basic.proteinEstimate);
}

bool SearchParamsModel::SetDatabaseSize(int count) {
    return UpdateDatabaseSize(basic.databaseName, basic.databaseFileSize, count);
}

}  // namespace zar
