#include "document/SearchResults.h"

#include "ResultsTestSupport.h"
#include "TestSupport.h"

#include "document/SorvexResults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include <sys/stat.h>

using namespace zar;

namespace {

// A result set filled by hand.
class HandFilled : public CSearchResults {
  public:
    HandFilled() { AllocateHits(); }
    SearchHitRecord& Add() {
        EnsureCapacity(hitCount_);
        SearchHitRecord& r = hits_[static_cast<size_t>(hitCount_)];
        r.recordIndex = hitCount_++;
        RebuildHitPositions();
        return r;
    }
    void AddHit(const char* reference, int rank, double xcorr = 2.0, double sp = 100.0,
                double deltaCn = 0.1, const char* peptide = "K.PEPTIDE.R") {
        const QString referenceText = QString::fromLatin1(reference);
        const QString peptideText = QString::fromLatin1(peptide);
        ConsensusHit c;
        c.reference = referenceText;
        c.peptide = peptideText;
        c.rank = rank;
        c.hitNumber = HitNumber(1);
        c.xcorr = xcorr;
        c.sp = sp;
        c.deltaCn = deltaCn;
        AddConsensusHit(c, ReaderStyle{});
    }
    void SetReadingFolder(const QString& folder) { readingFolder_ = folder; }
};

QString Data(const char* name) {
    return zartest::DataPath(QStringLiteral("document/") + name);
}

std::vector<int> Order(const CSearchResults& set) {
    std::vector<int> order;
    for (int i = 0; i < set.GetHitCount(); ++i) order.push_back(set.GetHit(i)->hitNumber().value());
    return order;
}

}  // namespace

TEST(SearchResultsTest, HitSortKeys) {
    struct Values {
        const char* info;
        double mass;
        const char* peptide;
        const char* reference;
        double xcorr, dcn, sp;
        int prank, matched, total, further;
        double proteinMass, ratio;
    };
    const Values values[] = {
        {"c", 3.0, "K.BBB.R", "ref1", 1.0, 0.3, 50, 2, 5, 10, 0, 10.0, -2.0},
        {"a", 1.0, "", "ref3", 3.0, 0.1, 70, 1, 3, 6, 4, 30.0, 1.5},
        {"b", 2.0, "A.AAA.K", "ref2", 2.0, 0.2, 60, 3, 2, 4, 1, 20.0, 0.5},
        {"d", 4.0, "R.ZZA.K", "ref0", 0.5, 0.4, 40, 4, 0, 0, 2, 5.0, 3.0},
    };
    HandFilled set;
    for (const Values& v : values) {
        SearchHitRecord& r = set.Add();
        r.fileInformation = v.info;
        r.hitMass = v.mass;
        r.peptide = v.peptide;
        r.reference = v.reference;
        r.correlation = v.xcorr;
        r.deltaCorrelation = v.dcn;
        r.preliminaryScore = v.sp;
        r.preliminaryRank = v.prank;
        r.ionsMatched = v.matched;
        r.ionsTotal = v.total;
        r.furtherReferences = v.further;
        r.proteinMass = v.proteinMass;
        r.quantitationRatio = v.ratio;
    }
    struct Case {
        int key;
        std::vector<int> order;  // hit numbers
    } cases[] = {
        {kSortFileInformation, {2, 3, 1, 4}},
        {kSortHitMass, {2, 3, 1, 4}},
        {kSortPeptide, {3, 1, 4, 2}},           // AAA, BBB, ZZA; no peptide last
        {kSortPeptideWithFlank, {3, 1, 4, 2}},  // .AAA, .BBB, .ZZA
        {kSortReference, {2, 3, 1, 4}},         // descending
        {kSortCorrelation, {2, 3, 1, 4}},
        {kSortDeltaCorrelation, {4, 1, 3, 2}},
        {kSortPreliminaryScore, {2, 3, 1, 4}},
        {kSortPreliminaryRank, {2, 1, 3, 4}},
        {kSortIonsRatio, {1, 2, 3, 4}},  // 0.5 with 5 before 0.5 with 3 and 2
        {kSortFurtherReferences, {2, 4, 3, 1}},
        {kSortProteinMass, {2, 3, 1, 4}},
        {kSortQuantitationRatio, {4, 2, 3, 1}},
        {-1, {2, 3, 1, 4}},  // outside 0..12 sorts as key 0
        {13, {2, 3, 1, 4}},
    };
    for (const Case& c : cases) {
        set.SortHits(kSortQuantitationRatio);  // start from another order each time
        set.SortHits(c.key);
        EXPECT_EQ(Order(set), c.order) << "key " << c.key;
        EXPECT_EQ(set.GetSortKey(), c.key);
    }
}

