#include "document/EnzymeTable.h"

#include "document/Settings.h"

#include <QStringList>

namespace zar {

namespace {

constexpr const char* kBuiltInRules[kBuiltInEnzymeCount] = {
    "No_Enzyme 0 - -",
    "Trypsin 1 KR -",
    "Trypsin_modified 1 KRLNH  -",
    "Chymotrypsin 1 FWYL -",
    "Chymotrypsin_modified 1 FWY P",
    "Clostripain 1 R -",
    "Cyanogen_Bromide 1 M -",
    "IodosoBenzoate 1 W -",
    "Proline_Endopept 1 P -",
    "Staph_Protease 1 E -",
    "Trypsin_K 1 K P",
    "Trypsin_R 1 R P",
    "GluC 1 ED -",
    "LysC 1 K -",
    "AspN 0 D -",
    "Elastase 1 ALIV P",
    "Elastase/Tryp/Chymo 1 ALIVKRWFY P",
};

QString Cut(const QString& word, int capacity) {
    return word.left(capacity - 1);
}

// scanf's %d on a word: an optional sign and the digits that follow; false when none.
bool LeadingInteger(const QString& word, int& value) {
    qsizetype i = 0;
    bool negative = false;
    if (i < word.size() && (word[i] == QLatin1Char('+') || word[i] == QLatin1Char('-'))) {
        negative = word[i] == QLatin1Char('-');
        ++i;
    }
    const qsizetype digitsStart = i;
    long long v = 0;
    while (i < word.size() && word[i].isDigit() && word[i].unicode() < 128) {
        if (v < 1000000000LL) v = v * 10 + (word[i].unicode() - '0');
        ++i;
    }
    if (i == digitsStart) return false;
    value = static_cast<int>(negative ? -v : v);
    return true;
}

}  // namespace

QString DefaultEnzymeText(int slot) {
    if (slot < 0 || slot >= kBuiltInEnzymeCount) return QString();
    return QString::fromLatin1(kBuiltInRules[slot]);
}

int ParseEnzymeRecord(const QString& text, EnzymeRecord& record) {
    // A record read from a short text has no fields left over from what it held before.
    record = EnzymeRecord();
    const QStringList words = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty()) return 0;
    record.name = Cut(words[0], EnzymeRecord::kNameCapacity);
    if (words.size() < 2 || !LeadingInteger(words[1], record.sense)) return 1;
    if (words.size() < 3) return 2;
    record.cleavage = Cut(words[2], EnzymeRecord::kResiduesCapacity);
    if (words.size() < 4) return 3;
    record.blocking = Cut(words[3], EnzymeRecord::kResiduesCapacity);
    return 4;
}

QString FormatEnzymeRecord(const EnzymeRecord& record) {
    if (record.isEmpty()) return QString();
    return QStringLiteral("%1 %2 %3 %4")
        .arg(record.name)
        .arg(record.sense)
        .arg(record.cleavage, record.blocking);
}

CEnzymeTable::CEnzymeTable() {
    for (int i = 0; i < kEnzymeSlotCount; ++i) ParseEnzymeRecord(GetEnzymeEntry(i), records_[i]);
}

void CEnzymeTable::ResetToDefaults() {
    for (int i = 0; i < kEnzymeSlotCount; ++i) ParseEnzymeRecord(DefaultEnzymeText(i), records_[i]);
}

}  // namespace zar
