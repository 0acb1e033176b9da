#include "ParamFile.h"

#include "core/MessageBox.h"
#include "core/Numbers.h"
#include "core/TextFile.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <climits>
#include <cmath>

namespace zar {
namespace {

const QChar kLineEnd = QLatin1Char('\n');

// Comments shorter than this (";" and the line end) are not worth keeping.
constexpr int kMinimumKeptComment = 3;
// Column layout of rewritten lines: the comment of a number entry starts at column
// kNumberCommentBase + length of the value, that of a text entry at kTextCommentColumn + 1.
constexpr int kNumberCommentBase = 35;
constexpr int kTextCommentColumn = 35;
constexpr int kLongKeyPadding = 10;

bool IsEmptyLine(const QString& line) {
    return line.isEmpty() || line == kLineEnd;
}

// True when the bytes end with a line end, in any of the encodings the reader accepts.
bool EndsWithLineEnd(const QByteArray& bytes) {
    return bytes.endsWith('\n') || bytes.endsWith('\r') || bytes.endsWith(QByteArray("\n\0", 2)) ||
           bytes.endsWith(QByteArray("\r\0", 2));
}

void ShowOpenFailure(const QString& path) {
    ZarMessageBox(QStringLiteral("Couldn't open the parameter file\n\n%1\n\ntherefore the default "
                                 "values will be used")
                      .arg(path),
                  MB_OK);
}

}  // namespace

QString MissingEntryMessage(const QString& key) {
    return QStringLiteral("The current parameters file has an invalid or missing entry.\n ") +
           QStringLiteral("Invalid/missing entry : ") + key +
           QStringLiteral("\n Press OK for selections on how to proceed.\n");
}

bool CParamFile::Open(const QString& path) {
    if (!path.isEmpty()) path_ = path;
    QFile file(path_);
    // Unbuffered: the file is read whole at once, a read buffer would be one copy more.
    if (path_.isEmpty() || !file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        ShowOpenFailure(path_);
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        ShowOpenFailure(path_);
        return false;
    }
    LoadBytes(bytes);
    return true;
}

void CParamFile::LoadBytes(const QByteArray& bytes) {
    std::vector<QString> lines;
    TextLineReader reader = TextLineReader::fromBytes(bytes);
    QString line;
    while (reader.readLine(line)) {
        // One string per line with its line end; `line` keeps its room for the next line.
        QString stored(line.size() + 1, Qt::Uninitialized);
        std::copy(line.cbegin(), line.cend(), stored.begin());
        stored[line.size()] = kLineEnd;
        lines.push_back(std::move(stored));
    }
    // The last line keeps no line end when the file has none.
    if (!lines.empty() && !EndsWithLineEnd(bytes)) lines.back().chop(1);
    lines_ = std::move(lines);
}

void CParamFile::LoadDefaults(int first, int last) {
    std::vector<QString> lines;
    for (int id = first; id < last; ++id) lines.push_back(ParamDefaultText(id));
    lines_ = std::move(lines);
}

void CParamFile::LoadDefaults(ParamFileType type) {
    const ParamFileInfo& info = InfoOf(type);
    LoadDefaults(info.firstDefaultId, info.endDefaultId);
}

bool CParamFile::HasEntry(const QString& name1, int length1, const QString& name2,
                          int length2) const {
    const auto found = [this](const QString& name, int length) {
        return !name.isNull() && IndexOfLineStartingWith(name.left(length)) >= 0;
    };
    return found(name1, length1) || found(name2, length2);
}

int CParamFile::FindLine(const QString& name, int length) const {
    const int index = IndexOfLineStartingWith(name.left(length));
    return index < 0 ? 0 : index;
}

int CParamFile::IndexOfLineStartingWith(const QString& name) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].startsWith(name)) return static_cast<int>(i);
    }
    return -1;
}

int CParamFile::FindKeyLine(const QString& key) const {
    if (key.isEmpty()) return -1;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].contains(key)) return static_cast<int>(i);
    }
    return -1;
}

bool CParamFile::GetEntryString(const QString& key, QString& value) const {
    if (!IsLoaded()) return false;
    const int index = FindKeyLine(key);
    if (index < 0) return false;
    const QString& line = lines_[static_cast<std::size_t>(index)];
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0) return false;
    qsizetype start = equals + 1;
    while (start < line.size() && line[start] == QLatin1Char(' ')) ++start;
    QString text = line.mid(start);
    const qsizetype semicolon = text.indexOf(QLatin1Char(';'));
    if (semicolon >= 0) text.truncate(semicolon);
    if (text.endsWith(kLineEnd)) text.chop(1);
    while (text.endsWith(QLatin1Char(' '))) text.chop(1);
    value = text;
    return true;
}