TEST(SearchResultsTest, PeptideSortKeepsRecordsWithoutPeptideLast) {
    HandFilled set;
    for (const char* p : {"", "K.CC.R", "", "K.AA.R", "X", ""}) set.Add().peptide = p;
    set.SortHitRecords(kSortPeptide);
    EXPECT_EQ(set.GetHit(0)->peptide, "X");  // from its third character: empty, first
    EXPECT_EQ(set.GetHit(1)->peptide, "K.AA.R");
    EXPECT_EQ(set.GetHit(2)->peptide, "K.CC.R");
    for (int i = 3; i < 6; ++i) EXPECT_EQ(set.GetHit(i)->peptide, "");
}

TEST(SearchResultsTest, IonsRatioIsAStrictOrder) {
    HandFilled set;
    const int pairs[][2] = {{1, 2}, {2, 4}, {1, 2}, {0, 0}, {3, 6}, {0, 5}};
    for (const auto& p : pairs) {
        SearchHitRecord& r = set.Add();
        r.ionsMatched = p[0];
        r.ionsTotal = p[1];
    }
    set.SortHitRecords(kSortIonsRatio);
    EXPECT_EQ(set.GetHit(0)->ionsMatched, 3);
    EXPECT_EQ(set.GetHit(1)->ionsMatched, 2);
    EXPECT_EQ(set.GetHit(2)->ionsMatched, 1);
    EXPECT_EQ(set.GetHit(3)->ionsMatched, 1);
    EXPECT_EQ(set.GetHit(4)->ionsMatched, 0);
}

TEST(SearchResultsTest, ConsensusRowSortKeys) {
    std::vector<CConsensusRow> rows(3);
    rows[0].firstScan = 5;
    rows[0].lastScan = 6;
    rows[0].hitMass = 3;
    rows[0].correlation = 1;
    rows[0].rank = 2;
    rows[0].ionsMatched = 1;
    rows[0].ionsTotal = 2;
    rows[0].furtherReferences = 0;
    rows[1].firstScan = 5;
    rows[1].lastScan = 5;
    rows[1].hitMass = 1;
    rows[1].correlation = 3;
    rows[1].rank = 3;
    rows[1].ionsMatched = 2;
    rows[1].ionsTotal = 4;
    rows[1].furtherReferences = 2;
    rows[2].firstScan = 1;
    rows[2].lastScan = 9;
    rows[2].hitMass = 2;
    rows[2].correlation = 2;
    rows[2].rank = 1;
    rows[2].ionsMatched = 0;
    rows[2].ionsTotal = 0;
    rows[2].furtherReferences = 1;
    for (int i = 0; i < 3; ++i) rows[i].hitNumber = HitNumber(i + 1);
    const auto order = [](const std::vector<CConsensusRow>& r) {
        return std::vector<int>{r[0].hitNumber.value(), r[1].hitNumber.value(), r[2].hitNumber.value()};
    };
    struct Case {
        int key;
        std::vector<int> order;
    } cases[] = {{0, {3, 2, 1}}, {1, {2, 3, 1}},  {5, {2, 3, 1}}, {8, {3, 1, 2}},
                 {9, {2, 1, 3}}, {10, {2, 3, 1}}, {4, {3, 2, 1}}};
    for (const Case& c : cases) {
        std::vector<CConsensusRow> copy = rows;
        CSearchResults::SortConsensusRows(copy, c.key);
        EXPECT_EQ(order(copy), c.order) << "key " << c.key;
        std::vector<const CConsensusRow*> pointers = {&rows[0], &rows[1], &rows[2]};
        CSearchResults::SortConsensusRows(pointers, c.key);
        EXPECT_EQ(pointers[0]->hitNumber, HitNumber(c.order[0]));
    }
}

