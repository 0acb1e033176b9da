#pragma once
// The common base of the three result sets: the hit records of one opened result, the search
// parameters of its first ".out" file, the protein records built from the hits, and access to
// the searched protein database (FASTA, or an indexed database with its ".hdr"/".idx").
//
// Loading runs on a worker thread: it reports progress through the status and progress
// callbacks, posts the Dta-list messages to the notify target, and stops at the next check
// once Cancel() was called from any thread. Views read the set only after the load ended.

#include "document/ConsensusRow.h"
#include "document/OutFileFormat.h"
#include "document/OutFilePrefetcher.h"
#include "document/ProteinRecord.h"
#include "document/SearchHitRecord.h"
#include "document/SearchParameters.h"

#include <QFile>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace zar {

class TextLineReader;

// Kind of result set, as the results window picks the document's set.
enum ResultKind {
    kResultKindNone = 0,
    kResultKindSorvex = 1,
    kResultKindMassmap = 2,
    kResultKindMultiConsensus = 3
};

// What a ".out" reader returns.
enum OutReadCode {
    kOutRead = 0,  // read, with or without hits
    kOutEmptyName = 1,
    kOutCannotOpen = 2,       // the path goes into the record's file information
    kOutRawFileMismatch = 3,  // line 2 does not name the raw file
    kOutWrongProgram = 4,     // line 3 is not the expected program line
};

// The message a loader shows for a reader's code (empty for kOutRead).
QString OutReadMessage(int code, const QString& fileName, bool peptideMapping);

// Hit sort keys (menu commands 8880 to 8892 minus 8880).
enum HitSortKey {
    kSortFileInformation = 0,
    kSortHitMass = 1,
    kSortPeptide = 2,
    kSortPeptideWithFlank = 3,
    kSortReference = 4,
    kSortCorrelation = 5,
    kSortDeltaCorrelation = 6,
    kSortPreliminaryScore = 7,
    kSortPreliminaryRank = 8,
    kSortIonsRatio = 9,
    kSortFurtherReferences = 10,
    kSortProteinMass = 11,
    kSortQuantitationRatio = 12,
};
constexpr int kHitSortKeyCount = 13;

using ProteinArray = std::vector<std::unique_ptr<CProteinRecord>>;

class CSearchResults {
  public:
    static constexpr int kInitialHitCapacity = 10000;
    static constexpr int kHitGrowth = 5000;
    static constexpr int kMaxDisplayRecords = 500;
    static constexpr int kIndexRecordSize = 32;
    static constexpr int kMaxIndexedHeader = 99;
    static constexpr int kMaxFastaHeader = 1999;

    explicit CSearchResults(QObject* owner = nullptr);
    QObject* GetOwner() const { return owner_; }
    virtual ~CSearchResults();
    CSearchResults(const CSearchResults&) = delete;
    CSearchResults& operator=(const CSearchResults&) = delete;

    // --- Set up by the thread that starts a load.
    // Receiver of 0x40B0, 0x40B2 and 0x40B3 (the main window); null posts nothing.
    void SetNotifyTarget(QObject* target) { notifyTarget_ = target; }
    QObject* GetNotifyTarget() const { return notifyTarget_; }
    void SetStatusCallback(std::function<void(const QString&)> status) {
        status_ = std::move(status);
    }
    void SetProgressCallback(std::function<void(int)> progress) { progress_ = std::move(progress); }
    // The document's raw file; line 2 of every file must name it (its base name).
    void SetRawFilePath(const QString& path) { rawFilePath_ = path; }
    QString GetRawFilePath() const { return rawFilePath_; }
    // Safe from any thread.
    void Cancel() { cancel_.store(true); }
    bool IsCancelled() const { return cancel_.load(); }

    // First step of every load: empties the set (allocating the hit block when missing).
    bool Initialize();
    bool AllocateHits();
    // Clears records from..to-1 (their paths are kept).
    void ResetHits(int from, int to);
    void ClearProteins();
    // Frees everything: count and capacity become 0.
    void FreeResults();

    // --- Reading a loaded set (user-interface thread, after the load).
    int GetHitCount() const { return hitCount_; }
    int GetCapacity() const { return capacity_; }
    SearchHitRecord* GetHit(int position);
    const SearchHitRecord* GetHit(int position) const;
    // The record of a hit, wherever a sort has moved it; null when there is none.
    SearchHitRecord* FindHit(HitNumber hit);
    const SearchHitRecord* FindHit(HitNumber hit) const;
    // Its position in the block, -1 when there is none.
    int FindHitPosition(HitNumber hit) const;
    ProteinArray& GetProteins() { return proteins_; }
    const ProteinArray& GetProteins() const { return proteins_; }
    int GetDisplayCount() const { return displayCount_; }
    const SearchHitRecord* GetDisplayRecord(int i) const;
    SearchParameters& Parameters() { return params_; }
    const SearchParameters& Parameters() const { return params_; }
    // The results folder (portable form, ending in '/' once reading started).
    QString GetDirectory() const { return directory_; }
    void SetDirectory(const QString& directory);
    int GetSortKey() const { return sortKey_; }

