#include "databases/DatabaseSearch.h"

#include "databases/FastaPeptideScanner.h"
#include "databases/FastaReader.h"
#include "databases/NucleotideTranslation.h"

#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "document/Settings.h"

#include <QFileInfo>

#include <algorithm>

namespace zar {

namespace {

void Show(const char* text) {
    ZarMessageBox(QString::fromLatin1(text));
}

QString PositionText(int first, int last) {
    if (first == 0 || last == 0) return QString();
    return QCFormat("%d - %d", first, last);
}

QString MassLabel(bool monoisotopic, double mass) {
    return monoisotopic ? QCFormat("Monoisotopic Mass:  %.1lf", mass)
                        : QCFormat("Average Mass:  %.1lf", mass);
}

}  // namespace

QString SequenceLookupRow::massText() const {
    return QCFormat("%.13g", mass);
}
QString SequenceLookupRow::positionText() const {
    return PositionText(first, last);
}
QString PeptideCoverageRow::positionText() const {
    return PositionText(first, last);
}

HitNumber ChooseProteinHit(const std::array<std::vector<HitNumber>, kProteinHitLists>& hitLists,
                           const std::function<bool(HitNumber)>& isSelected) {
    HitNumber chosen;
    for (const std::vector<HitNumber>& list : hitLists) {
        if (list.empty()) continue;
        chosen = list.front();
        if (isSelected && isSelected(chosen)) break;
    }
    return chosen;
}

std::string PeptideLetters(const QString& peptide) {
    std::string letters;
    letters.reserve(static_cast<std::size_t>(peptide.size()));
    for (const QChar c : StripFlankingResidues(peptide)) {
        const char16_t u = c.unicode();
        if (u < 128 && std::isalpha(static_cast<unsigned char>(u)))
            letters.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(u))));
    }
    return letters;
}

CDatabaseSearch::CDatabaseSearch()
    : CDatabaseSearch(GetDatabaseDirectory(), GetSorvexResultsDirectory()) {}

CDatabaseSearch::CDatabaseSearch(const QString& databaseDirectory, const QString& resultsDirectory)
    : databaseDirectory_(databaseDirectory),
      resultsDirectory_(resultsDirectory),
      blockSize_(kFastaBlockSize) {}

CDatabaseSearch::~CDatabaseSearch() = default;

QString CDatabaseSearch::FastaPathFor(const QString& databaseFile) const {
    const QString file = PortablePath(databaseFile);
    if (QFileInfo(file).isAbsolute() && QFileInfo::exists(file)) return file;
    return JoinPath(PortablePath(databaseDirectory_),
                    QFileInfo(file).isAbsolute() ? FileNameOf(databaseFile) : file);
}

bool CDatabaseSearch::OpenIndexedDatabase(const QString& name) {
    indexed_ = std::make_unique<CIndexedDatabase>();
    QString path = name;
    if (!name.isEmpty() && !QFileInfo(PortablePath(name)).isAbsolute()) {
        // A relative name lies in the database folder, else beside the results.
        path = JoinPath(PortablePath(databaseDirectory_), PortablePath(name));
        const QString besideResults = JoinPath(PortablePath(resultsDirectory_), PortablePath(name));
        if (!QFileInfo::exists(path) && QFileInfo::exists(besideResults)) path = besideResults;
    }
    const CIndexedDatabase::OpenResult result = indexed_->open(name.isEmpty() ? name : path);
    if (result == CIndexedDatabase::OpenResult::Ok) return true;
    const QString message = CIndexedDatabase::messageFor(result);
    if (!message.isEmpty()) ZarMessageBox(message);
    indexed_.reset();
    return false;
}

bool CDatabaseSearch::ReadIndexedEntry(int n, int& length) {
    length = 0;
    if (!indexed_ || !indexed_->readEntry(n, entry_)) return false;
    length = static_cast<int>(entry_.residues.size());
    return true;
}

void CDatabaseSearch::reportPercent(qint64 position, qint64 size, int& last) const {
    if (!progress_ || size <= 0) return;
    const int percent = static_cast<int>(position * 100.0 / size);
    // Only multiples of 10 %, each once.
    if (percent % 10 == 0 && percent != last) {
        last = percent;
        progress_->percent(percent);
    }
}

