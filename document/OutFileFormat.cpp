#include "document/OutFileFormat.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

namespace zar {

namespace {

bool IsBlank(QChar c) {
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\n' || u == '\r' || u == '\v' || u == '\f';
}

bool IsDigit(QChar c) {
    return c.unicode() >= '0' && c.unicode() <= '9';
}

// Lines that are longer than this as a single number are not numbers the files write.
constexpr size_t kMaxNumberText = 400;

double NumberAt(QStringView line, qsizetype start) {
    if (start < 0 || start >= line.size()) return 0.0;
    LineScanner scanner(line, start);
    double value = 0.0;
    scanner.readDouble(value);
    return value;
}

}  // namespace

LineScanner::LineScanner(QStringView line, qsizetype start, bool slashesAsBlanks)
    : line_(line),
      pos_(std::clamp<qsizetype>(start, 0, line.size())),
      slashesAsBlanks_(slashesAsBlanks) {}

bool LineScanner::isBlank(QChar c) const {
    return IsBlank(c) || (slashesAsBlanks_ && c == QLatin1Char('/'));
}

void LineScanner::skipSpace() {
    while (pos_ < line_.size() && isBlank(line_[pos_])) ++pos_;
}

bool LineScanner::numberText(bool allowFraction, std::string& text) {
    skipSpace();
    qsizetype i = pos_;
    text.clear();
    if (i < line_.size() && (line_[i] == QLatin1Char('+') || line_[i] == QLatin1Char('-'))) {
        if (line_[i] == QLatin1Char('-')) text.push_back('-');
        ++i;
    }
    int digits = 0;
    while (i < line_.size() && IsDigit(line_[i])) {
        text.push_back(static_cast<char>(line_[i].unicode()));
        ++i;
        ++digits;
    }
    if (allowFraction) {
        if (i < line_.size() && line_[i] == QLatin1Char('.')) {
            text.push_back('.');
            ++i;
            while (i < line_.size() && IsDigit(line_[i])) {
                text.push_back(static_cast<char>(line_[i].unicode()));
                ++i;
                ++digits;
            }
        }
        if (digits > 0 && i < line_.size() &&
            (line_[i] == QLatin1Char('e') || line_[i] == QLatin1Char('E'))) {
            qsizetype j = i + 1;
            std::string exponent = "e";
            if (j < line_.size() &&
                (line_[j] == QLatin1Char('+') || line_[j] == QLatin1Char('-'))) {
                exponent.push_back(static_cast<char>(line_[j].unicode()));
                ++j;
            }
            const qsizetype expDigits = j;
            while (j < line_.size() && IsDigit(line_[j])) {
                exponent.push_back(static_cast<char>(line_[j].unicode()));
                ++j;
            }
            if (j > expDigits) {
                text += exponent;
                i = j;
            }
        }
    }
    if (digits == 0 || text.size() > kMaxNumberText) return false;
    pos_ = i;
    return true;
}

bool LineScanner::readDouble(double& value) {
    std::string text;
    if (!numberText(true, text)) return false;
    double v = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), v);
    if (result.ec == std::errc::result_out_of_range) {
        v = text[0] == '-' ? -HUGE_VAL : HUGE_VAL;
    } else if (result.ec != std::errc()) {
        return false;
    }
    value = v;
    return true;
}

bool LineScanner::readInt(int& value) {
    std::string text;
    if (!numberText(false, text)) return false;
    long long v = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), v);
    if (result.ec == std::errc::result_out_of_range) v = text[0] == '-' ? LLONG_MIN : LLONG_MAX;
    value = static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
    return true;
}

bool LineScanner::readWord(QStringView& word) {
    skipSpace();
    const qsizetype start = pos_;
    while (pos_ < line_.size() && !isBlank(line_[pos_])) ++pos_;
    if (pos_ == start) return false;
    word = line_.mid(start, pos_ - start);
    return true;
}

bool LineScanner::readWord(QString& word) {
    QStringView view;
    if (!readWord(view)) return false;
    word = view.toString();
    return true;
}

bool LineScanner::literal(QChar c) {
    skipSpace();
    if (pos_ >= line_.size() || line_[pos_] != c) return false;
    ++pos_;
    return true;
}

