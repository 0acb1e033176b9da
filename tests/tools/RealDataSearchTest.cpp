// A real run searched as the launcher searches it: BSA2.mzML through dravel_msn and sorvex27
// (Comet) against the 9,439-protein database, with no stand-in anywhere.

#include "ToolTestSupport.h"

#include "TestSupport.h"

#include "document/ZarMessages.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

namespace {

TEST(RealDataSearch, Bsa2TopHitsAreSerumAlbuminPeptidesAsCometScoresThem) {
    const QString run = zartest::RealDataPath("BSA2.mzML");
    const QString database = zartest::RealDataPath("proteins.fasta");
    if (run.isEmpty() || database.isEmpty()) GTEST_SKIP() << "real data not fetched";
    if (QStandardPaths::findExecutable("comet-ms").isEmpty())
        GTEST_SKIP() << "comet-ms is not installed (scripts/install-deps.sh)";
    zartest::ScopedConfigDir config;
    QTemporaryDir work;
    const QString results = work.filePath("results");
    ASSERT_TRUE(QDir().mkpath(results));

    QElapsedTimer timer;
    timer.start();
    zartest::NotifyListener listener;
    const zartest::ToolRun extraction =
        zartest::RunTool("dravel_msn", {"-Z", "-X", "-D" + results, run}, results, &listener);
    ASSERT_EQ(extraction.exitCode, 0) << extraction.outText().toStdString();
    const QStringList names = zartest::PipeFileNames(extraction);
    ASSERT_GT(names.size(), 1000);
    const QString list = zartest::WriteSpectrumList(work.filePath("SorvexList"), names);
    const qint64 extractionMs = timer.restart();

    // Orbitrap precursors are monoisotopic; the digest was tryptic with carbamidomethylated
    // cysteines; methionines may be oxidised.
    zartest::WriteSearchParams(results, false, database,
                               {{"enzyme_number", "1"},
                                {"mass_type_parent", "1"},
                                {"mass_type_fragment", "1"},
                                {"diff_search_options", "15.9949 M 0.0 X 0.0 X"},
                                {"add_C_Cysteine", "57.021464"},
                                {"num_output_lines", "5"}});
    QProcessEnvironment keep;
    keep.insert("ZAR_COMET_WORK_DIR", work.filePath("comet"));
    const zartest::ToolRun search =
        zartest::RunTool("sorvex27", {"-R" + list}, results, nullptr, keep);
    ASSERT_EQ(search.exitCode, 0) << search.errText().toStdString();
    const qint64 searchMs = timer.elapsed();
    std::printf("BSA2: %lld spectra extracted in %.1f s, searched in %.1f s\n",
                static_cast<long long>(names.size()), extractionMs / 1000.0, searchMs / 1000.0);

    int count = 0;
    QStringList messages;
    const auto top = zartest::ReadTopHits(results, run, &count, &messages);
    EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
    EXPECT_EQ(count, names.size());
    std::set<QString> albumin;
    for (const auto& [file, hit] : top) {
        if (!hit.reference.contains("ALBU_BOVIN")) continue;
        QString letters;
        for (QChar c : hit.peptide.mid(2, hit.peptide.size() - 4))
            if (c.isLetter()) letters += c;
        albumin.insert(letters);
    }
    EXPECT_GE(albumin.size(), 20u);
    const int compared =
        zartest::ExpectOutFilesAgreeWithComet(results, names, work.filePath("comet/comet.txt"));
    EXPECT_GE(compared, count * 4);
}

// The .dta files of the run as the launcher has them extracted: their names, as the pipe told
// them.
QStringList Extract(const char* program, const QString& run, const QString& results) {
    zartest::NotifyListener listener;
    const zartest::ToolRun extraction =
        zartest::RunTool(program, {"-Z", "-X", "-D" + results, run}, results, &listener);
    EXPECT_EQ(extraction.exitCode, 0) << extraction.outText().toStdString();
    return zartest::PipeFileNames(extraction);
}

// What the progress dialog makes of the search program's messages, as they arrive: the files
// started, and the time left as the time so far per file started times the files still to go.
struct ShownProgress {
    int rises = 0;            // times the file count went up
    bool startedFirst = true;  // every file announced before it was reported done
    double halfTimeEstimate = -1.0;  // seconds left, as shown at half of the search's time
    double halfTimeRemainder = 0.0;  // seconds that were really left then
};

ShownProgress WatchProgress(const std::vector<zar::NotifyRecord>& records,
                            const std::vector<long long>& arrivals, int files) {
    ShownProgress shown;
    long long first = -1, last = -1;
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].name != zar::kRegSorvexProgress) continue;
        if (first < 0 && records[i].lParam == 2) first = arrivals[i];
        if (records[i].lParam == 0) last = arrivals[i];
    }
    if (first < 0 || last < 0) return shown;
    const long long half = first + (last - first) / 2;
    int started = 0, done = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        const zar::NotifyRecord& r = records[i];
        if (r.name != zar::kRegSorvexProgress) continue;
        const int file = static_cast<int>(r.wParam & 0xFFFF);
        if (r.lParam == 2) {
            if (file > started) ++shown.rises;
            started = std::max(started, file);
        } else if (r.lParam == 3) {
            ++done;
            if (file > started) shown.startedFirst = false;
            if (arrivals[i] <= half && started > 0) {
                const double perFile = (arrivals[i] - first) / 1000.0 / started;
                shown.halfTimeEstimate = perFile * (files - started);
                shown.halfTimeRemainder = (last - arrivals[i]) / 1000.0;
            }
        }
    }
    return shown;
}