TEST(SearchResultsTest, ConsensusBuilderScoresRanksAndFloor) {
    HandFilled set;
    set.AddHit("PROT1", 5);
    set.AddHit("PROT1", 5, 2.0, 100.0, 0.1, "K.OTHER.R");
    set.AddHit("PROT2", 1);
    set.AddHit("PROT2", 6);  // outside the ranks
    set.AddHit("", 1);       // no reference
    set.Parameters().minimumCorrelation = 1.0;
    set.AddHit("PROT3", 1, 0.5);  // below the floor
    ASSERT_EQ(set.GetProteins().size(), 2u);
    EXPECT_DOUBLE_EQ(set.GetProteins()[0]->score, 4.0);  // two rows of rank 5
    EXPECT_EQ(set.GetProteins()[0]->peptides, (QStringList{"PEPTIDE", "OTHER"}));
    EXPECT_DOUBLE_EQ(set.GetProteins()[1]->score, 10.0);
    EXPECT_EQ(set.GetProteins()[1]->rowCount(), 1);
}

TEST(SearchResultsTest, GroupProteinsInBothModes) {
    HandFilled set;
    set.AddHit("A", 1, 2.0, 100.0, 0.5);
    set.AddHit("B", 2, 3.0, 200.0, 0.0);
    set.AddHit("B", 5, 1.0, 10.0, 0.2);
    set.AddHit("C", 1, 1.0, 10.0, 0.9);
    set.GetProteins()[2]->rowsByRank[0][0]->kept = 0;  // C's only row is filtered out
    set.Add();

    ASSERT_TRUE(set.GroupProteins(false, false));
    ASSERT_EQ(set.GetProteins().size(), 3u);
    EXPECT_EQ(set.GetProteins()[0]->reference, "A");
    EXPECT_DOUBLE_EQ(set.GetProteins()[0]->score, 10.0);
    EXPECT_DOUBLE_EQ(set.GetProteins()[1]->score, 10.0);  // B: 8 + 2
    EXPECT_DOUBLE_EQ(set.GetProteins()[2]->score, 0.0);

    ASSERT_TRUE(set.GroupProteins(true, false));
    // The last hit added of B had XCorr 1.0 and delta Cn 0.2.
    EXPECT_EQ(set.GetProteins()[0]->reference, "A");
    EXPECT_DOUBLE_EQ(set.GetProteins()[0]->score, 10.0 + 0.1 + 0.5 + 0.2);
    EXPECT_DOUBLE_EQ(set.GetProteins()[1]->score, 10.0 + 0.05 + 0.2 + 0.2);

    ASSERT_TRUE(set.GroupProteins(false, true));
    EXPECT_EQ(set.GetProteins()[0]->reference, "B");
    const double b = 3.0 * (200.0 + 10000.0) + 1.0 * (10.0 + 10000.0 * 0.64);
    EXPECT_DOUBLE_EQ(set.GetProteins()[0]->summedCombinedScore, b);
    EXPECT_DOUBLE_EQ(set.GetProteins()[1]->summedCombinedScore, 2.0 * (100.0 + 2500.0));
    EXPECT_DOUBLE_EQ(set.GetProteins()[2]->summedCombinedScore, 0.0);

    set.GetProteins()[0]->valid = 0;
    ASSERT_TRUE(set.GroupProteins(false, true));
    EXPECT_EQ(set.GetProteins()[0]->reference, "A");
}

TEST(SearchResultsTest, GroupProteinsWithoutResults) {
    zartest::MessageBoxCapture boxes;
    HandFilled set;
    set.FreeResults();
    EXPECT_FALSE(set.GroupProteins(false, false));
    EXPECT_EQ(boxes.texts(), QStringList{"Unable to access the results"});
}

TEST(SearchResultsTest, FinishingStepAddsTheRecordScores) {
    HandFilled set;
    set.AddHit("A", 5);
    SearchHitRecord& r = set.Add();
    r.reference = "A";
    r.correlation = 2.0;
    r.deltaCorrelation = 0.3;
    r.preliminaryRank = 6;
    SearchHitRecord& s = set.Add();
    s.reference = "A";
    s.correlation = 1.0;
    s.deltaCorrelation = 1.0;
    s.preliminaryRank = 1;
    set.FinishConsensusScores();
    EXPECT_DOUBLE_EQ(set.GetProteins()[0]->score, 2.0 + 0.1 + 0.3 + 0.05 + 1.0 + 0.2);
}

