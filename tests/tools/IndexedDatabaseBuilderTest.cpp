#include "tools/buildix/IndexedDatabaseBuilder.h"

#include "databases/IndexedDatabase.h"
#include "document/IndexedDatabaseHeader.h"
#include "search/ParamFile.h"

#include "TestSupport.h"

#include <QDir>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include <unistd.h>

using namespace zar;

namespace {

// Monoisotopic masses of the residues the fixtures use, and of H and OH.
constexpr double kH = 1.007825;
constexpr double kOH = 1.007825 + 15.9949146;
constexpr double kA = 71.0371136, kC = 103.0091854, kD = 115.0269428, kE = 129.0425928,
                 kG = 57.0214636, kK = 128.0949626, kM = 131.0404854, kP = 97.0527636,
                 kR = 156.1011106;
constexpr double kCarbamidomethyl = 57.021464;
constexpr double kOxidation = 15.9949;
// MH+ of a peptide from its residue sum.
constexpr double MH(double residues) {
    return 2 * kH + kOH + residues;
}

QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    QFile f(dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return f.fileName();
}

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

IndexedDatabaseBuildOptions TrypsinOptions(const QString& fasta) {
    IndexedDatabaseBuildOptions o;
    o.fastaPath = fasta;
    o.indexedName = fasta + ".hdr";
    o.enzyme = {1, "Trypsin", "KR", "-"};
    o.settings.massType = 1;
    o.settings.lowMass = 0.0;
    o.settings.highMass = 5000.0;
    o.settings.maxCleavageSites = 1;
    return o;
}

std::vector<FastaEntry> ReadPeptides(const QString& table) {
    CIndexedDatabase db;
    EXPECT_EQ(db.open(table), CIndexedDatabase::OpenResult::Ok);
    std::vector<FastaEntry> entries;
    for (int n = 1; n <= db.proteinCount(); ++n) {
        FastaEntry e;
        EXPECT_TRUE(db.readEntry(n, e));
        entries.push_back(e);
    }
    return entries;
}

}  // namespace

TEST(IndexedDatabaseBuilder, PeptidesAndMassesReadBackThroughTheIndexedDatabaseReader) {
    QTemporaryDir dir;
    const QString fasta =
        Write(dir, "small.fasta", ">sp|P1|ONE first protein\nACDKMGR\n>sp|P2|TWO second\nPEPK\n");
    IndexedDatabaseBuildOptions o = TrypsinOptions(fasta);
    o.settings.staticMods[4 + 6].mass = kCarbamidomethyl;  // C
    o.settings.diffMods[0] = {"M", kOxidation};
    const IndexedDatabaseBuildResult result = BuildIndexedDatabase(o);
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_EQ(result.proteins, 2);
    EXPECT_EQ(result.peptides, 6);

    const IndexedDatabaseFiles files = IndexedDatabaseFiles::For(o.indexedName);
    const std::vector<FastaEntry> peptides = ReadPeptides(files.peptideTable);
    const double acdk = kA + kC + kCarbamidomethyl + kD + kK;
    const double mgr = kM + kG + kR;
    const struct {
        const char* header;
        const char* letters;
        double mass;
    } expected[] = {
        {"1 5-7 0 0/0/0 363.18145 sp|P1|ONE", "MGR", MH(mgr)},
        {"1 5-7 0 1/0/0 379.17635 sp|P1|ONE", "MGR", MH(mgr + kOxidation)},
        {"2 1-4 0 0/0/0 470.26147 sp|P2|TWO", "PEPK", MH(2 * kP + kE + kK)},
        {"1 1-4 0 0/0/0 493.20806 sp|P1|ONE", "ACDK", MH(acdk)},
        {"1 1-7 0 0/0/0 837.37112 sp|P1|ONE", "ACDKMGR", MH(acdk + mgr)},
        {"1 1-7 0 1/0/0 853.36602 sp|P1|ONE", "ACDKMGR", MH(acdk + mgr + kOxidation)},
    };
    ASSERT_EQ(peptides.size(), std::size(expected));
    for (std::size_t i = 0; i < peptides.size(); ++i) {
        EXPECT_EQ(peptides[i].header, expected[i].header) << i;
        EXPECT_EQ(peptides[i].residues, expected[i].letters) << i;
        EXPECT_NEAR(peptides[i].mass, expected[i].mass, 1e-6) << i;
    }

    // The description names the original database and its protein index.
    CIndexedDatabase proteins;
    ASSERT_EQ(proteins.open(files.header), CIndexedDatabase::OpenResult::Ok);
    EXPECT_EQ(proteins.proteinCount(), 2);
    FastaEntry second;
    ASSERT_TRUE(proteins.readEntry(2, second));
    EXPECT_EQ(second.header, "sp|P2|TWO second");
    EXPECT_EQ(second.residues, "PEPK");
    EXPECT_NEAR(second.mass, kH + kOH + 2 * kP + kE + kK, 1e-6);

    IndexedDatabaseHeader header;
    ASSERT_TRUE(ReadIndexedDatabaseHeader(files.header, header));
    EXPECT_TRUE(header.hasMagic);
    EXPECT_EQ(header.origDatabaseName, "small.fasta");
    EXPECT_EQ(header.indexName, "small.fasta.proteins.idx");
    EXPECT_EQ(header.numberOfProteins, 2);
    EXPECT_EQ(header.origDatabaseType, "Protein");
    EXPECT_EQ(header.enzymeName, "Trypsin");
    EXPECT_EQ(header.massType, "monoisotopic");
    EXPECT_EQ(header.numIntCleavageSites, 1);
    EXPECT_EQ(header.staticModifications, "C=57.021464");
    EXPECT_EQ(header.differentialModifications, " (M 15.9949)");
    EXPECT_EQ(header.minimumMass, 0.0);
    EXPECT_EQ(header.maximumMass, 5000.0);
}

