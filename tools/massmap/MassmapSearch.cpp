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
#include <limits>
#include <unordered_map>
#include <utility>

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

// One peptide of the database by its (M+H)+.
struct PeptideMass {
    double mh = 0.0;
    int protein = 0;
    int row = 0;
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
            input.sequence =
                QString::fromLatin1(residues.data(), static_cast<qsizetype>(residues.size()));
            if (!inProteinMassRange(p, input)) {
                proteins_.push_back(std::move(protein));
                continue;
            }
            DigestSequence(input, &protein.peptides, cancel, quiet);
            protein.masses.reserve(protein.peptides.size());
            const int index = static_cast<int>(proteins_.size());
            for (const CPepmapPeptide& row : protein.peptides) {
                const double mass = protein.peptides.mass(row, monoisotopic_) + terminal_;
                // Smaller peptides no ion is compared with.
                if (mass + proton_ >= kMassmapSmallestIon)
                    byMass_.push_back(
                        {mass + proton_, index, static_cast<int>(protein.masses.size())});
                protein.masses.push_back(mass);
            }
            peptides_ += protein.masses.size();
            proteins_.push_back(std::move(protein));
        }
        if (reader.readFailed()) {
            error = QStringLiteral("Cannot read the database %1")
                        .arg(QDir::toNativeSeparators(setup.fasta));
            return false;
        }
        std::sort(byMass_.begin(), byMass_.end(),
                  [](const PeptideMass& a, const PeptideMass& b) { return a.mh < b.mh; });
        return true;
    }

    const std::vector<Protein>& proteins() const { return proteins_; }
    double proton() const { return proton_; }
    size_t peptideCount() const { return peptides_; }
    // The peptides whose (M+H)+ lies within the tolerance of mh.
    std::pair<const PeptideMass*, const PeptideMass*> near(double mh, double tolerance) const {
        const PeptideMass* begin = byMass_.data();
        const PeptideMass* end = begin + byMass_.size();
        const PeptideMass* first = std::lower_bound(
            begin, end, mh - tolerance, [](const PeptideMass& p, double v) { return p.mh < v; });
        const PeptideMass* last = std::upper_bound(
            first, end, mh + tolerance, [](double v, const PeptideMass& p) { return v < p.mh; });
        return {first, last};
    }

  private:
    bool inProteinMassRange(const SearchParamsFile& p, const PepmapDigestInput& input) const {
        if (p.proteinMassHigh <= 0.0) return true;
        const PepmapStretch whole = MeasureStretch(input.sequence, input.masses, 0,
                                                   static_cast<int>(input.sequence.size()));
        const double mass = monoisotopic_ ? whole.mono : whole.average;
        return mass >= p.proteinMassLow && mass <= p.proteinMassHigh;
    }

    std::vector<Protein> proteins_;
    std::vector<PeptideMass> byMass_;
    size_t peptides_ = 0;
    bool monoisotopic_ = false;
    double terminal_ = 0.0;
    double proton_ = 0.0;
};

// A found peptide and the intensity of the ion it explains.
struct FoundPeptide {
    int row = 0;
    double intensity = 0.0;
};

