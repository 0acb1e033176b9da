// De novo sequencing of synthetic spectra: a typical 12-residue peptide, and a dense
// 2048-point noisy spectrum with and without the bound on the growth. The counter "rank" is
// the place of the true sequence in the table (-1 when it is missing).

#include "interpretation/DenovoEngine.h"

#include "tests/interpretation/DenovoSyntheticSpectra.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

constexpr const char* kPeptide = "ELVLSLGVESKR";  // 12 residues

// I and Q are sequenced as L and K, which have their masses.
QString AsSequenced(const char* peptide) {
    QString text = QString::fromLatin1(peptide);
    text.replace(QLatin1Char('I'), QLatin1Char('L')).replace(QLatin1Char('Q'), QLatin1Char('K'));
    return text;
}

int RankOf(const zar::CDenovoEngine& engine, const char* peptide) {
    const QString wanted = AsSequenced(peptide);
    for (int i = 0; i < engine.CandidateCount(); ++i)
        if (engine.GetCandidate(i)->sequence == wanted) return i;
    return -1;
}

void Sequence(benchmark::State& state, const std::vector<zar::DenovoScan>& scans,
              long long budget) {
    int rank = -1;
    long long work = 0;
    for (auto _ : state) {
        zar::CDenovoEngine engine;
        engine.SetWorkBudget(budget);
        engine.LoadSpectra(scans, zar::DenovoParams{});
        benchmark::DoNotOptimize(engine.FormatSequenceTable());
        rank = RankOf(engine, kPeptide);
        work = engine.WorkDone();
    }
    state.counters["rank"] = rank;
    state.counters["growth_steps"] = static_cast<double>(work);
}

// A typical MS2 scan: the b and y ladder with two ions missing and some noise.
void BM_DenovoTypicalMS2(benchmark::State& state) {
    zartest::SyntheticOptions o;
    o.charge = 2;
    o.missingB = {4};
    o.missingY = {7};
    o.noisePoints = 60;
    Sequence(state, zartest::SyntheticScans(kPeptide, o), zar::CDenovoEngine::kDefaultWorkBudget);
}
BENCHMARK(BM_DenovoTypicalMS2)->Unit(benchmark::kMillisecond);

// The MS2 scan with MS3 scans of four of its y ions.
void BM_DenovoMS2WithMS3(benchmark::State& state) {
    zartest::SyntheticOptions o;
    o.charge = 2;
    o.noisePoints = 60;
    o.ms3OfY = {11, 8, 5, 2};
    Sequence(state, zartest::SyntheticScans(kPeptide, o), zar::CDenovoEngine::kDefaultWorkBudget);
}
BENCHMARK(BM_DenovoMS2WithMS3)->Unit(benchmark::kMillisecond);

// 2048 points of strong noise in the MS2 scan and in each of 11 MS3 scans: the MS3 scans keep
// the growth far below the bound (see growth_steps), so only the bounded run is measured.
void BM_DenovoNoisy2048WithMS3(benchmark::State& state) {
    zartest::SyntheticOptions o;
    o.charge = 2;
    o.noisePoints = 2048 - 22;
    o.noiseIntensity = 1000.0;
    o.ms3OfY = {11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
    Sequence(state, zartest::SyntheticScans(kPeptide, o), zar::CDenovoEngine::kDefaultWorkBudget);
}
BENCHMARK(BM_DenovoNoisy2048WithMS3)->Unit(benchmark::kMillisecond);

// The same noisy MS2 scan alone, whose growth goes well past the bound: argument 0 lifts it,
// and the run checks that it grew further than the bound allows.
void BM_DenovoNoisy2048MS2Only(benchmark::State& state) {
    zartest::SyntheticOptions o;
    o.charge = 2;
    o.noisePoints = 2048 - 22;
    o.noiseIntensity = 1000.0;
    const long long budget = state.range(0);
    const std::vector<zar::DenovoScan> scans = zartest::SyntheticScans(kPeptide, o);
    Sequence(state, scans, budget);
    state.counters["bound"] = static_cast<double>(budget);
    if (budget == 0) {
        zar::CDenovoEngine bounded;
        bounded.LoadSpectra(scans, zar::DenovoParams{});
        if (state.counters["growth_steps"] <= static_cast<double>(bounded.WorkDone()))
            state.SkipWithError("the bound would not have limited this spectrum");
    }
}
BENCHMARK(BM_DenovoNoisy2048MS2Only)
    ->Arg(zar::CDenovoEngine::kDefaultWorkBudget)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond);

// A long peptide whose MS2 noise makes the growth explode: unbounded it took about ten
// minutes (2.4e9 growth steps), so only the bounded run is measured.
void BM_DenovoDenseLongPeptide(benchmark::State& state) {
    zartest::SyntheticOptions o;
    o.charge = 2;
    o.noisePoints = 2048 - 46;
    o.noiseIntensity = 1000.0;
    Sequence(state, zartest::SyntheticScans("ELVLSLGVESKRELVLSLGVESKR", o), state.range(0));
}
BENCHMARK(BM_DenovoDenseLongPeptide)
    ->Arg(zar::CDenovoEngine::kDefaultWorkBudget)
    ->Unit(benchmark::kMillisecond);

// Tryptic peptides of serum albumin, sequenced from synthetic MS2 scans (one b and one y ion
// missing, noise); the counter "top3" is the share whose true sequence ranks in the top 3.
// Argument: the growth bound; argument 2: 1 adds MS3 scans of three y ions. These spectra grow
// far less than the bound ("most_growth_steps"), so lifting it would change nothing.
void BM_DenovoRecovery(benchmark::State& state) {
    static const char* const kPeptides[] = {
        "LVNELTEFAK",    "HLVDEPQNLIK",       "YLYEIAR",      "AEFVEVTK",   "QTALVELLK",
        "LGEYGFQNALIVR", "DAFLGSFLYEYSR",     "TVMENFVAFVDK", "FKDLGEEHFK", "ALKAWSVAR",
        "LVTDLTK",       "VHKECCHGDLLECADDR", "YICDNQDTISSK", "EACFAVEGPK", "DDPHACYSTVFDK",
        "SHCIAEVEK",     "RHPEYAVSVLLR",      "KQTALVELLK",   "LSQKFPK",    "ATEEQLK"};
    int recovered = 0;
    int total = 0;
    long long mostSteps = 0;
    for (auto _ : state) {
        recovered = 0;
        total = 0;
        for (const char* peptide : kPeptides) {
            zartest::SyntheticOptions o;
            o.charge = 2;
            o.noisePoints = 40;
            const int n = static_cast<int>(std::string(peptide).size());
            o.missingB = {n / 3};
            o.missingY = {n / 2};
            if (state.range(1)) o.ms3OfY = {n - 1, n - 3, n - 5};
            zar::CDenovoEngine engine;
            engine.SetWorkBudget(state.range(0));
            engine.LoadSpectra(zartest::SyntheticScans(peptide, o), zar::DenovoParams{});
            engine.FormatSequenceTable();
            const int rank = RankOf(engine, peptide);
            mostSteps = std::max(mostSteps, engine.WorkDone());
            recovered += rank >= 0 && rank < 3;
            ++total;
        }
    }
    state.counters["top3"] = static_cast<double>(recovered) / total;
    state.counters["peptides"] = total;
    state.counters["most_growth_steps"] = static_cast<double>(mostSteps);
}
BENCHMARK(BM_DenovoRecovery)
    ->Args({zar::CDenovoEngine::kDefaultWorkBudget, 0})
    ->Args({zar::CDenovoEngine::kDefaultWorkBudget, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