TEST(IndexedDatabaseBuilder, MassRangeAndMissedCleavagesLimitThePeptides) {
    QTemporaryDir dir;
    const QString fasta = Write(dir, "r.fasta", ">r\nACDKMGRPEPK\n");
    IndexedDatabaseBuildOptions o = TrypsinOptions(fasta);
    o.settings.maxCleavageSites = 0;
    o.settings.lowMass = 400.0;
    o.settings.highMass = 480.0;
    ASSERT_TRUE(BuildIndexedDatabase(o).ok);
    // ACDK (436.19), MGR (363.18), PEPK (470.26): only two fall in the range.
    const std::vector<FastaEntry> peptides =
        ReadPeptides(IndexedDatabaseFiles::For(o.indexedName).peptideTable);
    ASSERT_EQ(peptides.size(), 2u);
    EXPECT_EQ(peptides[0].residues, "ACDK");
    EXPECT_EQ(peptides[1].residues, "PEPK");
}

TEST(IndexedDatabaseBuilder, WithoutEnzymeEverySubSequenceOfTheLengthRange) {
    QTemporaryDir dir;
    const QString fasta = Write(dir, "n.fasta", ">a\nAAAA\n>b\nAAAA\n");
    IndexedDatabaseBuildOptions o = TrypsinOptions(fasta);
    o.useEnzyme = false;
    o.minLength = 2;
    o.maxLength = 3;
    ASSERT_TRUE(BuildIndexedDatabase(o).ok);
    EXPECT_EQ(ReadPeptides(IndexedDatabaseFiles::InUse(o.indexedName).peptideTable).size(),
              10u);  // 3 pairs and 2 triples in each protein

    o.keepDuplicates = false;
    ASSERT_TRUE(BuildIndexedDatabase(o).ok);
    const std::vector<FastaEntry> unique =
        ReadPeptides(IndexedDatabaseFiles::InUse(o.indexedName).peptideTable);
    ASSERT_EQ(unique.size(), 2u);
    EXPECT_EQ(unique[0].header, "1 1-2 0 0/0/0 161.09262 a");
    EXPECT_EQ(unique[1].residues, "AAA");
    IndexedDatabaseHeader header;
    ASSERT_TRUE(ReadIndexedDatabaseHeader(o.indexedName, header));
    EXPECT_EQ(header.enzymeName, "No_Enzyme");
    EXPECT_EQ(header.numIntCleavageSites, 0);
    EXPECT_EQ(header.minimumMass, 161.0);
    EXPECT_EQ(header.maximumMass, 233.0);
}

