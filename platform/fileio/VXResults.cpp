#include "fileio/VXResults.h"

namespace zar {

CVXUserResult* CVXResults::GetUserResultAt(int i) {
    if (i < 0) return nullptr;
    if (i >= static_cast<int>(userResults.size())) userResults.resize(i + 1);
    return &userResults[i];
}

CVXUserResult* CVXResults::GetCurrentUserResult() {
    if (currentUserResult < 0 || currentUserResult >= static_cast<int>(userResults.size()))
        return nullptr;
    return &userResults[currentUserResult];
}

CVXParentResult* CVXResults::GetParentResultAt(int i) {
    if (i < 0) return nullptr;
    if (i >= static_cast<int>(parentResults.size())) parentResults.resize(i + 1);
    return &parentResults[i];
}

}  // namespace zar
