#include "document/TextHelpers.h"

#include <algorithm>
#include <cmath>

namespace zar {

double RoundTo001(double x) {
    const double scaled = x >= 0.0 ? 100.0 * x + 0.5 : 100.0 * x - 0.5;
    return std::trunc(scaled) * 0.01;
}

void StrUpper(std::string& text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
}

QString GetFileNamePart(const QString& path) {
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return cut < 0 ? path : path.mid(cut + 1);
}

QString StripAtDot(const QString& source) {
    const qsizetype dot = source.indexOf(QLatin1Char('.'));
    return dot < 0 ? source : source.left(dot);
}

QString GetTextAfterDot(const QString& source) {
    const qsizetype dot = source.indexOf(QLatin1Char('.'));
    if (dot < 0) return QString();
    qsizetype i = dot + 1;
    while (i < source.size() && source[i] == QLatin1Char(' ')) ++i;
    return source.mid(i);
}

bool StripLastPathComponent(QString& path) {
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    if (cut < 1) return false;
    path.truncate(cut);
    return true;
}

QString ExtractPeptideSequence(const QString& text) {
    if (text.size() < 2 || text[1] != QLatin1Char('.')) return text;
    QString letters;
    ExtractPeptideSequenceInto(text, letters);
    return letters;
}

void ExtractPeptideSequenceInto(QStringView text, QString& letters) {
    if (text.size() < 2 || text[1] != QLatin1Char('.')) {
        letters.resize(text.size());
        std::copy(text.begin(), text.end(), letters.data());
        return;
    }
    QStringView rest = text.mid(2);
    if (rest.size() >= 2 && rest[rest.size() - 2] == QLatin1Char('.')) rest.chop(2);
    // Never more letters than characters: one sizing, the string's storage reused.
    letters.resize(rest.size());
    QChar* out = letters.data();
    qsizetype n = 0;
    for (QChar c : rest) {
        const char16_t u = c.unicode();
        if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z')) out[n++] = c;
    }
    letters.resize(n);
}

}  // namespace zar