template <typename Text>
int ScanSearchHitLine(QStringView line, bool revision12, bool slashesAsBlanks,
                      BasicOutHitLine<Text>& hit) {
    hit = BasicOutHitLine<Text>();
    LineScanner s(line, 0, slashesAsBlanks);
    double lineNumber = 0.0;
    int n = 0;
    if (!s.readDouble(lineNumber)) return n;
    ++n;
    if (!s.readInt(hit.correlationRank)) return n;
    ++n;
    if (!slashesAsBlanks && !s.literal(QLatin1Char('/'))) return n;
    if (!s.readInt(hit.preliminaryRank)) return n;
    ++n;
    if (revision12) {
        if (!s.readInt(hit.proteinNumber)) return n;
        ++n;
    }
    if (!s.readDouble(hit.hitMass)) return n;
    ++n;
    if (!s.readDouble(hit.deltaCn)) return n;
    ++n;
    if (!s.readDouble(hit.xcorr)) return n;
    ++n;
    if (!s.readDouble(hit.sp)) return n;
    ++n;
    if (!s.readInt(hit.ionsMatched)) return n;
    ++n;
    if (!slashesAsBlanks && !s.literal(QLatin1Char('/'))) return n;
    if (!s.readInt(hit.ionsTotal)) return n;
    ++n;
    while (hit.wordCount < 3 && s.readWord(hit.words[hit.wordCount])) {
        ++hit.wordCount;
        ++n;
    }
    return n;
}

template <typename Text>
int ScanMassmapHitLine(QStringView line, BasicOutHitLine<Text>& hit) {
    hit = BasicOutHitLine<Text>();
    LineScanner s(line);
    double lineNumber = 0.0;
    int n = 0;
    if (!s.readDouble(lineNumber)) return n;
    ++n;
    if (!s.readInt(hit.proteinNumber)) return n;
    ++n;
    if (!s.readDouble(hit.hitMass)) return n;
    ++n;
    if (!s.readDouble(hit.sp)) return n;
    ++n;
    if (!s.readInt(hit.ionsMatched)) return n;
    ++n;
    if (!s.literal(QLatin1Char('/'))) return n;
    if (!s.readInt(hit.ionsTotal)) return n;
    ++n;
    while (hit.wordCount < 3 && s.readWord(hit.words[hit.wordCount])) {
        ++hit.wordCount;
        ++n;
    }
    return n;
}

template int ScanSearchHitLine(QStringView, bool, bool, OutHitLine&);
template int ScanSearchHitLine(QStringView, bool, bool, OutHitView&);
template int ScanMassmapHitLine(QStringView, OutHitLine&);
template int ScanMassmapHitLine(QStringView, OutHitView&);

bool ParseOutFileName(const QString& fileName, int& firstScan, int& lastScan, int& charge) {
    firstScan = lastScan = charge = 0;
    const qsizetype dot = fileName.indexOf(QLatin1Char('.'));
    if (dot < 0) return false;
    LineScanner s(fileName, dot + 1);
    if (!s.readInt(firstScan)) return false;
    if (!s.literal(QLatin1Char('.')) || !s.readInt(lastScan)) return false;
    if (!s.literal(QLatin1Char('.')) || !s.readInt(charge)) return false;
    return true;
}

QStringView WordViewAfterSecondComma(QStringView line) {
    const qsizetype first = line.indexOf(QLatin1String(", "));
    if (first < 0) return {};
    const qsizetype second = line.indexOf(QLatin1String(", "), first + 2);
    if (second < 0) return {};
    LineScanner s(line, second + 1);
    QStringView word;
    s.readWord(word);
    return word;
}

QString WordAfterSecondComma(QStringView line) {
    return WordViewAfterSecondComma(line).toString();
}

int SearchTimeFromLine(QStringView line) {
    const QStringView word = WordViewAfterSecondComma(line);
    int h = 0, m = 0, sec = 0;
    LineScanner s(word);
    if (s.readInt(h) && s.readInt(m)) s.readInt(sec);
    if (h > 0 && m > 0 && sec != 0) return 3600 * h + 60 * m + sec;
    if (h > 0 && m > 0) return 60 * h + m;
    if (h > 0 && m == 0 && sec == 0) return h;
    return 1;
}

int RevisionFromProgramLine(QStringView line) {
    const qsizetype paren = line.indexOf(QLatin1Char('('));
    if (paren < 0) return 0;
    LineScanner s(line, paren + 1);
    // "rev. %d": the word "rev." then the number.
    s.skipSpace();
    if (!line.mid(s.position()).startsWith(QLatin1String("rev."))) return 0;
    LineScanner number(line, s.position() + 4);
    int revision = 0;
    number.readInt(revision);
    return revision;
}

