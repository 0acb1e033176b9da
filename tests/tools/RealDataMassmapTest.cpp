// Peptide mapping of real runs as the launcher runs it: the MS spectra of a serum albumin digest
// through dravel_ms and massmap against the 9,439-protein database, with the settings the README
// gives for Orbitrap runs, read back by the peptide-mapping result set.

#include "ToolTestSupport.h"

#include "TestSupport.h"

#include "document/MassmapResults.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>

namespace {

struct MappedRun {
    const char* run;
};

void PrintTo(const MappedRun& c, std::ostream* os) {
    *os << c.run;
}

class RealDataMassmap : public ::testing::TestWithParam<MappedRun> {};

TEST_P(RealDataMassmap, SerumAlbuminLeadsTheProteinTable) {
    const QString run = zartest::RealDataPath(GetParam().run);
    const QString database = zartest::RealDataPath("proteins.fasta");
    if (run.isEmpty() || database.isEmpty()) GTEST_SKIP() << "real data not fetched";
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    QTemporaryDir work;
    const QString results = work.filePath("results");
    ASSERT_TRUE(QDir().mkpath(results));

    zartest::NotifyListener listener;
    const zartest::ToolRun extraction =
        zartest::RunTool("dravel_ms", {"-Z", "-X", "-D" + results, run}, results, &listener);
    ASSERT_EQ(extraction.exitCode, 0) << extraction.outText().toStdString();
    const QStringList names = zartest::PipeFileNames(extraction);
    ASSERT_GT(names.size(), 100);
    const QString list = zartest::WriteSpectrumList(work.filePath("MassmapList"), names);

    // The README's peptide-mapping settings for Orbitrap runs: a tryptic digest, monoisotopic
    // masses, cysteines carbamidomethylated, a tolerance that the MS1 accuracy allows.
    zartest::WriteSearchParams(results, true, database,
                               {{"enzyme_number", "1"},
                                {"mass_type_parent", "1"},
                                {"add_C_Cysteine", "57.021464"},
                                {"peptide_mass_tolerance", "0.01"}});
    const zartest::ToolRun search = zartest::RunTool("massmap", {"-R" + list}, results);
    ASSERT_EQ(search.exitCode, 0) << search.errText().toStdString();
    EXPECT_EQ(QDir(results).entryList({"*.out"}).size(), names.size());

    zar::CMassmapResults set;
    set.SetRawFilePath(run);
    ASSERT_TRUE(set.Initialize());
    ASSERT_TRUE(set.ReadResults(results)) << boxes.texts().join("|").toStdString();
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join("|").toStdString();
    const zar::ProteinArray& proteins = set.GetProteins();
    ASSERT_FALSE(proteins.empty());
    for (size_t i = 0; i < std::min<size_t>(proteins.size(), 3); ++i)
        std::printf("[ protein %zu ] %s %.1f\n", i + 1, qPrintable(proteins[i]->reference),
                    proteins[i]->score);
    EXPECT_TRUE(proteins.front()->reference.contains("ALBU_BOVIN"))
        << proteins.front()->reference.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Runs, RealDataMassmap,
                         ::testing::Values(MappedRun{"BSA3.mzML"}, MappedRun{"BSA2.mzML"}),
                         [](const ::testing::TestParamInfo<MappedRun>& info) {
                             return QString(info.param.run).section('.', 0, 0).toStdString();
                         });

}  // namespace
