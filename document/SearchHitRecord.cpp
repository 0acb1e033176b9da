#include "document/SearchHitRecord.h"

#include <utility>

namespace zar {

void SetLimitedText(QString& field, QStringView text, int capacity) {
    const qsizetype limit = capacity > 0 ? capacity - 1 : 0;
    field = text.left(limit).toString();
}

void SearchHitRecord::reset() {
    QString keptPath = std::move(path);
    *this = SearchHitRecord();
    path = std::move(keptPath);
}

}  // namespace zar
