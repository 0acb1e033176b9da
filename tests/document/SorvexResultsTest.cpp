#include "document/SorvexResults.h"
#include "document/ZarMessages.h"

#include "ResultsTestSupport.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zar;

namespace {

QString Folder(const char* name) {
    return zartest::DataPath(QStringLiteral("document/") + name);
}

// A result set over a copy of one fixture file in a folder of its own.
struct SingleFile {
    QTemporaryDir dir;
    explicit SingleFile(const char* fixture, const char* as = "run.0500.0500.2.out") {
        QFile::copy(Folder("single/") + fixture, dir.path() + "/" + as);
    }
};

std::unique_ptr<CSorvexResults> Loaded(const QString& folder) {
    auto set = std::make_unique<CSorvexResults>();
    set->SetRawFilePath("/data/run.raw");
    EXPECT_TRUE(set->Initialize());
    EXPECT_TRUE(set->ReadResults(folder));
    return set;
}

const CProteinRecord* Protein(const CSearchResults& set, const QString& reference) {
    for (const auto& p : set.GetProteins())
        if (p->reference == reference) return p.get();
    return nullptr;
}

class SorvexResultsTest : public ::testing::Test {
  protected:
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
};

}  // namespace

TEST_F(SorvexResultsTest, StartsInTheConfiguredFolder) {
    CSorvexResults set;
    EXPECT_EQ(set.GetDirectory(), "/Veltrix/sorvex/");
}

TEST_F(SorvexResultsTest, ReadsAFolderIntoHitRecords) {
    auto set = Loaded(Folder("sorvex"));
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join("|").toStdString();
    ASSERT_EQ(set->GetHitCount(), 4);
    const SearchParameters& p = set->Parameters();
    EXPECT_EQ(p.revision, 12);
    EXPECT_EQ(p.databaseName, "test.fasta");
    EXPECT_EQ(p.databaseFile, "test.fasta");
    EXPECT_EQ(p.ionSeriesText, "010000010");
    EXPECT_EQ(p.monoisotopicPrecursor, 1);
    EXPECT_DOUBLE_EQ(p.fragmentTolerance, 0.5);
    EXPECT_DOUBLE_EQ(p.precursorTolerance, 1.5);
    EXPECT_DOUBLE_EQ(p.residueMasses['C'], 160.1388);
    EXPECT_DOUBLE_EQ(p.residueMasses['A'], 71.0371136);
    EXPECT_EQ(p.differentialSymbols[0], QChar('*'));
    EXPECT_EQ(p.differentialSymbols[1], QChar('#'));

    // Default sort key 0: by file information.
    const SearchHitRecord* first = set->GetHit(0);
    EXPECT_EQ(first->fileInformation, " run.0100.0100.1.out");
    EXPECT_TRUE(first->path.endsWith("document/sorvex/run.0100.0100.1"));
    EXPECT_DOUBLE_EQ(first->hitMass, 1045.564);
    EXPECT_DOUBLE_EQ(first->precursorMass, 1045.56);
    EXPECT_DOUBLE_EQ(first->correlation, 2.5);
    EXPECT_DOUBLE_EQ(first->preliminaryScore, 500.0);
    EXPECT_DOUBLE_EQ(first->combinedScore, 2.5 * (500.0 + 10000.0));
    // Rank 2 is similar (I/L, K/Q); rank 3 is the first different peptide.
    EXPECT_DOUBLE_EQ(first->deltaCorrelation, 0.25);
    EXPECT_EQ(first->proteinNumber, 1);
    EXPECT_EQ(first->reference, "sp|P00001|PROA_TEST");
    EXPECT_EQ(first->peptide, "K.PEPTIDEK.R");
    EXPECT_EQ(first->ionsMatched, 10);
    EXPECT_EQ(first->ionsTotal, 14);
    EXPECT_EQ(first->ionSeriesFlags,
              SearchHitRecord::kIonSeriesSecond | SearchHitRecord::kIonSeriesThird);
    EXPECT_EQ(first->shown, 1);
    EXPECT_EQ(first->databaseFile, "test.fasta");
    // Revision 12 with protein numbers: masses from the index.
    EXPECT_DOUBLE_EQ(first->proteinMass, 1111.5);

    const SearchHitRecord* allSimilar = set->GetHit(1);
    EXPECT_EQ(allSimilar->reference, "sp|P00002|PROB_TEST");
    EXPECT_EQ(allSimilar->furtherReferences, 2);
    EXPECT_DOUBLE_EQ(allSimilar->deltaCorrelation, 1.0);
    EXPECT_DOUBLE_EQ(allSimilar->proteinMass, 2222.25);

    const SearchHitRecord* noHits = set->GetHit(3);
    EXPECT_EQ(noHits->fileInformation, " run.0104.0104.2.out");
    EXPECT_DOUBLE_EQ(noHits->hitMass, 1234.5);
    EXPECT_EQ(noHits->reference, "");
    EXPECT_EQ(noHits->peptide, "");
    EXPECT_EQ(noHits->recordIndex, 3);
}

