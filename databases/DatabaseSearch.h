#pragma once
// Protein look-ups in the database of a search result: entries that contain a peptide, the entry
// of a protein reference with the coverage of its peptides, and the entry of a hit's reference
// with the position of the hit's peptide. One object serves one operation; results are returned
// by value.

#include "databases/DtaIons.h"
#include "databases/DtaSpectrum.h"
#include "databases/IndexedDatabase.h"
#include "databases/SearchInfoReader.h"
#include "databases/SequenceMasses.h"
#include "databases/WorkProgress.h"
#include "document/HitNumber.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zar {

// A reference longer than this is matched by its first kReferencePrefix characters when a
// protein is looked up; at most kMaxReferenceChars are used.
constexpr int kLongReference = 30;
constexpr int kReferencePrefix = 28;
constexpr int kMaxReferenceChars = 199;
// Sequence rows of the views hold this many residues.
constexpr int kResiduesPerSequenceRow = 50;
// Hit lists of a protein, one per charge.
constexpr int kProteinHitLists = 5;

// What a look-up reads of the selected hit (and of its protein).
struct DatabaseLookupRequest {
    QString peptide;                // FindSequence, FindSequencePosition
    QString reference;              // FindReference (the protein's), FindSequencePosition
    std::vector<QString> peptides;  // FindReference: the protein's peptides, the first one first
    bool monoisotopic = false;      // the hit's mass type
    QString databaseFile;           // the hit's database file name
    QString indexedDatabase;        // the hit's indexed-database name
    int entryNumber = 0;            // database entry, 0 when unknown
};

enum class LookupStatus { Found, NotFound, Skipped, Invalid, Failed, Cancelled };

// The protein sequence that the views show: the record posted with the result messages.
struct ProteinSequenceRecord {
    std::string sequence;
    int length = 0;
    int rows = 0;
    int first = 0;  // the peptide's residues, 1-based; 0 when absent
    int last = 0;
    std::vector<std::uint16_t> coverage;  // one flag per residue plus one, 1 = covered
};

struct SequenceLookupRow {
    QString reference;     // the header as shown
    std::string sequence;  // the protein, or the translation of a nucleotide entry
    double mass = 0.0;     // MH+ of a protein, residue sum of a translation
    int first = 0;         // 1-based position of the first occurrence
    int last = 0;
    QString massText() const;
    QString positionText() const;  // "%d - %d", empty when a position is 0
};

struct SequenceLookupResult {
    LookupStatus status = LookupStatus::Skipped;
    int databaseKind = 0;
    std::vector<SequenceLookupRow> rows;
};

struct PeptideCoverageRow {
    QString peptide;
    double mass = 0.0;
    double percentOfMass = 0.0;
    int first = 0;  // 1-based
    int last = 0;
    double percentOfLength = 0.0;
    QString positionText() const;
};

struct ProteinLookupResult {
    LookupStatus status = LookupStatus::Skipped;
    int databaseKind = 0;
    QString description;
    QString databaseText;
    QString massText;
    QString aminoAcidText;
    QString positionText;  // FindSequencePosition only
    double proteinMass = 0.0;
    ProteinSequenceRecord record;
    std::vector<PeptideCoverageRow> peptides;  // FindReference: peptides found, in order
    double coveredMass = 0.0;
    double coveredMassPercent = 0.0;
    int coveredResidues = 0;
    double coveredResiduePercent = 0.0;
};

// What the display-ions view asks of a hit.
struct DtaIonRequest {
    QString dtaName;  // the spectrum file without ".dta"
    QString peptide;
    int charge = 1;
    int ionSeries = kIonSeriesB | kIonSeriesY;
    bool monoisotopic = false;
    QString modifications;  // the search's modification text
};

struct DtaIonResult {
    DtaIonTable table;
    QString precursorText;  // "Precursor mass:  %.2lf"
    QString massTypeText;   // "Mass type:  Monoisotopic" / "Mass type:  Average"
    double precursor = 0.0;
};

struct SearchInfoResult {
    SearchInfoText text;
    std::vector<DtaPeak> spectrum;  // the peaks kept from the ".dta"
    int peakLines = 0;
};

// The hit whose mass type and file names serve a protein look-up: the first hit of each
// non-empty per-charge list in order, the first that is selected, else the last one seen.
// No hit when every list is empty.
HitNumber ChooseProteinHit(const std::array<std::vector<HitNumber>, kProteinHitLists>& hitLists,
                           const std::function<bool(HitNumber hit)>& isSelected);

