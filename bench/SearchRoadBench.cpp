// The whole search road of a real run against Comet alone: what a user waits for between Start
// Search and the results on screen, against what the search engine itself needs.
//
// Ours: dravel_msn writes the .dta files of BSA2.mzML, sorvex27 scores them with Comet and
// writes the .out files, and the results set reads them back. Comet alone: comet-ms with the same
// parameters on the same spectra (the parameter and spectrum files sorvex27 made for it, kept
// once beforehand). Both are whole processes; they run in turn in every iteration, and the
// counters give both times, their ratio and the load average, since other work on the machine
// slows the shorter run more.
//
// Needs the real data (scripts/fetch-real-data.sh; ZAR_REAL_DATA names its folder) and
// comet-ms; skipped without them.

#include "BenchSupport.h"

#include "core/MessageBox.h"
#include "document/SorvexResults.h"
#include "search/ParamFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>

namespace {

QString RealDataFile(const char* name) {
    QString folder = qEnvironmentVariable("ZAR_REAL_DATA");
    if (folder.isEmpty()) folder = QDir::homePath() + QStringLiteral("/.cache/zar-real-data");
    const QString path = QDir(folder).filePath(QString::fromLatin1(name));
    return QFile::exists(path) ? path : QString();
}

QString ProgramPath(const char* name) {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(name));
}

// Runs a program to its end in a folder; false when it failed.
bool Run(const QString& program, const QStringList& arguments, const QString& folder,
         const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted(-1) || !process.waitForFinished(-1)) return false;
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

double LoadAverage() {
    std::ifstream file("/proc/loadavg");
    double one = 0.0;
    file >> one;
    return one;
}

// The settings of a search of an Orbitrap tryptic digest, as the README advises.
void WriteParams(const QString& folder, const QString& database) {
    zar::CParamFile file;
    file.LoadDefaults(zar::ParamFileType::Sorvex);
    const std::pair<const char*, QString> entries[] = {
        {"first_database_name", database},
        {"enzyme_number", QStringLiteral("1")},
        {"mass_type_parent", QStringLiteral("1")},
        {"mass_type_fragment", QStringLiteral("1")},
        {"peptide_mass_tolerance", QStringLiteral("0.05")},
        {"diff_search_options", QStringLiteral("15.9949 M 0.0 X 0.0 X")},
        {"add_C_Cysteine", QStringLiteral("57.021464")},
    };
    for (const auto& [key, value] : entries) file.SetEntryString(QString::fromLatin1(key), value);
    file.SaveAs(QDir(folder).filePath(QStringLiteral("sorvex.params")));
}

void BM_SearchRoadVsComet(benchmark::State& state) {
    const QString run = RealDataFile("BSA2.mzML");
    const QString database = RealDataFile("proteins.fasta");
    if (run.isEmpty() || database.isEmpty()) {
        state.SkipWithError("real data not fetched (scripts/fetch-real-data.sh)");
        return;
    }
    const QString comet = QStandardPaths::findExecutable(QStringLiteral("comet-ms"));
    if (comet.isEmpty()) {
        state.SkipWithError("comet-ms is not installed");
        return;
    }
    QTemporaryDir work;
    const QString results = work.filePath(QStringLiteral("results"));
    const QString kept = work.filePath(QStringLiteral("comet"));
    QDir().mkpath(results);
    qputenv("ZAR_CONFIG_DIR", work.filePath(QStringLiteral("config")).toLocal8Bit());
    WriteParams(results, database);

    // Once beforehand: Comet's own input, as sorvex27 makes it, kept for Comet alone.
    QProcessEnvironment keep = QProcessEnvironment::systemEnvironment();
    keep.insert(QStringLiteral("ZAR_COMET_WORK_DIR"), kept);
    if (!Run(ProgramPath("dravel_msn"), {QStringLiteral("-D") + results, run}, results) ||
        !Run(ProgramPath("sorvex27"), {}, results, keep)) {
        state.SkipWithError("the search programs failed");
        return;
    }
    const int spectra = static_cast<int>(QDir(results).entryList({QStringLiteral("*.dta")}).size());

    int hits = 0;
    bool failed = false;
    const auto ours = [&] {
        for (const QString& name : QDir(results).entryList({QStringLiteral("*.dta"),
                                                             QStringLiteral("*.out")}))
            QFile::remove(QDir(results).filePath(name));
        failed = failed ||
                 !Run(ProgramPath("dravel_msn"), {QStringLiteral("-D") + results, run}, results) ||
                 !Run(ProgramPath("sorvex27"), {}, results);
        zar::CSorvexResults set;
        set.SetRawFilePath(run);
        set.Initialize();
        set.ReadResults(results);
        hits = set.GetHitCount();
    };
    const auto alone = [&] {
        failed = failed || !Run(comet,
                                {QStringLiteral("-P") + QDir(kept).filePath("comet.params"),
                                 QStringLiteral("-D") + database, QStringLiteral("-Nalone"),
                                 QDir(kept).filePath("spectra.mgf")},
                                kept);
    };
    const double loadBefore = LoadAverage();
    zarbench::RunInterleaved(state, "comet", ours, alone);
    state.counters["spectra"] = spectra;
    state.counters["hits"] = hits;
    state.counters["load1"] = (loadBefore + LoadAverage()) / 2.0;
    if (failed) state.SkipWithError("a run failed");
    if (hits < spectra) state.SkipWithError("the results were not read whole");
}
BENCHMARK(BM_SearchRoadVsComet)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The results set tells its troubles in message boxes: here they are printed.
    zar::SetMessageBoxHandler([](const zar::MessageBoxRequest& r) {
        std::fprintf(stderr, "%s\n", qPrintable(r.text.simplified()));
        return zar::DefaultAnswer(r.style);
    });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
