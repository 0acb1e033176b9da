#pragma once
// Ascending order of a list of values through the shared index sort, whose order of equal
// values the engine's results depend on.

#include "document/IndexSort.h"

#include <vector>

namespace zar {

// Indices (from 0) of the values in ascending order.
inline std::vector<int> DenovoAscendingOrder(const std::vector<double>& values) {
    const int n = static_cast<int>(values.size());
    std::vector<double> fromOne;
    fromOne.reserve(values.size() + 1);
    fromOne.push_back(0.0);
    fromOne.insert(fromOne.end(), values.begin(), values.end());
    std::vector<int> index(values.size() + 1, 0);
    CIndexSort::Sort(n, fromOne.data(), index.data());
    std::vector<int> order(values.size());
    for (int j = 1; j <= n; ++j)
        order[static_cast<size_t>(j - 1)] = index[static_cast<size_t>(j)] - 1;
    return order;
}

}  // namespace zar