TEST_F(SorvexResultsTest, BuildsConsensusProteins) {
    auto set = Loaded(Folder("sorvex"));
    ASSERT_EQ(set->GetProteins().size(), 3u);
    const CProteinRecord* b = Protein(*set, "sp|P00002|PROB_TEST");
    ASSERT_NE(b, nullptr);
    // Ranks 2 and 3 of file 100, ranks 1 and 2 of file 101: 8 + 6 + 10 + 8.
    EXPECT_EQ(b->rowCount(), 4);
    EXPECT_EQ(b->rowsByRank[0].size(), 1u);
    EXPECT_EQ(b->rowsByRank[1].size(), 2u);
    EXPECT_EQ(b->peptides, (QStringList{"PEPTLDEQ", "AAAAWWWWR", "LLLKKKIIR", "IIIQQQLLR"}));
    EXPECT_EQ(b->proteinNumbers, (std::vector<int>{2, 2, 2, 2}));
    // The finishing step adds 0.05 * XCorr + delta Cn (+0.2) of the record whose reference it is.
    EXPECT_NEAR(b->score, 32.0 + 0.05 * 3.1 + 1.0 + 0.2, 1e-9);
    for (const auto& rows : b->rowsByRank)
        for (const auto& row : rows) {
            EXPECT_DOUBLE_EQ(row->hitMass, 0.0);  // the search-engine set keeps no row mass
            EXPECT_EQ(row->kept, 1);
        }
    const CConsensusRow& top = *b->rowsByRank[0][0];
    EXPECT_EQ(top.charge, 2);
    EXPECT_EQ(top.firstScan, 101);
    EXPECT_EQ(top.lastScan, 101);
    EXPECT_EQ(top.furtherReferences, 2);
    EXPECT_EQ(set->FindHit(top.hitNumber)->fileInformation, " run.0101.0101.2.out");
    // Sorted by score, highest first.
    for (size_t i = 1; i < set->GetProteins().size(); ++i)
        EXPECT_GE(set->GetProteins()[i - 1]->score, set->GetProteins()[i]->score);
}

TEST_F(SorvexResultsTest, HitNumbersFindTheirRecordsAfterAnySort) {
    auto set = Loaded(Folder("sorvex"));
    for (int key = 0; key < kHitSortKeyCount; ++key) {
        set->SortHits(key);
        for (const auto& protein : set->GetProteins())
            for (int r = 0; r < kConsensusRanks; ++r)
                for (size_t i = 0; i < protein->rowsByRank[r].size(); ++i) {
                    const HitNumber number = protein->hitNumbersByRank[r][i];
                    const SearchHitRecord* record = set->FindHit(number);
                    ASSERT_NE(record, nullptr);
                    EXPECT_EQ(record->recordIndex, number.recordIndex());
                    EXPECT_EQ(set->GetHit(set->FindHitPosition(number)), record);
                    // The row's scans are those of its record's file.
                    EXPECT_TRUE(record->path.contains(
                        QString::number(protein->rowsByRank[r][i]->firstScan)));
                }
    }
    EXPECT_EQ(set->FindHit(HitNumber(0)), nullptr);
    EXPECT_EQ(set->FindHit(HitNumber(99)), nullptr);
}

