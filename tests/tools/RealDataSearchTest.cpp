// A real run searched as the launcher searches it: BSA2.mzML through dravel_msn and sorvex27
// (Comet) against the 9,439-protein database, with no stand-in anywhere.

#include "ToolTestSupport.h"

#include "TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

}  // namespace