bool CDatabaseSearch::prepare(const DatabaseLookupRequest& request, bool needReference,
                              bool needPeptide, LookupStatus& status) {
    if (databaseDirectory_.isEmpty() || resultsDirectory_.isEmpty()) {
        status = LookupStatus::Skipped;
        return false;
    }
    if (needPeptide && PeptideLetters(request.peptide).empty()) {
        Show("The sequence isn't valid");
        status = LookupStatus::Invalid;
        return false;
    }
    if (needReference && request.reference.isEmpty()) {
        Show("The reference isn't valid");
        status = LookupStatus::Invalid;
        return false;
    }
    masses_ = SequenceMassTable::For(request.monoisotopic);
    return true;
}

SequenceLookupResult CDatabaseSearch::FindSequence(const DatabaseLookupRequest& request) {
    SequenceLookupResult result;
    result.databaseKind = databaseKind_;
    if (!prepare(request, false, true, result.status)) return result;
    const std::string peptide = PeptideLetters(request.peptide);
    const bool nucleotide = databaseKind_ != 0;
    if (!nucleotide) return scanProteins(request, peptide, std::move(result));

    CFastaReader reader(blockSize_);
    const bool opened = reader.open(FastaPathFor(request.databaseFile));
    if (!beginScan(opened, reader.fileSize())) {
        result.status = LookupStatus::Failed;
        return result;
    }
    int lastPercent = 0;
    FastaEntryStart start;
    std::string residues;
    try {
        while (reader.nextEntry(start)) {
            if (cancelled()) {
                result.status = LookupStatus::Cancelled;
                return result;
            }
            residues.clear();
            reader.readResidues(residues);
            std::string translation;
            if (nucleotide) translation = TranslateFrame(residues, readingFrame_);
            const std::string& protein = nucleotide ? translation : residues;
            if (const auto at = FindPeptide(protein, peptide)) {
                SequenceLookupRow row;
                row.reference = FastaHeaderText(start.header);
                row.sequence = protein;
                row.mass =
                    nucleotide ? ResidueSum(masses_, protein) : ProtonatedMass(masses_, protein);
                row.first = at->first;
                row.last = at->last;
                result.rows.push_back(std::move(row));
            }
            reportPercent(reader.position(), reader.fileSize(), lastPercent);
        }
    } catch (const std::bad_alloc&) {
        // A sequence too large for memory ends the scan with what was found.
        result.status = LookupStatus::Failed;
        return result;
    }
    result.status = endScan(reader.readFailed(), !result.rows.empty());
    return result;
}

bool CDatabaseSearch::beginScan(bool opened, qint64 size) const {
    if (!opened) {
        Show("Unable to open the database");
        return false;
    }
    if (size == 0) {
        Show("Unable to read the database");
        return false;
    }
    if (progress_) {
        progress_->status(QStringLiteral("Performing fasta database search ..."));
        progress_->percent(0);
    }
    return true;
}

LookupStatus CDatabaseSearch::endScan(bool readFailed, bool found) const {
    if (readFailed) {
        Show("Problem reading the database");
        return LookupStatus::Failed;
    }
    if (progress_) {
        progress_->status(QStringLiteral("Fasta database search finished"));
        progress_->percent(100);
    }
    return found ? LookupStatus::Found : LookupStatus::NotFound;
}

SequenceLookupResult CDatabaseSearch::scanProteins(const DatabaseLookupRequest& request,
                                                  const std::string& peptide,
                                                  SequenceLookupResult result) {
    CFastaPeptideScanner scanner(peptide, std::min(blockSize_, kPeptideScanBlockSize));
    const bool opened = scanner.open(FastaPathFor(request.databaseFile));
    const qint64 size = scanner.fileSize();
    if (!beginScan(opened, size)) {
        result.status = LookupStatus::Failed;
        return result;
    }
    if (cancelled()) {
        result.status = LookupStatus::Cancelled;
        return result;
    }
    int lastPercent = 0;
    CFastaPeptideScanner::Status status = CFastaPeptideScanner::Status::Done;
    try {
        status = scanner.scan(
            [&](FastaPeptideHit& hit) {
                SequenceLookupRow row;
                row.reference = FastaHeaderText(hit.header);
                row.mass = ProtonatedMass(masses_, hit.residues);
                row.first = static_cast<int>(hit.at) + 1;
                row.last = row.first + static_cast<int>(peptide.size()) - 1;
                row.sequence = std::move(hit.residues);
                result.rows.push_back(std::move(row));
            },
            [&](qint64 position) {
                reportPercent(position, size, lastPercent);
                return !cancelled();
            });
    } catch (const std::bad_alloc&) {
        // A sequence too large for memory ends the scan with what was found.
        result.status = LookupStatus::Failed;
        return result;
    }
    if (status == CFastaPeptideScanner::Status::Cancelled) {
        result.status = LookupStatus::Cancelled;
        return result;
    }
    result.status =
        endScan(status == CFastaPeptideScanner::Status::ReadFailed, !result.rows.empty());
    return result;
}

