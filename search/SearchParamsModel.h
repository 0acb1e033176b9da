#pragma once
// Everything of a search-parameter sheet that is not a window: the values of its pages, which
// parameter-file key each one is kept under, the checks made when the file is read, the
// defaults, the option text for the extraction program, the option summary and the database
// look-ups. The Sorvex and the Massmap sheets share it; the pages bind to its plain fields.

#include "DatabaseHeader.h"
#include "ModificationTables.h"
#include "ParamFile.h"
#include "ParamFileRestore.h"

#include "document/EnzymeTable.h"

#include <QString>
#include <QStringList>

namespace zar {

enum class SearchKind { Sorvex, Massmap };

struct ScanPair {
    int first = 0;
    int last = 0;
    bool operator==(const ScanPair&) const = default;
};

struct MassPair {
    double low = 0.0;
    double high = 0.0;
    bool operator==(const MassPair&) const = default;
};

// A mass-range edit: the one pair it holds, the pair put back when it is cleared, its bounds.
struct MassRangeValue {
    static constexpr MassPair kDefaultPair{700.0, 3500.0};
    static constexpr MassPair kEditBounds{0.0, 10000.0};
    MassPair value = kDefaultPair;
    MassPair defaultPair = kDefaultPair;
    MassPair bounds = kEditBounds;
};

// Limits of the numeric fields, as the pages' edits enforce them.
struct IntLimits {
    int low;
    int high;
    bool Contains(int v) const { return v >= low && v <= high; }
};
struct DoubleLimits {
    double low;
    double high;
    bool Contains(double v) const { return v >= low && v <= high; }
};
inline constexpr DoubleLimits kToleranceLimits{0.0, 25.0};  // precursor, peptide, fragment
inline constexpr IntLimits kScanCountLimits{0, 1000};       // group scan, group count, ion count
inline constexpr IntLimits kChargeLimits{0, 6};
inline constexpr IntLimits kResultsScoredLimits{10, 1000};
inline constexpr IntLimits kOutputLinesLimits{5, 200};
inline constexpr IntLimits kCleavageSitesLimits{1, 12};
inline constexpr DoubleLimits kThresholdLimits{0.0, 1e20};
// Values of a parameter file that stop the sheet from opening.
inline constexpr DoubleLimits kFileToleranceLimits{-10.0, 10.0};
inline constexpr DoubleLimits kFileModificationLimits{ModificationTables::kMinimumMass,
                                                      ModificationTables::kMaximumMass};

// The basic page: Sorvex "Basic Parameters" (General) and Massmap "Basic Parameters".
struct BasicPageValues {
    static constexpr double kReferenceThreshold = 100000.0;
    static constexpr double kMassmapReferenceThreshold = 500000.0;
    static constexpr int kReferenceCleavageSites = 2;
    static constexpr ScanPair kDefaultScanPair{0, 100};
    static constexpr int kNucleotideReadingFrame = 9;

    QString resultsDirectory;   // Sorvex only
    QString databaseDirectory;  // as the settings keep it ("C:\Veltrix\Database\")
    ScanPair scanFileLimits;    // first and last scan of the raw file (the scan edit's bounds)
    ScanPair scanRange = kDefaultScanPair;  // the scan edit's pair
    ScanPair scanBounds;                    // the traced range
    bool trackTrace = true;
    MassRangeValue indexedRange;  // Sorvex only; Massmap has one range, fastaRange
    MassRangeValue fastaRange;
    double threshold = kReferenceThreshold;
    // Shown on the Sorvex basic page and the Massmap advanced page.
    int cleavageSites = kReferenceCleavageSites;
    bool removeDta = true;
    bool removeOut = true;
    bool performGeneration = true;
    bool performSearch = true;
    int databaseType = 0;  // 0 FASTA, 1 indexed
    int massType = 0;      // 0 average, 1 monoisotopic
    int sequenceType = 0;  // 0 protein, 1 nucleotide
    int readingFrame = 0;
    int enzymeIndex = 0;  // entry of the enzyme list, -1 none
    QString databaseName;
    int databaseFileSize = 100000;
    int proteinEstimate = 7000;
    // Massmap only
    int proteinMassChoice = 0;  // 0 base peak / precursor, 1 supplied mass
    double suppliedMass = 0.0;

    bool IsIndexed() const { return databaseType == 1; }
    // The protein and nucleotide choice; nucleotide searches all six reading frames.
    void SetSequenceType(int type);
};

// The advanced page: Sorvex "Advanced Parameters" and the upper part of the Massmap one.
struct AdvancedPageValues {
    static constexpr double kReferencePrecursorTolerance = 1.4;
    static constexpr int kReferenceGroupScan = 1;
    static constexpr int kReferenceMinGroupCount = 2;
    static constexpr int kReferenceMinIonCount = 35;