TEST(SearchResultsTest, IndexedDatabaseThroughItsHeader) {
    zartest::MessageBoxCapture boxes;
    HandFilled set;
    set.SetReadingFolder(Data("sorvex/"));
    ASSERT_TRUE(set.OpenIndexedDatabase("indexed.hdr"));
    EXPECT_EQ(set.Parameters().numberOfProteins, 3);
    EXPECT_EQ(set.ReadIndexedProtein("indexed.hdr", 1), "sp|P00001|PROA_TEST Protein A");
    EXPECT_EQ(set.ReadIndexedProtein("indexed.hdr", 3), "sp|P00003|PROC_TEST Protein C ");
    EXPECT_EQ(set.ReadIndexedProtein("indexed.hdr", 0), "");
    EXPECT_EQ(set.ReadIndexedProtein("indexed.hdr", 4), "");
    SearchHitRecord& a = set.Add();
    a.proteinNumber = 2;
    SearchHitRecord& b = set.Add();
    b.proteinNumber = 4;  // beyond the database
    set.SetProteinMassesFromIndex("indexed.hdr", 2);
    EXPECT_DOUBLE_EQ(set.GetHit(0)->proteinMass, 2222.25);
    EXPECT_DOUBLE_EQ(set.GetHit(1)->proteinMass, 0.0);
    // Without ".hdr": the index is the name + ".idx".
    EXPECT_EQ(set.ReadIndexedProtein("test.fasta", 2), "sp|P00002|PROB_TEST Protein B");
    set.UnmapFastaDatabase();
    EXPECT_TRUE(boxes.texts().isEmpty());
}

TEST(SearchResultsTest, IndexedDatabaseCountsAreBoundByTheIndex) {
    zartest::MessageBoxCapture boxes;
    HandFilled set;
    set.SetReadingFolder(Data("single/"));
    ASSERT_TRUE(set.OpenIndexedDatabase("overcount.hdr"));
    EXPECT_EQ(set.Parameters().numberOfProteins, 3);
    EXPECT_EQ(set.ReadIndexedProtein("overcount.hdr", 4999), "");
    ASSERT_TRUE(set.OpenIndexedDatabase("nocount.hdr"));
    EXPECT_EQ(set.Parameters().numberOfProteins, 3);  // index size / 32
}

TEST(SearchResultsTest, IndexedDatabaseFailures) {
    struct Case {
        QString name;
        const char* message;
    } cases[] = {
        {"", "Invalid indexed database name"},
        {"missing.hdr", "Unable to open the indexed database"},
        {"notanindex.hdr", "Unable to access the indexed database parameters"},
        {"nowhere.fasta", "Unable to access the database index"},
    };
    for (const Case& c : cases) {
        zartest::MessageBoxCapture boxes;
        HandFilled set;
        set.SetReadingFolder(Data("single/"));
        EXPECT_FALSE(set.OpenIndexedDatabase(c.name));
        EXPECT_EQ(boxes.texts(), QStringList{c.message}) << c.name.toStdString();
    }
    // An index whose database is missing.
    QTemporaryDir dir;
    QFile::copy(Data("sorvex/test.fasta.idx"), dir.path() + "/gone.fasta.idx");
    zartest::MessageBoxCapture boxes;
    HandFilled set;
    set.SetReadingFolder(dir.path() + "/");
    EXPECT_FALSE(set.OpenIndexedDatabase("gone.fasta"));
    EXPECT_EQ(boxes.texts(), QStringList{"Unable to open the fasta database"});
}

TEST(SearchResultsTest, IndexRecordsPointingOutsideTheDatabaseGiveNothing) {
    QTemporaryDir dir;
    QFile::copy(Data("sorvex/test.fasta.idx"), dir.path() + "/short.fasta.idx");
    ASSERT_TRUE(doctest::WriteFile(dir.path() + "/short.fasta", ">x\n"));
    HandFilled set;
    set.SetReadingFolder(dir.path() + "/");
    EXPECT_EQ(set.ReadIndexedProtein("short.fasta", 3), "");
}