CDatabaseSearch::EntryFound CDatabaseSearch::scanForReference(const QString& path,
                                                              const QString& reference) {
    CFastaReader reader(blockSize_);
    const bool opened = reader.open(path);
    if (!beginScan(opened, reader.fileSize())) return EntryFound::Failed;
    int lastPercent = 0;
    FastaEntryStart start;
    try {
        while (reader.nextEntry(start)) {
            if (cancelled()) return EntryFound::Cancelled;
            const QString header = FastaHeaderText(start.header);
            if (header.contains(reference)) {
                entry_.header = header;
                entry_.residues.clear();
                reader.readResidues(entry_.residues);
                return reader.readFailed() ? EntryFound::Failed : EntryFound::Yes;
            }
            reportPercent(reader.position(), reader.fileSize(), lastPercent);
        }
    } catch (const std::bad_alloc&) {
        return EntryFound::Failed;
    }
    if (reader.readFailed()) {
        Show("Problem reading the database");
        return EntryFound::Failed;
    }
    return EntryFound::No;
}

CDatabaseSearch::EntryFound CDatabaseSearch::findEntry(const DatabaseLookupRequest& request,
                                                       const QString& reference, int entryNumber) {
    if (entryNumber > 0 && !request.indexedDatabase.isEmpty() &&
        OpenIndexedDatabase(request.indexedDatabase)) {
        int length = 0;
        if (ReadIndexedEntry(entryNumber, length)) return EntryFound::Yes;
    }
    return scanForReference(FastaPathFor(request.databaseFile), reference);
}

bool CDatabaseSearch::loadProtein(const DatabaseLookupRequest& request, const QString& reference,
                                  const std::string& peptide, ProteinLookupResult& result) {
    const EntryFound found = findEntry(request, reference, request.entryNumber);
    if (found == EntryFound::Cancelled || found == EntryFound::Failed) {
        result.status =
            found == EntryFound::Cancelled ? LookupStatus::Cancelled : LookupStatus::Failed;
        return false;
    }
    if (progress_) {
        progress_->status(QStringLiteral("Fasta database search finished"));
        progress_->percent(100);
    }
    if (found == EntryFound::Yes) {
        for (char& c : entry_.residues)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        result.record.sequence =
            databaseKind_ != 0 ? TranslateFrame(entry_.residues, readingFrame_) : entry_.residues;
    }
    if (found == EntryFound::No || result.record.sequence.empty()) {
        result.description = reference;
        result.status = LookupStatus::NotFound;
        Show("No match found in the database");
        return false;
    }

    ProteinSequenceRecord& record = result.record;
    result.databaseKind = databaseKind_;
    record.length = static_cast<int>(record.sequence.size());
    record.rows = record.length / kResiduesPerSequenceRow + 1;
    result.proteinMass = ProtonatedMass(masses_, record.sequence);
    if (const auto at = FindPeptide(record.sequence, peptide)) {
        record.first = at->first;
        record.last = at->last;
    }
    result.description = entry_.header;
    result.databaseText = QStringLiteral("Database:  %1").arg(request.databaseFile);
    result.massText = MassLabel(request.monoisotopic, result.proteinMass);
    result.aminoAcidText = QCFormat("Number of Amino Acids:  %d", record.length);
    return true;
}

ProteinLookupResult CDatabaseSearch::FindReference(const DatabaseLookupRequest& request) {
    ProteinLookupResult result;
    result.databaseKind = databaseKind_;
    if (!prepare(request, true, false, result.status)) return result;
    QString reference = request.reference.left(kMaxReferenceChars);
    if (reference.size() > kLongReference) reference.truncate(kReferencePrefix);
    const std::string firstPeptide =
        request.peptides.empty() ? std::string() : PeptideLetters(request.peptides.front());

    if (!loadProtein(request, reference, firstPeptide, result)) return result;

    ProteinSequenceRecord& record = result.record;
    record.coverage.assign(static_cast<std::size_t>(record.length) + 1, 0);
    for (const QString& text : request.peptides) {
        const std::string peptide = PeptideLetters(text);
        const auto stretch = StretchMass(masses_, record.sequence, peptide);
        if (!stretch) continue;
        for (int i = stretch->first; i <= stretch->last; ++i) record.coverage[std::size_t(i)] = 1;
        PeptideCoverageRow row;
        row.peptide = text;
        row.mass = stretch->mass;
        row.percentOfMass = stretch->mass * 100.0 / result.proteinMass;
        row.first = stretch->first + 1;
        row.last = stretch->last + 1;
        row.percentOfLength = double(peptide.size()) * 100.0 / record.length;
        result.peptides.push_back(std::move(row));
    }
    double covered = 2.0 * masses_.h + masses_.oh;
    for (int i = 0; i < record.length; ++i) {
        if (!record.coverage[std::size_t(i)]) continue;
        covered += masses_.residue[static_cast<unsigned char>(record.sequence[std::size_t(i)])];
        ++result.coveredResidues;
    }
    result.coveredMass = covered;
    result.coveredMassPercent = covered * 100.0 / result.proteinMass;
    result.coveredResiduePercent = result.coveredResidues * 100.0 / record.length;
    result.status = LookupStatus::Found;
    return result;
}

