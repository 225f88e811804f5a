#pragma once

namespace brantock::platform {

// The paper a report is laid out on, in twips: A4 by default, 1440 twips (an inch) of
// margin on every side. Orientation is the value each report's start event sets to 1
// (portrait); 2 turns the paper to landscape.
class ReportPageSettings {
public:
    static constexpr int Portrait = 1;
    static constexpr int Landscape = 2;

    int Orientation() const { return orientation_; }
    // Raises 380 for anything but Portrait or Landscape.
    void SetOrientation(int orientation);

    // The paper as it stands upright; each side must be above 0 (else 380).
    int PaperWidth() const { return paperWidth_; }
    int PaperHeight() const { return paperHeight_; }
    void SetPaperSize(int width, int height);

    int LeftMargin() const { return left_; }
    int TopMargin() const { return top_; }
    int RightMargin() const { return right_; }
    int BottomMargin() const { return bottom_; }
    // Each must be 0 or more (else 380).
    void SetMargins(int left, int top, int right, int bottom);

    // The page as the orientation turns it.
    int PageWidth() const;
    int PageHeight() const;

private:
    int orientation_ = Portrait;
    int paperWidth_ = 11906;
    int paperHeight_ = 16838;
    int left_ = 1440;
    int top_ = 1440;
    int right_ = 1440;
    int bottom_ = 1440;
};

} // namespace brantock::platform
