#pragma once

namespace brantock::platform {

// The chart's category axis (axis 0). Its two settings say how many categories lie between
// two labels and between two tick marks: 1 marks every category, as designed; 0 lets the
// painter choose the fewest that keep the labels from running into each other, which a
// report sets when it has more categories than fit side by side.
class ChartAxis {
public:
    int LabelSpacing() const { return labelSpacing_; }
    int TickSpacing() const { return tickSpacing_; }
    // Each raises 380 for a negative value.
    void SetLabelSpacing(int categories);
    void SetTickSpacing(int categories);

private:
    int labelSpacing_ = 1;
    int tickSpacing_ = 1;
};

} // namespace brantock::platform