bool CParamFile::GetEntryDouble(const QString& key, double& value) const {
    QString text;
    if (!GetEntryString(key, text)) return false;
    const QByteArray bytes = text.toLatin1();
    std::size_t used = 0;
    const double x = LeadingDouble(std::string_view(bytes.constData(), bytes.size()), &used);
    if (used == 0 || !std::isfinite(x)) return false;
    const double rounded = std::round(x * 10000.0) / 10000.0;
    if (!std::isfinite(rounded)) return false;
    value = rounded;
    return true;
}

bool CParamFile::GetEntryInt(const QString& key, int& value) const {
    QString text;
    if (!GetEntryString(key, text)) return false;
    const QByteArray bytes = text.toLatin1();
    std::size_t used = 0;
    const long long x = LeadingInt(std::string_view(bytes.constData(), bytes.size()), 10, &used);
    if (used == 0 || x < INT_MIN || x > INT_MAX) return false;
    value = static_cast<int>(x);
    return true;
}

bool CParamFile::IsLoaded() const {
    return !lines_.empty() && !lines_.front().isEmpty();
}

bool CParamFile::SetEntryDouble(const QString& key, double value) {
    return SetEntryText(key, QCFormat("%2.4f", value), Padding::Number);
}

bool CParamFile::SetEntryInt(const QString& key, int value) {
    return SetEntryText(key, QCFormat("%d", value), Padding::Number);
}

bool CParamFile::SetEntryString(const QString& key, const QString& text) {
    return SetEntryText(key, text, Padding::Text);
}

bool CParamFile::SetEntryText(const QString& key, const QString& value, Padding padding) {
    // The key's own line first, wherever it is; only a key that no line holds takes the first
    // empty line, so the blank lines between sections are never taken by a key that exists.
    int target = FindKeyLine(key);
    QString comment;
    if (target >= 0) {
        const QString& line = lines_[static_cast<std::size_t>(target)];
        const qsizetype semicolon = line.indexOf(QLatin1Char(';'));
        if (semicolon >= 0) comment = line.mid(semicolon);
    } else {
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (IsEmptyLine(lines_[i])) {
                target = static_cast<int>(i);
                break;
            }
        }
    }
    if (target < 0) {
        ZarMessageBox(MissingEntryMessage(key), MB_OK);
        return false;
    }

    const bool keepComment = comment.size() >= kMinimumKeptComment;
    qsizetype blanks = kLongKeyPadding;
    if (padding == Padding::Number) {
        if (key.size() + 4 < kNumberCommentBase) blanks = kNumberCommentBase - 4 - key.size();
    } else {
        const qsizetype used = key.size() + value.size() + 3;
        if (used < kTextCommentColumn) blanks = kTextCommentColumn - used;
    }
    // Made in one piece: a parameter file is rewritten entry by entry.
    QString line;
    line.reserve(key.size() + value.size() + 4 + (keepComment ? blanks + 1 + comment.size() : 0));
    line += key;
    line += QLatin1String(" = ");
    line += value;
    if (keepComment) {
        line.resize(line.size() + blanks + 1, QLatin1Char(' '));
        line += comment;
    } else {
        line += kLineEnd;
    }
    lines_[static_cast<std::size_t>(target)] = line;
    return true;
}

void CParamFile::SetLine(int index, const QString& text) {
    if (index < 0 || index >= GetLineCount()) return;
    lines_[static_cast<std::size_t>(index)] = text;
}

void CParamFile::AppendLine(const QString& text) {
    lines_.push_back(text);
}

bool CParamFile::Save() const {
    return SaveAs(path_);
}

bool CParamFile::SaveAs(const QString& path) const {
    if (path.isEmpty()) return false;
    AtomicTextWriter writer(path, AtomicTextWriter::LineEnd::CRLF);
    if (!writer.open()) {
        ZarMessageBox(QStringLiteral("Couldn't create the parameter file:\n%1\n\n%2")
                          .arg(QDir::toNativeSeparators(path), writer.errorString()),
                      MB_OK);
        return false;
    }
    writer.write(Text());
    if (!writer.commit()) {
        // The old file, if any, is left as it was.
        ZarMessageBox(QStringLiteral("Couldn't write the parameter file:\n%1\n\n%2")
                          .arg(QDir::toNativeSeparators(path), writer.errorString()),
                      MB_OK);
        return false;
    }
    return true;
}

QString CParamFile::GetLine(int index) const {
    if (index < 0 || index >= GetLineCount()) return QString();
    return lines_[static_cast<std::size_t>(index)];
}

QString CParamFile::Text() const {
    qsizetype size = 0;
    for (const QString& line : lines_) size += line.size();
    QString text;
    text.reserve(size);
    for (const QString& line : lines_) text += line;
    return text;
}

}  // namespace zar