TEST_F(SorvexResultsTest, ReaderReturnCodes) {
    struct Case {
        const char* fixture;
        int code;
        const char* message;
    } cases[] = {
        {"wrongprogram.out", kOutWrongProgram, "The output files weren't generated by TurboSORVEX"},
        {"otherraw.out", kOutRawFileMismatch, "The analysis file doesn't match the results file"},
        {"empty.out", kOutRawFileMismatch, "The analysis file doesn't match the results file"},
    };
    for (const Case& c : cases) {
        SingleFile file(c.fixture);
        CSorvexResults set;
        set.SetRawFilePath("C:\\Data\\run.raw");
        ASSERT_TRUE(set.Initialize());
        set.SetDirectory(file.dir.path());
        int time = 0;
        EXPECT_EQ(set.ReadOutFile("run.0500.0500.2.out", 0, time), c.code) << c.fixture;
        boxes.clear();
        EXPECT_TRUE(set.ReadResults());
        EXPECT_EQ(set.GetHitCount(), 0);
        // The message names the file that stopped the load.
        EXPECT_EQ(boxes.texts(), QStringList{QString(c.message) + "\nrun.0500.0500.2.out"});
    }
    CSorvexResults set;
    ASSERT_TRUE(set.Initialize());
    int time = 0;
    EXPECT_EQ(set.ReadOutFile("", 0, time), kOutEmptyName);
    set.SetDirectory("/nonexistent");
    EXPECT_EQ(set.ReadOutFile("missing.1.1.1.out", 0, time), kOutCannotOpen);
    EXPECT_EQ(set.GetHit(0), nullptr);  // not counted
    EXPECT_EQ(OutReadMessage(kOutEmptyName, "", false), "Problem reading the results file");
    EXPECT_EQ(OutReadMessage(kOutCannotOpen, "a.out", false),
              "Unable to open the '.out' files - a.out");
    EXPECT_EQ(OutReadMessage(kOutWrongProgram, "", true),
              "The output files weren't generated by Peptide Mapping");
}

TEST_F(SorvexResultsTest, CannotOpenPutsThePathIntoTheRecord) {
    // A folder by the name of a result file cannot be read as one.
    class Exposed : public CSorvexResults {
      public:
        const SearchHitRecord& Slot(int i) const { return hits_[static_cast<size_t>(i)]; }
    };
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("run.0001.0001.2.out"));
    Exposed set;
    set.SetRawFilePath("run.raw");
    ASSERT_TRUE(set.Initialize());
    set.SetDirectory(dir.path());
    int time = 0;
    EXPECT_EQ(set.ReadOutFile("run.0001.0001.2.out", 0, time), kOutCannotOpen);
    EXPECT_EQ(set.Slot(0).fileInformation, dir.path() + "/run.0001.0001.2.out");
}

TEST_F(SorvexResultsTest, AMismatchStopsTheLoadButKeepsTheFilesBefore) {
    QTemporaryDir dir;
    for (const char* name :
         {"run.0100.0100.1.out", "run.0101.0101.2.out", "test.fasta", "test.fasta.idx"})
        QFile::copy(Folder("sorvex/") + name, dir.path() + "/" + name);
    QFile::copy(Folder("single/otherraw.out"), dir.path() + "/run.0100.0100.5.out");
    CSorvexResults set;
    set.SetRawFilePath("run.raw");
    ASSERT_TRUE(set.Initialize());
    EXPECT_TRUE(set.ReadResults(dir.path()));
    // The message names the file that stopped the load.
    EXPECT_EQ(boxes.texts(),
              QStringList{"The analysis file doesn't match the results file\nrun.0100.0100.5.out"});
    EXPECT_EQ(set.GetHitCount(), 1);  // name order: 0100.0100.1 then the mismatching 0100.0100.5
    EXPECT_FALSE(set.GetProteins().empty());
}