    // --- Sorting and grouping.
    void SortHits(int key);
    void SortHitRecords(int key);
    static void SortConsensusRows(std::vector<CConsensusRow>& rows, int key);
    static void SortConsensusRows(std::vector<const CConsensusRow*>& rows, int key);
    // Rescores the proteins from their kept rows and sorts them; false (after a message) when
    // there is nothing to group.
    bool GroupProteins(bool useScores, bool bySummedScore);
    static void SortProteins(ProteinArray& proteins, bool bySummedScore);

    // --- Consensus builder pieces shared by the readers.
    // A reference description line of a file: lengthens the matching protein's reference.
    void AddReferenceDescription(QStringView line);
    // Adds 0.05 * XCorr + delta Cn (and 0.2 for a preliminary rank of 5 or less) of every hit
    // to the first protein with its reference.
    void FinishConsensusScores();

    // --- Protein database access. Names are as the files give them; a relative name is
    // taken in the results folder.
    bool OpenIndexedDatabase(const QString& name);
    void SetProteinMassesFromIndex(const QString& name, int count);
    // The header text of a protein (at most 99 characters, cut at "[MASS"); empty when the
    // number or its record is outside the database.
    QString ReadIndexedProtein(const QString& name, int proteinNumber);
    void CalculateProteinMasses(const QString& name, int count);
    void UnmapFastaDatabase();
    // The path a database name of the files stands for.
    QString ResolveDatabasePath(const QString& name) const;
    // The same for the files of the results folder `folder`.
    static QString ResolveDatabasePathIn(const QString& folder, const QString& name);

    // How a reader differs between the sets.
    struct ReaderStyle {
        bool checkRawFile = true;
        bool rowsCarryHitMass = false;
        // The search-engine builder: lengthens stored references, leaves the protein's Sp.
        bool searchEngineBuilder = false;
        // The peptide-mapping builder: no correlation floor; the protein takes only rank, gi
        // number and valid flag from the line.
        bool peptideMappingBuilder = false;
    };

  protected:
    // The search-engine and multiple-consensus reader: fills record recordIndex from
    // folder/fileName.
    int ReadSearchOutFile(const QString& folder, const QString& fileName, int recordIndex,
                          int& searchTime, const ReaderStyle& style);
    // The same from the file's bytes in memory (what the file reader reads and hands over).
    int ReadSearchOutBytes(const QByteArray& bytes, const QString& folder, const QString& fileName,
                           int recordIndex, int& searchTime, const ReaderStyle& style);
    // The peptide-mapping reader, from the file and from its bytes.
    int ReadMassmapOutFile(const QString& folder, const QString& fileName, int recordIndex,
                           int& searchTime);
    int ReadMassmapOutBytes(const QByteArray& bytes, const QString& folder,
                            const QString& fileName, int recordIndex, int& searchTime);
    // Reads folder/fileName into outFileBytes_; kOutCannotOpen puts the path into the record.
    int ReadOutFileBytes(const QString& folder, const QString& fileName, int recordIndex);
    // Lines 1 to 12 of a ".out" file into the record and (for record 0) the parameters, up
    // to the first hit line.
    struct OutFileHeader {
        int firstScan = 0;
        int lastScan = 0;
        int charge = 0;
        QString secondDatabase;
        bool hasHits = false;
        QString firstHitLine;
    };
    int ReadOutHeader(const QByteArray& bytes, TextLineReader& reader, const QString& folder,
                      const QString& fileName, int recordIndex, int& searchTime,
                      QLatin1StringView programWord, bool checkRawFile, OutFileHeader& header);
    void ReadReferenceDescriptions(TextLineReader& reader);
    // The show-output readers: fill the display block from one file (nothing when it cannot be
    // read) or from its bytes.
    bool OpenDisplayBytes(TextLineReader& reader, const QByteArray& bytes, int& revision,
                          QString& database, QString& secondDatabase);
    SearchHitRecord& NextDisplayRecord(const OutHitLine& hit, const HitWords& words,
                                       const QString& database, const QString& secondDatabase);
    void ParseSearchOutFileForDisplay(const QString& path);
    void ParseSearchOutBytesForDisplay(const QByteArray& bytes);
    void ParseMassmapOutFileForDisplay(const QString& path);
    void ParseMassmapOutBytesForDisplay(const QByteArray& bytes);