double ParseMassLine(QStringView line, double* fragmentTolerance, double* precursorTolerance,
                     int* monoPrecursor, int* monoFragments) {
    const double precursor = NumberAt(line, 14);
    const qsizetype fragment = line.indexOf(QLatin1String("fragment tol ="));
    if (fragment >= 0 && fragmentTolerance) *fragmentTolerance = NumberAt(line, fragment + 15);
    const qsizetype tilde = line.indexOf(QLatin1Char('~'));
    if (tilde >= 0 && precursorTolerance) *precursorTolerance = NumberAt(line, tilde + 2);
    if (monoPrecursor) *monoPrecursor = line.contains(QLatin1String("MONO/")) ? 1 : 0;
    if (monoFragments) *monoFragments = line.contains(QLatin1String("/MONO")) ? 1 : 0;
    return precursor;
}

void ParseDatabaseLine(QStringView line, QString& database, QString& secondDatabase,
                       bool& nucleotide) {
    nucleotide = !line.startsWith(QLatin1String(" # amino acids"));
    database = WordAfterSecondComma(line);
    secondDatabase.clear();
    if (database.endsWith(QLatin1Char(','))) {
        database.chop(1);
        // The second name is the word after the ", " that ends the first.
        const qsizetype first = line.indexOf(QLatin1String(", "));
        const qsizetype second = first < 0 ? -1 : line.indexOf(QLatin1String(", "), first + 2);
        LineScanner s(line, second < 0 ? line.size() : second + 1);
        QString skipped;
        s.readWord(skipped);
        s.readWord(secondDatabase);
    }
    for (const char* extension : {".bin", ".idx", ".hdr"}) {
        const qsizetype cut = database.indexOf(QLatin1String(extension));
        if (cut >= 0) {
            database.truncate(cut);
            break;
        }
    }
}

void ParseIonSeriesLine(QStringView line, int ionSeries[3], double numbers[9]) {
    for (int i = 0; i < 3; ++i) ionSeries[i] = 0;
    for (int i = 0; i < 9; ++i) numbers[i] = 0.0;
    if (line.size() <= 27) return;
    LineScanner s(line, 27);
    for (int i = 0; i < 3; ++i) {
        if (!s.readInt(ionSeries[i])) return;
    }
    for (int i = 0; i < 9; ++i) {
        if (!s.readDouble(numbers[i])) return;
    }
}

bool CodeLineSelectsFirstDatabase(QStringView line) {
    const qsizetype code = line.indexOf(QLatin1String("CODE ="));
    if (code < 0) return false;
    const qsizetype equals = line.indexOf(QLatin1Char('='), code);
    const qsizetype blank = line.indexOf(QLatin1Char(' '), equals + 1);
    if (blank < 0) return false;
    LineScanner s(line, blank);
    QStringView word;
    return s.readWord(word) && word.endsWith(QLatin1Char('2'));
}

void ParseModificationsLine(QStringView line, SearchParameters& p) {
    static const char kStaticOrder[] = "GASPVTCLIXNOBDQKZEMHFRYW";
    for (const char* c = kStaticOrder; *c; ++c) {
        const QString anchor = QString(QLatin1Char(*c)) + QLatin1Char('=');
        const qsizetype at = line.indexOf(anchor);
        if (at < 0) continue;
        const double mass = NumberAt(line, at + 2);
        p.residueMasses[static_cast<unsigned char>(*c)] = mass;
        p.residueMasses[static_cast<unsigned char>(*c - 'A' + 'a')] = mass;
    }
    const auto terminal = [&](const char* anchor) {
        const qsizetype at = line.indexOf(QLatin1String(anchor));
        return at < 0 ? 0.0 : NumberAt(line, at + static_cast<qsizetype>(qstrlen(anchor)));
    };
    p.nTermPeptide = terminal("+Nterm-pep=");
    p.cTermPeptide = terminal("+Cterm-pep=");
    p.nTermProtein = terminal("+Nterm-prot=");
    p.cTermProtein = terminal("+Cterm-prot=");

    const qsizetype firstParen = line.indexOf(QLatin1Char('('));
    if (firstParen >= 0 && line.size() > 1) {
        // Tokens between "(" and ")" from the second character on, as strtok cuts them.
        std::vector<QStringView> tokens;
        const QStringView rest = line.mid(1);
        qsizetype start = -1;
        for (qsizetype i = 0; i <= rest.size(); ++i) {
            const bool delimiter =
                i == rest.size() || rest[i] == QLatin1Char('(') || rest[i] == QLatin1Char(')');
            if (delimiter) {
                if (start >= 0) tokens.push_back(rest.mid(start, i - start));
                start = -1;
            } else if (start < 0) {
                start = i;
            }
        }
        const auto readDifferential = [&](QStringView token, int slot) {
            LineScanner s(token);
            QStringView word;
            if (!s.readWord(word)) return;
            p.differentialSymbols[slot] = word.back();
            double mass = 0.0;
            if (s.readDouble(mass)) p.differentialMasses[slot] = mass;
        };
        if (!tokens.empty()) readDifferential(tokens[0], 0);
        const bool secondParen = line.indexOf(QLatin1Char('('), firstParen + 1) >= 0;
        if (secondParen && tokens.size() >= 3) readDifferential(tokens[2], 1);
    }
    p.modificationText = line.toString();
}

