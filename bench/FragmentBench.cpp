// Fragment ions of many peptides, and an XPRESS pass over the hits of a run of light/heavy
// pairs.

#include "FragmentIons.h"
#include "XpressQuant.h"

#include "core/MessageBox.h"
#include "rawfile/RunFileWriter.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace {

using namespace zar;

constexpr int kPeptides = 10000;

QString RandomPeptide(std::mt19937& random, int length) {
    static const char kPool[] = "ACDEFGHIKLMNPQRSTVWY";
    std::uniform_int_distribution<int> pick(0, 19);
    QString s;
    s.reserve(length);
    for (int k = 0; k < length; ++k) s += QChar::fromLatin1(kPool[pick(random)]);
    return s;
}

const std::vector<QString>& Peptides() {
    static const std::vector<QString> peptides = [] {
        std::mt19937 random(2026);
        std::uniform_int_distribution<int> length(6, 30);
        std::vector<QString> out;
        out.reserve(kPeptides);
        for (int k = 0; k < kPeptides; ++k) out.push_back(RandomPeptide(random, length(random)));
        return out;
    }();
    return peptides;
}

// All sixteen series of 10,000 peptides of 6 to 30 residues.
void BM_FragmentIons10000Peptides(benchmark::State& state) {
    const std::vector<QString>& peptides = Peptides();
    const FragmentMassModel model(true);
    FragmentIonTable table;
    for (auto _ : state) {
        double sum = 0.0;
        for (const QString& p : peptides) {
            ComputeFragmentIons(p, model, AllIonSlots(), table);
            sum += table.ion(1, kIonY);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["time_per_peptide"] = benchmark::Counter(
        kPeptides, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FragmentIons10000Peptides)->Unit(benchmark::kMillisecond);

// All sixteen series of one 30-residue peptide.
void BM_FragmentIons30Residues(benchmark::State& state) {
    std::mt19937 random(7);
    const QString peptide = RandomPeptide(random, 30).replace(3, 1, QStringLiteral("H"));
    const FragmentMassModel model(true);
    FragmentIonTable table;
    for (auto _ : state) {
        ComputeFragmentIons(peptide, model, AllIonSlots(), table);
        benchmark::DoNotOptimize(table.ions.data());
    }
}
BENCHMARK(BM_FragmentIons30Residues);

// A run of 4,000 scans (one full-MS scan, then three MS/MS scans) with 100 light/heavy pairs
// eluting one after another; each pair is identified in three scans, so hits share scans.
struct XpressRun {
    QTemporaryDir dir;
    QString path;
    std::vector<SearchHitRecord> hits;
};

const XpressRun& Run() {
    static const std::unique_ptr<XpressRun> run = [] {
        auto r = std::make_unique<XpressRun>();
        r->path = r->dir.filePath("pairs.mzML");
        constexpr int kScans = 4000;
        constexpr int kPairs = 100;
        constexpr double kSpacing = kScans / double(kPairs + 1);
        auto lightMH = [](int pair) { return 800.0 + 7.3 * pair; };
        auto apexOf = [&](int pair) { return 1 + 4 * static_cast<int>((pair + 1) * kSpacing / 4); };
        QString error;
        WriteRunFile(
            r->path, kScans,
            [&](int index) {
                RunSpectrum s;
                s.scanNumber = index + 1;
                s.retentionTime = 0.01 * (index + 1);
                const bool full = index % 4 == 0;
                s.msLevel = full ? 1 : 2;
                s.filterString = full ? "FTMS + p ESI Full ms [300.00-2000.00]"
                                      : "ITMS + c ESI d Full ms2 500.00@cid35.00 [100.00-2000.00]";
                if (!full) s.precursors.push_back(RunPrecursor{500.0, 2});
                std::vector<std::pair<double, double>> peaks;
                std::mt19937 noise(static_cast<unsigned>(index));
                std::uniform_real_distribution<double> mz(300.0, 2000.0);
                for (int k = 0; k < 200; ++k) peaks.push_back({mz(noise), 1000.0});
                if (full) {
                    for (int p = 0; p < kPairs; ++p) {
                        const double d = (s.scanNumber - apexOf(p)) / 12.0;
                        if (std::fabs(d) > 4.0) continue;
                        const double height = 1e6 * std::exp(-0.5 * d * d);
                        peaks.push_back({(lightMH(p) + 1.008) / 2.0, height});
                        peaks.push_back({(lightMH(p) + 8.0 + 1.008) / 2.0, height * (1 + p % 3)});
                    }
                }
                std::sort(peaks.begin(), peaks.end());
                for (const auto& [m, i] : peaks) {
                    s.mz.push_back(m);
                    s.intensity.push_back(i);
                }
                return s;
            },
            error);
        for (int p = 0; p < kPairs; ++p) {
            for (int k = 1; k <= 3; ++k) {
                SearchHitRecord hit;
                hit.recordIndex = static_cast<int>(r->hits.size());
                hit.setPeptide(u"K.PEPCTIDEK.R");
                hit.precursorMass = lightMH(p);
                const int scan = apexOf(p) + k;
                hit.setFileInformation(
                    QStringLiteral(" run.%1.%1.2.out").arg(scan, 4, 10, QLatin1Char('0')));
                r->hits.push_back(hit);
            }
        }
        return r;
    }();
    return *run;
}

// Opening the run and quantifying every hit, as a result load does.
void BM_XpressPass(benchmark::State& state) {
    const XpressRun& run = Run();
    std::vector<SearchHitRecord> hits = run.hits;
    for (auto _ : state) {
        CXpressQuant engine(8.0, "C");
        if (!engine.OpenRawFile(run.path)) {
            state.SkipWithError("run not readable");
            break;
        }
        for (SearchHitRecord& hit : hits) engine.QuantifyHit(hit);
        benchmark::DoNotOptimize(hits.data());
    }
    state.counters["hits_per_second"] = benchmark::Counter(
        static_cast<double>(hits.size()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_XpressPass)->Unit(benchmark::kMillisecond);

// The quantification alone, with the run open and its scans read.
void BM_XpressHitsOnOpenRun(benchmark::State& state) {
    const XpressRun& run = Run();
    std::vector<SearchHitRecord> hits = run.hits;
    CXpressQuant engine(8.0, "C");
    if (!engine.OpenRawFile(run.path)) {
        state.SkipWithError("run not readable");
        return;
    }
    for (auto _ : state) {
        for (SearchHitRecord& hit : hits) engine.QuantifyHit(hit);
        benchmark::DoNotOptimize(hits.data());
    }
    state.counters["hits_per_second"] = benchmark::Counter(
        static_cast<double>(hits.size()), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_XpressHitsOnOpenRun)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