TEST_F(SorvexResultsTest, EmptyFolderAndMissingFolder) {
    QTemporaryDir dir;
    CSorvexResults set;
    ASSERT_TRUE(set.Initialize());
    EXPECT_FALSE(set.ReadResults(dir.path()));
    EXPECT_EQ(boxes.texts(), QStringList{"No '.out' files were found in the results directory"});
    CSorvexResults empty;
    empty.SetDirectory("");
    EXPECT_FALSE(empty.ReadResults());
}

TEST_F(SorvexResultsTest, PostsTheDtaListMessages) {
    doctest::MessageCollector collector;
    auto set = std::make_unique<CSorvexResults>();
    set->SetRawFilePath("run.raw");
    set->SetNotifyTarget(&collector);
    QStringList statuses;
    std::vector<int> progress;
    set->SetStatusCallback([&](const QString& s) { statuses << s; });
    set->SetProgressCallback([&](int p) { progress.push_back(p); });
    ASSERT_TRUE(set->Initialize());
    ASSERT_TRUE(set->ReadResults(Folder("sorvex")));
    collector.deliver();
    ASSERT_EQ(collector.count(kMsgDtaCount), 1);
    EXPECT_EQ(collector.entries[0].message, kMsgDtaCount);
    EXPECT_EQ(collector.entries[0].wParam, 4u);
    ASSERT_EQ(collector.count(kMsgDtaFileName), 4);
    ASSERT_EQ(collector.count(kMsgDtaSearchTime), 4);
    EXPECT_EQ(collector.entries[1].text, "run.0100.0100.1.out");
    EXPECT_EQ(collector.entries[1].lParam, 1);
    EXPECT_EQ(collector.entries[2].wParam, 2u);  // search time of the first file
    EXPECT_EQ(collector.entries[7].lParam, 4);
    EXPECT_TRUE(statuses.contains("Initializing results ..."));
    EXPECT_TRUE(statuses.contains("run.0102.0103.3.out"));
    EXPECT_TRUE(statuses.contains("Calculating consensus scores..."));
    EXPECT_EQ(statuses.last(), "Finished!");
    EXPECT_NE(std::find(progress.begin(), progress.end(), 100), progress.end());
}

TEST_F(SorvexResultsTest, CancelSkipsEverythingAfterTheFileLoop) {
    CSorvexResults set;
    set.SetRawFilePath("run.raw");
    ASSERT_TRUE(set.Initialize());
    int files = 0;
    set.SetStatusCallback([&](const QString& s) {
        if (s.endsWith(".out") && ++files == 2) set.Cancel();
    });
    EXPECT_FALSE(set.ReadResults(Folder("sorvex")));
    EXPECT_EQ(set.GetHitCount(), 2);
    // No finishing step and no masses: scores are the rank points only.
    for (const auto& p : set.GetProteins()) EXPECT_EQ(p->score, std::floor(p->score));
    EXPECT_DOUBLE_EQ(set.GetHit(0)->proteinMass, 0.0);
}

TEST_F(SorvexResultsTest, RevisionElevenTakesMassesFromTheFasta) {
    auto set = Loaded(Folder("fasta"));
    ASSERT_EQ(set->GetHitCount(), 2);
    zar::ResidueMassTable t = ZeroResidueMasses();
    InitAminoAcidMasses(t, true);
    const auto massOf = [&t](const char* sequence) {
        double m = 0;
        for (const char* c = sequence; *c; ++c) m += t[static_cast<unsigned char>(*c)];
        return m;
    };
    const SearchHitRecord* a = set->FindHit(HitNumber(1));
    const SearchHitRecord* b = set->FindHit(HitNumber(2));
    EXPECT_NEAR(a->proteinMass, massOf("MKPEPTIDEKRAAAAGGGGW"), 1e-6);
    // A database named by a Windows path is found beside the results.
    EXPECT_NEAR(b->proteinMass, massOf("MLLLKKKIIRSPEPTLDEQK"), 1e-6);
    EXPECT_EQ(a->proteinNumber, 0);
}

