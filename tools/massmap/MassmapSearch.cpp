#include "MassmapSearch.h"

#include "tools/common/DatabaseTally.h"
#include "tools/common/OutFileText.h"
#include "tools/common/SearchSetup.h"
#include "tools/common/StopSignal.h"
#include "tools/common/ToolReporter.h"

#include "core/Paths.h"
#include "core/TextFile.h"
#include "databases/FastaReader.h"
#include "databases/PepmapDigest.h"
#include "databases/PepmapMatcher.h"
#include "databases/PepmapRules.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cmath>

namespace zar {

namespace {

// Bounds of the digest: peptides of one residue up to this mass (average, Da).
constexpr double kLargestPeptide = 10000.0;
// The revision whose hit lines the peptide-mapping reader reads.
constexpr const char* kProgramLine = "MassMap v.1 (rev. 1), Pepmap digest and matching";

struct Protein {
    QString header;
    QString reference;
    PepmapPeptideList peptides;
    std::vector<double> masses;  // neutral, of the search's mass type, per row
};

class ProteinDigests {
  public:
    bool read(const SearchSetup& setup, DatabaseTally& tally, QString& error) {
        const SearchParamsFile& p = setup.params;
        PepmapDigestInput input;
        input.masses = PepmapMassTables::Standard();
        for (int i = 0; i < 26; ++i) {
            const double add = p.staticResidue[static_cast<size_t>(i)];
            input.masses.average['A' + i] += add;
            input.masses.mono['A' + i] += add;
        }
        if (p.enzymeNumber > 0)
            input.rule = MakePepmapRule(p.enzyme.sense, p.enzyme.cleavage, p.enzyme.blocking);
        input.options.completeDigest = 1;
        input.options.incompleteDigest = p.cleavageSites > 0 ? 1 : 0;
        input.options.limitFragments = 1;
        input.options.lengthMin = 1;
        input.options.lengthMax = 1e9;
        input.options.massMin = 0.0;
        input.options.massMax = kLargestPeptide;
        input.options.undigestedSitesMax = p.cleavageSites;
        monoisotopic_ = p.monoParent;
        terminal_ = p.nTermPeptide + p.cTermPeptide;
        proton_ = input.masses.hydrogen(monoisotopic_);

        CFastaReader reader;
        tally.fastaPath = setup.fasta;
        if (!reader.open(setup.fasta)) {
            error = QStringLiteral("Cannot read the database %1")
                        .arg(QDir::toNativeSeparators(setup.fasta));
            return false;
        }
        FastaEntryStart entry;
        std::string residues;
        PepmapCancelFlag cancel{false};
        PepmapMessageBoxProgress quiet;
        while (reader.nextEntry(entry)) {
            ++tally.proteins;
            residues.clear();
            reader.readResidues(residues);
            tally.residues += static_cast<qint64>(residues.size());
            Protein protein;
            protein.header = FastaHeaderText(entry.header);
            protein.reference = FastaReference(protein.header);
            input.sequence = QString::fromLatin1(residues.data(), static_cast<qsizetype>(residues.size()));
            if (!inProteinMassRange(p, input)) {
                proteins_.push_back(std::move(protein));
                continue;
            }
            DigestSequence(input, &protein.peptides, cancel, quiet);
            protein.masses.reserve(protein.peptides.size());
            for (const CPepmapPeptide& row : protein.peptides)
                protein.masses.push_back(protein.peptides.mass(row, monoisotopic_) + terminal_);
            proteins_.push_back(std::move(protein));
        }
        if (reader.readFailed()) {
            error = QStringLiteral("Cannot read the database %1")
                        .arg(QDir::toNativeSeparators(setup.fasta));
            return false;
        }
        return true;
    }

    const std::vector<Protein>& proteins() const { return proteins_; }
    double proton() const { return proton_; }

  private:
    bool inProteinMassRange(const SearchParamsFile& p, const PepmapDigestInput& input) const {
        if (p.proteinMassHigh <= 0.0) return true;
        const PepmapStretch whole =
            MeasureStretch(input.sequence, input.masses, 0, static_cast<int>(input.sequence.size()));
        const double mass = monoisotopic_ ? whole.mono : whole.average;
        return mass >= p.proteinMassLow && mass <= p.proteinMassHigh;
    }

