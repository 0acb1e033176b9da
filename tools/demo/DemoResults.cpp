#include "DemoResults.h"

#include "DemoRandom.h"

#include "tools/common/OutFileText.h"
#include "tools/common/SpectrumFiles.h"

#include "core/Numbers.h"
#include "databases/SequenceMasses.h"

#include <algorithm>
#include <cmath>

namespace zar {

namespace {

// Each search has its own stream of random numbers, so that changing one leaves the run and
// the other searches as they are.
constexpr std::uint64_t kSecondSearchSeedOffset = 0x5EA5C5;
constexpr std::uint64_t kMappingSeedOffset = 0x3A9A11;
constexpr double kSecondSearchTolerance = 3.0;
// Lengths of the non-enzymatic decoy candidates.
constexpr int kDecoyMinLength = 6;
constexpr int kDecoyMaxLength = 25;

struct Candidate {
    double mh;
    int protein;
    int start;
    int length;
};

// Every stretch of the decoy and background proteins, by (M+H)+: what a search without an
// enzyme rule could have matched besides the true peptide.
std::vector<Candidate> DecoyCandidates(const DemoRun& run, const SequenceMassTable& mono) {
    std::vector<Candidate> candidates;
    for (size_t p = 0; p < run.database.size(); ++p) {
        const DemoProtein& protein = run.database[p];
        if (protein.target) continue;
        const QByteArray residues = protein.sequence.toLatin1();
        const int n = static_cast<int>(residues.size());
        for (int start = 0; start < n; ++start) {
            double sum = 0.0;
            for (int length = 1; length <= kDecoyMaxLength && start + length <= n; ++length) {
                sum += mono.residue[static_cast<unsigned char>(residues[start + length - 1])];
                if (length < kDecoyMinLength) continue;
                candidates.push_back(
                    {sum + 2.0 * mono.h + mono.oh, static_cast<int>(p), start, length});
            }
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.mh < b.mh; });
    return candidates;
}

int FragmentCharges(int charge) {
    return std::max(1, charge - 1);
}

// XCorr of a true match grows with the charge and with the share of ions found.
double TrueXcorr(int charge, double ionShare, DemoRandom& random) {
    static constexpr double kBase[] = {2.0, 2.2, 3.4, 4.2, 4.6};
    const double base = kBase[std::clamp(charge, 0, 4)];
    return base * (0.6 + 0.6 * ionShare) * random.uniform(0.85, 1.15);
}

// The candidates within a window around a precursor.
std::vector<Candidate> CandidatesNear(const std::vector<Candidate>& candidates, double mh,
                                      double tolerance) {
    const auto low = std::lower_bound(candidates.begin(), candidates.end(), mh - tolerance,
                                      [](const Candidate& c, double m) { return c.mh < m; });
    const auto high = std::upper_bound(candidates.begin(), candidates.end(), mh + tolerance,
                                       [](double m, const Candidate& c) { return m < c.mh; });
    return std::vector<Candidate>(low, high);
}

// Takes a candidate out of the window at random.
Candidate TakeCandidate(std::vector<Candidate>& window, DemoRandom& random) {
    const size_t pick = static_cast<size_t>(random.below(static_cast<int>(window.size())));
    const Candidate c = window[pick];
    window.erase(window.begin() + static_cast<std::ptrdiff_t>(pick));
    return c;
}

// The spectrum's true peptide as a hit line names it; the caller scores it.
template <class Hit>
Hit TrueHit(const DemoRun& run, const DemoMs2& ms2, const SequenceMassTable& mono) {
    const DemoPeptide& peptide = run.peptides[static_cast<size_t>(ms2.peptide)];
    Hit top;
    top.reference = run.database[static_cast<size_t>(peptide.protein)].reference;
    top.peptide = peptide.text;
    top.mh = ProtonatedMass(mono, peptide.sequence.toLatin1().toStdString()) +
             kDemoLabelShift * peptide.labelCount;
    top.ionsMatched = ms2.ionsMatched;
    top.ionsTotal = ms2.ionsTotal;
    return top;
}

double IonShare(const DemoMs2& ms2) {
    return ms2.ionsTotal > 0 ? static_cast<double>(ms2.ionsMatched) / ms2.ionsTotal : 0.0;
}

// A candidate as a hit line names it, with the ions it could match; the caller scores it.
template <class Hit>
Hit CandidateHit(const DemoRun& run, const Candidate& c, const DemoMs2& ms2) {
    const DemoProtein& protein = run.database[static_cast<size_t>(c.protein)];
    Hit hit;
    hit.reference = protein.reference;
    hit.peptide =
        DemoHitText(protein.sequence, c.start, c.length, protein.sequence.mid(c.start, c.length));
    hit.mh = c.mh;
    hit.ionsTotal = 2 * (c.length - 1) * FragmentCharges(ms2.charge);
    return hit;
}

QString DemoBaseName(const DemoMs2& ms2) {
    return SpectrumFileBase(QString::fromLatin1(kDemoRunName), ms2.scan, ms2.scan, ms2.charge);
}

// The ".out" header shared by the search and peptide-mapping files.
OutFileHeader DemoOutHeader(const DemoRun& run, const QString& baseName, const DemoMs2& ms2,
                            const QString& program, double tolerance, const QString& time,
                            double lowestSp) {
    const RunSpectrum& spectrum = run.scans[static_cast<size_t>(ms2.scan - 1)];
    qsizetype residues = 0;
    for (const DemoProtein& p : run.database) residues += p.sequence.size();

    OutFileHeader header;
    header.fileName = baseName + QStringLiteral(".out");
    header.program = program;
    header.line4 = QStringLiteral("Korvath Instruments");
    header.line5 = QStringLiteral("Licensed to the demo laboratory");
    header.date = QStringLiteral("01/15/2026, ") + time;
    header.seconds = 1 + ms2.scan % 3;
    header.host = QStringLiteral("node01");
    header.precursorMH = ms2.precursorMH;
    header.precursorTolerance = tolerance;
    header.charge = ms2.charge;
    header.fragmentTolerance = 0.5;
    for (double v : spectrum.intensity) header.totalIntensity += v;
    header.lowestSp = lowestSp;
    header.matchedPeptides = 1000 + ms2.scan % 997;
    header.aminoAcids = residues;
    header.proteins = static_cast<int>(run.database.size());
    header.database = QString::fromLatin1(kDemoDatabaseName);
    OutModifications modifications;
    modifications.differential.push_back({QStringLiteral("C"), QLatin1Char('*'), kDemoLabelShift});
    header.modifications = OutModificationsLine(modifications);
    return header;
}

}  // namespace

DemoSearch DemoSecondSearch() {
    DemoSearch search;
    search.seedOffset = kSecondSearchSeedOffset;
    search.precursorTolerance = kSecondSearchTolerance;
    search.followsFileCount = false;
    return search;
}

std::vector<DemoOutFile> MakeDemoResults(const DemoRun& run, const DemoSearch& search) {
    const SequenceMassTable mono = SequenceMassTable::For(true);
    const std::vector<Candidate> candidates = DecoyCandidates(run, mono);
    DemoRandom random(run.settings.seed + search.seedOffset);
    std::vector<DemoOutFile> files;
    files.reserve(run.ms2.size());
    for (size_t m = 0; m < run.ms2.size(); ++m) {
        const DemoMs2& ms2 = run.ms2[m];
        DemoOutFile file;
        file.ms2 = static_cast<int>(m);
        file.baseName = DemoBaseName(ms2);
        file.precursorTolerance = search.precursorTolerance;

        DemoHit top = TrueHit<DemoHit>(run, ms2, mono);
        top.xcorr = TrueXcorr(ms2.charge, IonShare(ms2), random);
        top.sp = 300.0 + 1500.0 * IonShare(ms2) * random.uniform(0.7, 1.1);
        file.hits.push_back(top);

        // Decoys within the precursor tolerance, drawn from those there.
        std::vector<Candidate> inWindow =
            CandidatesNear(candidates, ms2.precursorMH, search.precursorTolerance);
        double xcorr = top.xcorr * (1.0 - random.uniform(0.15, 0.45));
        for (int k = 0; k < kDemoDecoyHits && !inWindow.empty(); ++k) {
            DemoHit hit = CandidateHit<DemoHit>(run, TakeCandidate(inWindow, random), ms2);
            hit.xcorr = xcorr;
            hit.deltaCn = (top.xcorr - xcorr) / top.xcorr;
            hit.sp = random.uniform(80.0, 450.0);
            hit.ionsMatched =
                static_cast<int>(std::lround(hit.ionsTotal * random.uniform(0.15, 0.35)));
            file.hits.push_back(hit);
            xcorr *= random.uniform(0.9, 0.99);
        }
        // Preliminary ranks: by Sp.
        std::vector<size_t> order(file.hits.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return file.hits[a].sp > file.hits[b].sp; });
        for (size_t r = 0; r < order.size(); ++r)
            file.hits[order[r]].spRank = static_cast<int>(r) + 1;
        files.push_back(std::move(file));
    }
    const size_t wanted =
        search.followsFileCount ? static_cast<size_t>(std::max(run.settings.outFileCount, 0)) : 0;
    if (wanted > 0 && wanted < files.size()) files.resize(wanted);
    // More files than MS2 scans: the same results again, as if the run went on.
    const size_t made = files.size();
    for (size_t k = made; made > 0 && k < wanted; ++k) {
        DemoOutFile copy = files[k % made];
        const DemoMs2& ms2 = run.ms2[static_cast<size_t>(copy.ms2)];
        const int scan = ms2.scan + static_cast<int>(k / made * run.scans.size());
        copy.baseName = SpectrumFileBase(QString::fromLatin1(kDemoRunName), scan, scan, ms2.charge);
        files.push_back(std::move(copy));
    }
    return files;
}