    // A hit line as the consensus builder takes it: the texts point into the line read.
    struct ConsensusHit {
        QStringView reference;
        QStringView peptide;
        int proteinNumber = 0;
        int rank = 0;
        HitNumber hitNumber;
        double hitMass = 0.0;
        double sp = 0.0;
        double xcorr = 0.0;
        double deltaCn = 0.0;
        int furtherReferences = 0;
        int ionsMatched = 0;
        int ionsTotal = 0;
        int firstScan = 0;
        int lastScan = 0;
        int charge = 0;
    };
    void AddConsensusHit(const ConsensusHit& hit, const ReaderStyle& style);

    // The ".out" files of a folder, sorted by name.
    static QStringList ListOutFiles(const QString& folder);

    // The file loop of one folder: reads its files into records from firstRecord on, posting
    // the Dta-list messages and progress. Stops at a reader error (after its message), at a
    // growth failure (after its message) or on cancel.
    struct FolderRead {
        int filesRead = 0;
        bool listed = false;   // the folder had ".out" files
        bool stopped = false;  // a reader error or a growth failure ended the loop
    };
    using FileReader = std::function<int(const QString& folder, const QString& fileName,
                                         int recordIndex, int& searchTime)>;
    FolderRead ReadFolder(const QString& folder, int firstRecord, bool peptideMapping,
                          const FileReader& reader);
    // Makes room for one more record after position count - 1; false (after the message)
    // when memory runs out, the block then unchanged.
    bool EnsureCapacity(int count);
    // Grows the hit block to records (its first record too, and as a folder's files need
    // more); throws std::bad_alloc (block unchanged) when it cannot.
    virtual void ResizeHitBlock(size_t records) { hits_.resize(records); }

    void SetStatus(const QString& text) const;
    void SetProgress(int percent) const;
    void RebuildHitPositions();
    // Rebuilds the reference and gi look-ups of the protein array.
    void RebuildProteinLookups();
    CProteinRecord* FindProteinForHit(const QString& reference, int giNumber);
    // The text as a string to look up with (the set's scratch string, valid until the next call).
    const QString& LookUpKey(QStringView text);
    // The raw file's name up to its first '.', which line 2 of every file must begin with.
    const QString& RawFileBase();
    void RenameProtein(CProteinRecord* protein, const QString& reference);
    QString LookUpReference(const QString& database, int proteinNumber);

    QObject* owner_ = nullptr;
    QPointer<QObject> notifyTarget_;
    std::function<void(const QString&)> status_;
    std::function<void(int)> progress_;
    QString rawFilePath_;
    std::atomic<bool> cancel_{false};

    ProteinArray proteins_;
    bool proteinsAllocated_ = false;
    std::vector<SearchHitRecord> hits_;  // capacity_ + 1 records once allocated
    std::vector<int> positionOfIndex_;   // record index -> position in hits_
    std::vector<SearchHitRecord> display_;
    int displayCount_ = 0;
    QString directory_;
    SearchParameters params_;
    int hitCount_ = 0;
    int capacity_ = 0;
    int sortKey_ = 0;

    // Look-ups of the protein array while reading.
    QHash<QString, CProteinRecord*> proteinByReference_;
    QHash<int, CProteinRecord*> proteinByGi_;
    // The peptide sequences each protein has, one table for all (a table per protein would
    // take more memory than the proteins).
    struct ProteinPeptide {
        const CProteinRecord* protein;
        QString sequence;
        bool operator==(const ProteinPeptide&) const = default;
        friend size_t qHash(const ProteinPeptide& key, size_t seed = 0) {
            return qHashMulti(seed, key.protein, key.sequence);
        }
    };
    QSet<ProteinPeptide> proteinPeptides_;

    // The open indexed database.
    QString readingFolder_;  // folder of the files being read; relative databases are there
    QString indexedName_;
    QString failedIndexedName_;
    QFile indexFile_;
    const uchar* indexView_ = nullptr;
    qint64 indexSize_ = 0;
    QFile fastaFile_;
    // The bytes of the ".out" file being read and the texts made of them, kept from file to
    // file so that reading a folder makes strings only of what the records keep.
    QByteArray outFileBytes_;
    struct OutReadScratch {
        OutFileHeader header;
        QString line;
        QString lines[9];  // lines 4 to 12
        QString database;
        QString key;
        QString sequence;
    } scratch_;
    QString rawBase_;
    QString rawBaseOf_;  // the raw file path rawBase_ was taken from
    FolderPaths folderPaths_;
    // Reads the files of the folder being loaded ahead of their parsing.
    std::unique_ptr<OutFilePrefetcher> prefetcher_;
};

}  // namespace zar