TEST_F(SorvexResultsTest, NucleotideDatabaseWantsNoProteinMasses) {
    SingleFile file("nucleotide.out");
    auto set = Loaded(file.dir.path());
    EXPECT_EQ(set->Parameters().nucleotide, 1);
    EXPECT_EQ(set->Parameters().proteinMassesWanted, 0);
    EXPECT_EQ(set->GetHit(0)->reference, "EST0001");
}

TEST_F(SorvexResultsTest, ShortHeaderLinesReadAsFarAsTheyGo) {
    SingleFile file("short.out");
    auto set = Loaded(file.dir.path());
    ASSERT_EQ(set->GetHitCount(), 1);
    EXPECT_EQ(set->GetHit(0)->reference, "REF1");
    EXPECT_DOUBLE_EQ(set->GetHit(0)->precursorMass, 0.0);
    EXPECT_EQ(set->Parameters().databaseName, "");
}

TEST_F(SorvexResultsTest, OverLongTextsAreCutToTheRecordCapacities) {
    SingleFile file("long.out");
    auto set = Loaded(file.dir.path());
    ASSERT_EQ(set->GetHitCount(), 1);
    const SearchHitRecord* r = set->GetHit(0);
    EXPECT_EQ(r->reference.size(), kReferenceCapacity - 1);
    EXPECT_EQ(r->peptide.size(), kPeptideCapacity - 1);
    EXPECT_EQ(r->fileInformation.size(), kFileInformationCapacity - 1);
    EXPECT_TRUE(r->peptide.startsWith("K.PPP"));
    // The consensus keeps the whole texts.
    ASSERT_EQ(set->GetProteins().size(), 1u);
    EXPECT_EQ(set->GetProteins()[0]->reference.size(), 150);
}

TEST_F(SorvexResultsTest, GiReferencesTakeTheirDescriptionLines) {
    SingleFile file("gi.out");
    auto set = Loaded(file.dir.path());
    ASSERT_EQ(set->GetHitCount(), 1);
    EXPECT_EQ(set->Parameters().secondDatabaseName, "indexed.hdr");
    EXPECT_EQ(set->GetHit(0)->secondDatabase, "indexed.hdr");
    ASSERT_EQ(set->GetProteins().size(), 2u);  // the count-only line names no protein
    EXPECT_NE(Protein(*set, "gi|123|ref|NP_1| long description of protein one"), nullptr);
    // Cut at the "+", then lengthened by its description.
    EXPECT_NE(Protein(*set, "gi|456|ref|NP_2| description two"), nullptr);
    EXPECT_EQ(set->GetHit(0)->furtherReferences, 1);
}

TEST_F(SorvexResultsTest, MinimumCorrelationKeepsLowHitsOutOfProteins) {
    CSorvexResults set;
    set.SetRawFilePath("run.raw");
    ASSERT_TRUE(set.Initialize());
    set.Parameters().minimumCorrelation = 2.0;
    ASSERT_TRUE(set.ReadResults(Folder("sorvex")));
    for (const auto& p : set.GetProteins())
        for (const auto& rows : p->rowsByRank)
            for (const auto& row : rows) EXPECT_GE(row->correlation, 2.0);
}

TEST_F(SorvexResultsTest, ShowOutputReadsEveryHitLine) {
    CSorvexResults set;
    set.SetDirectory(Folder("sorvex"));
    set.ParseOutFileForDisplay("run.0100.0100.1.out");
    ASSERT_EQ(set.GetDisplayCount(), 4);
    const SearchHitRecord* second = set.GetDisplayRecord(1);
    EXPECT_EQ(second->correlationRank, 2);
    EXPECT_EQ(second->preliminaryRank, 3);
    EXPECT_EQ(second->proteinNumber, 2);
    EXPECT_EQ(second->reference, "sp|P00002|PROB_TEST");
    EXPECT_EQ(second->furtherReferences, 1);
    EXPECT_EQ(second->peptide, "R.PEPTLDEQ.K");
    EXPECT_EQ(second->displayed, 1);
    EXPECT_EQ(second->recordIndex, 1);
    EXPECT_EQ(second->databaseFile, "test.fasta");
    EXPECT_EQ(set.GetDisplayRecord(4), nullptr);
    set.ParseOutFileForDisplay("missing.out");
    EXPECT_EQ(set.GetDisplayCount(), 0);
}