// Letters of a peptide text without its flanking residues ("K.PEPTIDE.R"), upper-cased.
std::string PeptideLetters(const QString& peptide);

class CDatabaseSearch {
  public:
    // The directories start from the settings.
    CDatabaseSearch();
    CDatabaseSearch(const QString& databaseDirectory, const QString& resultsDirectory);
    virtual ~CDatabaseSearch();
    CDatabaseSearch(const CDatabaseSearch&) = delete;
    CDatabaseSearch& operator=(const CDatabaseSearch&) = delete;

    void SetResultsDirectory(const QString& folder) { resultsDirectory_ = folder; }
    void SetDatabaseDirectory(const QString& folder) { databaseDirectory_ = folder; }
    void SetDatabaseKind(int kind) { databaseKind_ = kind; }
    void SetReadingFrame(int frame) { readingFrame_ = frame; }
    void SetProgress(const WorkProgress* progress) { progress_ = progress; }
    void SetBlockSize(qint64 bytes) { blockSize_ = bytes; }
    QString resultsDirectory() const { return resultsDirectory_; }
    QString databaseDirectory() const { return databaseDirectory_; }

    SequenceLookupResult FindSequence(const DatabaseLookupRequest& request);
    ProteinLookupResult FindReference(const DatabaseLookupRequest& request);
    ProteinLookupResult FindSequencePosition(const DatabaseLookupRequest& request);

    // The a, b and y ions of a hit's peptide against its prepared ".dta"; nothing (after the
    // message) when the file cannot be opened, read or prepared.
    std::optional<DtaIonResult> ShowDtaIons(const DtaIonRequest& request);
    // The header of the hit's ".out" (results folder + file information) and its ".dta"
    // spectrum: the peptide-mapping layout, and the search-engine layout.
    std::optional<SearchInfoResult> ReadSearchInfo(const QString& fileInformation,
                                                   bool monoisotopic);
    std::optional<SearchInfoResult> ReadSearchInfo2(const QString& fileInformation,
                                                    bool monoisotopic);

    // Opens an indexed database (".hdr", or a FASTA file with its index); shows the failure.
    bool OpenIndexedDatabase(const QString& name);
    // Entry n of the open indexed database into header() and sequence().
    bool ReadIndexedEntry(int n, int& length);
    const QString& header() const { return entry_.header; }
    const std::string& sequence() const { return entry_.residues; }

    // The FASTA file of a hit: the database directory and the hit's database file name.
    QString FastaPathFor(const QString& databaseFile) const;

  private:
    enum class EntryFound { Yes, No, Failed, Cancelled };
    bool prepare(const DatabaseLookupRequest& request, bool needReference, bool needPeptide,
                 LookupStatus& status);
    EntryFound findEntry(const DatabaseLookupRequest& request, const QString& reference,
                         int entryNumber);
    EntryFound scanForReference(const QString& path, const QString& reference);
    // A database that cannot be opened or is empty is reported; else the progress starts.
    bool beginScan(bool opened, qint64 size) const;
    // A failed read is reported; else the progress finishes. The status of the rows found.
    LookupStatus endScan(bool readFailed, bool found) const;
    // FindSequence over a protein database, in one pass over large blocks.
    SequenceLookupResult scanProteins(const DatabaseLookupRequest& request,
                                      const std::string& peptide, SequenceLookupResult result);
    // Finds the entry, reports a failure or "No match found in the database", and fills the
    // protein's record and texts; false when there is no protein to report on.
    bool loadProtein(const DatabaseLookupRequest& request, const QString& reference,
                     const std::string& peptide, ProteinLookupResult& result);
    std::optional<SearchInfoResult> readSearchInfo(const QString& fileInformation,
                                                   bool monoisotopic, OutHeaderLayout layout);
    bool loadSpectrum(const QString& dtaName, double binWidth, CDtaSpectrum& spectrum);
    void reportPercent(qint64 position, qint64 size, int& last) const;
    bool cancelled() const { return progress_ && progress_->cancelled(); }

    QString databaseDirectory_;
    QString resultsDirectory_;
    int databaseKind_ = 0;
    int readingFrame_ = 1;
    qint64 blockSize_;
    const WorkProgress* progress_ = nullptr;
    SequenceMassTable masses_;
    std::unique_ptr<CIndexedDatabase> indexed_;
    FastaEntry entry_;
};

}  // namespace zar
