#pragma once
// Pieces of the search engine's ".out" layout shared by the three result readers and their
// show-output readers. Every scan stops at the end of its line: a short line or a missing
// anchor leaves the values it would have given at 0 or empty.

#include "document/SearchParameters.h"

#include <QString>
#include <QStringView>

namespace zar {

// Longest line the readers use; the rest of a longer line is dropped.
constexpr int kMaxOutLineLength = 2000;
// A ".out" file is a few kilobytes; anything beyond this is no result file.
constexpr qint64 kMaxOutFileBytes = qint64{256} << 20;
// Lines of this length or shorter end the hit section.
constexpr int kHitSectionEndLength = 5;
// Below this similarity a lower hit counts as a different peptide for delta Cn.
constexpr double kSimilarityThreshold = 0.75;

// Reads a line the way scanf reads one: numbers in the "C" format, words up to white space.
// With slashesAsBlanks every '/' counts as white space too.
class LineScanner {
  public:
    explicit LineScanner(QStringView line, qsizetype start = 0, bool slashesAsBlanks = false);

    bool readDouble(double& value);
    bool readInt(int& value);
    bool readWord(QString& word);
    // The same without a copy: the word points into the line.
    bool readWord(QStringView& word);
    // Skips white space and takes one character c; false when the next character differs.
    bool literal(QChar c);
    void skipSpace();
    bool atEnd() const { return pos_ >= line_.size(); }
    qsizetype position() const { return pos_; }

  private:
    bool isBlank(QChar c) const;
    bool numberText(bool allowFraction, std::string& text);
    QStringView line_;
    qsizetype pos_ = 0;
    bool slashesAsBlanks_ = false;
};

// One hit line: the numbers and up to three words. OutHitLine owns its words; the words of an
// OutHitView point into the scanned line, which must outlive them (the loaders make strings
// only of the words they keep).
template <typename Text>
struct BasicOutHitLine {
    int correlationRank = 0;
    int preliminaryRank = 0;
    int proteinNumber = 0;
    double hitMass = 0.0;
    double deltaCn = 0.0;
    double xcorr = 0.0;
    double sp = 0.0;  // the score column for peptide mapping
    int ionsMatched = 0;
    int ionsTotal = 0;
    Text words[3];
    int wordCount = 0;
};
using OutHitLine = BasicOutHitLine<QString>;
using OutHitView = BasicOutHitLine<QStringView>;

// The search-engine hit line: "1. 1 / 2 [proteinNumber] mass dCn XCorr Sp m/t W1 [W2 [W3]]",
// the protein number only in revision 12. With slashesAsBlanks every "/" reads as a blank first
// (the show-output form). Returns the number of fields read.
template <typename Text>
int ScanSearchHitLine(QStringView line, bool revision12, bool slashesAsBlanks,
                      BasicOutHitLine<Text>& hit);
// The peptide-mapping hit line (revision 1): "1. proteinNumber mass score m/t W1 [W2 [W3]]".
template <typename Text>
int ScanMassmapHitLine(QStringView line, BasicOutHitLine<Text>& hit);

// base.first.last.charge(.out): the three numbers after the first '.'; false when they are not
// all there (the ones read are set).
bool ParseOutFileName(const QString& fileName, int& firstScan, int& lastScan, int& charge);

// The word that starts at the blank of the second ", " of a line (lines 6 and 9).
QString WordAfterSecondComma(QStringView line);
QStringView WordViewAfterSecondComma(QStringView line);

// Search time of line 6 in seconds (1 when the hours are 0 or missing).
int SearchTimeFromLine(QStringView line);

// Line 3: the integer after "rev." following the first "(", 0 when absent.
int RevisionFromProgramLine(QStringView line);

// Line 7: the precursor (M+H)+; the tolerances and mass types go into the parameters when given.
double ParseMassLine(QStringView line, double* fragmentTolerance, double* precursorTolerance,
                     int* monoPrecursor, int* monoFragments);

// Line 9: database names (the first with ".bin", ".idx" or ".hdr" cut) and whether it is a
// nucleotide database.
void ParseDatabaseLine(QStringView line, QString& database, QString& secondDatabase,
                       bool& nucleotide);

// Line 10: the three ion-series integers and the nine numbers.
void ParseIonSeriesLine(QStringView line, int ionSeries[3], double numbers[9]);

// Revision 12's "CODE =" line: true when its code word ends with '2' (the searched database
// then also serves the look-ups by protein number).
bool CodeLineSelectsFirstDatabase(QStringView line);

// The modifications line: static, terminal and differential modifications into the
// parameters, and the whole line as the modification text.
void ParseModificationsLine(QStringView line, SearchParameters& parameters);

// XCorr * (Sp + 10000 * (1 - delta Cn)^2).
double CombinedScore(double xcorr, double sp, double deltaCn);

// Whether a lower hit's peptide is similar to the top hit's ("X.PEPTIDE.Y" texts): K/Q and I/L
// count as equal; similar at a similarity of kSimilarityThreshold or more.
bool IsSimilarPeptide(QStringView top, QStringView other);

// The reference, further-reference count and peptide that the words of a hit line give (views
// into the line for an OutHitView).
template <typename Text>
struct BasicHitWords {
    Text reference;
    Text peptide;
    int furtherReferences = 0;
    bool referenceByNumber = false;  // the caller looks the reference up by protein number
};
using HitWords = BasicHitWords<QString>;
using HitWordsView = BasicHitWords<QStringView>;
// Search-engine word rules. firstLine: the first hit line of the file (its one-word form
// looks the reference up); canLookUp: a second database is known and the protein number is
// above 0. Later lines cut the reference at a '+' after its first character.
template <typename Text>
BasicHitWords<Text> SearchHitWords(const BasicOutHitLine<Text>& hit, bool firstLine,
                                   bool canLookUp);
// Peptide-mapping word rules.
template <typename Text>
BasicHitWords<Text> MassmapHitWords(const BasicOutHitLine<Text>& hit);

}  // namespace zar
