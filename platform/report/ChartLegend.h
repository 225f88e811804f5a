#pragma once

namespace brantock::platform {

// The chart's legend: one entry per series, beside the plot (location type 0) or under it
// (6).
class ChartLegend {
public:
    static constexpr int Right = 0;
    static constexpr int Bottom = 6;

    static bool IsLocationType(int code) { return code == Right || code == Bottom; }

    int LocationType() const { return locationType_; }
    // Raises 380 for a code other than Right or Bottom.
    void SetLocationType(int code);

private:
    int locationType_ = Right;
};

} // namespace brantock::platform
