#pragma once
// The list file of a run ("SorvexList", "MassmapList"): the names of the .dta files the search
// program is to score, one a line, without folder, as UTF-16 text with a byte-order mark. It is
// written through a temporary file and appears whole when closed. The .dta files already in a
// folder are listed the same way.

#include <QString>
#include <QStringList>

#include <memory>

class QSaveFile;

namespace zar {

class CDtaListFile {
  public:
    CDtaListFile();
    ~CDtaListFile();  // a list never closed is not left behind

    // Starts a new list at path; false when it cannot be written there.
    bool Open(const QString& path);
    bool IsOpen() const { return static_cast<bool>(file_); }
    void AddName(const QString& name);
    int Count() const { return count_; }
    // Writes the list; false when that failed (nothing is left at the path then).
    bool Close();
    // Throws an open list away.
    void Discard();

  private:
    std::unique_ptr<QSaveFile> file_;
    int count_ = 0;
};

// The .dta files of a folder, by name.
QStringList ExistingDtaFiles(const QString& folder);
// The names a list file holds.
QStringList ReadDtaList(const QString& path);

// Removes the files of a folder that match a pattern ("*.dta"), here and now. The names that
// could not be removed are returned.
QStringList RemoveFiles(const QString& folder, const QString& pattern);
// What the user is told about files that could not be removed (the first ten named).
QString RemovalFailureText(const QString& folder, const QStringList& failed);

}  // namespace zar
