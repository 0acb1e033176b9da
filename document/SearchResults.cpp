#include "document/SearchResults.h"

#include "core/MessageBox.h"
#include "core/Paths.h"
#include "core/TextFile.h"
#include "document/IndexedDatabaseHeader.h"
#include "document/OutFileFormat.h"
#include "document/TextHelpers.h"
#include "document/ZarMessages.h"
#include "messages/Messages.h"

#include <QDir>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <new>

#include <dirent.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zar {

namespace {

const QString kFinished = QStringLiteral("Finished!");

// The next line of a ".out" file; the part of a line beyond the readers' limit is dropped.
// At the end the line is emptied, its storage kept for the next file.
bool NextLine(TextLineReader& reader, QString& line) {
    if (!reader.readLine(line)) {
        line.truncate(0);
        return false;
    }
    QString rest;
    while (reader.lastLineWasCut() && reader.readLine(rest)) {
    }
    return true;
}

// Copies text into `to`, in its own storage when that is large enough and not shared.
void AssignText(QString& to, QStringView text) {
    if (to.isDetached() && to.capacity() >= text.size()) {
        to.resize(text.size());
        std::copy(text.begin(), text.end(), to.data());
    } else {
        to = text.toString();
    }
}

// Makes the pages of a block that is about to be filled present in one call instead of one
// page fault each (each fault costs tens of microseconds on a virtual machine), in large pages
// where the system allows. A hint only: nothing happens where the system does not take it.
void PrepareMemory(void* block, size_t bytes) {
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = (reinterpret_cast<std::uintptr_t>(block) + page - 1) / page * page;
    const auto end = (reinterpret_cast<std::uintptr_t>(block) + bytes) / page * page;
    if (page == 0 || end <= begin) return;
    void* const start = reinterpret_cast<void*>(begin);
    ::madvise(start, end - begin, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
    ::madvise(start, end - begin, MADV_POPULATE_WRITE);
#endif
}

// A record's text that is the same in every record shares one string where it fits.
void SetSharedText(QString& field, const QString& text, int capacity) {
    if (text.size() < capacity) field = text;
    else SetLimitedText(field, text, capacity);
}

QStringView WithoutOutExtension(QStringView fileName) {
    if (fileName.endsWith(QLatin1String(".out"), Qt::CaseInsensitive)) return fileName.chopped(4);
    return fileName;
}

// base: the raw file's name up to its first '.'.
bool BeginsWithRawFileName(const QString& line, const QString& base) {
    qsizetype i = 0;
    while (i < line.size() && line[i] == QLatin1Char(' ')) ++i;
    return QStringView(line).mid(i).startsWith(base, Qt::CaseInsensitive);
}

// A file named in a header: relative names are taken in the header's folder; an absolute name
// from another machine that does not exist here is looked for there too.
QString PathBeside(const QString& folder, const QString& stored) {
    const QString portable = PortablePath(stored);
    if (!QFileInfo(portable).isAbsolute()) return JoinPath(folder, portable);
    if (QFileInfo::exists(portable)) return portable;
    return JoinPath(folder, FileNameOf(stored));
}

// The peptide-mapping builder: no correlation floor, rows with the line's mass and score.
const CSearchResults::ReaderStyle kPeptideMappingStyle{true, true, false, true};

int HitScore(int rank) {
    return std::max(0, 10 - 2 * (rank - 1));
}

// Marks the ion series whose number is above 0 in the set's "0"/"1" text.
void MarkIonSeries(QString& text, const double numbers[9]) {
    if (text.size() != kIonSeriesCount) text = QStringLiteral("000000000");
    for (int i = 0; i < kIonSeriesCount; ++i) {
        if (numbers[i] > 0.0) text[i] = QLatin1Char('1');
    }
}

std::uint16_t IonSeriesFlags(const std::array<int, 3>& series) {
    std::uint16_t flags = 0;
    if (series[0] != 0) flags |= SearchHitRecord::kIonSeriesFirst;
    if (series[1] != 0) flags |= SearchHitRecord::kIonSeriesSecond;
    if (series[2] != 0) flags |= SearchHitRecord::kIonSeriesThird;
    return flags;
}

double IonsRatio(int matched, int total) {
    return total == 0 ? 0.0 : static_cast<double>(matched) / static_cast<double>(total);
}

// Consensus-row order of a key; keys without an order of their own sort as key 0.
bool ConsensusRowLess(const CConsensusRow& a, const CConsensusRow& b, int key) {
    switch (key) {
        case 1:
            return a.hitMass < b.hitMass;
        case 5:
            return a.correlation > b.correlation;
        case 6:
            return a.deltaCorrelation > b.deltaCorrelation;
        case 7:
            return a.preliminaryScore > b.preliminaryScore;
        case 8:
            return a.rank < b.rank;
        case 9: {
            const double ra = IonsRatio(a.ionsMatched, a.ionsTotal);
            const double rb = IonsRatio(b.ionsMatched, b.ionsTotal);
            if (ra != rb) return ra > rb;
            return a.ionsMatched > b.ionsMatched;
        }
        case 10:
            return a.furtherReferences > b.furtherReferences;
        default:
            if (a.firstScan != b.firstScan) return a.firstScan < b.firstScan;
            return a.lastScan < b.lastScan;
    }
}

}  // namespace

QString OutReadMessage(int code, const QString& fileName, bool peptideMapping) {
    switch (code) {
        case kOutRead:
            return QString();
        case kOutEmptyName:
            return QStringLiteral("Problem reading the results file");
        case kOutCannotOpen:
            return QStringLiteral("Unable to open the '.out' files - ") + fileName;
        case kOutRawFileMismatch:
            return QStringLiteral("The analysis file doesn't match the results file");
        case kOutWrongProgram:
            return peptideMapping
                       ? QStringLiteral("The output files weren't generated by Peptide Mapping")
                       : QStringLiteral("The output files weren't generated by TurboSORVEX");
        default:
            return QStringLiteral("Problem reading the results file");
    }
}

CSearchResults::CSearchResults(QObject* owner) : owner_(owner) {}

CSearchResults::~CSearchResults() {
    FreeResults();
    UnmapFastaDatabase();
}

void CSearchResults::SetStatus(const QString& text) const {
    if (status_) status_(text);
}

void CSearchResults::SetProgress(int percent) const {
    if (progress_) progress_(percent);
}

void CSearchResults::SetDirectory(const QString& directory) {
    directory_ = PortablePath(directory);
    if (!directory_.isEmpty() && !directory_.endsWith(QLatin1Char('/')))
        directory_.append(QLatin1Char('/'));
}

bool CSearchResults::Initialize() {
    SetStatus(QStringLiteral("Initializing results ..."));
    hitCount_ = 0;
    params_.revision = 0;
    sortKey_ = 0;
    cancel_.store(false);
    params_.proteinMassesWanted = 1;
    params_.databaseFile.clear();
    params_.databaseName.clear();
    params_.secondDatabaseName.clear();
    params_.ionSeriesText = QStringLiteral("000000000");
    // What the modifications line sets must not survive from the previous result.
    params_.modificationText.clear();
    params_.differentialMasses = {};
    params_.differentialSymbols = {QLatin1Char(' '), QLatin1Char(' '), QLatin1Char(' ')};
    params_.nTermPeptide = params_.cTermPeptide = 0.0;
    params_.nTermProtein = params_.cTermProtein = 0.0;
    failedIndexedName_.clear();
    SetProgress(10);
    if (hits_.empty() || !proteinsAllocated_) {
        if (!AllocateHits()) {
            ZarMessageBox(QStringLiteral("Unable to allocate the required memory"));
            return false;
        }
    }
    SetProgress(40);
    // Nothing of the previous result stays: the block shrinks to its spare record, which keeps
    // no texts either. A folder's load makes room for what that folder needs.
    hits_.resize(1);
    ResetHits(0, 1);
    positionOfIndex_.clear();
    SetProgress(80);
    ClearProteins();
    SetProgress(0);
    return true;
}

bool CSearchResults::AllocateHits() {
    try {
        // The first block's capacity counts from here; records are made as files are read.
        if (hits_.empty()) {
            ResizeHitBlock(1);
            capacity_ = kInitialHitCapacity;
        }
        proteins_.clear();
        proteinsAllocated_ = true;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void CSearchResults::ResetHits(int from, int to) {
    from = std::max(from, 0);
    to = std::min(to, static_cast<int>(hits_.size()));
    for (int i = from; i < to; ++i) hits_[static_cast<size_t>(i)].reset();
}

void CSearchResults::ClearProteins() {
    proteinPeptides_.clear();
    proteins_.clear();
    proteinByReference_.clear();
    proteinByGi_.clear();
}

void CSearchResults::FreeResults() {
    ClearProteins();
    proteinsAllocated_ = false;
    std::vector<SearchHitRecord>().swap(hits_);
    std::vector<SearchHitRecord>().swap(display_);
    positionOfIndex_.clear();
    hitCount_ = 0;
    capacity_ = 0;
    displayCount_ = 0;
}

SearchHitRecord* CSearchResults::GetHit(int position) {
    if (position < 0 || position >= hitCount_) return nullptr;
    return &hits_[static_cast<size_t>(position)];
}

const SearchHitRecord* CSearchResults::GetHit(int position) const {
    if (position < 0 || position >= hitCount_) return nullptr;
    return &hits_[static_cast<size_t>(position)];
}

int CSearchResults::FindHitPosition(HitNumber hit) const {
    const int index = hit.recordIndex();
    if (index < 0 || index >= static_cast<int>(positionOfIndex_.size())) return -1;
    const int position = positionOfIndex_[static_cast<size_t>(index)];
    if (position < 0 || position >= hitCount_) return -1;
    return hits_[static_cast<size_t>(position)].recordIndex == index ? position : -1;
}

SearchHitRecord* CSearchResults::FindHit(HitNumber hit) {
    return GetHit(FindHitPosition(hit));
}

const SearchHitRecord* CSearchResults::FindHit(HitNumber hit) const {
    return GetHit(FindHitPosition(hit));
}

const SearchHitRecord* CSearchResults::GetDisplayRecord(int i) const {
    if (i < 0 || i >= displayCount_) return nullptr;
    return &display_[static_cast<size_t>(i)];
}

void CSearchResults::RebuildHitPositions() {
    positionOfIndex_.assign(static_cast<size_t>(std::max(hitCount_, 0)), -1);
    for (int p = 0; p < hitCount_; ++p) {
        const int index = hits_[static_cast<size_t>(p)].recordIndex;
        if (index >= 0 && index < hitCount_) positionOfIndex_[static_cast<size_t>(index)] = p;
    }
}

// ---- Sorting ----

void CSearchResults::SortHits(int key) {
    sortKey_ = key;
    SortHitRecords(key);
}

void CSearchResults::SortHitRecords(int key) {
    if (key < 0 || key >= kHitSortKeyCount) key = kSortFileInformation;
    const auto first = hits_.begin();
    const auto last = hits_.begin() + std::max(hitCount_, 0);
    using R = SearchHitRecord;
    switch (key) {
        case kSortHitMass:
            std::stable_sort(first, last,
                             [](const R& a, const R& b) { return a.hitMass < b.hitMass; });
            break;
        case kSortPeptide:
        case kSortPeptideWithFlank: {
            // Records without a peptide go to the end; the others ascend by the peptide from its
            // third (key 2) or second (key 3) character.
            const qsizetype from = key == kSortPeptide ? 2 : 1;
            const auto withPeptide =
                std::stable_partition(first, last, [](const R& r) { return !r.peptide.isEmpty(); });
            std::stable_sort(first, withPeptide, [from](const R& a, const R& b) {
                return QStringView(a.peptide).mid(std::min(from, a.peptide.size())) <
                       QStringView(b.peptide).mid(std::min(from, b.peptide.size()));
            });
            break;
        }
        case kSortReference:
            std::stable_sort(first, last,
                             [](const R& a, const R& b) { return a.reference > b.reference; });
            break;
        case kSortCorrelation:
            std::stable_sort(first, last,
                             [](const R& a, const R& b) { return a.correlation > b.correlation; });
            break;
        case kSortDeltaCorrelation:
            std::stable_sort(first, last, [](const R& a, const R& b) {
                return a.deltaCorrelation > b.deltaCorrelation;
            });
            break;
        case kSortPreliminaryScore:
            std::stable_sort(first, last, [](const R& a, const R& b) {
                return a.preliminaryScore > b.preliminaryScore;
            });
            break;
        case kSortPreliminaryRank:
            std::stable_sort(first, last, [](const R& a, const R& b) {
                return a.preliminaryRank < b.preliminaryRank;
            });
            break;
        case kSortIonsRatio:
            // Equal ratios: more ions matched first; equal in both is equal (a strict order).
            std::stable_sort(first, last, [](const R& a, const R& b) {
                const double ra = IonsRatio(a.ionsMatched, a.ionsTotal);
                const double rb = IonsRatio(b.ionsMatched, b.ionsTotal);
                if (ra != rb) return ra > rb;
                return a.ionsMatched > b.ionsMatched;
            });
            break;
        case kSortFurtherReferences:
            std::stable_sort(first, last, [](const R& a, const R& b) {
                return a.furtherReferences > b.furtherReferences;
            });
            break;
        case kSortProteinMass:
            std::stable_sort(first, last,
                             [](const R& a, const R& b) { return a.proteinMass > b.proteinMass; });
            break;
        case kSortQuantitationRatio:
            std::stable_sort(first, last, [](const R& a, const R& b) {
                return a.quantitationRatio > b.quantitationRatio;
            });
            break;
        default:
            std::stable_sort(first, last, [](const R& a, const R& b) {
                return a.fileInformation < b.fileInformation;
            });
            break;
    }
    RebuildHitPositions();
}

void CSearchResults::SortConsensusRows(std::vector<CConsensusRow>& rows, int key) {
    std::stable_sort(rows.begin(), rows.end(),
                     [key](const CConsensusRow& a, const CConsensusRow& b) {
                         return ConsensusRowLess(a, b, key);
                     });
}

void CSearchResults::SortConsensusRows(std::vector<const CConsensusRow*>& rows, int key) {
    std::stable_sort(rows.begin(), rows.end(),
                     [key](const CConsensusRow* a, const CConsensusRow* b) {
                         return ConsensusRowLess(*a, *b, key);
                     });
}

bool CSearchResults::GroupProteins(bool useScores, bool bySummedScore) {
    if (!proteinsAllocated_ || hits_.empty()) {
        ZarMessageBox(QStringLiteral("Unable to access the results"));
        return false;
    }
    for (auto& protein : proteins_) {
        if (!protein->valid || protein->reference.isEmpty()) continue;
        double score = 0.0;
        for (int r = 1; r <= kConsensusRanks; ++r) score += 2.0 * (6 - r) * protein->keptRows(r);
        protein->score = score;
    }
    if (!bySummedScore) {
        if (useScores) {
            for (auto& protein : proteins_) {
                if (!protein->valid || protein->score <= 0.0) continue;
                protein->score += 0.05 * protein->correlation + protein->deltaCorrelation;
                if (protein->rank <= 5) protein->score += 0.2;
            }
        }
        SortProteins(proteins_, false);
    } else {
        for (auto& protein : proteins_) {
            double sum = 0.0;
            if (protein->valid) {
                for (const auto& rows : protein->rowsByRank) {
                    for (const auto& row : rows) {
                        if (row->kept) sum += row->combinedScore;
                    }
                }
            }
            protein->summedCombinedScore = sum;
        }
        SortProteins(proteins_, true);
    }
    return true;
}

void CSearchResults::SortProteins(ProteinArray& proteins, bool bySummedScore) {
    std::stable_sort(proteins.begin(), proteins.end(),
                     [bySummedScore](const std::unique_ptr<CProteinRecord>& a,
                                     const std::unique_ptr<CProteinRecord>& b) {
                         return bySummedScore ? a->summedCombinedScore > b->summedCombinedScore
                                              : a->score > b->score;
                     });
}

// ---- Consensus builder ----

void CSearchResults::RebuildProteinLookups() {
    proteinByReference_.clear();
    proteinByGi_.clear();
    for (auto& protein : proteins_) {
        if (!proteinByReference_.contains(protein->reference))
            proteinByReference_.insert(protein->reference, protein.get());
        if (protein->giNumber > 0 && !proteinByGi_.contains(protein->giNumber))
            proteinByGi_.insert(protein->giNumber, protein.get());
    }
}

CProteinRecord* CSearchResults::FindProteinForHit(const QString& reference, int giNumber) {
    if (giNumber > 0) {
        if (CProteinRecord* p = proteinByGi_.value(giNumber, nullptr)) return p;
    }
    return proteinByReference_.value(reference, nullptr);
}

void CSearchResults::RenameProtein(CProteinRecord* protein, const QString& reference) {
    const auto it = proteinByReference_.find(protein->reference);
    if (it != proteinByReference_.end() && it.value() == protein) proteinByReference_.erase(it);
    protein->reference = reference;
    if (!proteinByReference_.contains(reference)) proteinByReference_.insert(reference, protein);
}

void CSearchResults::AddConsensusHit(const ConsensusHit& hit, const ReaderStyle& style) {
    const bool belowFloor = !style.peptideMappingBuilder && hit.xcorr < params_.minimumCorrelation;
    if (belowFloor || hit.rank < 1 || hit.rank > kConsensusRanks || hit.reference.isEmpty()) return;
    const int gi = GiNumberOf(hit.reference);
    std::unique_ptr<CProteinRecord> created;
    CProteinRecord* protein = FindProteinForHit(LookUpKey(hit.reference), gi);
    if (!protein) {
        created = std::make_unique<CProteinRecord>();
        created->reference = hit.reference.toString();
        created->giNumber = gi;
        protein = created.get();
    } else if (style.searchEngineBuilder && hit.reference.size() > protein->reference.size()) {
        RenameProtein(protein, hit.reference.toString());
    }

    auto row = std::make_unique<CConsensusRow>();
    row->peptide = hit.peptide.toString();
    row->deltaCorrelation = hit.deltaCn;
    row->hitMass = style.rowsCarryHitMass ? hit.hitMass : 0.0;
    row->preliminaryScore = hit.sp;
    row->combinedScore = CombinedScore(hit.xcorr, hit.sp, hit.deltaCn);
    row->correlation = hit.xcorr;
    row->proteinNumber = hit.proteinNumber;
    row->charge = hit.charge;
    row->furtherReferences = hit.furtherReferences;
    row->hitNumber = hit.hitNumber;
    row->ionsMatched = hit.ionsMatched;
    row->ionsTotal = hit.ionsTotal;
    row->rank = hit.rank;
    row->firstScan = hit.firstScan;
    row->lastScan = hit.lastScan;
    row->kept = 1;

    if (!style.peptideMappingBuilder) {
        protein->deltaCorrelation = hit.deltaCn;
        if (!style.searchEngineBuilder) protein->preliminaryScore = hit.sp;
        protein->correlation = hit.xcorr;
        protein->summedCombinedScore = 0.0;
    }
    protein->rank = hit.rank;
    protein->giNumber = gi;
    protein->valid = 1;
    protein->score += HitScore(hit.rank);
    protein->addRow(std::move(row), hit.hitNumber);

    QString& sequence = scratch_.sequence;
    ExtractPeptideSequenceInto(hit.peptide, sequence);
    const bool kept = !created || (protein->score > 0.0 && !protein->reference.isEmpty());
    if (kept && !proteinPeptides_.contains({protein, sequence})) {
        proteinPeptides_.insert({protein, sequence});
        protein->peptides.append(sequence);
        if (hit.proteinNumber > 0) protein->proteinNumbers.push_back(hit.proteinNumber);
        sequence = QString();  // kept: the next sequence gets storage of its own
    }
    if (created && kept) {
        if (!proteinByReference_.contains(protein->reference))
            proteinByReference_.insert(protein->reference, protein);
        if (gi > 0 && !proteinByGi_.contains(gi)) proteinByGi_.insert(gi, protein);
        proteins_.push_back(std::move(created));
    }
}

void CSearchResults::AddReferenceDescription(QStringView line) {
    const qsizetype at = line.indexOf(QLatin1String("gi"));
    if (at < 0) return;
    const QStringView text = line.mid(at);
    if (text.isEmpty()) return;
    CProteinRecord* protein = nullptr;
    if (text.startsWith(QLatin1String("gi|"))) {
        const int gi = GiNumberOf(text);
        if (gi > 0) protein = proteinByGi_.value(gi, nullptr);
    } else {
        protein = proteinByReference_.value(LookUpKey(text), nullptr);
    }
    if (protein && text.size() > protein->reference.size()) RenameProtein(protein, text.toString());
}

void CSearchResults::FinishConsensusScores() {
    QHash<QString, CProteinRecord*> firstByReference;
    firstByReference.reserve(static_cast<qsizetype>(proteins_.size()));
    for (auto& protein : proteins_) {
        if (!firstByReference.contains(protein->reference))
            firstByReference.insert(protein->reference, protein.get());
    }
    int lastPercent = -1;
    for (int i = 0; i < hitCount_; ++i) {
        const SearchHitRecord& record = hits_[static_cast<size_t>(i)];
        if (!record.reference.isEmpty()) {
            if (CProteinRecord* protein = firstByReference.value(record.reference, nullptr)) {
                protein->score += 0.05 * record.correlation + record.deltaCorrelation;
                if (record.preliminaryRank <= 5) protein->score += 0.2;
            }
        }
        const int percent = static_cast<int>(100LL * i / std::max(hitCount_, 1));
        if (percent != lastPercent) SetProgress(lastPercent = percent);
    }
}

// ---- Readers ----

QString CSearchResults::LookUpReference(const QString& database, int proteinNumber) {
    return ReadIndexedProtein(database, proteinNumber);
}

const QString& CSearchResults::RawFileBase() {
    if (rawBaseOf_ != rawFilePath_) {
        rawBaseOf_ = rawFilePath_;
        rawBase_ = StripAtDot(GetFileNamePart(rawFilePath_));
    }
    return rawBase_;
}

const QString& CSearchResults::LookUpKey(QStringView text) {
    AssignText(scratch_.key, text);
    return scratch_.key;
}

int CSearchResults::ReadOutFileBytes(const QString& folder, const QString& fileName,
                                     int recordIndex) {
    if (fileName.isEmpty()) return kOutEmptyName;
    if (recordIndex < 0 || recordIndex >= static_cast<int>(hits_.size())) return kOutEmptyName;
    // One read of the whole file into the set's reused buffer (done ahead while a folder is
    // loaded); a FIFO or device by the name of a result file is not waited for.
    bool read = false;
    const auto taken = prefetcher_ ? prefetcher_->takeNext(folder, fileName, outFileBytes_)
                                   : OutFilePrefetcher::Take::NotNext;
    if (taken == OutFilePrefetcher::Take::NotNext) {
        read = ReadRegularFile(folderPaths_.filePath(folder, fileName), outFileBytes_,
                               kMaxOutFileBytes);
    } else {
        read = taken == OutFilePrefetcher::Take::Read;
    }
    if (!read) {
        hits_[static_cast<size_t>(recordIndex)].setFileInformation(
            folderPaths_.filePath(folder, fileName));
        return kOutCannotOpen;
    }
    return kOutRead;
}

int CSearchResults::ReadOutHeader(const QByteArray& bytes, TextLineReader& reader,
                                  const QString& folder, const QString& fileName, int recordIndex,
                                  int& searchTime, QLatin1StringView programWord,
                                  bool checkRawFile, OutFileHeader& header) {
    searchTime = 0;
    if (fileName.isEmpty()) return kOutEmptyName;
    if (recordIndex < 0 || recordIndex >= static_cast<int>(hits_.size())) return kOutEmptyName;
    SearchHitRecord& record = hits_[static_cast<size_t>(recordIndex)];
    reader = TextLineReader::fromBytes(bytes, kMaxOutLineLength);
    const QString name = GetFileNamePart(fileName);
    ParseOutFileName(name, header.firstScan, header.lastScan, header.charge);
    record.path = folderPaths_.join(folder, WithoutOutExtension(name));
    header.secondDatabase.truncate(0);
    header.hasHits = false;

    QString& line = scratch_.line;
    NextLine(reader, line);  // line 1
    NextLine(reader, line);  // line 2
    record.setFileInformation(line);
    if (checkRawFile && !BeginsWithRawFileName(line, RawFileBase())) return kOutRawFileMismatch;
    NextLine(reader, line);  // line 3
    if (!line.startsWith(programWord)) return kOutWrongProgram;
    params_.revision = RevisionFromProgramLine(line);

    QString* lines = scratch_.lines;  // lines 4 to 12, as far as the file has them
    for (int i = 0; i < 9; ++i) lines[i].truncate(0);
    int count = 0;
    while (count < 9 && NextLine(reader, lines[count])) ++count;

    searchTime = SearchTimeFromLine(lines[2]);  // line 6
    int monoPrecursor = 0, monoFragments = 0;
    record.precursorMass = ParseMassLine(lines[3], &params_.fragmentTolerance,
                                         &params_.precursorTolerance, &monoPrecursor,
                                         &monoFragments);  // line 7
    if (recordIndex == 0 && count > 3) {
        params_.monoisotopicPrecursor = monoPrecursor;
        params_.monoisotopicFragments = monoFragments;
        InitAminoAcidMasses(params_.residueMasses, monoPrecursor != 0, &params_.hydroxyl,
                            &params_.hydrogen);
    }
    QString& database = scratch_.database;
    database.truncate(0);
    bool nucleotide = false;
    if (count > 5) {  // line 9
        ParseDatabaseLine(lines[5], database, header.secondDatabase, nucleotide);
        if (recordIndex == 0) params_.nucleotide = nucleotide ? 1 : 0;
    }
    if (count > 6) {  // line 10
        int series[3];
        double numbers[9];
        ParseIonSeriesLine(lines[6], series, numbers);
        params_.ionSeries = {series[0], series[1], series[2]};
        MarkIonSeries(params_.ionSeriesText, numbers);
    }
    record.ionSeriesFlags = IonSeriesFlags(params_.ionSeries);
    if (params_.revision == 12 && count > 7 && CodeLineSelectsFirstDatabase(lines[7]))  // line 11
        header.secondDatabase = database;
    if (recordIndex == 0 && count > 5) {
        params_.databaseName = database;
        params_.secondDatabaseName = header.secondDatabase;
        params_.databaseFile = GetFileNamePart(database);
    }
    if (recordIndex == 0 && count > 8 && lines[8].size() > 1)  // line 12
        ParseModificationsLine(lines[8], params_);

    // The hit section follows the first " ---" line (line 12 itself counts).
    bool inHits = count > 8 && lines[8].startsWith(QLatin1String(" ---"));
    while (!inHits && NextLine(reader, line)) inHits = line.startsWith(QLatin1String(" ---"));

    record.recordIndex = recordIndex;
    header.hasHits = inHits && NextLine(reader, header.firstHitLine) &&
                     header.firstHitLine.size() > kHitSectionEndLength;
    if (!header.hasHits) record.hitMass = record.precursorMass;
    return kOutRead;
}

void CSearchResults::ReadReferenceDescriptions(TextLineReader& reader) {
    QString& line = scratch_.line;
    while (NextLine(reader, line)) {
        if (line.size() > kHitSectionEndLength) AddReferenceDescription(line);
    }
}

int CSearchResults::ReadSearchOutFile(const QString& folder, const QString& fileName,
                                      int recordIndex, int& searchTime, const ReaderStyle& style) {
    searchTime = 0;
    const int code = ReadOutFileBytes(folder, fileName, recordIndex);
    if (code != kOutRead) return code;
    return ReadSearchOutBytes(outFileBytes_, folder, fileName, recordIndex, searchTime, style);
}

int CSearchResults::ReadSearchOutBytes(const QByteArray& bytes, const QString& folder,
                                       const QString& fileName, int recordIndex, int& searchTime,
                                       const ReaderStyle& style) {
    TextLineReader reader;
    OutFileHeader& header = scratch_.header;
    const int code = ReadOutHeader(bytes, reader, folder, fileName, recordIndex, searchTime,
                                   QLatin1String(" TurboSORVEX"), style.checkRawFile, header);
    if (code != kOutRead || !header.hasHits) return code;
    SearchHitRecord& record = hits_[static_cast<size_t>(recordIndex)];
    const bool revision12 = params_.revision == 12;
    const QString& secondDatabase = header.secondDatabase;

    // The hit lines are read as views; strings are made only of what the records keep.
    QString lookedUp;
    OutHitView hit;
    HitWordsView words;
    const auto scan = [&](const QString& line, bool firstLine) {
        ScanSearchHitLine(QStringView(line), revision12, false, hit);
        words = SearchHitWords(hit, firstLine, !secondDatabase.isEmpty() && hit.proteinNumber > 0);
        if (words.referenceByNumber) {
            lookedUp = LookUpReference(secondDatabase, hit.proteinNumber);
            words.reference = lookedUp;
        }
    };
    scan(header.firstHitLine, true);
    record.hitMass = hit.hitMass;
    record.deltaCorrelation = hit.deltaCn;
    record.correlation = hit.xcorr;
    record.preliminaryScore = hit.sp;
    record.combinedScore = CombinedScore(hit.xcorr, hit.sp, hit.deltaCn);
    record.proteinNumber = hit.proteinNumber;
    record.furtherReferences = words.furtherReferences;
    record.ionsMatched = hit.ionsMatched;
    record.ionsTotal = hit.ionsTotal;
    record.preliminaryRank = hit.preliminaryRank;
    record.correlationRank = hit.correlationRank;
    record.shown = 1;
    record.monoisotopicPrecursor = params_.monoisotopicPrecursor;
    SetSharedText(record.databaseFile, params_.databaseFile, kDatabaseFileCapacity);
    record.setSecondDatabase(secondDatabase);
    record.setReference(words.reference);
    record.setPeptide(words.peptide);

    const auto consensus = [&] {
        ConsensusHit c;
        c.reference = words.reference;
        c.peptide = words.peptide;
        c.proteinNumber = hit.proteinNumber;
        c.rank = hit.correlationRank;
        c.hitNumber = HitNumber::OfRecordIndex(recordIndex);
        c.hitMass = hit.hitMass;
        c.sp = hit.sp;
        c.xcorr = hit.xcorr;
        c.deltaCn = hit.deltaCn;
        c.furtherReferences = words.furtherReferences;
        c.ionsMatched = hit.ionsMatched;
        c.ionsTotal = hit.ionsTotal;
        c.firstScan = header.firstScan;
        c.lastScan = header.lastScan;
        c.charge = header.charge;
        AddConsensusHit(c, style);
    };
    consensus();

    // The first hit line stays as it is while the others are read.
    const QStringView topPeptide = words.peptide;
    bool deltaOpen = true;
    QString& line = scratch_.line;
    while (NextLine(reader, line)) {
        if (line.size() <= kHitSectionEndLength) {
            ReadReferenceDescriptions(reader);
            break;
        }
        if (line.startsWith(QLatin1String("      "))) continue;  // a further reference
        scan(line, false);
        consensus();
        if (deltaOpen && !IsSimilarPeptide(topPeptide, words.peptide)) {
            record.deltaCorrelation = hit.deltaCn;
            deltaOpen = false;
        }
    }
    if (deltaOpen) record.deltaCorrelation = 1.0;
    return kOutRead;
}

int CSearchResults::ReadMassmapOutFile(const QString& folder, const QString& fileName,
                                       int recordIndex, int& searchTime) {
    searchTime = 0;
    const int code = ReadOutFileBytes(folder, fileName, recordIndex);
    if (code != kOutRead) return code;
    return ReadMassmapOutBytes(outFileBytes_, folder, fileName, recordIndex, searchTime);
}

int CSearchResults::ReadMassmapOutBytes(const QByteArray& bytes, const QString& folder,
                                        const QString& fileName, int recordIndex,
                                        int& searchTime) {
    TextLineReader reader;
    OutFileHeader& header = scratch_.header;
    const int code = ReadOutHeader(bytes, reader, folder, fileName, recordIndex, searchTime,
                                   QLatin1String(" MassMap"), true, header);
    // Only revision 1 files carry hit lines in this layout.
    if (code != kOutRead || !header.hasHits || params_.revision != 1) return code;
    SearchHitRecord& record = hits_[static_cast<size_t>(recordIndex)];

    bool first = true;
    int rank = 0;
    double previousScore = 0.0;
    QString lookedUp;
    for (const QString* line = &header.firstHitLine; line;
         line = NextLine(reader, scratch_.line) ? &scratch_.line : nullptr) {
        if (line->size() <= kHitSectionEndLength) {
            ReadReferenceDescriptions(reader);
            break;
        }
        if (line->startsWith(QLatin1String("      "))) continue;
        OutHitView hit;
        ScanMassmapHitLine(QStringView(*line), hit);
        const HitWordsView words = MassmapHitWords(hit);
        if (first) {
            // No rank column: equal scores share a rank; a first score of 0 ranks nothing.
            rank = hit.sp != 0.0 ? 1 : 0;
            record.hitMass = hit.hitMass;
            record.preliminaryScore = hit.sp;
            record.proteinNumber = hit.proteinNumber;
            record.furtherReferences = words.furtherReferences;
            record.ionsMatched = hit.ionsMatched;
            record.ionsTotal = hit.ionsTotal;
            record.correlationRank = rank;
            record.shown = 1;
            record.monoisotopicPrecursor = params_.monoisotopicPrecursor;
            SetSharedText(record.databaseFile, params_.databaseFile, kDatabaseFileCapacity);
            record.setSecondDatabase(header.secondDatabase);
            record.setReference(words.reference);
            record.setPeptide(words.peptide);
        } else if (rank > 0 && hit.sp != previousScore) {
            ++rank;
        }
        previousScore = hit.sp;
        first = false;
        if (rank < 1 || rank > kConsensusRanks) continue;
        ConsensusHit c;
        c.reference = words.reference;
        if (hit.proteinNumber > 0 && !header.secondDatabase.isEmpty()) {
            lookedUp = LookUpReference(header.secondDatabase, hit.proteinNumber);
            c.reference = lookedUp;
        }
        c.peptide = words.peptide;
        c.proteinNumber = hit.proteinNumber;
        c.rank = rank;
        c.hitNumber = HitNumber::OfRecordIndex(recordIndex);
        c.hitMass = hit.hitMass;
        c.sp = hit.sp;
        c.furtherReferences = words.furtherReferences;
        c.ionsMatched = hit.ionsMatched;
        c.ionsTotal = hit.ionsTotal;
        c.firstScan = header.firstScan;
        c.lastScan = header.lastScan;
        c.charge = header.charge;
        AddConsensusHit(c, kPeptideMappingStyle);
    }
    return kOutRead;
}

bool CSearchResults::OpenDisplayBytes(TextLineReader& reader, const QByteArray& bytes,
                                      int& revision, QString& database, QString& secondDatabase) {
    display_.assign(static_cast<size_t>(kMaxDisplayRecords), SearchHitRecord());
    displayCount_ = 0;
    revision = 0;
    reader = TextLineReader::fromBytes(bytes, kMaxOutLineLength);
    QString line;
    NextLine(reader, line);
    NextLine(reader, line);
    NextLine(reader, line);
    revision = RevisionFromProgramLine(line);
    bool nucleotide = false;
    bool found = false;
    while (!found && NextLine(reader, line)) found = line.startsWith(QLatin1String(" # "));
    if (found) ParseDatabaseLine(line, database, secondDatabase, nucleotide);
    bool inHits = false;
    while (!inHits && NextLine(reader, line)) inHits = line.startsWith(QLatin1String(" ---"));
    return inHits;
}

SearchHitRecord& CSearchResults::NextDisplayRecord(const OutHitLine& hit, const HitWords& words,
                                                   const QString& database,
                                                   const QString& secondDatabase) {
    SearchHitRecord& r = display_[static_cast<size_t>(displayCount_)];
    r.hitMass = hit.hitMass;
    r.preliminaryScore = hit.sp;
    r.proteinNumber = hit.proteinNumber;
    r.recordIndex = displayCount_;
    r.ionsMatched = hit.ionsMatched;
    r.ionsTotal = hit.ionsTotal;
    r.monoisotopicPrecursor = params_.monoisotopicPrecursor;
    r.setDatabaseFile(GetFileNamePart(database));
    r.setSecondDatabase(secondDatabase);
    r.setReference(words.reference);
    r.furtherReferences = words.furtherReferences;
    r.setPeptide(words.peptide);
    r.displayed = 1;
    ++displayCount_;
    return r;
}

void CSearchResults::ParseSearchOutFileForDisplay(const QString& path) {
    // A file that cannot be read shows nothing, as an empty one does.
    QByteArray bytes;
    ReadRegularFile(path, bytes, kMaxOutFileBytes);
    ParseSearchOutBytesForDisplay(bytes);
}

void CSearchResults::ParseSearchOutBytesForDisplay(const QByteArray& bytes) {
    TextLineReader reader;
    int revision = 0;
    QString database, secondDatabase;
    if (!OpenDisplayBytes(reader, bytes, revision, database, secondDatabase)) return;
    QString line;
    while (displayCount_ < kMaxDisplayRecords && NextLine(reader, line)) {
        if (line.size() <= kHitSectionEndLength) break;
        if (line.startsWith(QLatin1String("      "))) continue;
        OutHitLine hit;
        ScanSearchHitLine(line, revision == 12, true, hit);
        HitWords words = SearchHitWords(hit, displayCount_ == 0,
                                        !secondDatabase.isEmpty() && hit.proteinNumber > 0);
        if (words.referenceByNumber)
            words.reference = LookUpReference(secondDatabase, hit.proteinNumber);
        SearchHitRecord& r = NextDisplayRecord(hit, words, database, secondDatabase);
        r.deltaCorrelation = hit.deltaCn;
        r.correlation = hit.xcorr;
        r.combinedScore = CombinedScore(hit.xcorr, hit.sp, hit.deltaCn);
        r.preliminaryRank = hit.preliminaryRank;
        r.correlationRank = hit.correlationRank;
    }
}

void CSearchResults::ParseMassmapOutFileForDisplay(const QString& path) {
    QByteArray bytes;
    ReadRegularFile(path, bytes, kMaxOutFileBytes);
    ParseMassmapOutBytesForDisplay(bytes);
}

void CSearchResults::ParseMassmapOutBytesForDisplay(const QByteArray& bytes) {
    TextLineReader reader;
    int revision = 0;
    QString database, secondDatabase;
    if (!OpenDisplayBytes(reader, bytes, revision, database, secondDatabase) || revision != 1)
        return;
    QString line;
    while (displayCount_ < kMaxDisplayRecords && NextLine(reader, line)) {
        if (line.size() <= kHitSectionEndLength) break;
        if (line.startsWith(QLatin1String("      "))) continue;
        OutHitLine hit;
        ScanMassmapHitLine(line, hit);
        NextDisplayRecord(hit, MassmapHitWords(hit), database, secondDatabase);
    }
}

// ---- Folder loop ----

QStringList CSearchResults::ListOutFiles(const QString& folder) {
    QStringList files;
    QString path = PortablePath(folder);
    if (path.isEmpty()) path = QStringLiteral(".");
    DIR* dir = ::opendir(QFile::encodeName(path).constData());
    if (!dir) return files;
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const size_t length = std::strlen(entry->d_name);
        // "*.out" in any case, as the folder's name filter always took it.
        // Hidden files (a leading '.') are left out.
        if (length < 4 || entry->d_name[0] == '.' ||
            qstrnicmp(entry->d_name + length - 4, ".out", 4) != 0)
            continue;
        // Files only (links to files too); the entry's type spares a look at the file itself.
        bool file = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info {};
            file = ::fstatat(dirFd, entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
        }
        if (!file) continue;
        files.append(QFile::decodeName(entry->d_name));
    }
    ::closedir(dir);
    // Name order, the same on every machine; one sort.
    std::sort(files.begin(), files.end());
    return files;
}

bool CSearchResults::EnsureCapacity(int count) {
    if (count < 0) return false;
    if (count < capacity_) {
        // Within the capacity the block holds the records asked for so far and a spare one.
        if (static_cast<size_t>(count) + 1 < hits_.size()) return true;
        try {
            ResizeHitBlock(static_cast<size_t>(count) + 2);
        } catch (const std::bad_alloc&) {
            ZarMessageBox(QStringLiteral("Unable to allocate the required memory"));
            return false;
        }
        return true;
    }
    try {
        ResizeHitBlock(static_cast<size_t>(capacity_) + kHitGrowth + 1);
    } catch (const std::bad_alloc&) {
        ZarMessageBox(QStringLiteral("Unable to allocate the required memory"));
        return false;
    }
    ResetHits(capacity_, capacity_ + kHitGrowth + 1);
    capacity_ += kHitGrowth;
    return true;
}

CSearchResults::FolderRead CSearchResults::ReadFolder(const QString& folder, int firstRecord,
                                                      bool peptideMapping,
                                                      const FileReader& reader) {
    FolderRead result;
    readingFolder_ = PortablePath(folder);
    if (!readingFolder_.isEmpty() && !readingFolder_.endsWith(QLatin1Char('/')))
        readingFolder_.append(QLatin1Char('/'));
    const QStringList files = ListOutFiles(readingFolder_);
    if (files.isEmpty()) {
        ZarMessageBox(QStringLiteral("No '.out' files were found in the results directory"));
        return result;
    }
    result.listed = true;
    const int total = static_cast<int>(files.size());
    // Room for the folder at once, so that the block is not copied as it grows.
    try {
        const size_t wanted = static_cast<size_t>(std::max(firstRecord, 0)) + total + 1;
        if (wanted > hits_.capacity()) {
            hits_.reserve(wanted);
            PrepareMemory(hits_.data(), hits_.capacity() * sizeof(SearchHitRecord));
        }
        // Each file brings at most one peptide of each consensus rank.
        proteinPeptides_.reserve(proteinPeptides_.size() + qsizetype{total} * kConsensusRanks);
        const size_t now = std::min(wanted, static_cast<size_t>(capacity_) + 1);
        if (now > hits_.size()) ResizeHitBlock(now);
    } catch (const std::bad_alloc&) {
        // Growing record by record reports what cannot be had.
    }
    if (IsCancelled()) return result;
    if (notifyTarget_) PostMessage(notifyTarget_, kMsgDtaCount, static_cast<WPARAM>(total), 0);
    prefetcher_ = std::make_unique<OutFilePrefetcher>(readingFolder_, files);
    int lastPercent = -1;
    for (const QString& file : files) {
        if (IsCancelled()) break;
        const int index = firstRecord + result.filesRead;
        if (!EnsureCapacity(index)) {
            result.stopped = true;
            break;
        }
        int searchTime = 0;
        const int code = reader(readingFolder_, file, index, searchTime);
        if (code != kOutRead) {
            // The user learns which file stopped the load (the open failure names it already).
            QString message = OutReadMessage(code, file, peptideMapping);
            if (code != kOutCannotOpen) message += QLatin1Char('\n') + file;
            ZarMessageBox(message);
            result.stopped = true;
            break;
        }
        ++result.filesRead;
        if (notifyTarget_) {
            PostMessage(notifyTarget_, kMsgDtaFileName, 0, result.filesRead, file);
            PostMessage(notifyTarget_, kMsgDtaSearchTime, static_cast<WPARAM>(searchTime),
                        result.filesRead);
        }
        SetStatus(file);
        const int percent = static_cast<int>(100LL * result.filesRead / total);
        if (percent != lastPercent) SetProgress(lastPercent = percent);
    }
    prefetcher_.reset();
    SetStatus(kFinished);
    SetProgress(100);
    return result;
}

// ---- Protein databases ----

QString CSearchResults::ResolveDatabasePath(const QString& name) const {
    return ResolveDatabasePathIn(readingFolder_.isEmpty() ? directory_ : readingFolder_, name);
}

QString CSearchResults::ResolveDatabasePathIn(const QString& folder, const QString& name) {
    if (name.isEmpty()) return QString();
    const QString portable = PortablePath(name);
    if (!QFileInfo(portable).isAbsolute()) return JoinPath(folder, portable);
    if (QFileInfo::exists(portable) || folder.isEmpty()) return portable;
    // A database named by its place on another machine: look beside the results.
    const QString beside = JoinPath(folder, FileNameOf(name));
    return QFileInfo::exists(beside) ? beside : portable;
}

bool CSearchResults::OpenIndexedDatabase(const QString& name) {
    if (name.isEmpty()) {
        ZarMessageBox(QStringLiteral("Invalid indexed database name"));
        return false;
    }
    if (indexView_ && fastaFile_.isOpen() && indexedName_ == name) return true;
    // A database that failed once is not tried (and reported) again for every hit line.
    if (name == failedIndexedName_) return false;
    UnmapFastaDatabase();
    failedIndexedName_ = name;
    params_.numberOfProteins = 0;
    const QString path = ResolveDatabasePath(name);
    const QString folder = FolderOf(path);
    QString original, indexName;
    if (name.contains(QLatin1String(".hdr"))) {
        IndexedDatabaseHeader header;
        if (!ReadIndexedDatabaseHeader(path, header)) {
            ZarMessageBox(QStringLiteral("Unable to open the indexed database"));
            return false;
        }
        // Without the format's first line the names count as missing.
        if (header.hasMagic) {
            original = header.origDatabaseName;
            indexName = header.indexName;
            params_.numberOfProteins =
                static_cast<int>(std::min<qint64>(header.numberOfProteins, INT_MAX));
        }
    } else {
        original = name;
        indexName = GetFileNamePart(name) + QStringLiteral(".idx");
    }
    if (original.isEmpty() || indexName.isEmpty()) {
        ZarMessageBox(QStringLiteral("Unable to access the indexed database parameters"));
        return false;
    }
    indexFile_.setFileName(PathBeside(folder, indexName));
    if (!OpenRegularFile(indexFile_)) {
        ZarMessageBox(QStringLiteral("Unable to access the database index"));
        return false;
    }
    indexSize_ = indexFile_.size();
    indexView_ = indexSize_ > 0 ? indexFile_.map(0, indexSize_) : nullptr;
    if (!indexView_) {
        indexFile_.close();
        indexSize_ = 0;
        return false;
    }
    // The header's count is believed only as far as the index has records.
    const qint64 records = indexSize_ / kIndexRecordSize;
    if (params_.numberOfProteins <= 0 || params_.numberOfProteins > records)
        params_.numberOfProteins = static_cast<int>(std::min<qint64>(records, INT_MAX));

    fastaFile_.setFileName(name.contains(QLatin1String(".hdr")) ? PathBeside(folder, original)
                                                                : ResolveDatabasePath(original));
    if (!OpenRegularFile(fastaFile_)) {
        ZarMessageBox(QStringLiteral("Unable to open the fasta database"));
        UnmapFastaDatabase();
        return false;
    }
    indexedName_ = name;
    failedIndexedName_.clear();
    return true;
}

void CSearchResults::SetProteinMassesFromIndex(const QString& name, int count) {
    if (!OpenIndexedDatabase(name)) return;
    count = std::min(count, static_cast<int>(hits_.size()));
    for (int i = 0; i < count; ++i) {
        SearchHitRecord& record = hits_[static_cast<size_t>(i)];
        const int number = record.proteinNumber;
        if (number < 1 || number > params_.numberOfProteins) continue;
        const uchar* entry = indexView_ + static_cast<qint64>(number - 1) * kIndexRecordSize;
        record.proteinMass = qFromLittleEndian<double>(entry + 24);
    }
}

QString CSearchResults::ReadIndexedProtein(const QString& name, int proteinNumber) {
    if (!OpenIndexedDatabase(name)) return QString();
    if (proteinNumber < 1 || proteinNumber > params_.numberOfProteins) return QString();
    const uchar* entry = indexView_ + static_cast<qint64>(proteinNumber - 1) * kIndexRecordSize;
    const qint64 offset = qFromLittleEndian<qint64>(entry + 8);
    const qint32 length = qFromLittleEndian<qint32>(entry + 16);
    if (offset < 0 || offset >= fastaFile_.size() || length <= 0) return QString();
    if (!fastaFile_.seek(offset)) return QString();
    const QByteArray bytes = fastaFile_.read(std::min<qint32>(length, kMaxIndexedHeader));
    QString text = DecodeLine(bytes.constData(), bytes.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\r') || text[i] == QLatin1Char('\n')) {
            text.truncate(i);
            break;
        }
    }
    const qsizetype mass = text.indexOf(QLatin1String("[MASS"));
    if (mass >= 0) text.truncate(mass);
    return text;
}

void CSearchResults::CalculateProteinMasses(const QString& name, int count) {
    QFile file(ResolveDatabasePath(name));
    if (name.isEmpty() || !OpenRegularFile(file)) return;
    const qint64 size = file.size();
    if (size <= 0) return;
    const uchar* data = file.map(0, size);
    QByteArray copy;
    if (!data) {
        copy = file.readAll();
        if (copy.size() != size) return;
        data = reinterpret_cast<const uchar*>(copy.constData());
    }

    // Hits by reference, and the reference lengths to try against each header.
    count = std::min(count, hitCount_ > 0 ? hitCount_ : static_cast<int>(hits_.size()));
    QHash<QString, std::vector<int>> hitsByReference;
    std::vector<qsizetype> lengths;
    for (int i = 0; i < count; ++i) {
        const QString& reference = hits_[static_cast<size_t>(i)].reference;
        if (reference.isEmpty()) continue;
        auto& list = hitsByReference[reference];
        if (list.empty()) lengths.push_back(reference.size());
        list.push_back(i);
    }
    if (hitsByReference.isEmpty()) return;
    std::sort(lengths.begin(), lengths.end(), std::greater<>());
    lengths.erase(std::unique(lengths.begin(), lengths.end()), lengths.end());

    const char* bytes = reinterpret_cast<const char*>(data);
    qint64 pos = 0;
    while (pos < size) {
        const char* marker = static_cast<const char*>(std::memchr(bytes + pos, '>', size - pos));
        if (!marker) break;
        const qint64 headerStart = marker - bytes + 1;
        const char* newline =
            static_cast<const char*>(std::memchr(bytes + headerStart, '\n', size - headerStart));
        const qint64 headerEnd = newline ? newline - bytes : size;
        qint64 kept = std::min<qint64>(headerEnd - headerStart, kMaxFastaHeader);
        if (kept > 0 && bytes[headerStart + kept - 1] == '\r') --kept;
        const QString header = DecodeLine(bytes + headerStart, static_cast<qsizetype>(kept));
        const qint64 sequenceStart = std::min(headerEnd + 1, size);
        const char* next =
            static_cast<const char*>(std::memchr(bytes + sequenceStart, '>', size - sequenceStart));
        const qint64 sequenceEnd = next ? next - bytes : size;

        // The longest reference that begins the header is the one the reference order finds
        // first (references sort descending).
        for (qsizetype length : lengths) {
            if (length > header.size()) continue;
            const auto it = hitsByReference.constFind(header.left(length));
            if (it == hitsByReference.constEnd()) continue;
            double mass = 0.0;
            for (qint64 i = sequenceStart; i < sequenceEnd; ++i)
                mass += params_.residueMasses[static_cast<unsigned char>(bytes[i])];
            for (int hit : it.value()) hits_[static_cast<size_t>(hit)].proteinMass = mass;
            break;
        }
        pos = sequenceEnd;
    }
}

void CSearchResults::UnmapFastaDatabase() {
    if (indexView_) indexFile_.unmap(const_cast<uchar*>(indexView_));
    indexView_ = nullptr;
    indexSize_ = 0;
    if (indexFile_.isOpen()) indexFile_.close();
    if (fastaFile_.isOpen()) fastaFile_.close();
    indexedName_.clear();
}

}  // namespace zar
