// Scanning a large FASTA database: looking up a peptide, building its index and reading
// entries through it. The database is generated at start-up ($ZAR_FASTA_BENCH_MB megabytes,
// 200 by default) in a temporary folder: 60-residue lines, with the peptide put into some
// entries inside a line and into others across a line break.
//
// BM_FindPeptideVsGrep: our look-up of the peptide (the Find Sequence worker's scan) and, in
// turn in every iteration, grep -c -F over a copy of the same database with each sequence on
// one line, so that grep counts exactly the entries we find (a peptide across a line break is
// one grep cannot see in the original). Both run the same way, as whole processes started
// without a shell (ours is this program as a child). Counters: both times, their ratio (goal:
// at most 1), the load average, and both counts, which must agree.

#include "BenchSupport.h"
#include "databases/DatabaseSearch.h"
#include "databases/FastaIndexBuilder.h"
#include "databases/IndexedDatabase.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

namespace {

constexpr char kPeptide[] = "WHMDCYWHMK";
constexpr int kLineLength = 60;

struct Database {
    QTemporaryDir dir;
    QString path;     // 60 residues a line
    QString oneLine;  // the same entries, each sequence on one line
    qint64 size = 0;
    int entries = 0;
    int withPeptide = 0;
};

Database& TheDatabase() {
    static Database db = [] {
        Database d;
        qputenv("ZAR_CONFIG_DIR", (d.dir.path() + "/config").toLocal8Bit());
        const char* mb = std::getenv("ZAR_FASTA_BENCH_MB");
        const qint64 target = qint64(mb ? std::atoi(mb) : 200) * 1000 * 1000;
        d.path = d.dir.filePath("bench.fasta");
        d.oneLine = d.dir.filePath("one-line.fasta");
        QFile file(d.path);
        QFile flat(d.oneLine);
        if (!file.open(QIODevice::WriteOnly) || !flat.open(QIODevice::WriteOnly)) std::abort();
        std::mt19937 random(12345);
        const char residues[] = "ACDEFGHIKLMNPQRSTVWY";
        std::uniform_int_distribution<int> length(100, 900);
        QByteArray chunk, line;
        while (d.size < target) {
            ++d.entries;
            const QByteArray header = ">sp|B" + QByteArray::number(d.entries) + "|BENCH_" +
                                      QByteArray::number(d.entries) +
                                      " Generated protein OS=Bench\n";
            QByteArray sequence(length(random), 'A');
            for (char& c : sequence) c = residues[random() % 20];
            // Every 20,000th entry carries the peptide: alternately inside the second line and
            // across the end of the first.
            if (d.entries % 20000 == 0) {
                sequence.replace(d.entries % 40000 == 0 ? 70 : 55, 10, kPeptide);
                ++d.withPeptide;
            }
            chunk = header;
            for (qsizetype at = 0; at < sequence.size(); at += kLineLength)
                chunk += sequence.mid(at, kLineLength) + '\n';
            file.write(chunk);
            flat.write(header + sequence + '\n');
            d.size += chunk.size();
        }
        return d;
    }();
    return db;
}

void ReportMemory(benchmark::State& state) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["maxRSS_MB"] = double(usage.ru_maxrss) / 1024.0;
}

std::size_t FindPeptide(const QString& path) {
    zar::DatabaseLookupRequest request;
    request.databaseFile = path;
    request.peptide = kPeptide;
    zar::CDatabaseSearch search("/", "/");
    return search.FindSequence(request).rows.size();
}

long FindPeptideInChild(const Database& db) {
    return zarbench::SpawnNumber({zarbench::SelfPath(), zarbench::kChildFlag, "find",
                                  QFile::encodeName(db.path).toStdString()});
}

long GrepCount(const Database& db) {
    return zarbench::SpawnNumber(
        {"grep", "-c", "-F", kPeptide, QFile::encodeName(db.oneLine).toStdString()});
}

void BM_FindPeptideVsGrep(benchmark::State& state) {
    Database& db = TheDatabase();
    std::size_t rows = 0;
    long grepped = 0;
    const zarbench::Interleaved total = zarbench::RunInterleaved(
        state, "grep", [&] { rows = static_cast<std::size_t>(FindPeptideInChild(db)); },
        [&] { grepped = GrepCount(db); });
    const double n = static_cast<double>(state.iterations());
    state.counters["rows"] = double(rows);
    state.counters["grep_count"] = double(grepped);
    state.counters["planted"] = db.withPeptide;
    state.counters["ours_MB/s"] = db.size * n / total.ours / 1e6;
    if (rows != static_cast<std::size_t>(grepped) || grepped != db.withPeptide)
        state.SkipWithError("the counts differ");
    ReportMemory(state);
}
BENCHMARK(BM_FindPeptideVsGrep)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

void BM_BuildIndex(benchmark::State& state) {
    Database& db = TheDatabase();
    const zar::CFastaIndexBuilder builder(false, zar::SequenceMassTable::For(true));
    for (auto _ : state) {
        const auto result = builder.build(db.path, {});
        if (result.entries != db.entries) state.SkipWithError("wrong entry count");
    }
    state.SetBytesProcessed(state.iterations() * db.size);
    ReportMemory(state);
}
BENCHMARK(BM_BuildIndex)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadIndexedEntries(benchmark::State& state) {
    Database& db = TheDatabase();
    if (!QFile::exists(db.path + ".idx")) {
        const zar::CFastaIndexBuilder builder(false, zar::SequenceMassTable::For(true));
        builder.build(db.path, {});
    }
    zar::CIndexedDatabase index;
    if (index.open(db.path) != zar::CIndexedDatabase::OpenResult::Ok) {
        state.SkipWithError("index cannot be opened");
        return;
    }
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(1, index.proteinCount());
    zar::FastaEntry entry;
    for (auto _ : state) {
        if (!index.readEntry(pick(random), entry)) state.SkipWithError("entry not read");
        benchmark::DoNotOptimize(entry.residues.data());
    }
}
BENCHMARK(BM_ReadIndexedEntries);

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], zarbench::kChildFlag) == 0 &&
        std::strcmp(argv[2], "find") == 0) {
        std::printf("%zu\n", FindPeptide(QFile::decodeName(argv[3])));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