QString DemoOutText(const DemoRun& run, const DemoOutFile& file) {
    const DemoMs2& ms2 = run.ms2[static_cast<size_t>(file.ms2)];
    const OutFileHeader header =
        DemoOutHeader(run, file.baseName, ms2,
                      QStringLiteral("TurboSORVEX v.27 (rev. 11), (C) 1998-2006"),
                      file.precursorTolerance, QStringLiteral("10:00 AM"), 10.0);
    std::vector<OutFileHit> hits;
    for (size_t i = 0; i < file.hits.size(); ++i) {
        const DemoHit& hit = file.hits[i];
        OutFileHit line;
        line.reference = hit.reference;
        line.peptide = hit.peptide;
        line.mh = hit.mh;
        line.deltaCn = i == 0 ? 0.0 : hit.deltaCn;
        line.xcorr = hit.xcorr;
        line.sp = hit.sp;
        line.spRank = hit.spRank;
        line.ionsMatched = hit.ionsMatched;
        line.ionsTotal = hit.ionsTotal;
        hits.push_back(line);
    }
    return SearchOutText(header, hits);
}

QString DemoDtaText(const DemoRun& run, int ms2Index) {
    const DemoMs2& ms2 = run.ms2[static_cast<size_t>(ms2Index)];
    const RunSpectrum& spectrum = run.scans[static_cast<size_t>(ms2.scan - 1)];
    return DtaText(ms2.precursorMH, ms2.charge, spectrum.mz, spectrum.intensity);
}