TEST(SearchResultsTest, FastaMassesMatchReferencePrefixes) {
    QTemporaryDir dir;
    ASSERT_TRUE(doctest::WriteFile(dir.path() + "/db.fasta",
                                   ">P1 first\r\nAAA\r\nGG\r\n>P12 second\nWW\n>P3\nC\n"));
    HandFilled set;
    InitAminoAcidMasses(set.Parameters().residueMasses, true);
    for (const char* reference : {"P1", "P12", "P1", "", "P9"}) set.Add().reference = reference;
    set.SetReadingFolder(dir.path() + "/");
    set.SortHitRecords(kSortReference);
    set.CalculateProteinMasses("db.fasta", set.GetHitCount());
    const double a = 71.0371136, g = 57.0214636, w = 186.0793126;
    for (int i = 0; i < set.GetHitCount(); ++i) {
        const SearchHitRecord* r = set.GetHit(i);
        if (r->reference == "P1")
            EXPECT_NEAR(r->proteinMass, 3 * a + 2 * g, 1e-9);
        else if (r->reference == "P12")
            EXPECT_NEAR(r->proteinMass, 2 * w, 1e-9);
        else
            EXPECT_DOUBLE_EQ(r->proteinMass, 0.0);
    }
    set.CalculateProteinMasses("missing.fasta", set.GetHitCount());  // does nothing
}

namespace {

// A search-engine set that reads one ".out" text as the loader does, from a file or from its
// bytes, and shows what the record and the proteins got.
class OutTextReader : public CSorvexResults {
  public:
    using CSearchResults::ListOutFiles;

    struct Outcome {
        int code = -1;
        QString fileInformation;
        QString reference;
        QString peptide;
        double precursorMass = 0.0;
        double hitMass = 0.0;
        double correlation = 0.0;
        double deltaCorrelation = 0.0;
        int ionsMatched = 0;
        QStringList proteins;  // reference: peptides
        bool operator==(const Outcome&) const = default;
    };