TEST(IndexedDatabaseBuilder, NucleotideEntriesAreDigestedInTheirReadingFrames) {
    QTemporaryDir dir;
    // Frame 1: ATG AAA CGT GGT, M K R G.
    const QString fasta = Write(dir, "dna.fasta", ">dna\nATGAAACGTGGT\n");
    IndexedDatabaseBuildOptions o = TrypsinOptions(fasta);
    o.settings.databaseType = 1;
    o.settings.readingFrames = 1;
    ASSERT_TRUE(BuildIndexedDatabase(o).ok);
    bool found = false;
    for (const FastaEntry& e :
         ReadPeptides(IndexedDatabaseFiles::For(o.indexedName).peptideTable)) {
        const int frame = e.header.section(' ', 2, 2).toInt();
        EXPECT_GE(frame, 1);
        EXPECT_LE(frame, 3);
        if (frame == 1 && e.residues == "MK") found = true;
    }
    EXPECT_TRUE(found);
    IndexedDatabaseHeader header;
    ASSERT_TRUE(ReadIndexedDatabaseHeader(o.indexedName, header));
    EXPECT_EQ(header.origDatabaseType, "Nucleotide");
}

TEST(IndexedDatabaseBuilder, AFailedBuildLeavesTheOldDatabase) {
    QTemporaryDir dir;
    const QString hdr = Write(dir, "old.fasta.hdr", "SORVEX_INDEXED_DATABASE - HEADER\nold\n");
    IndexedDatabaseBuildOptions o = TrypsinOptions(dir.filePath("absent.fasta"));
    o.indexedName = hdr;
    IndexedDatabaseBuildResult r = BuildIndexedDatabase(o);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.startsWith("Unable to open the fasta database"));

    o.fastaPath = Write(dir, "old.fasta", ">a\nK\n");
    o.useEnzyme = false;
    o.minLength = 5;
    o.maxLength = 2;
    EXPECT_FALSE(BuildIndexedDatabase(o).ok);

    std::atomic<bool> cancel{true};
    WorkProgress progress;
    progress.cancelFlag = &cancel;
    o.useEnzyme = true;
    r = BuildIndexedDatabase(o, progress);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(Read(hdr), "SORVEX_INDEXED_DATABASE - HEADER\nold\n");
    EXPECT_FALSE(QFile::exists(dir.filePath("old.fasta.peptides")));
}

TEST(IndexedDatabaseBuilder, NamesWithBlanksAreRefused) {
    QTemporaryDir dir;
    const QString fasta = Write(dir, "my db.fasta", ">a\nK\n");
    const IndexedDatabaseBuildResult r = BuildIndexedDatabase(TrypsinOptions(fasta));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.contains("blank"));
}

TEST(IndexedDatabaseBuilder, ProgramBuildsWithTheParameterFileOfItsFolder) {
    QTemporaryDir dir;
    Write(dir, "small.fasta", ">p\nACDKMGRPEPK\n");
    CParamFile params;
    params.LoadDefaults(ParamFileType::Buildix);
    ASSERT_TRUE(params.SetEntryDouble("min_peptide_mass", 300.0));
    ASSERT_TRUE(params.SaveAs(dir.filePath("buildix.params")));
    const QString program = QCoreApplication::applicationDirPath() + "/buildix4";

    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(program, {"-U+", "-Dsmall.fasta", "-Osmall.fasta.hdr"});
    ASSERT_TRUE(process.waitForFinished(zartest::kWorkWaitMs));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    // Trypsin with two missed cleavages above 300: ACDK, MGR, PEPK and their joins.
    EXPECT_EQ(ReadPeptides(dir.filePath("small.fasta.peptides")).size(), 6u);

    const struct {
        QStringList arguments;
        int exitCode;
        const char* message;
    } cases[] = {
        {{"-Dsmall.fasta", "-Q"}, 2, "Usage"},
        {{"-Dabsent.fasta"}, 1, "Unable to open the fasta database"},
    };
    for (const auto& c : cases) {
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(program, c.arguments);
        ASSERT_TRUE(p.waitForFinished(zartest::kWorkWaitMs));
        EXPECT_EQ(p.exitCode(), c.exitCode);
        EXPECT_TRUE(QString::fromLocal8Bit(p.readAllStandardError()).contains(c.message));
    }
}

TEST(IndexedDatabaseBuilder, AFastaWithoutEntriesWritesNothing) {
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {{"empty file", ""}, {"text without a header", "just some words\nMKV\n"}};
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString fasta = Write(dir, "none.fasta", c.bytes);
        const IndexedDatabaseBuildResult r = BuildIndexedDatabase(TrypsinOptions(fasta));
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_EQ(r.message, "The fasta database " + fasta + " holds no entries") << c.name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"none.fasta"})
            << c.name;
    }
}