std::vector<DemoMappingFile> MakeDemoPeptideMapping(const DemoRun& run) {
    const SequenceMassTable mono = SequenceMassTable::For(true);
    const std::vector<Candidate> candidates = DecoyCandidates(run, mono);
    DemoRandom random(run.settings.seed + kMappingSeedOffset);
    std::vector<DemoMappingFile> files;
    files.reserve(run.ms2.size());
    for (size_t m = 0; m < run.ms2.size(); ++m) {
        const DemoMs2& ms2 = run.ms2[m];
        DemoMappingFile file;
        file.ms2 = static_cast<int>(m);
        file.baseName = DemoBaseName(ms2);

        DemoMappingHit top = TrueHit<DemoMappingHit>(run, ms2, mono);
        top.score = std::round(40.0 + 50.0 * IonShare(ms2) * random.uniform(0.8, 1.1));
        file.hits.push_back(top);

        // Candidates score in whole points, so that some share a score and so a rank.
        std::vector<Candidate> inWindow =
            CandidatesNear(candidates, ms2.precursorMH, kDemoMappingTolerance);
        for (int k = 0; k < kDemoMappingCandidates && !inWindow.empty(); ++k) {
            DemoMappingHit hit =
                CandidateHit<DemoMappingHit>(run, TakeCandidate(inWindow, random), ms2);
            hit.score = std::round(random.uniform(5.0, 30.0) / 5.0) * 5.0;
            hit.ionsMatched =
                static_cast<int>(std::lround(hit.ionsTotal * random.uniform(0.1, 0.3)));
            file.hits.push_back(hit);
        }
        std::stable_sort(
            file.hits.begin() + 1, file.hits.end(),
            [](const DemoMappingHit& a, const DemoMappingHit& b) { return a.score > b.score; });
        files.push_back(std::move(file));
    }
    return files;
}

std::vector<int> DemoMappingRanks(const DemoMappingFile& file) {
    std::vector<int> ranks;
    int rank = 0;
    for (size_t i = 0; i < file.hits.size(); ++i) {
        if (i == 0)
            rank = file.hits[0].score != 0.0 ? 1 : 0;
        else if (rank > 0 && file.hits[i].score != file.hits[i - 1].score)
            ++rank;
        ranks.push_back(rank);
    }
    return ranks;
}

QString DemoMappingOutText(const DemoRun& run, const DemoMappingFile& file) {
    const DemoMs2& ms2 = run.ms2[static_cast<size_t>(file.ms2)];
    OutFileHeader header = DemoOutHeader(run, file.baseName, ms2,
                                         QStringLiteral("MassMap v.1 (rev. 1), (C) 2000-2006"),
                                         kDemoMappingTolerance, QStringLiteral("11:00 AM"), 0.0);
    std::vector<OutFileHit> hits;
    for (const DemoMappingHit& hit : file.hits) {
        OutFileHit line;
        line.reference = hit.reference;
        line.peptide = hit.peptide;
        line.mh = hit.mh;
        line.sp = hit.score;
        line.ionsMatched = hit.ionsMatched;
        line.ionsTotal = hit.ionsTotal;
        hits.push_back(line);
    }
    return MassmapOutText(header, hits);
}

}  // namespace zar
