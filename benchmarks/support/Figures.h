#pragma once

#include <cstddef>
#include <vector>

namespace brantock::benchmarks {

// The median, 99th percentile and largest of a run's measurements (nearest-rank).
struct Figures {
    double median = 0, p99 = 0, max = 0;
    std::size_t count = 0;

    static Figures of(std::vector<double> values);
};

} // namespace brantock::benchmarks
