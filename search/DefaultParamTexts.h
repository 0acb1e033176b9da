#pragma once
// The program's own texts for the parameter files: the default lines of "sorvex.params",
// "massmap.params" and "buildix.params", and the names of the 28 static modifications. They
// are kept under the string ids the rest of the program uses for them.

#include <QString>

namespace zar {

// Default lines, one id per line; each text ends in "\n". A range is [first, end).
constexpr int kSorvexDefaultsFirst = 10100;
constexpr int kSorvexDefaultsEnd = 10175;
constexpr int kMassmapDefaultsFirst = 10300;
constexpr int kMassmapDefaultsEnd = 10374;
constexpr int kBuildixDefaultsFirst = 10200;
constexpr int kBuildixDefaultsEnd = 10259;

// Names of the static modifications (their parameter-file keys), ids 10050 to 10077.
constexpr int kStaticModificationNamesFirst = 10050;
constexpr int kStaticModificationCount = 28;

// The text under an id; empty when the id is none of the above.
QString ParamDefaultText(int id);

// The three parameter files and what the program needs to know of each.
enum class ParamFileType { Sorvex, Massmap, Buildix };

struct ParamFileInfo {
    const char* fileName;      // "sorvex.params"
    const char* stem;          // "sorvex"
    const char* label;         // "Sorvex search", shown by the Invalid Parameters choice
    const char* question;      // overwrite question of the restore procedure
    const char* enzymeHeader;  // "[SORVEX_ENZYME_INFO]"
    int firstDefaultId;
    int endDefaultId;
};

const ParamFileInfo& InfoOf(ParamFileType type);

}  // namespace zar
