// Scanning a large FASTA database: looking up a peptide (beside grep -c -F on the same file),
// building its index and reading entries through it. The database is generated at start-up
// ($ZAR_FASTA_BENCH_MB megabytes, 100 by default) in a temporary folder.

#include "databases/DatabaseSearch.h"
#include "databases/FastaIndexBuilder.h"
#include "databases/IndexedDatabase.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

constexpr char kPeptide[] = "WHMDCYWHMK";

struct Database {
    QTemporaryDir dir;
    QString path;
    qint64 size = 0;
    int entries = 0;
};

Database& TheDatabase() {
    static Database db = [] {
        Database d;
        qputenv("ZAR_CONFIG_DIR", (d.dir.path() + "/config").toLocal8Bit());
        const char* mb = std::getenv("ZAR_FASTA_BENCH_MB");
        const qint64 target = qint64(mb ? std::atoi(mb) : 100) * 1000 * 1000;
        d.path = d.dir.filePath("bench.fasta");
        QFile file(d.path);
        if (!file.open(QIODevice::WriteOnly)) std::abort();
        std::mt19937 random(12345);
        const char residues[] = "ACDEFGHIKLMNPQRSTVWY";
        std::uniform_int_distribution<int> residue(0, 19), length(100, 900);
        QByteArray chunk;
        while (d.size < target) {
            ++d.entries;
            chunk = ">sp|B" + QByteArray::number(d.entries) + "|BENCH_" +
                    QByteArray::number(d.entries) + " Generated protein OS=Bench\n";
            QByteArray sequence(length(random), 'A');
            for (char& c : sequence) c = residues[residue(random)];
            // A few entries carry the peptide, some of them across a line end.
            if (d.entries % 50000 == 0) sequence.replace(55, 10, kPeptide);
            for (qsizetype at = 0; at < sequence.size(); at += 60)
                chunk += sequence.mid(at, 60) + '\n';
            file.write(chunk);
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

void BM_FindPeptide(benchmark::State& state) {
    Database& db = TheDatabase();
    zar::DatabaseLookupRequest request;
    request.databaseFile = db.path;
    request.peptide = kPeptide;
    std::size_t rows = 0;
    for (auto _ : state) {
        zar::CDatabaseSearch search("/", "/");
        rows = search.FindSequence(request).rows.size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = double(rows);
    state.SetBytesProcessed(state.iterations() * db.size);
    ReportMemory(state);
}
BENCHMARK(BM_FindPeptide)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same file searched by grep -c -F, for the side-by-side figure.
void BM_GrepCountFixed(benchmark::State& state) {
    Database& db = TheDatabase();
    const QByteArray command =
        "grep -c -F " + QByteArray(kPeptide) + " '" + db.path.toLocal8Bit() + "'";
    for (auto _ : state) {
        FILE* pipe = popen(command.constData(), "r");
        if (!pipe) {
            state.SkipWithError("grep cannot be started");
            return;
        }
        char buffer[64];
        while (std::fgets(buffer, sizeof buffer, pipe)) {
        }
        pclose(pipe);
    }
    state.SetBytesProcessed(state.iterations() * db.size);
}
BENCHMARK(BM_GrepCountFixed)->Unit(benchmark::kMillisecond)->UseRealTime();

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

BENCHMARK_MAIN();