struct ProteinMatch {
    int protein = 0;  // index
    int ions = 0;     // distinct ions of the spectrum its peptides explain
    int lastIon = -1;
    double score = 0.0;
    std::vector<FoundPeptide> rows;  // strongest ion first
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

// The ions a spectrum offers to the database: its decharged peaks from kMassmapSmallestIon up,
// those within the tolerance of one another taken as one ion (the same peptide seen at two
// charges), at the mass of the stronger and with their summed intensity.
std::vector<PepmapPeak> SpectrumIons(const CDtaSpectrum& s, double proton, double tolerance) {
    const double floor = TotalIntensity(s) * kMassmapNoiseShare;
    std::vector<PepmapPeak> ions;
    for (const PepmapPeak& peak : DechargedPeaks(s, floor, proton)) {
        if (peak.mz < kMassmapSmallestIon) continue;
        if (!ions.empty() && peak.mz - ions.back().mz <= tolerance) {
            PepmapPeak& merged = ions.back();
            if (peak.intensity > merged.intensity) merged.mz = peak.mz;
            merged.intensity += peak.intensity;
            continue;
        }
        ions.push_back(peak);
    }
    return ions;
}

// Ions that most spectra of the run show (solvent, polymer and lock-mass ions) tell nothing
// about the digest: those within kMassmapBackgroundTolerance of an ion in more than
// kMassmapBackgroundShare of the spectra. A list too short to tell leaves every ion in.
class BackgroundIons {
  public:
    explicit BackgroundIons(const std::vector<std::vector<PepmapPeak>>& spectra) {
        if (static_cast<int>(spectra.size()) < kMassmapBackgroundLeastSpectra) return;
        least_ = static_cast<int>(spectra.size() * kMassmapBackgroundShare) + 1;
        // Each spectrum counts once in the bin of each of its ions and in the bins beside it.
        std::vector<qint64> covered;
        for (const std::vector<PepmapPeak>& ions : spectra) {
            covered.clear();
            for (const PepmapPeak& ion : ions)
                for (qint64 b = binOf(ion.mz) - 1; b <= binOf(ion.mz) + 1; ++b)
                    covered.push_back(b);
            std::sort(covered.begin(), covered.end());
            covered.erase(std::unique(covered.begin(), covered.end()), covered.end());
            for (qint64 b : covered) ++spectraByBin_[b];
        }
    }

    bool contains(double mh) const {
        return least_ > 0 && spectraByBin_.value(binOf(mh)) >= least_;
    }

  private:
    static qint64 binOf(double mh) {
        return static_cast<qint64>(std::floor(mh / kMassmapBackgroundTolerance));
    }

    QHash<qint64, int> spectraByBin_;
    int least_ = 0;  // 0: no background
};

// The score of a protein: -10 log10 of the chance that a random protein with as many peptides
// explains at least as many of the spectrum's ions. Ion j is explained by one of n
// random peptides with 1 - (1 - f_j)^n, f_j the database's share of peptides within the
// tolerance of it: an ion that many peptides could be weighs little, and so does a match of a
// protein whose digest is large. The count of explained ions is taken as binomial with the
// ions' mean chance.
class RandomMatchScore {
  public:
    explicit RandomMatchScore(std::vector<double> shares) : shares_(std::move(shares)) {}

    double score(int peptides, int ions) {
        std::vector<double>& tail = tails_[peptides];
        if (tail.empty()) tail = logTail(peptides);
        const size_t k = std::min(static_cast<size_t>(std::max(ions, 0)), tail.size() - 1);
        return std::max(0.0, -10.0 * tail[k] / std::log(10.0));
    }

  private:
    // ln P(X >= k) for k = 0..N, X ~ Binomial(N ions, mean chance for n peptides).
    std::vector<double> logTail(int peptides) const {
        const int n = static_cast<int>(shares_.size());
        double chance = 0.0;
        for (double f : shares_) chance += -std::expm1(peptides * std::log1p(-std::min(f, 1.0)));
        chance = std::clamp(n > 0 ? chance / n : 0.0, 1e-300, 1.0);
        std::vector<double> tail(static_cast<size_t>(n) + 1, 0.0);
        if (chance >= 1.0) return tail;
        const double logChance = std::log(chance);
        const double logMiss = std::log1p(-chance);
        double sum = -std::numeric_limits<double>::infinity();
        for (int k = n; k >= 1; --k) {
            const double term = std::lgamma(n + 1.0) - std::lgamma(k + 1.0) -
                                std::lgamma(n - k + 1.0) + k * logChance + (n - k) * logMiss;
            sum = std::max(sum, term) + std::log1p(std::exp(-std::fabs(sum - term)));
            tail[static_cast<size_t>(k)] = std::min(sum, 0.0);
        }
        return tail;
    }

