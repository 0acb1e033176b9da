#pragma once
// The table of 25 cleavage rules that the digest, the enzyme editor and the search set-up use.
// Each rule's text form is "name sense cleavage blocking" ("Trypsin 1 KR -").

#include <QString>

#include <array>

namespace zar {

struct EnzymeRecord {
    // Capacities of the text fields; a word is cut to one less.
    static constexpr int kNameCapacity = 128;
    static constexpr int kResiduesCapacity = 24;

    int sense = 0;     // 1: cuts on the C-terminal side of the cleavage residues; 0: N-terminal
    QString name;      // no blanks: words joined by '_'
    QString cleavage;  // one-letter codes, "-" for none
    QString blocking;  // residues that prevent the cut when adjacent, "-" for none

    bool isEmpty() const { return name.isEmpty() && cleavage.isEmpty() && blocking.isEmpty(); }
    bool operator==(const EnzymeRecord&) const = default;
};

constexpr int kEnzymeSlotCount = 25;
constexpr int kBuiltInEnzymeCount = 17;

// The built-in rule of a slot in text form; empty for slots 17 to 24 and outside the table.
QString DefaultEnzymeText(int slot);

// Reads "%s %d %s %s" into a cleared record; returns the number of fields read. Fields that
// are not read stay empty; long words are cut to the capacities.
int ParseEnzymeRecord(const QString& text, EnzymeRecord& record);
// The record's text form; empty for an empty slot.
QString FormatEnzymeRecord(const EnzymeRecord& record);

class CEnzymeTable {
  public:
    using Records = std::array<EnzymeRecord, kEnzymeSlotCount>;

    // Reads the 25 slots from the settings ("Enzyme0".."Enzyme24", built-in rules when missing).
    CEnzymeTable();
    virtual ~CEnzymeTable() = default;

    static int ParseRecord(const QString& text, EnzymeRecord& record) {
        return ParseEnzymeRecord(text, record);
    }
    // Parses the built-in rules into every slot; the settings are not written.
    void ResetToDefaults();

    Records& GetRecords() { return records_; }
    const Records& GetRecords() const { return records_; }

  private:
    Records records_;
};

}  // namespace zar