    std::vector<Protein> proteins_;
    bool monoisotopic_ = false;
    double terminal_ = 0.0;
    double proton_ = 0.0;
};

struct ProteinMatch {
    int protein = 0;  // index
    double score = 0.0;
    std::vector<size_t> rows;  // found peptides
};

// The peptide as hit lines write it: "K.PEPTIDEK.R", '-' at the protein's ends.
QString PeptideText(const QString& sequence, const CPepmapPeptide& row) {
    const QChar before = row.start > 0 ? sequence[row.start - 1] : QLatin1Char('-');
    const QChar after = row.end + 1 < sequence.size() ? sequence[row.end + 1] : QLatin1Char('-');
    return QString(before) + QLatin1Char('.') + sequence.mid(row.start, row.end - row.start + 1) +
           QLatin1Char('.') + after;
}

// The spectrum's peaks above the floor as singly charged ions: each isotope envelope (peaks
// 1.00335/z apart, z from 1 to kMassmapMaxCharge) becomes one peak at its (M+H)+ with the
// envelope's intensity; a peak without isotopes is taken as singly charged.
std::vector<PepmapPeak> DechargedPeaks(const CDtaSpectrum& s, double floor, double proton) {
    std::vector<PepmapPeak> peaks;
    for (const DtaPeak& p : s.peaks())
        if (p.intensity > floor) peaks.push_back({p.mz, p.intensity});
    std::sort(peaks.begin(), peaks.end(),
              [](const PepmapPeak& a, const PepmapPeak& b) { return a.mz < b.mz; });
    const auto find = [&peaks](double mz) -> std::ptrdiff_t {
        auto it = std::lower_bound(peaks.begin(), peaks.end(), mz - kMassmapIsotopeTolerance,
                                   [](const PepmapPeak& p, double v) { return p.mz < v; });
        if (it == peaks.end() || it->mz > mz + kMassmapIsotopeTolerance) return -1;
        return it - peaks.begin();
    };
    std::vector<bool> used(peaks.size(), false);
    std::vector<PepmapPeak> decharged;
    for (size_t i = 0; i < peaks.size(); ++i) {
        if (used[i]) continue;
        // The charge whose isotope series from this peak is longest; the lower on a tie.
        std::vector<size_t> best = {i};
        int bestCharge = 1;
        for (int z = 1; z <= kMassmapMaxCharge; ++z) {
            std::vector<size_t> series = {i};
            for (double mz = peaks[i].mz + kMassmapIsotopeSpacing / z;;
                 mz += kMassmapIsotopeSpacing / z) {
                const std::ptrdiff_t k = find(mz);
                if (k < 0 || used[static_cast<size_t>(k)]) break;
                series.push_back(static_cast<size_t>(k));
            }
            if (series.size() > best.size()) {
                best = series;
                bestCharge = z;
            }
        }
        double intensity = 0.0;
        for (size_t k : best) {
            used[k] = true;
            intensity += peaks[k].intensity;
        }
        decharged.push_back({(peaks[i].mz - proton) * bestCharge + proton, intensity});
    }
    std::sort(decharged.begin(), decharged.end(),
              [](const PepmapPeak& a, const PepmapPeak& b) { return a.mz < b.mz; });
    return decharged;
}

std::vector<ProteinMatch> MatchSpectrum(const ProteinDigests& digests, const CDtaSpectrum& s,
                                        double tolerance) {
    const double total = TotalIntensity(s);
    const double floor = total * kMassmapNoiseShare;
    const std::vector<PepmapPeak> peaks = DechargedPeaks(s, floor, digests.proton());
    std::vector<ProteinMatch> matches;
    const std::vector<Protein>& proteins = digests.proteins();
    for (size_t k = 0; k < proteins.size(); ++k) {
        const Protein& protein = proteins[k];
        ProteinMatch match;
        match.protein = static_cast<int>(k);
        double found = 0.0;
        for (size_t r = 0; r < protein.masses.size(); ++r) {
            const double sum = SumMatchedIntensity(peaks.data(), peaks.size(), protein.masses[r], 1,
                                                   digests.proton(), 0.0, tolerance);
            if (sum <= 0.0) continue;
            found += sum;
            match.rows.push_back(r);
        }
        if (match.rows.empty() || total <= 0.0) continue;
        match.score = std::min(100.0, 100.0 * found / total);
        matches.push_back(std::move(match));
    }
    std::stable_sort(matches.begin(), matches.end(), [](const ProteinMatch& a, const ProteinMatch& b) {
        if (a.score != b.score) return a.score > b.score;
        return a.rows.size() > b.rows.size();
    });
    return matches;
}

SearchRunResult Failure(int code, const QString& message, const QStringList& notes = {}) {
    SearchRunResult result;
    result.exitCode = code;
    result.message = message;
    result.notes = notes;
    return result;
}

}  // namespace

SearchRunResult RunMassmapSearch(const SearchRunOptions& o,
                                     const SearchRunEvents& events) {
    SearchSetup setup;
    QString error;
    if (const int code = PrepareSearch(o.folder, o.listPath, o.paramsPath, kMassmapParamsName,
                                       setup, error))
        return Failure(code, error, setup.notes);
    const SearchParamsFile& params = setup.params;
    SearchRunResult result;
    result.notes = setup.notes;

    const int files = static_cast<int>(setup.spectra.size());
    if (events.searching) events.searching(1, 0);
    QElapsedTimer timer;
    timer.start();
    DatabaseTally tally;
    ProteinDigests digests;
    if (!digests.read(setup, tally, error)) return Failure(kToolNoDatabase, error, setup.notes);
    const double digestSeconds = timer.elapsed() / 1000.0;

    OutFileHeader header = SearchOutHeader(setup, tally);
    header.program = QString::fromLatin1(kProgramLine);
    header.modifications = SearchModificationsLine(params, false);
    const std::vector<Protein>& proteins = digests.proteins();
    for (int i = 1; i <= files; ++i) {
        if (StopRequested()) return Failure(kToolStopped, QStringLiteral("stopped"), result.notes);
        if (events.searching) events.searching(i, 0);
        const qint64 started = timer.elapsed();
        const ListedSpectrum& listed = setup.spectra[static_cast<size_t>(i - 1)];
        const CDtaSpectrum& s = listed.spectrum;
        const std::vector<ProteinMatch> matches = MatchSpectrum(digests, s, params.peptideTolerance);

        std::vector<OutFileHit> hits;
        QHash<QString, QString> descriptions;
        const size_t shown = std::min(matches.size(), static_cast<size_t>(params.outputLines));
        for (size_t m = 0; m < shown; ++m) {
            const Protein& protein = proteins[static_cast<size_t>(matches[m].protein)];
            descriptions.insert(protein.reference, protein.header);
            for (size_t r : matches[m].rows) {
                OutFileHit hit;
                hit.reference = protein.reference;
                hit.peptide = PeptideText(protein.peptides.sequence(), protein.peptides[r]);
                hit.mh = protein.masses[r] + digests.proton();
                hit.sp = matches[m].score;
                hit.ionsMatched = static_cast<int>(matches[m].rows.size());
                hit.ionsTotal = static_cast<int>(protein.masses.size());
                hits.push_back(hit);
            }
        }
        if (events.searching) events.searching(i, 100);
        OutFileHeader h = header;
        h.fileName = QFileInfo(listed.outPath).fileName();
        h.line4 = QStringLiteral("spectrum %1 of %2: %3").arg(i).arg(files).arg(listed.name);
        h.line5 = QStringLiteral("database %1").arg(QDir::toNativeSeparators(setup.fasta));
        const double seconds = (timer.elapsed() - started) / 1000.0 + digestSeconds / files;
        h.seconds = std::max(1, static_cast<int>(std::lround(seconds)));
        h.precursorMH = s.precursor();
        h.charge = s.charge();
        h.totalIntensity = TotalIntensity(s);
        h.matchedPeptides = static_cast<int>(hits.size());
        // Written from the .dta files again at will: no wait for the disk per file.
        if (!WriteTextFileUnsynced(
                listed.outPath,
                MassmapOutText(h, hits, DescriptionLines(hits, descriptions, params.descriptionLines)),
                &error))
            return Failure(kToolFailed,
                           QStringLiteral("Cannot write %1: %2")
                               .arg(QDir::toNativeSeparators(listed.outPath), error),
                           result.notes);
        ++result.outFiles;
        if (events.fileDone)
            events.fileDone(i, std::clamp(static_cast<int>(std::lround(seconds)), 0, 65535));
    }
    if (!result.notes.isEmpty()) {
        result.exitCode = kToolFailed;
        result.message = QStringLiteral("%1 of the listed .dta files could not be searched")
                             .arg(result.notes.size());
    }
    return result;
}

}  // namespace zar
