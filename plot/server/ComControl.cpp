#include "ComControl.h"

#include <cmath>

namespace zar::plot {

bool FiniteValues(std::initializer_list<double> values) {
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

}  // namespace zar::plot
