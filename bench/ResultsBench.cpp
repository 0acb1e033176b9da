// Loading a results folder: every .out file read into hit records, proteins grouped and
// scored, as File > Open TurboSORVEX Results does on its worker.
//
// The folders are shaped like a real search of an Orbitrap run against a bacterial proteome:
// each .out file has 33 lines with 12 hits whose references come from the 9,439 entries of
// proteins.fasta (the real database where it is present, its names made up otherwise), and the
// database lies beside the files, so that the protein masses are computed over it as a real load
// does. 10,000 and 40,000 such files are written once and kept in $ZAR_BENCH_DATA (else
// ~/.cache/zar-bench).
//
// BM_LoadResultsFolderVsWc runs the load and its anchor the same way, both as whole processes
// in turn (this program as a child, and wc -l --files0-from over the folder's .out files): the
// counters give both times, their ratio, the load average while they ran and the growth of the
// time per file from 10,000 to 40,000 files (1 when the load grows linearly with the files).

#include "BenchSupport.h"
#include "document/SorvexResults.h"
#include "tools/common/OutFileText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>

namespace {

constexpr int kHitsPerFile = 12;
constexpr int kDescriptionsPerFile = 5;  // with 12 hits: 33 lines, as the real files have
constexpr int kDatabaseEntries = 9439;

QString BenchDataFolder() {
    QString folder = qEnvironmentVariable("ZAR_BENCH_DATA");
    if (folder.isEmpty()) {
        QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
        if (cache.isEmpty()) cache = QDir::homePath() + QStringLiteral("/.cache");
        folder = cache + QStringLiteral("/zar-bench");
    }
    return folder;
}

QString RealDatabase() {
    QString folder = qEnvironmentVariable("ZAR_REAL_DATA");
    if (folder.isEmpty()) folder = QDir::homePath() + QStringLiteral("/.cache/zar-real-data");
    const QString path = folder + QStringLiteral("/proteins.fasta");
    return QFile::exists(path) ? path : QString();
}

// References and descriptions of the database's entries, and its text: the real one where it
// is present, else one of as many entries made up.
struct Database {
    QStringList references;
    QHash<QString, QString> descriptions;
    QByteArray text;
};

Database LoadDatabase() {
    Database db;
    QFile real(RealDatabase());
    if (!real.fileName().isEmpty() && real.open(QIODevice::ReadOnly)) db.text = real.readAll();
    if (db.text.isEmpty()) {
        std::mt19937 random(3);
        const char residues[] = "ACDEFGHIKLMNPQRSTVWY";
        for (int i = 0; i < kDatabaseEntries; ++i) {
            db.text += QStringLiteral(">sp|Q%1|PROT%2_BACT Protein %2 of a bacterium\n")
                           .arg(i + 10000, 5, 10, QLatin1Char('0'))
                           .arg(i)
                           .toLatin1();
            for (int r = 0; r < 320; ++r) db.text += residues[random() % 20];
            db.text += '\n';
        }
    }
    for (const QByteArray& line : db.text.split('\n')) {
        if (!line.startsWith('>')) continue;
        const QString header = QString::fromLatin1(line.mid(1)).trimmed();
        const QString reference = zar::FastaReference(header);
        db.references << reference;
        db.descriptions.insert(reference, header);
    }
    return db;
}

QString OneFile(const Database& db, int scan, std::mt19937& random) {
    static const char kResidues[] = "ACDEFGHILMNPQSTVWY";
    zar::OutFileHeader header;
    const int charge = 2 + scan % 2;
    header.fileName = QStringLiteral("BSA2.%1.%1.%2.out").arg(scan, 5, 10, QLatin1Char('0')).arg(charge);
    header.program = QStringLiteral("TurboSORVEX v.27 (rev. 11), scores by Comet 2019.01 rev. 5");
    header.line4 = QStringLiteral("Korvath Instruments");
    header.line5 = QStringLiteral("Licensed to the laboratory");
    header.date = QStringLiteral("12/10/2026, 01:30 PM");
    header.seconds = 1;
    header.host = QStringLiteral("node01");
    header.precursorMH = 800.0 + scan % 1700;
    header.precursorTolerance = 0.05;
    header.charge = charge;
    header.fragmentTolerance = 1.0005;
    header.totalIntensity = 1.0e6 + scan;
    header.lowestSp = 10.0;
    header.matchedPeptides = 25000 + scan % 5000;
    header.aminoAcids = 2934123;
    header.proteins = static_cast<int>(db.references.size());
    header.database = QStringLiteral("proteins.fasta");
    header.modifications = QStringLiteral("(M* +15.9949) C=160.0307");
    std::vector<zar::OutFileHit> hits;
    double xcorr = 4.5 - (scan % 30) * 0.1;
    for (int h = 0; h < kHitsPerFile; ++h) {
        zar::OutFileHit hit;
        hit.reference = db.references[static_cast<int>(random() % db.references.size())];
        hit.furtherReferences = h % 4 == 3 ? 1 + h % 3 : 0;
        QString peptide = QStringLiteral("K.");
        const int length = 7 + static_cast<int>(random() % 14);
        for (int r = 0; r < length; ++r) peptide += QLatin1Char(kResidues[random() % 18]);
        peptide += random() % 2 ? QStringLiteral("K.A") : QStringLiteral("R.G");
        hit.peptide = peptide;
        hit.mh = header.precursorMH + (static_cast<int>(random() % 100) - 50) * 0.001;
        hit.xcorr = xcorr;
        hit.deltaCn = h == 0 ? 0.0 : (hits.front().xcorr - xcorr) / hits.front().xcorr;
        hit.sp = 50.0 + random() % 900;
        hit.rank = h + 1;
        hit.spRank = 1 + (h * 7) % kHitsPerFile;
        hit.ionsTotal = 2 * (length + 1);
        hit.ionsMatched = static_cast<int>(random() % hit.ionsTotal);
        hits.push_back(hit);
        xcorr -= 0.05 + (random() % 20) * 0.01;
    }
    return zar::SearchOutText(header, hits,
                              zar::DescriptionLines(hits, db.descriptions, kDescriptionsPerFile));
}

// The folder of `files` results, written once.
const QString& ResultsFolder(int files) {
    static std::map<int, QString> folders;
    auto found = folders.find(files);
    if (found != folders.end()) return found->second;
    const QString folder = BenchDataFolder() + QStringLiteral("/real-shaped-33-%1").arg(files);
    const QString complete = folder + QStringLiteral("/complete");
    if (!QFile::exists(complete)) {
        std::fprintf(stderr, "Writing %d result files into %s ...\n", files, qPrintable(folder));
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        static const Database db = LoadDatabase();
        QFile fasta(folder + QStringLiteral("/proteins.fasta"));
        bool ok = fasta.open(QIODevice::WriteOnly) && fasta.write(db.text) == db.text.size();
        fasta.close();
        std::mt19937 random(11);
        QByteArray list;
        for (int i = 0; ok && i < files; ++i) {
            const QString text = OneFile(db, i + 1, random);
            const QString name = text.section(QLatin1Char('\n'), 1, 1).trimmed();
            QFile out(folder + QLatin1Char('/') + name);
            ok = out.open(QIODevice::WriteOnly) && out.write(text.toLatin1()) > 0;
            list += QFile::encodeName(out.fileName()) + '\0';
        }
        QFile names(folder + QStringLiteral("/.names"));
        ok = ok && names.open(QIODevice::WriteOnly) && names.write(list) == list.size();
        names.close();
        if (ok) QFile(complete).open(QIODevice::WriteOnly);
        else std::fprintf(stderr, "the folder could not be written\n");
    }
    return folders.emplace(files, folder).first->second;
}

int LoadFolder(const QString& folder) {
    zar::CSorvexResults results;
    results.Initialize();
    results.ReadResults(folder);
    return results.GetHitCount();
}

double perFileAt10k = 0.0;

void BM_LoadResultsFolderVsWc(benchmark::State& state) {
    const int files = static_cast<int>(state.range(0));
    const QString& folder = ResultsFolder(files);
    const std::string self = zarbench::SelfPath();
    const std::string path = QFile::encodeName(folder).toStdString();
    int hits = 0;
    long lines = 0;
    const zarbench::Interleaved total = zarbench::RunInterleaved(
        state, "wc",
        [&] { hits = static_cast<int>(zarbench::SpawnNumber({self, zarbench::kChildFlag, "load", path})); },
        [&] {
            lines = zarbench::SpawnNumber({"wc", "-l", "--files0-from=" + path + "/.names"}, true);
        });
    const double n = static_cast<double>(state.iterations());
    state.counters["files"] = files;
    state.counters["hits"] = hits;
    state.counters["wc_lines"] = static_cast<double>(lines);
    state.counters["lines_per_file"] = lines > 0 ? static_cast<double>(lines) / files : 0.0;
    const double perFile = total.ours / n / files;
    if (files == 10000) perFileAt10k = perFile;
    if (files == 40000 && perFileAt10k > 0.0)
        state.counters["per_file_vs_10k"] = perFile / perFileAt10k;
    if (hits < files || lines <= 0) state.SkipWithError("the folder was not read whole");
}
BENCHMARK(BM_LoadResultsFolderVsWc)
    ->Arg(10000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], zarbench::kChildFlag) == 0 &&
        std::strcmp(argv[2], "load") == 0) {
        std::printf("%d\n", LoadFolder(QFile::decodeName(argv[3])));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
