#pragma once
// Index sort: orders an index array by the values it points at, leaving the values in place.
// Arrays are 1-based as the de novo routines use them: values[1..n], index[1..n].

#include <vector>

namespace zar {

class CIndexSort {
  public:
    // Entries of the explicit partition stack; overflow cannot happen below 2^25 values.
    static constexpr int kStackSize = 50;
    // Stretches shorter than this are finished by insertion sort.
    static constexpr int kInsertionLimit = 7;

    // Fills index[1..n] with 1..n ordered so that values[index[j]] ascend. values and index
    // must hold at least n + 1 entries (slot 0 unused). False after a reported failure.
    static bool Sort(int n, const double* values, int* index);
    static bool Sort(int n, const int* values, int* index);
    // The same, descending.
    static bool SortDescending(int n, const double* values, int* index);
    static bool SortDescending(int n, const int* values, int* index);

    // Convenience forms over vectors (resized to n + 1).
    static bool Sort(const std::vector<double>& values, std::vector<int>& index);
};

}  // namespace zar
