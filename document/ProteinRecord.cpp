#include "document/ProteinRecord.h"

namespace zar {

CConsensusRow* CProteinRecord::addRow(std::unique_ptr<CConsensusRow> row, HitNumber hit) {
    const int r = row ? row->rank : 0;
    if (r < 1 || r > kConsensusRanks) return nullptr;
    CConsensusRow* raw = row.get();
    rowsByRank[r - 1].push_back(std::move(row));
    hitNumbersByRank[r - 1].push_back(hit);
    return raw;
}

int CProteinRecord::rowCount() const {
    int n = 0;
    for (const auto& rows : rowsByRank) n += static_cast<int>(rows.size());
    return n;
}

int CProteinRecord::keptRows(int r) const {
    if (r < 1 || r > kConsensusRanks) return 0;
    int n = 0;
    for (const auto& row : rowsByRank[r - 1]) n += row->kept ? 1 : 0;
    return n;
}

std::int32_t GiNumberOf(QStringView reference) {
    if (!reference.startsWith(QLatin1String("gi|"))) return 0;
    std::int64_t n = 0;
    for (qsizetype i = 3; i < reference.size() && reference[i].isDigit(); ++i) {
        if (reference[i].unicode() > 127) break;
        n = n * 10 + (reference[i].unicode() - '0');
        if (n > 0x7fffffff) return 0;
    }
    return static_cast<std::int32_t>(n);
}

}  // namespace zar