TEST_F(SorvexResultsTest, ShowOutputStopsAtTheDisplayCapacity) {
    QTemporaryDir dir;
    QString text = doctest::SorvexOutText("run.1.1.2.out", "REF", "K.AAA.R", 1.0);
    text.chop(1);  // keep the hit section open
    for (int i = 0; i < 600; ++i)
        text +=
            QStringLiteral("  2.   2 /  2  1000.5100  0.1000  1.0  200.0   6/10  REF%1  K.AAA.R\n")
                .arg(i);
    ASSERT_TRUE(doctest::WriteFile(dir.path() + "/run.1.1.2.out", text));
    CSorvexResults set;
    set.ParseOutFileForDisplay(dir.path() + "/run.1.1.2.out");
    EXPECT_EQ(set.GetDisplayCount(), CSearchResults::kMaxDisplayRecords);
}

TEST_F(SorvexResultsTest, XpressWithoutAnEngineLeavesRatiosAtZero) {
    CSorvexResults set;
    set.SetRawFilePath("run.raw");
    set.SetXpressOptions({true, "C", 1.5});
    ASSERT_TRUE(set.Initialize());
    ASSERT_TRUE(set.ReadResults(Folder("sorvex")));
    for (int i = 0; i < set.GetHitCount(); ++i)
        EXPECT_DOUBLE_EQ(set.GetHit(i)->quantitationRatio, 0.0);
    EXPECT_FALSE(set.CalculateXpressRatios(false));
}

TEST_F(SorvexResultsTest, XpressRunsTheInstalledEngineOverEveryHit) {
    CSorvexResults set;
    set.SetRawFilePath("run.raw");
    set.SetXpressOptions({true, "K", 2.5});
    QString residue;
    double tolerance = 0;
    set.SetXpressEngine([&](const QString& raw, const QString& r, double t) -> XpressQuantifier {
        residue = r;
        tolerance = t;
        if (raw != "run.raw") return {};
        return [](SearchHitRecord& h) { h.quantitationRatio = h.hitNumber().value(); };
    });
    ASSERT_TRUE(set.Initialize());
    ASSERT_TRUE(set.ReadResults(Folder("sorvex")));
    EXPECT_EQ(residue, "K");
    EXPECT_DOUBLE_EQ(tolerance, 2.5);
    for (int i = 0; i < set.GetHitCount(); ++i)
        EXPECT_DOUBLE_EQ(set.GetHit(i)->quantitationRatio, set.GetHit(i)->hitNumber().value());
    set.SetRawFilePath("other.raw");
    EXPECT_FALSE(set.CalculateXpressRatios(true));
}