    double precursorTolerance = kReferencePrecursorTolerance;
    int groupScan = kReferenceGroupScan;          // Sorvex only
    int minGroupCount = kReferenceMinGroupCount;  // Sorvex only
    int minIonCount = kReferenceMinIonCount;
    int charge = 0;  // 0 none; on the Massmap basic page
    QString subsequence;
    double peptideTolerance = 1.0;
    double fragmentTolerance = 0.0;
    int numResults = 500;  // Sorvex only
    // The page gives the a ions no value of its own; Defaults clears them, as the default
    // file's ion series does.
    bool aIons = false;
    bool bIons = true;
    bool yIons = true;
    int outputLines = 10;
    bool showFragmentIons = false;  // Sorvex only
    bool printDuplicateReferences = true;
    bool printAdvancedParameters = true;  // Sorvex only

    bool operator==(const AdvancedPageValues&) const = default;
};

// Values of the file that no page shows.
struct SheetHeldValues {
    int numDescriptionLines = 3;
    int createOutputFiles = 1;
    int maxDifferentialPerMod = 4;
    int removePrecursorPeak = 0;
    double ionCutoffPercentage = 0.0;
    int matchPeakCount = 0;
    int matchPeakAllowedError = 1;
    double matchPeakTolerance = 1.0;
    int massTypeParent = 0;
    int massTypeFragment = 0;
    QString partialSequence;
    QString sequenceHeaderFilter;
    QString proteinMassFilter = QStringLiteral("0 0");

    bool operator==(const SheetHeldValues&) const = default;
};

// The Sorvex Queue page.
struct QueueChoice {
    int runChoice = 0;  // 0 directly, 1 through the queue
    int priority = 1;   // 0 high, 1 normal, 2 low
    // "High", "Normal" or "Low" when the queue is chosen, else empty.
    QString PriorityText() const;
};

// Initial values of a new sheet that come from the program's settings.
struct SearchSettings {
    QString resultsDirectory;  // Sorvex or peptide-mapping results folder
    QString databaseDirectory;
    double dtaThreshold = 100000.0;
    double dtaPrecursorTolerance = 1.4;
    int dtaGroupScan = 1;
    int dtaMinIonCount = 35;
    int dtaMinGroupCount = 2;

    // Read from the settings store (Sorvex or peptide-mapping results folder by kind).
    static SearchSettings FromStore(SearchKind kind);
};

// Said when the database chosen for a search is missing or no database.
inline constexpr const char* kInvalidDatabaseMessage =
    "Can't find that database or database is invalid!";

// Where the installed default parameter files are (the program folder); empty when the data
// system's core path is not known.
QString DefaultParamFileFolder();

// Out-of-range items of a parameter file, in the order the message lists them.
enum class RangeItem {
    DifferentialModifications,
    PeptideTolerance,
    FragmentTolerance,
    StaticModifications
};

class SearchParamsModel {
  public:
    SearchParamsModel(SearchKind kind, const SearchSettings& settings);

    SearchKind Kind() const { return kind_; }
    ParamFileType FileType() const;

    BasicPageValues basic;
    AdvancedPageValues advanced;
    ModificationTables modifications;
    SheetHeldValues held;
    QueueChoice queue;

    CParamFile& Store() { return store_; }
    const CParamFile& Store() const { return store_; }
    QString ParamFilePath() const { return paramFilePath_; }
    QString OptionSummaryPath() const { return optionSummaryPath_; }
    // The database path of the file as read ("unknown" when it has none) or last written.
    QString DatabasePathFromFile() const { return databasePath_; }

    // The enzyme records behind the enzyme list (not owned); the list shows the named ones.
    void SetEnzymeTable(const CEnzymeTable::Records* records) { enzymes_ = records; }
    QStringList EnzymeListNames() const;

    // Reading the file when the sheet is made. Missing file: defaults, no checks. No database
    // entry, or values out of range (after the message listing them): the restore procedure.
    struct ReadResult {
        bool opened = false;
        bool restoreRan = false;
        RestoreResult restore = RestoreResult::Unchanged;
        std::vector<RangeItem> outOfRange;
    };
    ReadResult ReadParamFile(InvalidParamsPrompt& prompt, const QString& programDirectory);
    static QString OutOfRangeMessage(SearchKind kind, const std::vector<RangeItem>& items);

    // Copies the file's values into the pages and the held values (missing keys as the
    // mapping says: kept, or the held default).
    void LoadPages();