    Outcome Read(const QByteArray& text, bool fromFile) {
        const QString name = QStringLiteral("run.0102.0103.3.out");
        QTemporaryDir dir;
        SetRawFilePath("/data/run.raw");
        EXPECT_TRUE(Initialize());
        SetDirectory(dir.path());
        Outcome o;
        int time = 0;
        if (fromFile) {
            QFile file(dir.filePath(name));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
            file.close();
            o.code = ReadOutFile(name, 0, time);
        } else {
            o.code = ReadOutBytes(text, name, 0, time);
        }
        const SearchHitRecord& r = hits_[0];
        o.fileInformation = r.fileInformation;
        o.reference = r.reference;
        o.peptide = r.peptide;
        o.precursorMass = r.precursorMass;
        o.hitMass = r.hitMass;
        o.correlation = r.correlation;
        o.deltaCorrelation = r.deltaCorrelation;
        o.ionsMatched = r.ionsMatched;
        for (const auto& p : proteins_) o.proteins << p->reference + ": " + p->peptides.join(' ');
        return o;
    }
};

void PrintTo(const OutTextReader::Outcome& o, std::ostream* os) {
    *os << "code " << o.code << ", line 2 \"" << o.fileInformation.toStdString() << "\", "
        << o.reference.toStdString() << " " << o.peptide.toStdString() << " " << o.hitMass
        << " (" << o.proteins.join(", ").toStdString() << ")";
}

QByteArray FixtureBytes(const char* name) {
    QFile file(Data(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

// The loader reads the bytes of a file however its lines end, and the same from the file as
// from the bytes in memory.
TEST(SearchResultsTest, OutFilesReadTheSameWhateverTheirLineEnds) {
    const QByteArray lf = FixtureBytes("sorvex/run.0102.0103.3.out");
    ASSERT_TRUE(lf.endsWith(".L\n\n"));
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    OutTextReader reader;
    const OutTextReader::Outcome expected = reader.Read(lf, true);
    ASSERT_EQ(expected.code, kOutRead);
    EXPECT_EQ(expected.fileInformation, " run.0102.0103.3.out");
    EXPECT_EQ(expected.peptide, "R.GGGGSSSKAAAAPPPR.G");
    EXPECT_DOUBLE_EQ(expected.deltaCorrelation, 0.4);
    EXPECT_EQ(expected.proteins, (QStringList{"sp|P00003|PROC_TEST: GGGGSSSKAAAAPPPR",
                                              "sp|P00001|PROA_TEST: MMMMNNNNDDDDEEEK"}));
    QByteArray crlf = lf, cr = lf;
    crlf.replace("\n", "\r\n");
    cr.replace("\n", "\r");
    const struct {
        const char* what;
        QByteArray text;
    } forms[] = {
        {"LF", lf},
        {"CRLF", crlf},
        {"CR alone", cr},
        {"no line end after the last hit", lf.chopped(2)},
        {"CRLF, none after the last hit", crlf.chopped(4)},
        {"a UTF-8 byte-order mark", "\xEF\xBB\xBF" + lf},
    };
    for (const auto& form : forms) {
        for (const bool fromFile : {true, false})
            EXPECT_EQ(reader.Read(form.text, fromFile), expected)
                << form.what << (fromFile ? " from the file" : " from memory");
    }
    EXPECT_TRUE(boxes.texts().isEmpty());
}

// A file cut anywhere reads as far as it goes.
TEST(SearchResultsTest, ACutOutFileReadsAsFarAsItGoes) {
    const QByteArray whole = FixtureBytes("sorvex/run.0102.0103.3.out");
    const auto at = [&whole](const char* text) {
        const qsizetype i = whole.indexOf(text);
        EXPECT_GE(i, 0) << text;
        return i + static_cast<qsizetype>(std::strlen(text));
    };
    const struct {
        const char* what;
        qsizetype length;
        int code;
        double precursorMass;
        double hitMass;
        const char* peptide;
    } cuts[] = {
        {"nothing", 0, kOutRawFileMismatch, 0, 0, ""},
        {"in line 2", at(" run.01"), kOutWrongProgram, 0, 0, ""},
        {"after line 3", at("2006\n"), kOutRead, 0, 0, ""},
        {"in the mass line", at("mass = 22"), kOutRead, 22, 22, ""},
        {"after the hit titles", at(" ---  --------"), kOutRead, 2200.1, 2200.1, ""},
        {"in the first hit", at("2200.12"), kOutRead, 2200.1, 2200.12, ""},
        {"in the last hit", at("DDDDEEE"), kOutRead, 2200.1, 2200.12, "R.GGGGSSSKAAAAPPPR.G"},
    };
    zartest::ScopedConfigDir config;
    zartest::MessageBoxCapture boxes;
    OutTextReader reader;
    for (const auto& cut : cuts) {
        for (const bool fromFile : {true, false}) {
            const OutTextReader::Outcome o = reader.Read(whole.left(cut.length), fromFile);
            EXPECT_EQ(o.code, cut.code) << cut.what;
            if (o.code != kOutRead) continue;
            EXPECT_DOUBLE_EQ(o.precursorMass, cut.precursorMass) << cut.what;
            EXPECT_DOUBLE_EQ(o.hitMass, cut.hitMass) << cut.what;
            EXPECT_EQ(o.peptide, cut.peptide) << cut.what;
        }
    }
}

// The folder's ".out" files in any case of the extension, in the order of their names (capitals
// first); hidden files, folders and other files are left out, links to files are taken.
TEST(SearchResultsTest, TheFolderListingKeepsItsOrder) {
    QTemporaryDir dir;
    for (const char* name : {"b.out", "A.OUT", "a.out", "C.Out", "B.out", "notes.txt",
                             ".hidden.out", "out", "x.out.bak"})
        ASSERT_TRUE(doctest::WriteFile(dir.filePath(name), "x"));
    ASSERT_TRUE(QDir(dir.path()).mkdir("d.out"));
    ASSERT_TRUE(QFile::link(dir.filePath("a.out"), dir.filePath("link.out")));
    ASSERT_TRUE(QFile::link(dir.filePath("d.out"), dir.filePath("folderlink.out")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.out")).constData(), 0600), 0);
    EXPECT_EQ(OutTextReader::ListOutFiles(dir.path()),
              (QStringList{"A.OUT", "B.out", "C.Out", "a.out", "b.out", "link.out"}));
    EXPECT_TRUE(OutTextReader::ListOutFiles(dir.filePath("missing")).isEmpty());
}
