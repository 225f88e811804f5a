#include "platform/report/ReportPageSettings.h"

#include "platform/report/PageLimits.h"
#include "platform/report/ReportError.h"

namespace brantock::platform {

void ReportPageSettings::SetOrientation(int orientation) {
    if (orientation != Portrait && orientation != Landscape)
        throw ReportError::invalidProperty(QStringLiteral("Orientation"));
    orientation_ = orientation;
}

void ReportPageSettings::SetPaperSize(int width, int height) {
    const int most = PageLimits::MaxPlacement;
    if (width <= 0 || height <= 0 || width > most || height > most)
        throw ReportError::invalidProperty(QStringLiteral("PaperSize"));
    paperWidth_ = width;
    paperHeight_ = height;
}

void ReportPageSettings::SetMargins(int left, int top, int right, int bottom) {
    const int most = PageLimits::MaxPlacement;
    for (int margin : {left, top, right, bottom})
        if (margin < 0 || margin > most)
            throw ReportError::invalidProperty(QStringLiteral("Margins"));
    left_ = left;
    top_ = top;
    right_ = right;
    bottom_ = bottom;
}

int ReportPageSettings::PageWidth() const {
    return orientation_ == Landscape ? paperHeight_ : paperWidth_;
}

int ReportPageSettings::PageHeight() const {
    return orientation_ == Landscape ? paperWidth_ : paperHeight_;
}

} // namespace brantock::platform
