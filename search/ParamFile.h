#pragma once
// In-memory copy of one parameter file ("sorvex.params", "massmap.params", "buildix.params"),
// line by line. Values are read and rewritten by key; a rewritten line keeps its comment, so
// the file stays readable for the people who edit it by hand.

#include "DefaultParamTexts.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace zar {

class CParamFile {
  public:
    CParamFile() = default;
    virtual ~CParamFile() = default;

    // Reads the file into the store, replacing everything it held. A non-empty path replaces
    // the stored one. On failure a message says that defaults will be used, and the store is
    // left as it was.
    bool Open(const QString& path = QString());
    // Replaces the store with the lines of a file's bytes, as Open reads them; the path stays.
    void LoadBytes(const QByteArray& bytes);

    // Replaces the store with the default texts first .. last-1.
    void LoadDefaults(int first, int last);
    void LoadDefaults(ParamFileType type);

    // True when some line begins with the first length1 characters of name1, or the first
    // length2 of name2; a null name is not looked for.
    bool HasEntry(const QString& name1, int length1, const QString& name2 = QString(),
                  int length2 = 0) const;
    // Index of the first line that begins with the first length characters of name; 0 when
    // none does (which looks like a match in line 0, so callers check the line).
    int FindLine(const QString& name, int length) const;
    // Index of the first line that begins with name, or -1.
    int IndexOfLineStartingWith(const QString& name) const;

    // The value of the first line that contains the key anywhere: the text after its first
    // "=", leading blanks skipped, cut at the first ";", trailing blanks removed.
    bool GetEntryString(const QString& key, QString& value) const;
    // The value read as a number ("%f"), rounded to four decimals half away from zero.
    bool GetEntryDouble(const QString& key, double& value) const;
    bool GetEntryInt(const QString& key, int& value) const;

    bool IsLoaded() const;

    // Rewrite the key's line with the value ("%2.4f", "%d" or the text), keeping its comment.
    // A key that no line holds is written into the first empty line; when there is none the
    // missing-entry message is shown and nothing changes.
    bool SetEntryDouble(const QString& key, double value);
    bool SetEntryInt(const QString& key, int value);
    bool SetEntryString(const QString& key, const QString& text);

    // Replaces line index (0 <= index < line count); otherwise nothing.
    void SetLine(int index, const QString& text);
    // Adds a line at the end of the store.
    void AppendLine(const QString& text);

    // Writes every line to the stored path (CR LF line ends) through a temporary file, so a
    // failed write leaves the old file in place. An empty path fails without a message.
    bool Save() const;
    bool SaveAs(const QString& path) const;

    const QString& GetPath() const { return path_; }
    int GetLineCount() const { return static_cast<int>(lines_.size()); }
    // Line index with its "\n" (the last line of a file may have none); empty when out of range.
    QString GetLine(int index) const;

    // The whole store as it would be written, with "\n" line ends.
    QString Text() const;

  private:
    enum class Padding { Number, Text };
    bool SetEntryText(const QString& key, const QString& value, Padding padding);
    int FindKeyLine(const QString& key) const;

    QString path_;
    std::vector<QString> lines_;  // each with its "\n", in file order
};

// Text of the missing-entry message for a key.
QString MissingEntryMessage(const QString& key);

}  // namespace zar
