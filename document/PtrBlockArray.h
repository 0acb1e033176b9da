#pragma once
// An owning array of element pointers whose capacity grows in blocks of five and whose
// elements are created on first access. The element count may live in the owning record
// (a pointer to it is given), as the data-system records keep it.

#include <memory>
#include <vector>

namespace zar {

template <class T>
class CPtrBlockArray {
  public:
    static constexpr int kBlock = 5;

    // count: the owner's element count, or null to keep it here.
    explicit CPtrBlockArray(int* count = nullptr) : count_(count ? count : &ownCount_) {}
    CPtrBlockArray(const CPtrBlockArray&) = delete;
    CPtrBlockArray& operator=(const CPtrBlockArray&) = delete;

    // New capacity 5 * (n / 5 + 1); slots from n on lose their elements; the count becomes n.
    void SetSize(int n) {
        if (n < 0) n = 0;
        const int capacity = kBlock * (n / kBlock + 1);
        if (static_cast<int>(slots_.size()) > n) {
            for (size_t i = static_cast<size_t>(n); i < slots_.size(); ++i) slots_[i].reset();
        }
        slots_.resize(static_cast<size_t>(capacity));
        *count_ = n;
    }

    // The element in slot i, created when the slot is empty; null for a slot outside the
    // capacity (the array never writes past its end).
    T* GetOrCreate(int i) {
        if (i < 0 || i >= capacity()) return nullptr;
        auto& slot = slots_[static_cast<size_t>(i)];
        if (!slot) slot = std::make_unique<T>();
        return slot.get();
    }

    // The element in slot i when it exists, else null.
    T* At(int i) const {
        if (i < 0 || i >= capacity()) return nullptr;
        return slots_[static_cast<size_t>(i)].get();
    }

    int capacity() const { return static_cast<int>(slots_.size()); }
    int size() const { return *count_; }

  private:
    int ownCount_ = 0;
    int* count_;
    std::vector<std::unique_ptr<T>> slots_;
};

}  // namespace zar
