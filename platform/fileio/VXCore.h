#pragma once
// Where the data system lives, its version, and the display names of its detector and trace
// type codes.
//
// On this platform the "data system" is our own installation:
//  - its program folder is the folder of the running program (tools and the plotting server
//    are installed beside it);
//  - its help file is the program's HTML help, looked for in "<program>/help/" and then in
//    "<program>/../share/zarvikbrowser/help/";
//  - its data folder is a per-user folder, $XDG_DATA_HOME/Korvath/Veltrix (by default
//    ~/.local/share/Korvath/Veltrix), made when first asked for. A per-user folder, because
//    the program's folder may not be writable.

#include <QString>

namespace zar {

// True and the folder (no trailing '/') when it is known.
bool GetVeltrixCorePath(QString& path);
// True and the folder once it exists (made when missing); false when it cannot be made.
bool GetVeltrixCoreDataPath(QString& path);
// True and the help start page when it is installed; false (path untouched) otherwise.
bool GetVeltrixCoreHelpFile(QString& path);
QString GetVeltrixCoreVersionString();

// Display name of a detector type 0..4; false and an empty name for any other value.
bool TranslateDetectorTypeToString(int detectorType, QString& name);
// Display name of a trace type; false and an empty name for an unknown value.
bool TranslateTraceTypeToString(int traceType, QString& name);

}  // namespace zar