ProteinLookupResult CDatabaseSearch::FindSequencePosition(const DatabaseLookupRequest& request) {
    ProteinLookupResult result;
    result.databaseKind = databaseKind_;
    if (!prepare(request, false, true, result.status)) return result;
    const std::string peptide = PeptideLetters(request.peptide);
    const QString reference = request.reference.left(kMaxReferenceChars);

    if (!loadProtein(request, reference, peptide, result)) {
        if (result.status == LookupStatus::NotFound)
            result.positionText = QStringLiteral("Position of sequence:  ");
        return result;
    }
    result.positionText =
        QCFormat("Position of sequence:  %d - %d", result.record.first, result.record.last);
    result.status = LookupStatus::Found;
    return result;
}

bool CDatabaseSearch::loadSpectrum(const QString& dtaName, double binWidth,
                                   CDtaSpectrum& spectrum) {
    switch (spectrum.read(dtaName + QStringLiteral(".dta"))) {
        case CDtaSpectrum::ReadResult::CannotOpen:
            Show("Unable to open the dta file");
            return false;
        case CDtaSpectrum::ReadResult::CannotRead:
            Show("Unable to read the dta file");
            return false;
        case CDtaSpectrum::ReadResult::Ok:
            break;
    }
    if (!spectrum.prepare(binWidth)) {
        Show("Unable to process the data from the dta file");
        return false;
    }
    return true;
}

std::optional<DtaIonResult> CDatabaseSearch::ShowDtaIons(const DtaIonRequest& request) {
    if (resultsDirectory_.isEmpty()) return std::nullopt;
    masses_ = SequenceMassTable::For(request.monoisotopic);
    PeptideModifications modifications;
    ParseModifications(request.modifications, masses_, modifications);
    CDtaSpectrum spectrum;
    if (!loadSpectrum(request.dtaName, BinWidthFor(request.monoisotopic), spectrum))
        return std::nullopt;
    DtaIonResult result;
    result.precursor = spectrum.precursor();
    result.table = CalculateDtaIons(request.peptide, request.charge, request.ionSeries, masses_,
                                    modifications, spectrum);
    result.precursorText = QCFormat("Precursor mass:  %.2lf", spectrum.precursor());
    result.massTypeText =
        QStringLiteral("Mass type:  %1")
            .arg(request.monoisotopic ? QStringLiteral("Monoisotopic") : QStringLiteral("Average"));
    return result;
}

std::optional<SearchInfoResult> CDatabaseSearch::readSearchInfo(const QString& fileInformation,
                                                                bool monoisotopic,
                                                                OutHeaderLayout layout) {
    const QString base = JoinPath(PortablePath(resultsDirectory_), fileInformation);
    SearchInfoResult result;
    if (!ReadSearchInfoText(base + QStringLiteral(".out"), layout, result.text)) {
        Show("Unable to open the out file");
        return std::nullopt;
    }
    CDtaSpectrum spectrum;
    if (!loadSpectrum(base, BinWidthFor(monoisotopic), spectrum)) return std::nullopt;
    result.spectrum = spectrum.peaks();
    result.peakLines = spectrum.lineCount();
    return result;
}

std::optional<SearchInfoResult> CDatabaseSearch::ReadSearchInfo(const QString& fileInformation,
                                                                bool monoisotopic) {
    return readSearchInfo(fileInformation, monoisotopic, OutHeaderLayout::PeptideMapping);
}

std::optional<SearchInfoResult> CDatabaseSearch::ReadSearchInfo2(const QString& fileInformation,
                                                                 bool monoisotopic) {
    return readSearchInfo(fileInformation, monoisotopic, OutHeaderLayout::SearchEngine);
}

}  // namespace zar
