#pragma once

#include <QRect>

#include <cmath>

namespace brantock {

// Window sizes and places are designed in twips: 15 to the pixel at 96 dots per inch.
class Twips {
public:
    static constexpr float PerPixel = 15.0f;
    static int toPixels(float twips) { return int(std::lround(twips / PerPixel)); }
    static float fromPixels(int pixels) { return float(pixels) * PerPixel; }
    static QRect rect(int left, int top, int width, int height) {
        return QRect(toPixels(float(left)), toPixels(float(top)), toPixels(float(width)),
                     toPixels(float(height)));
    }
};

} // namespace brantock
