#pragma once

#include <QtGlobal>

namespace brantock::platform {

// What a page item may hold. Laying out keeps every item within these, and reading a page
// file refuses anything beyond them, so whatever is saved loads again and nothing out of
// reason reaches the painter.
struct PageLimits {
    static constexpr qint32 MaxCoordinate = 1 << 24; // twips, either way from the corner
    // The paper, margins, band heights and control boxes each stay within a quarter of it,
    // so that the place of anything laid out, their sum, does too.
    static constexpr qint32 MaxPlacement = MaxCoordinate / 4;
    static constexpr double MinFontSize = 1; // points
    static constexpr double MaxFontSize = 1638;
    static constexpr qint32 MaxLineWeight = 14400; // twips
};

} // namespace brantock::platform
