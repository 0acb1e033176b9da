#include "document/OutFileFormat.h"

#include <gtest/gtest.h>

using namespace zar;

TEST(OutFileFormatTest, ScansRevision12HitLineWithThreeWords) {
    OutHitLine h;
    const int n = ScanSearchHitLine(
        u"  2.   2 /  3          7  1045.5700  0.1000  2.2500  300.0   8/14  sp|P2|B  +1  "
        u"R.PEPTLDEQ.K",
        true, false, h);
    EXPECT_EQ(n, 13);
    EXPECT_EQ(h.correlationRank, 2);
    EXPECT_EQ(h.preliminaryRank, 3);
    EXPECT_EQ(h.proteinNumber, 7);
    EXPECT_DOUBLE_EQ(h.hitMass, 1045.57);
    EXPECT_DOUBLE_EQ(h.deltaCn, 0.1);
    EXPECT_DOUBLE_EQ(h.xcorr, 2.25);
    EXPECT_DOUBLE_EQ(h.sp, 300.0);
    EXPECT_EQ(h.ionsMatched, 8);
    EXPECT_EQ(h.ionsTotal, 14);
    ASSERT_EQ(h.wordCount, 3);
    const HitWords w = SearchHitWords(h, true, false);
    EXPECT_EQ(w.reference, "sp|P2|B");
    EXPECT_EQ(w.furtherReferences, 1);
    EXPECT_EQ(w.peptide, "R.PEPTLDEQ.K");
}

TEST(OutFileFormatTest, ShowOutputFormReadsSlashesAsBlanks) {
    OutHitLine h;
    ScanSearchHitLine(u"  1.   1 /  2  1000.0  0.0  1.5  200.0   6/10  REF  K.AB/C.D", false, true,
                      h);
    EXPECT_EQ(h.preliminaryRank, 2);
    EXPECT_EQ(h.ionsTotal, 10);
    EXPECT_EQ(h.words[1], "K.AB");  // the "/" inside a word is a blank too
}

TEST(OutFileFormatTest, TwoAndOneWordRules) {
    OutHitLine h;
    ScanSearchHitLine(u"  1.   1 /  1  1000.0  0.0  1.5  200.0   6/10  +2  K.PEPTIDE.R", false,
                      false, h);
    ASSERT_EQ(h.wordCount, 2);
    HitWords w = SearchHitWords(h, true, false);
    EXPECT_EQ(w.furtherReferences, 2);
    EXPECT_EQ(w.reference, "");  // a count is not a reference
    EXPECT_FALSE(w.referenceByNumber);
    EXPECT_EQ(w.peptide, "K.PEPTIDE.R");
    w = SearchHitWords(h, true, true);
    EXPECT_TRUE(w.referenceByNumber);

    ScanSearchHitLine(u"  1.   1 /  1  1000.0  0.0  1.5  200.0   6/10  REF1  K.PEPTIDE.R", false,
                      false, h);
    w = SearchHitWords(h, false, true);
    EXPECT_EQ(w.reference, "REF1");
    EXPECT_FALSE(w.referenceByNumber);

    ScanSearchHitLine(u"  1.   1 /  1  1000.0  0.0  1.5  200.0   6/10  K.PEPTIDE.R", false, false,
                      h);
    ASSERT_EQ(h.wordCount, 1);
    EXPECT_TRUE(SearchHitWords(h, true, true).referenceByNumber);
    EXPECT_FALSE(SearchHitWords(h, false, true).referenceByNumber);
    EXPECT_EQ(SearchHitWords(h, true, true).peptide, "K.PEPTIDE.R");
}

TEST(OutFileFormatTest, LaterLinesCutTheReferenceAtAPlus) {
    OutHitLine h;
    ScanSearchHitLine(u"  2.   2 /  2  1000.0  0.0  1.5  200.0   6/10  gi|4+5|x  +1  K.P.R", false,
                      false, h);
    EXPECT_EQ(SearchHitWords(h, false, false).reference, "gi|4");
    EXPECT_EQ(SearchHitWords(h, true, false).reference, "gi|4+5|x");
}

