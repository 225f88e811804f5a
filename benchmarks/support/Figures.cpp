#include "benchmarks/support/Figures.h"

#include <algorithm>
#include <cmath>

namespace brantock::benchmarks {

Figures Figures::of(std::vector<double> values) {
    Figures f;
    f.count = values.size();
    if (values.empty())
        return f;
    std::sort(values.begin(), values.end());
    auto at = [&](double p) {
        return values[std::min(values.size() - 1,
                               std::size_t(std::ceil(p * double(values.size()))) - 1)];
    };
    f.median = at(0.5);
    f.p99 = at(0.99);
    f.max = values.back();
    return f;
}

} // namespace brantock::benchmarks