// The progress of a real search moves as Comet works: the file count rises often, each file is
// announced before it is done, and the files' seconds add up to the search's.
TEST(RealDataSearch, Bsa2ProgressMovesAsTheSearchGoes) {
    const QString run = zartest::RealDataPath("BSA2.mzML");
    const QString database = zartest::RealDataPath("proteins.fasta");
    if (run.isEmpty() || database.isEmpty()) GTEST_SKIP() << "real data not fetched";
    if (QStandardPaths::findExecutable("comet-ms").isEmpty())
        GTEST_SKIP() << "comet-ms is not installed (scripts/install-deps.sh)";
    zartest::ScopedConfigDir config;
    QTemporaryDir work;
    const QString results = work.filePath("results");
    ASSERT_TRUE(QDir().mkpath(results));
    const QStringList names = Extract("dravel_msn", run, results);
    ASSERT_GT(names.size(), 1000);
    const QString list = zartest::WriteSpectrumList(work.filePath("SorvexList"), names);
    zartest::WriteSearchParams(results, false, database,
                               {{"enzyme_number", "1"},
                                {"mass_type_parent", "1"},
                                {"mass_type_fragment", "1"},
                                {"add_C_Cysteine", "57.021464"}});
    zartest::NotifyListener listener;
    const zartest::ToolRun search = zartest::RunTool("sorvex27", {"-R" + list}, results, &listener);
    ASSERT_EQ(search.exitCode, 0) << search.errText().toStdString();
    listener.waitUntilQuiet();
    const ShownProgress shown =
        WatchProgress(listener.records(), listener.arrivals(), static_cast<int>(names.size()));
    EXPECT_GE(shown.rises, 10);
    EXPECT_TRUE(shown.startedFirst);
    // Whether a file is done by half-time, and how near the estimate then comes, follow the
    // machine's load as much as the program (the engine's start takes a busy machine longer):
    // they are shown, not judged.
    std::printf("[ progress ] at half-time %.1f s shown, %.1f s left\n", shown.halfTimeEstimate,
                shown.halfTimeRemainder);
    // The seconds of the files add up to the search's time, not one each.
    int seconds = 0, reports = 0;
    for (const zar::NotifyRecord& r : listener.records())
        if (r.name == zar::kRegSorvexProgress && r.lParam == 3) {
            seconds += static_cast<int>((r.wParam >> 16) & 0xFFFF);
            ++reports;
        }
    EXPECT_EQ(reports, names.size());
    EXPECT_LT(seconds, reports / 2);
}

}  // namespace