TEST(OutFileFormatTest, BrokenHitLinesLeaveTheRestAtZero) {
    struct Case {
        const char* line;
        int fields;
    } cases[] = {
        {"", 0},
        {"  1.", 1},
        {"  1.   1 / ", 2},
        {"  1.   1 /  1  1000.0  abc", 4},
        {"  1.   1    1  1000.0", 2},  // no "/" between the ranks
    };
    for (const Case& c : cases) {
        OutHitLine h;
        EXPECT_EQ(ScanSearchHitLine(QString::fromLatin1(c.line), false, false, h), c.fields)
            << c.line;
        EXPECT_EQ(h.ionsTotal, 0);
        EXPECT_EQ(h.wordCount, 0);
    }
}

TEST(OutFileFormatTest, MassmapHitLine) {
    OutHitLine h;
    EXPECT_EQ(ScanMassmapHitLine(u"  3.   12  1046.1000  40.0   7/14  +2  REF  K.AAAA.R", h), 9);
    EXPECT_EQ(h.proteinNumber, 12);
    EXPECT_DOUBLE_EQ(h.sp, 40.0);
    const HitWords w = MassmapHitWords(h);
    EXPECT_EQ(w.furtherReferences, 2);
    EXPECT_EQ(w.reference, "REF");
    EXPECT_EQ(w.peptide, "K.AAAA.R");
}

TEST(OutFileFormatTest, FileNameNumbers) {
    int f = 0, l = 0, z = 0;
    EXPECT_TRUE(ParseOutFileName("run.0102.0103.3.out", f, l, z));
    EXPECT_EQ(f, 102);
    EXPECT_EQ(l, 103);
    EXPECT_EQ(z, 3);
    EXPECT_FALSE(ParseOutFileName("run.out", f, l, z));
    EXPECT_EQ(f, 0);
    EXPECT_FALSE(ParseOutFileName("nodots", f, l, z));
}