    std::vector<double> shares_;
    std::unordered_map<int, std::vector<double>> tails_;
};

std::vector<ProteinMatch> MatchSpectrum(const ProteinDigests& digests,
                                        const std::vector<PepmapPeak>& ions,
                                        const BackgroundIons& background, double tolerance) {
    std::vector<ProteinMatch> matches;
    std::unordered_map<int, size_t> matchOf;  // protein index -> matches
    std::vector<double> shares;
    const double peptides = static_cast<double>(std::max<size_t>(digests.peptideCount(), 1));
    for (const PepmapPeak& ion : ions) {
        if (background.contains(ion.mz)) continue;
        const auto [first, last] = digests.near(ion.mz, tolerance);
        shares.push_back(static_cast<double>(last - first) / peptides);
        const int ionNumber = static_cast<int>(shares.size()) - 1;
        for (const PeptideMass* p = first; p != last; ++p) {
            const auto [it, added] = matchOf.try_emplace(p->protein, matches.size());
            if (added) matches.push_back({p->protein, 0, -1, 0.0, {}});
            ProteinMatch& match = matches[it->second];
            if (match.lastIon != ionNumber) {
                ++match.ions;
                match.lastIon = ionNumber;
            }
            match.rows.push_back({p->row, ion.intensity});
        }
    }
    RandomMatchScore odds(std::move(shares));
    const std::vector<Protein>& proteins = digests.proteins();
    for (ProteinMatch& match : matches) {
        match.score =
            odds.score(static_cast<int>(proteins[static_cast<size_t>(match.protein)].masses.size()),
                       match.ions);
        // A peptide near two ions is listed once, with the stronger.
        std::vector<FoundPeptide>& rows = match.rows;
        std::sort(rows.begin(), rows.end(), [](const FoundPeptide& a, const FoundPeptide& b) {
            return a.row != b.row ? a.row < b.row : a.intensity > b.intensity;
        });
        rows.erase(std::unique(
                       rows.begin(), rows.end(),
                       [](const FoundPeptide& a, const FoundPeptide& b) { return a.row == b.row; }),
                   rows.end());
        std::stable_sort(
            rows.begin(), rows.end(),
            [](const FoundPeptide& a, const FoundPeptide& b) { return a.intensity > b.intensity; });
    }
    std::sort(matches.begin(), matches.end(), [](const ProteinMatch& a, const ProteinMatch& b) {
        if (a.score != b.score) return a.score > b.score;
        if (a.ions != b.ions) return a.ions > b.ions;
        return a.protein < b.protein;
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

SearchRunResult RunMassmapSearch(const SearchRunOptions& o, const SearchRunEvents& events) {
    SearchSetup setup;
    QString error;
    if (const int code =
            PrepareSearch(o.folder, o.listPath, o.paramsPath, kMassmapParamsName, setup, error))
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
    std::vector<std::vector<PepmapPeak>> ions;
    ions.reserve(setup.spectra.size());
    for (const ListedSpectrum& listed : setup.spectra)
        ions.push_back(SpectrumIons(listed.spectrum, digests.proton(), params.peptideTolerance));
    const BackgroundIons background(ions);
    for (int i = 1; i <= files; ++i) {
        if (StopRequested()) return Failure(kToolStopped, QStringLiteral("stopped"), result.notes);
        if (events.searching) events.searching(i, 0);
        const qint64 started = timer.elapsed();
        const ListedSpectrum& listed = setup.spectra[static_cast<size_t>(i - 1)];
        const CDtaSpectrum& s = listed.spectrum;
        const std::vector<ProteinMatch> matches = MatchSpectrum(
            digests, ions[static_cast<size_t>(i - 1)], background, params.peptideTolerance);

        std::vector<OutFileHit> hits;
        QHash<QString, QString> descriptions;
        const size_t shown = std::min(matches.size(), static_cast<size_t>(params.outputLines));
        for (size_t m = 0; m < shown; ++m) {
            const Protein& protein = proteins[static_cast<size_t>(matches[m].protein)];
            descriptions.insert(protein.reference, protein.header);
            for (const FoundPeptide& found : matches[m].rows) {
                const size_t r = static_cast<size_t>(found.row);
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
                MassmapOutText(h, hits,
                               DescriptionLines(hits, descriptions, params.descriptionLines)),
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