double CombinedScore(double xcorr, double sp, double deltaCn) {
    const double d = 1.0 - deltaCn;
    return xcorr * (sp + 10000.0 * d * d);
}

bool IsSimilarPeptide(QStringView top, QStringView other) {
    const auto same = [](QChar a, QChar b) {
        if (a == b) return true;
        const auto in = [](QChar c, char x, char y) {
            return c == QLatin1Char(x) || c == QLatin1Char(y);
        };
        return (in(a, 'K', 'Q') && in(b, 'K', 'Q')) || (in(a, 'I', 'L') && in(b, 'I', 'L'));
    };
    const qsizetype length = top.size();
    const qsizetype shorter = std::min(top.size(), other.size());
    qsizetype d = std::abs(top.size() - other.size());
    for (qsizetype i = 3; i <= shorter - 3; ++i) {
        if (!same(top[i], other[i])) ++d;
    }
    // A top peptide of three characters or fewer leaves no room for differences.
    if (length <= 3) return d == 0;
    const double similarity = static_cast<double>(length - 3 - d) / static_cast<double>(length - 3);
    return similarity >= kSimilarityThreshold;
}

template <typename Text>
BasicHitWords<Text> SearchHitWords(const BasicOutHitLine<Text>& hit, bool firstLine,
                                   bool canLookUp) {
    BasicHitWords<Text> w;
    switch (hit.wordCount) {
        case 3: {
            w.reference = hit.words[0];
            LineScanner count(hit.words[1]);
            count.readInt(w.furtherReferences);
            w.peptide = hit.words[2];
            break;
        }
        case 2:
            if (hit.words[0].startsWith(QLatin1Char('+'))) {
                LineScanner count(hit.words[0]);
                count.readInt(w.furtherReferences);
                // A count is not a reference: without a look-up the reference stays empty.
                w.referenceByNumber = w.furtherReferences > 0 && canLookUp;
            } else {
                w.reference = hit.words[0];
            }
            w.peptide = hit.words[1];
            break;
        case 1:
            w.peptide = hit.words[0];
            w.referenceByNumber = firstLine && canLookUp;
            break;
        default:
            break;
    }
    if (!firstLine) {
        const qsizetype plus = w.reference.indexOf(QLatin1Char('+'), 1);
        if (plus >= 0) w.reference.truncate(plus);
    }
    return w;
}

template <typename Text>
BasicHitWords<Text> MassmapHitWords(const BasicOutHitLine<Text>& hit) {
    BasicHitWords<Text> w;
    switch (hit.wordCount) {
        case 3: {
            if (hit.words[0].startsWith(QLatin1Char('+'))) {
                LineScanner count(hit.words[0]);
                count.readInt(w.furtherReferences);
            }
            w.reference = hit.words[1];
            w.peptide = hit.words[2];
            break;
        }
        case 2:
            w.reference = hit.words[0];
            w.peptide = hit.words[1];
            break;
        case 1:
            w.peptide = hit.words[0];
            break;
        default:
            break;
    }
    return w;
}

template HitWords SearchHitWords(const OutHitLine&, bool, bool);
template HitWordsView SearchHitWords(const OutHitView&, bool, bool);
template HitWords MassmapHitWords(const OutHitLine&);
template HitWordsView MassmapHitWords(const OutHitView&);

}  // namespace zar
