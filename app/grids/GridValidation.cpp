#include "GridValidation.h"

namespace zar {

const char* const kResidueAlphabet = "ABCDEFGHIKLMNOPQRSTVWXZY";
const char* const kEnzymeResidueAlphabet = "ABCDEFGHIKLMNOPQRSTVWXZY-";

bool OnlyResidues(const QString& text, const char* alphabet) {
    const QString allowed = QString::fromLatin1(alphabet);
    for (QChar c : text.toUpper())
        if (!allowed.contains(c)) return false;
    return true;
}

}  // namespace zar
