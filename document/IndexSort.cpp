#include "document/IndexSort.h"

#include "core/MessageBox.h"

#include <utility>

namespace zar {

namespace {

void ReportSortProblem(const char* text) {
    ZarMessageBox(QStringLiteral("Problem in denovo routines ") + QLatin1String(text));
}

// Quicksort with median-of-three partitioning on an explicit stack; the larger part is pushed
// and the smaller one handled at once, so the stack depth stays below log2(n).
template <class T, class Less>
bool IndexSortImpl(int n, const T* values, int* index, Less less) {
    if (n <= 0) return true;
    for (int j = 1; j <= n; ++j) index[j] = j;
    int stack[CIndexSort::kStackSize + 1];
    int top = 0;
    int l = 1;
    int ir = n;
    for (;;) {
        if (ir - l < CIndexSort::kInsertionLimit) {
            for (int j = l + 1; j <= ir; ++j) {
                const int indxt = index[j];
                const T a = values[indxt];
                int i = j - 1;
                for (; i >= l; --i) {
                    if (!less(a, values[index[i]])) break;
                    index[i + 1] = index[i];
                }
                index[i + 1] = indxt;
            }
            if (top == 0) break;
            ir = stack[top--];
            l = stack[top--];
        } else {
            const int k = (l + ir) >> 1;
            std::swap(index[k], index[l + 1]);
            if (less(values[index[ir]], values[index[l]])) std::swap(index[l], index[ir]);
            if (less(values[index[ir]], values[index[l + 1]])) std::swap(index[l + 1], index[ir]);
            if (less(values[index[l + 1]], values[index[l]])) std::swap(index[l], index[l + 1]);
            int i = l + 1;
            int j = ir;
            const int indxt = index[l + 1];
            const T a = values[indxt];
            for (;;) {
                do ++i;
                while (less(values[index[i]], a));
                do --j;
                while (less(a, values[index[j]]));
                if (j < i) break;
                std::swap(index[i], index[j]);
            }
            index[l + 1] = index[j];
            index[j] = indxt;
            if (top + 2 > CIndexSort::kStackSize) {
                ReportSortProblem("NSTACK too small in IndexSort.");
                return false;
            }
            if (ir - i + 1 >= j - l) {
                stack[++top] = i;
                stack[++top] = ir;
                ir = j - 1;
            } else {
                stack[++top] = l;
                stack[++top] = j - 1;
                l = i;
            }
        }
    }
    return true;
}

}  // namespace

bool CIndexSort::Sort(int n, const double* values, int* index) {
    return IndexSortImpl(n, values, index, [](double a, double b) { return a < b; });
}

bool CIndexSort::Sort(int n, const int* values, int* index) {
    return IndexSortImpl(n, values, index, [](int a, int b) { return a < b; });
}

bool CIndexSort::SortDescending(int n, const double* values, int* index) {
    return IndexSortImpl(n, values, index, [](double a, double b) { return a > b; });
}

bool CIndexSort::SortDescending(int n, const int* values, int* index) {
    return IndexSortImpl(n, values, index, [](int a, int b) { return a > b; });
}

bool CIndexSort::Sort(const std::vector<double>& values, std::vector<int>& index) {
    const int n = values.empty() ? 0 : static_cast<int>(values.size()) - 1;
    index.assign(static_cast<size_t>(n) + 1, 0);
    return Sort(n, values.data(), index.data());
}

}  // namespace zar
