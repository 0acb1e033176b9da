#pragma once
// The number that names one hit of a result set for the set's whole life: its record's own
// index + 1, the same however a sort moves the record. A position in the set's hit block is a
// plain int; the two never turn into each other without saying so, so that a position cannot
// be handed where a hit is meant.

#include <cstdint>
#include <ostream>

namespace zar {

class HitNumber {
  public:
    // No hit.
    constexpr HitNumber() = default;
    constexpr explicit HitNumber(std::int32_t number) : number_(number) {}
    // The hit of the record whose own index this is.
    static constexpr HitNumber OfRecordIndex(std::int32_t index) { return HitNumber(index + 1); }

    constexpr std::int32_t value() const { return number_; }
    constexpr std::int32_t recordIndex() const { return number_ - 1; }
    constexpr bool isValid() const { return number_ > 0; }

    friend constexpr bool operator==(HitNumber, HitNumber) = default;
    friend constexpr bool operator<(HitNumber a, HitNumber b) { return a.number_ < b.number_; }

  private:
    std::int32_t number_ = 0;
};

inline std::ostream& operator<<(std::ostream& out, HitNumber hit) {
    return out << "hit " << hit.value();
}

}  // namespace zar