    // Why saving failed: an entry missing from the store (the restore procedure has run), or
    // the file could not be written (its message shown, the old file left in place).
    enum class SaveFailure { None, MissingEntry, WriteFailed };
    // Writes the pages and held values into the store and saves it into the results folder
    // (Massmap: its parameter-file path). A missing entry runs the restore procedure and
    // nothing is saved. True only when the file was written.
    bool SaveParamFile(InvalidParamsPrompt& prompt, const QString& programDirectory,
                       SaveFailure* failure = nullptr);
    // The store part of saving: entries in order, then the enzyme rows. False on a missing
    // entry (its message shown).
    bool WriteEntries();

    // The nine ion-series weights of the file ("0.0 1.0 ..."), written back as read: no control
    // edits them.
    QString IonSeriesWeights() const { return ionSeriesWeights_; }

    // The option text for the extraction program; each option ends in a blank.
    QString BuildExtractionOptions() const;
    // "sorvex_options.params": the ten option texts when "Print Advanced Parameters" is
    // checked, else an empty file. False (with its message) when it cannot be written.
    bool WriteOptionSummary() const;
    QString OptionSummaryText() const;

    bool IsAtDefaults() const;
    // The sheet's Defaults: every page and held value back to its reference.
    void ApplyDefaults();

    // The one rule for the database path, used for checking it and for writing it: a typed
    // path with a drive or a root is taken as typed, a bare name is looked for in the
    // database folder.
    QString ResolveDatabasePath(const QString& typed) const;
    QString ResolvedDatabasePath() const { return ResolveDatabasePath(basic.databaseName); }
    // The database-name field's text when the database type changes or defaults are applied.
    QString DatabaseFilterText() const;
    void SetDatabaseType(int type);

    // The basic page's database checks. Whether the database the search would use is a usable
    // file; OnDatabaseChanged (leaving the database field) also says so with a message when it
    // is not, and takes the header's settings of an indexed database either way.
    bool HasValidDatabase() const;
    bool OnDatabaseChanged();
    // When a search starts: records the database's size, and for an indexed database takes
    // its mass range from the header. True when the database was recorded before.
    bool PrepareSearchDatabase();
    // The results folder exists, or the user agreed to have it made (one level) and it was
    // made; a folder that cannot be made is reported.
    bool CheckResultsDirectory() const;

    // Takes an indexed database's settings from its header (the basic page's reader): only for
    // an indexed database with a name; false when the header cannot be read.
    bool ReadIndexedDatabaseHeader();
    void ApplyIndexedDatabaseHeader(const IndexedDatabaseHeader& header);

    // Range setters of the basic page; values are rounded to two decimals.
    void SetIndexedMassRange(double low, double high, double boundLow, double boundHigh);
    void SetFastaMassRange(double low, double high, double boundLow, double boundHigh);
    void SetScanLimits(int first, int last, int low, int high);
    // The trace view's range: kept as the scan bounds, and the scan pair while tracking.
    void TrackScanRange(int first, int last);
    // The trace view's mass range: the rounded first and third values become the FASTA
    // range's default pair.
    void SetFastaMassRangeAndRefresh(double low, double, double high, double);
    // The range of the database the options use: the indexed one for an indexed Sorvex search.
    MassPair SearchMassRange() const;

    // Database size records (settings "Database" key). PrepareDatabaseSize returns true when
    // the database was recorded before (the launcher then runs its tally again).
    bool PrepareDatabaseSize(const QString& path, const QString& name);
    bool UpdateDatabaseSize(const QString& name, qint64 fileSize, int numberOfProteins);
    bool SetDatabaseSize(int count);

    // Formats one enzyme row of the parameter file; an unnamed record gives an empty line.
    static QString FormatEnzymeRow(int number, const EnzymeRecord& record);

  private:
    // Steps of reading: the values that are checked (database path, modifications,
    // tolerances), returning those out of range; and taking them again after a restore.
    std::vector<RangeItem> TakeCheckedValues();
    void TakeRestoredValues(RestoreResult restore);
    // The default file, naming a database of the configured database folder.
    void LoadMachineDefaults();
    void LoadInt(const char* key, int& field) const;
    void LoadDouble(const char* key, double& field) const;
    void LoadFlag(const char* key, bool& field) const;
    void LoadHeldInt(const char* key, int& field, int fallback) const;
    void LoadHeldDouble(const char* key, double& field, double fallback) const;
    void LoadHeldText(const char* key, QString& field, const QString& fallback) const;
    void WriteEnzymeRows();
    QString DiffSearchOptionsText() const;

    SearchKind kind_;
    CParamFile store_;
    QString paramFilePath_;
    QString optionSummaryPath_;
    QString databasePath_;
    const CEnzymeTable::Records* enzymes_ = nullptr;
    QString ionSeriesWeights_;
};

}  // namespace zar