TEST(OutFileFormatTest, SearchTime) {
    struct Case {
        const char* line;
        int seconds;
    } cases[] = {
        {" 12/10/2026, 01:30 PM, 4 sec. on node01", 4},
        {" 12/10/2026, 01:30 PM, 0 sec. on node01", 1},
        {" 12/10/2026, 01:30 PM,", 1},
        {" no commas", 1},
        {"", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SearchTimeFromLine(QString::fromLatin1(c.line)), c.seconds) << c.line;
}

TEST(OutFileFormatTest, Similarity) {
    struct Case {
        const char* top;
        const char* other;
        bool similar;
    } cases[] = {
        {"K.PEPTIDEK.R", "R.PEPTLDEQ.K", true},  // I/L and K/Q count as equal
        {"K.PEPTIDEK.R", "K.PEPTIDEK.R", true},
        {"K.PEPTIDEK.R", "K.AAAAWWWWR.-", false},
        {"K.LLLKKKIIR.S", "K.IIIQQQLLR.S", true},
        {"K.AB", "K.AB", true},  // short: similar only when identical
        {"K.A", "K.B", true},    // no compared positions
        {"AB", "ABC", false},
        {"", "", true},
        {"K.PEPTIDEK.R", "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsSimilarPeptide(QString::fromLatin1(c.top), QString::fromLatin1(c.other)),
                  c.similar)
            << c.top << " " << c.other;
}

TEST(OutFileFormatTest, HeaderLines) {
    EXPECT_EQ(RevisionFromProgramLine(u" TurboSORVEX v.27 (rev. 12), (C) 1998"), 12);
    EXPECT_EQ(RevisionFromProgramLine(u" TurboSORVEX"), 0);

    double fragment = 0, precursor = 0;
    int mp = 0, mf = 0;
    EXPECT_DOUBLE_EQ(
        ParseMassLine(u" (M+H)+ mass = 1045.5600 ~ 1.5000 (+1), fragment tol = 0.50, MONO/AVG",
                      &fragment, &precursor, &mp, &mf),
        1045.56);
    EXPECT_DOUBLE_EQ(fragment, 0.5);
    EXPECT_DOUBLE_EQ(precursor, 1.5);
    EXPECT_EQ(mp, 1);
    EXPECT_EQ(mf, 0);
    // Short lines give nothing and read nothing past their end.
    for (const char* s : {"", " (M+H)+", " (M+H)+ mass =", "~", "x fragment tol ="})
        EXPECT_DOUBLE_EQ(ParseMassLine(QString::fromLatin1(s), &fragment, &precursor, &mp, &mf),
                         0.0)
            << s;

    QString db, db2;
    bool nucleotide = true;
    ParseDatabaseLine(u" # amino acids = 300, # proteins = 3, C:\\db\\human.fasta.hdr", db, db2,
                      nucleotide);
    EXPECT_FALSE(nucleotide);
    EXPECT_EQ(db, "C:\\db\\human.fasta");
    EXPECT_EQ(db2, "");
    ParseDatabaseLine(u" # bases = 9, # proteins = 3, nt.bin, second.hdr", db, db2, nucleotide);
    EXPECT_TRUE(nucleotide);
    EXPECT_EQ(db, "nt");
    EXPECT_EQ(db2, "second.hdr");
    ParseDatabaseLine(u" # a", db, db2, nucleotide);
    EXPECT_EQ(db, "");

    int series[3];
    double numbers[9];
    ParseIonSeriesLine(u" ion series nABYabcdVWXYZ: 0 1 1 0.0 1.0 0.0 0.0 0.0 0.0 0.0 1.0 0.0",
                       series, numbers);
    EXPECT_EQ(series[1], 1);
    EXPECT_DOUBLE_EQ(numbers[1], 1.0);
    EXPECT_DOUBLE_EQ(numbers[7], 1.0);
    ParseIonSeriesLine(u" ion", series, numbers);
    EXPECT_EQ(series[1], 0);

    EXPECT_TRUE(CodeLineSelectsFirstDatabase(u" display top 10/5, ion % = 0.0, CODE = 001042"));
    EXPECT_FALSE(CodeLineSelectsFirstDatabase(u" display top 10/5, ion % = 0.0, CODE = 001040"));
    EXPECT_FALSE(CodeLineSelectsFirstDatabase(u" CODE ="));
}

TEST(OutFileFormatTest, ModificationsLine) {
    SearchParameters p;
    ParseModificationsLine(
        u" (M* +15.9949) (STY# +79.9663) C=160.1388 +Nterm-pep=42.0106 +Cterm-prot=1.5", p);
    EXPECT_DOUBLE_EQ(p.residueMasses['C'], 160.1388);
    EXPECT_DOUBLE_EQ(p.residueMasses['c'], 160.1388);
    EXPECT_DOUBLE_EQ(p.differentialMasses[0], 15.9949);
    EXPECT_EQ(p.differentialSymbols[0], QChar('*'));
    EXPECT_DOUBLE_EQ(p.differentialMasses[1], 79.9663);
    EXPECT_EQ(p.differentialSymbols[1], QChar('#'));
    EXPECT_DOUBLE_EQ(p.nTermPeptide, 42.0106);
    EXPECT_DOUBLE_EQ(p.cTermProtein, 1.5);
    EXPECT_DOUBLE_EQ(p.cTermPeptide, 0.0);
    EXPECT_TRUE(p.modificationText.startsWith(" (M*"));

    SearchParameters q;
    ParseModificationsLine(u"G=", q);  // the number would start past the end
    EXPECT_DOUBLE_EQ(q.residueMasses['G'], 0.0);
    ParseModificationsLine(u" (", q);
    EXPECT_EQ(q.differentialSymbols[0], QChar(' '));
}

TEST(OutFileFormatTest, CombinedScore) {
    EXPECT_DOUBLE_EQ(CombinedScore(2.0, 100.0, 0.0), 2.0 * (100.0 + 10000.0));
    EXPECT_DOUBLE_EQ(CombinedScore(2.0, 100.0, 1.0), 200.0);
}

TEST(OutFileFormatTest, LineScannerNumbers) {
    LineScanner s(u"  1. +2 -3.5e2 .25 x");
    double a = 0, c = 0, d = 0;
    int b = 0;
    EXPECT_TRUE(s.readDouble(a));
    EXPECT_TRUE(s.readInt(b));
    EXPECT_TRUE(s.readDouble(c));
    EXPECT_TRUE(s.readDouble(d));
    EXPECT_DOUBLE_EQ(a, 1.0);
    EXPECT_EQ(b, 2);
    EXPECT_DOUBLE_EQ(c, -350.0);
    EXPECT_DOUBLE_EQ(d, 0.25);
    EXPECT_FALSE(s.readDouble(a));
    int big = 0;
    LineScanner overflow(u"99999999999999999999");
    EXPECT_TRUE(overflow.readInt(big));
    EXPECT_EQ(big, INT_MAX);
}
