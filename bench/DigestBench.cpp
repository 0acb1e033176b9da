// Digesting a proteome with trypsin, and matching a digest against the spectra of a run.

#include "PepmapDigest.h"
#include "PepmapMatcher.h"
#include "PepmapRules.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <random>
#include <vector>

namespace {

using namespace zar;

// Residues drawn with roughly their frequencies in proteins.
QString RandomProtein(std::mt19937& random, int length) {
    static const char kPool[] =
        "AAAAAAAAGGGGGGGLLLLLLLLLLVVVVVVVEEEEEEESSSSSSSIIIIIKKKKKKRRRRRDDDDDTTTTTPPPPP"
        "NNNNQQQQFFFFYYYMMHHCCWW";
    std::uniform_int_distribution<int> pick(0, sizeof(kPool) - 2);
    QString s;
    s.reserve(length);
    s += u'M';
    for (int k = 1; k < length; ++k) s += QChar::fromLatin1(kPool[pick(random)]);
    return s;
}

const std::vector<QString>& Proteome() {
    static const std::vector<QString> proteins = [] {
        std::mt19937 random(2026);
        std::gamma_distribution<double> lengths(2.5, 180.0);  // mean about 450 residues
        std::vector<QString> out;
        out.reserve(20000);
        for (int k = 0; k < 20000; ++k)
            out.push_back(RandomProtein(random, 50 + static_cast<int>(lengths(random))));
        return out;
    }();
    return proteins;
}

class Quiet : public PepmapProgress {
  public:
    void showMessage(const QString&) override {}
};

PepmapDigestInput TrypsinInput() {
    PepmapDigestInput in;
    in.rule = MakePepmapRule(1, "KR", "-");
    return in;
}

void DigestProteome(benchmark::State& state, const PepmapDigestInput& base) {
    const std::vector<QString>& proteins = Proteome();
    PepmapDigestInput in = base;
    Quiet quiet;
    PepmapCancelFlag cancel{false};
    PepmapPeptideList rows;
    long long peptides = 0;
    for (auto _ : state) {
        for (const QString& p : proteins) {
            in.sequence = p;
            DigestSequence(in, &rows, cancel, quiet);
            peptides += static_cast<long long>(rows.size());
        }
    }
    state.counters["peptides/s"] =
        benchmark::Counter(static_cast<double>(peptides), benchmark::Counter::kIsRate);
    state.counters["proteins/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * proteins.size()), benchmark::Counter::kIsRate);
}

void BM_DigestProteomeComplete(benchmark::State& state) {
    DigestProteome(state, TrypsinInput());
}
BENCHMARK(BM_DigestProteomeComplete)->Unit(benchmark::kMillisecond);

// Trypsin with up to two missed cleavages and no other limit.
PepmapDigestInput TwoMissedCleavagesInput() {
    PepmapDigestInput in = TrypsinInput();
    in.options.incompleteDigest = 1;
    in.options.limitFragments = 1;
    in.options.lengthMin = 0;
    in.options.lengthMax = 100000;
    in.options.massMin = 0;
    in.options.massMax = 1000000;
    in.options.undigestedSitesMax = 2;
    return in;
}

void BM_DigestProteomeTwoMissedCleavages(benchmark::State& state) {
    DigestProteome(state, TwoMissedCleavagesInput());
}
BENCHMARK(BM_DigestProteomeTwoMissedCleavages)->Unit(benchmark::kMillisecond);

// A bounded digest of one very long sequence: stays linear in the number of sites.
void BM_DigestLongSequenceBounded(benchmark::State& state) {
    std::mt19937 random(5);
    PepmapDigestInput in = TrypsinInput();
    in.sequence = RandomProtein(random, static_cast<int>(state.range(0)));
    in.options.incompleteDigest = 1;
    in.options.limitFragments = 1;
    in.options.lengthMin = 6;
    in.options.lengthMax = 40;
    in.options.massMin = 500;
    in.options.massMax = 5000;
    Quiet quiet;
    PepmapCancelFlag cancel{false};
    PepmapPeptideList rows;
    for (auto _ : state) {
        DigestSequence(in, &rows, cancel, quiet);
        benchmark::DoNotOptimize(rows.rows().data());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DigestLongSequenceBounded)
    ->RangeMultiplier(4)
    ->Range(10000, 640000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// Memory of the rows: a bounded digest of a 640,000-residue sequence with up to two missed
// cleavages (about half a million peptides). "bytes_per_peptide" is what the list holds, its
// room included (goal: at most 64); "resident_per_peptide" the process's resident growth while
// it holds them (free heap given back to the system before both readings).
void BM_DigestRowMemory(benchmark::State& state) {
    std::mt19937 random(5);
    PepmapDigestInput in = TwoMissedCleavagesInput();
    in.sequence = RandomProtein(random, 640000);
    Quiet quiet;
    PepmapCancelFlag cancel{false};
    double perPeptide = 0.0, resident = 0.0, rows = 0.0;
    for (auto _ : state) {
        malloc_trim(0);
        const long before = zarbench::ProcessStatusKiB("VmRSS");
        PepmapPeptideList list;
        DigestSequence(in, &list, cancel, quiet);
        malloc_trim(0);  // what the digest used on the way and gave back does not count
        const long after = zarbench::ProcessStatusKiB("VmRSS");
        rows = static_cast<double>(list.size());
        perPeptide = static_cast<double>(list.memoryBytes()) / rows;
        resident = 1024.0 * static_cast<double>(after - before) / rows;
        benchmark::DoNotOptimize(list.rows().data());
    }
    state.counters["peptides"] = rows;
    state.counters["bytes_per_peptide"] = perPeptide;
    state.counters["resident_per_peptide"] = resident;
    state.counters["row_bytes"] = sizeof(CPepmapPeptide);
}
BENCHMARK(BM_DigestRowMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

// Matching the tryptic peptides of 50 proteins against 2000 centroided scans.
void BM_MatchSpectra(benchmark::State& state) {
    std::mt19937 random(9);
    PepmapDigestInput in = TrypsinInput();
    Quiet quiet;
    PepmapCancelFlag cancel{false};
    std::vector<PepmapMatchEntry> entries;
    for (int k = 0; k < 50; ++k) {
        in.sequence = Proteome()[k];
        PepmapPeptideList rows;
        DigestSequence(in, &rows, cancel, quiet);
        for (const CPepmapPeptide& r : rows)
            entries.push_back({rows.averageMass(r), 0, 0, 0, 0, r.maxCharge, 0, 0, 0});
    }
    const int scanCount = 2000;
    std::vector<PepmapScan> scans(scanCount);
    std::uniform_real_distribution<double> mz(300.0, 2000.0);
    std::exponential_distribution<double> intensity(1e-4);
    for (int s = 0; s < scanCount; ++s) {
        scans[s].retentionTime = 0.05 * s;
        scans[s].peaks.resize(300);
        for (PepmapPeak& p : scans[s].peaks) p = {mz(random), intensity(random)};
    }
    PepmapScanList source(1, std::move(scans));
    PepmapMatchSettings settings;
    settings.proton = kHydrogenAverage;
    for (auto _ : state) {
        std::vector<PepmapMatchEntry> work = entries;
        MatchSpectra(source, 1, scanCount, settings, work, cancel, quiet);
        benchmark::DoNotOptimize(work.data());
    }
    state.counters["spectra x peptides/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * scanCount * static_cast<double>(entries.size()),
        benchmark::Counter::kIsRate);
    state.counters["peptides"] = static_cast<double>(entries.size());
}
BENCHMARK(BM_MatchSpectra)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
