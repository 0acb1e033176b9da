#pragma once
// Paths as the program stores them ("C:\Data\run.raw", "..\db\human.fasta") read on Linux.

#include <QString>

namespace zar {

// Both separators are accepted; backslashes become '/', a drive letter ("C:") is dropped so
// that "C:\Data\x" reads as "/Data/x", and repeated separators fold into one.
QString PortablePath(const QString& stored);

// The last component of a stored path, whichever separator it uses.
QString FileNameOf(const QString& stored);
// The folder part of a stored path (portable form), empty when there is none.
QString FolderOf(const QString& stored);
// File name without its last extension ("run.1234.1234.2.out" -> "run.1234.1234.2").
QString StripExtension(const QString& fileName);
// Joins a folder and a name with one '/'.
QString JoinPath(const QString& folder, const QString& name);

// Folder that holds the user's settings: $ZAR_CONFIG_DIR, else $XDG_CONFIG_HOME/Korvath.
QString ConfigDirectory();

}  // namespace zar