// A build stopped between writing its tables and its description, as by a kill, and a finished
// rebuild: the database in use is always one whole set.
TEST(IndexedDatabaseBuilder, ARebuildReplacesTheDatabaseAsOne) {
    QTemporaryDir dir;
    const QString fasta = Write(dir, "db.fasta", ">a\nACDKMGR\n");
    IndexedDatabaseBuildOptions o = TrypsinOptions(fasta);
    ASSERT_TRUE(BuildIndexedDatabase(o).ok);
    const IndexedDatabaseFiles first = IndexedDatabaseFiles::InUse(o.indexedName);
    EXPECT_EQ(first.peptideTable, IndexedDatabaseFiles::For(o.indexedName).peptideTable);
    const QByteArray oldHeader = Read(first.header);
    const QByteArray oldTable = Read(first.peptideTable);
    const QByteArray oldIndex = Read(first.peptideIndex);
    ASSERT_FALSE(oldTable.isEmpty());

    // Another protein list; the process ends right after the tables are in place.
    Write(dir, "db.fasta", ">a\nACDKMGR\n>b\nPEPKWWK\n");
    const int stopped = zartest::RunInChildProcess([&o] {
        WorkProgress progress;
        progress.onStatus = [](const QString& text) {
            if (text.startsWith("Indexing the proteins")) _exit(7);
        };
        BuildIndexedDatabase(o, progress);
        return 0;
    });
    ASSERT_EQ(stopped, 7);
    // The old description still names the old tables, which are as they were.
    EXPECT_EQ(Read(first.header), oldHeader);
    EXPECT_EQ(IndexedDatabaseFiles::InUse(o.indexedName).peptideTable, first.peptideTable);
    EXPECT_EQ(Read(first.peptideTable), oldTable);
    EXPECT_EQ(Read(first.peptideIndex), oldIndex);
    EXPECT_EQ(ReadPeptides(first.peptideTable).size(), 3u);  // ACDK, MGR, ACDKMGR

    // A finished rebuild: the new set is named, the old one is gone, in one step.
    const IndexedDatabaseBuildResult r = BuildIndexedDatabase(o);
    ASSERT_TRUE(r.ok) << r.message.toStdString();
    EXPECT_EQ(r.proteins, 2);
    const IndexedDatabaseFiles second = IndexedDatabaseFiles::InUse(o.indexedName);
    EXPECT_EQ(second.peptideTable, IndexedDatabaseFiles::AlternateFor(o.indexedName).peptideTable);
    EXPECT_EQ(ReadPeptides(second.peptideTable).size(), static_cast<std::size_t>(r.peptides));
    IndexedDatabaseHeader header;
    ASSERT_TRUE(ReadIndexedDatabaseHeader(o.indexedName, header));
    EXPECT_EQ(header.peptideTableName, "db.fasta.alt.peptides");
    EXPECT_EQ(header.indexName, "db.fasta.alt.proteins.idx");
    CIndexedDatabase proteins;
    ASSERT_EQ(proteins.open(o.indexedName), CIndexedDatabase::OpenResult::Ok);
    EXPECT_EQ(proteins.proteinCount(), 2);
    for (const QString& old : {first.peptideTable, first.peptideIndex, first.proteinIndex})
        EXPECT_FALSE(QFile::exists(old)) << old.toStdString();

    // And the next one goes back to the first set.
    ASSERT_TRUE(BuildIndexedDatabase(o).ok);
    EXPECT_EQ(IndexedDatabaseFiles::InUse(o.indexedName).peptideTable, first.peptideTable);
    EXPECT_FALSE(QFile::exists(second.peptideTable));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 5)
        << QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString();
}

TEST(IndexedDatabaseBuilder, AStopAfterTheTablesTakesThemAway) {
    QTemporaryDir dir;
    const QString fasta = Write(dir, "db.fasta", ">a\nACDKMGR\n");
    IndexedDatabaseBuildOptions o = TrypsinOptions(fasta);
    std::atomic<bool> stop{false};
    WorkProgress progress;
    progress.cancelFlag = &stop;
    progress.onStatus = [&stop](const QString& text) {
        if (text.startsWith("Indexing the proteins")) stop = true;
    };
    const IndexedDatabaseBuildResult r = BuildIndexedDatabase(o, progress);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"db.fasta"});
}