// One folder of more files than the first hit block holds, shared by the growth tests.
class SorvexGrowthTest : public SorvexResultsTest {
  protected:
    static constexpr int kFiles = CSearchResults::kInitialHitCapacity + 1;
    static void SetUpTestSuite() {
        dir_ = new QTemporaryDir;
        ASSERT_TRUE(doctest::WriteSorvexFolder(dir_->path(), kFiles));
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static QTemporaryDir* dir_;
};
QTemporaryDir* SorvexGrowthTest::dir_ = nullptr;

TEST_F(SorvexGrowthTest, GrowsBeyondTheFirstBlockAndResetsItWhole) {
    const int files = kFiles;
    CSorvexResults set;
    set.SetRawFilePath("run.raw");
    ASSERT_TRUE(set.Initialize());
    EXPECT_EQ(set.GetCapacity(), CSearchResults::kInitialHitCapacity);
    ASSERT_TRUE(set.ReadResults(dir_->path()));
    EXPECT_EQ(set.GetHitCount(), files);
    EXPECT_EQ(set.GetCapacity(), CSearchResults::kInitialHitCapacity + CSearchResults::kHitGrowth);
    EXPECT_TRUE(boxes.texts().isEmpty());
    const SearchHitRecord* last = set.FindHit(HitNumber(files));
    ASSERT_NE(last, nullptr);
    EXPECT_TRUE(last->path.endsWith("run.10001.10001.2"));
    EXPECT_EQ(set.GetProteins().size(), 50u);
    int rows = 0;
    for (const auto& p : set.GetProteins()) rows += p->rowCount();
    EXPECT_EQ(rows, files);

    // A smaller result afterwards leaves nothing of the grown one behind.
    ASSERT_TRUE(set.Initialize());
    ASSERT_TRUE(set.ReadResults(Folder("sorvex")));
    EXPECT_EQ(set.GetHitCount(), 4);
    EXPECT_EQ(set.FindHit(HitNumber(files)), nullptr);
    set.FreeResults();
    EXPECT_EQ(set.GetHitCount(), 0);
    EXPECT_EQ(set.GetCapacity(), 0);
    EXPECT_EQ(set.GetHit(0), nullptr);
    EXPECT_FALSE(set.ReadResults());  // nothing allocated
}

TEST_F(SorvexGrowthTest, AGrowthFailureKeepsTheHitsRead) {
    class NoRoom : public CSorvexResults {
      protected:
        void ResizeHitBlock(size_t records) override {
            if (records > static_cast<size_t>(kInitialHitCapacity) + 1) throw std::bad_alloc();
            CSorvexResults::ResizeHitBlock(records);
        }
    };
    NoRoom set;
    set.SetRawFilePath("run.raw");
    ASSERT_TRUE(set.Initialize());
    EXPECT_TRUE(set.ReadResults(dir_->path()));
    EXPECT_EQ(boxes.texts(), QStringList{"Unable to allocate the required memory"});
    EXPECT_EQ(set.GetHitCount(), CSearchResults::kInitialHitCapacity);
    EXPECT_EQ(set.GetCapacity(), CSearchResults::kInitialHitCapacity);
    EXPECT_NE(set.FindHit(HitNumber(CSearchResults::kInitialHitCapacity)), nullptr);
    EXPECT_FALSE(set.GetProteins().empty());
}

TEST_F(SorvexResultsTest, ReferencesLookedUpByProteinNumber) {
    QFile source(Folder("sorvex/run.0100.0100.1.out"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(source.readAll());
    const auto write = [&](const QString& folder, const char* secondDatabase) {
        QString t = text;
        t.replace("test.fasta\n", QString("test.fasta, %1\n").arg(secondDatabase));
        t.replace("sp|P00001|PROA_TEST      K.PEPTIDEK.R", "K.PEPTIDEK.R");
        for (const char* name : {"run.0100.0100.1.out", "run.0100.0100.2.out"})
            ASSERT_TRUE(doctest::WriteFile(folder + "/" + name, t));
    };
    QTemporaryDir found;
    write(found.path(), "indexed.hdr");
    for (const char* name : {"indexed.hdr", "test.fasta", "test.fasta.idx"})
        QFile::copy(Folder("sorvex/") + name, found.path() + "/" + name);
    auto set = Loaded(found.path());
    EXPECT_TRUE(boxes.texts().isEmpty()) << boxes.texts().join("|").toStdString();
    EXPECT_EQ(set->GetHit(0)->reference, "sp|P00001|PROA_TEST Protein A");

    // A missing database is reported once, not for every line that needs it.
    QTemporaryDir missing;
    write(missing.path(), "missing.hdr");
    boxes.clear();
    auto other = Loaded(missing.path());
    EXPECT_EQ(boxes.texts().count("Unable to open the indexed database"), 1);
    EXPECT_EQ(other->GetHit(0)->reference, "");
    EXPECT_EQ(other->GetHitCount(), 2);
}

TEST_F(SorvexGrowthTest, ALoadOnAWorkerThreadStopsWhenCancelled) {
    doctest::MessageCollector collector;
    CSorvexResults set;
    set.SetRawFilePath("run.raw");
    set.SetNotifyTarget(&collector);
    std::atomic<int> percent{0};
    set.SetProgressCallback([&percent](int p) { percent.store(p); });
    ASSERT_TRUE(set.Initialize());
    bool result = true;
    std::thread worker([&] { result = set.ReadResults(dir_->path()); });
    while (percent.load() < 10) std::this_thread::yield();
    set.Cancel();
    worker.join();
    EXPECT_FALSE(result);
    EXPECT_GT(set.GetHitCount(), 0);
    EXPECT_LT(set.GetHitCount(), kFiles);
    collector.deliver();
    EXPECT_EQ(collector.count(kMsgDtaCount), 1);
    EXPECT_EQ(collector.count(kMsgDtaFileName), set.GetHitCount());
}

namespace {

// A set whose hit block can be looked at.
class BlockWatch : public CSorvexResults {
  public:
    size_t BlockRecords() const { return hits_.size(); }
};

}  // namespace

TEST_F(SorvexResultsTest, TheHitBlockHoldsWhatTheFolderNeeds) {
    BlockWatch set;
    set.SetRawFilePath("run.raw");
    ASSERT_TRUE(set.Initialize());
    // The capacity counts from the start, the records are made as the folder asks for them.
    EXPECT_EQ(set.GetCapacity(), CSearchResults::kInitialHitCapacity);
    EXPECT_LE(set.BlockRecords(), 1u);
    ASSERT_TRUE(set.ReadResults(Folder("sorvex")));
    EXPECT_EQ(set.GetHitCount(), 4);
    EXPECT_GE(set.BlockRecords(), 4u);
    EXPECT_LE(set.BlockRecords(), 6u);
    // A new load starts small again and keeps nothing of the last one.
    ASSERT_TRUE(set.Initialize());
    EXPECT_LE(set.BlockRecords(), 1u);
    EXPECT_EQ(set.GetHit(0), nullptr);
}

TEST_F(SorvexResultsTest, ADatabaseThatIsAFifoIsNotWaitedFor) {
    const struct {
        const char* fifo;
        const char* message;
    } cases[] = {
        {"test.fasta.idx", "Unable to access the database index"},
        {"test.fasta", "Unable to open the fasta database"},
    };
    for (const auto& c : cases) {
        boxes.clear();
        QTemporaryDir dir;
        for (const char* name : {"run.0100.0100.1.out", "run.0101.0101.2.out",
                                 "run.0102.0103.3.out", "run.0104.0104.2.out", "test.fasta",
                                 "test.fasta.idx"}) {
            if (qstrcmp(name, c.fifo) == 0) continue;
            ASSERT_TRUE(QFile::copy(Folder("sorvex/") + name, dir.path() + "/" + name));
        }
        const QByteArray fifo = QFile::encodeName(dir.path() + "/" + c.fifo);
        ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
        CSorvexResults set;
        set.SetRawFilePath("run.raw");
        ASSERT_TRUE(set.Initialize());
        auto load = std::async(std::launch::async, [&] { return set.ReadResults(dir.path()); });
        const bool ended = load.wait_for(std::chrono::milliseconds(zartest::kWorkWaitMs)) ==
                           std::future_status::ready;
        if (!ended) {
            // A writer that comes and goes lets a reader stuck in open() go on.
            const int writer = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0) ::close(writer);
        }
        ASSERT_TRUE(ended) << c.fifo;
        EXPECT_TRUE(load.get());
        EXPECT_EQ(set.GetHitCount(), 4);
        EXPECT_EQ(boxes.texts(), QStringList{c.message}) << c.fifo;
    }
}
