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

// The results have their own stream of random numbers, so that changing them leaves the run
// as it is.
constexpr std::uint64_t kResultsSeedOffset = 0x5EA5C4;
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

}  // namespace

std::vector<DemoOutFile> MakeDemoResults(const DemoRun& run) {
    const SequenceMassTable mono = SequenceMassTable::For(true);
    const std::vector<Candidate> candidates = DecoyCandidates(run, mono);
    DemoRandom random(run.settings.seed + kResultsSeedOffset);
    std::vector<DemoOutFile> files;
    files.reserve(run.ms2.size());
    for (size_t m = 0; m < run.ms2.size(); ++m) {
        const DemoMs2& ms2 = run.ms2[m];
        const DemoPeptide& peptide = run.peptides[static_cast<size_t>(ms2.peptide)];
        DemoOutFile file;
        file.ms2 = static_cast<int>(m);
        file.baseName = SpectrumFileBase(QString::fromLatin1(kDemoRunName), ms2.scan, ms2.scan, ms2.charge);

        DemoHit top;
        top.reference = run.database[static_cast<size_t>(peptide.protein)].reference;
        top.peptide = peptide.text;
        top.mh = ProtonatedMass(mono, peptide.sequence.toLatin1().toStdString()) +
                 kDemoLabelShift * peptide.labelCount;
        const double share =
            ms2.ionsTotal > 0 ? static_cast<double>(ms2.ionsMatched) / ms2.ionsTotal : 0.0;
        top.xcorr = TrueXcorr(ms2.charge, share, random);
        top.sp = 300.0 + 1500.0 * share * random.uniform(0.7, 1.1);
        top.ionsMatched = ms2.ionsMatched;
        top.ionsTotal = ms2.ionsTotal;
        file.hits.push_back(top);

        // Decoys within the precursor tolerance, drawn from those there.
        const auto low = std::lower_bound(candidates.begin(), candidates.end(),
                                          ms2.precursorMH - kDemoPrecursorTolerance,
                                          [](const Candidate& c, double mh) { return c.mh < mh; });
        const auto high = std::upper_bound(candidates.begin(), candidates.end(),
                                           ms2.precursorMH + kDemoPrecursorTolerance,
                                           [](double mh, const Candidate& c) { return mh < c.mh; });
        std::vector<Candidate> inWindow(low, high);
        double xcorr = top.xcorr * (1.0 - random.uniform(0.15, 0.45));
        for (int k = 0; k < kDemoDecoyHits && !inWindow.empty(); ++k) {
            const size_t pick =
                static_cast<size_t>(random.below(static_cast<int>(inWindow.size())));
            const Candidate c = inWindow[pick];
            inWindow.erase(inWindow.begin() + static_cast<std::ptrdiff_t>(pick));
            const DemoProtein& protein = run.database[static_cast<size_t>(c.protein)];
            DemoHit hit;
            hit.reference = protein.reference;
            hit.peptide = DemoHitText(protein.sequence, c.start, c.length,
                                      protein.sequence.mid(c.start, c.length));
            hit.mh = c.mh;
            hit.xcorr = xcorr;
            hit.deltaCn = (top.xcorr - xcorr) / top.xcorr;
            hit.sp = random.uniform(80.0, 450.0);
            hit.ionsTotal = 2 * (c.length - 1) * FragmentCharges(ms2.charge);
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
    const size_t wanted = static_cast<size_t>(std::max(run.settings.outFileCount, 0));
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
    const RunSpectrum& spectrum = run.scans[static_cast<size_t>(ms2.scan - 1)];
    qsizetype residues = 0;
    for (const DemoProtein& p : run.database) residues += p.sequence.size();

    OutFileHeader header;
    header.fileName = file.baseName + QStringLiteral(".out");
    header.program = QStringLiteral("TurboSORVEX v.27 (rev. 11), (C) 1998-2006");
    header.line4 = QStringLiteral("Korvath Instruments");
    header.line5 = QStringLiteral("Licensed to the demo laboratory");
    header.date = QStringLiteral("01/15/2026, 10:00 AM");
    header.seconds = 1 + ms2.scan % 3;
    header.host = QStringLiteral("node01");
    header.precursorMH = ms2.precursorMH;
    header.precursorTolerance = kDemoPrecursorTolerance;
    header.charge = ms2.charge;
    header.fragmentTolerance = 0.5;
    for (double v : spectrum.intensity) header.totalIntensity += v;
    header.lowestSp = 10.0;
    header.matchedPeptides = 1000 + ms2.scan % 997;
    header.aminoAcids = residues;
    header.proteins = static_cast<int>(run.database.size());
    header.database = QString::fromLatin1(kDemoDatabaseName);
    OutModifications modifications;
    modifications.differential.push_back({QStringLiteral("C"), QLatin1Char('*'), kDemoLabelShift});
    header.modifications = OutModificationsLine(modifications);

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

QString DemoDtaText(const DemoRun& run, const DemoOutFile& file) {
    const DemoMs2& ms2 = run.ms2[static_cast<size_t>(file.ms2)];
    const RunSpectrum& spectrum = run.scans[static_cast<size_t>(ms2.scan - 1)];
    return DtaText(ms2.precursorMH, ms2.charge, spectrum.mz, spectrum.intensity);
}

}  // namespace zar
