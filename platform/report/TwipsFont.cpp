#include "platform/report/TwipsFont.h"

#include <cmath>

namespace brantock::platform {

QFont TwipsFont::make(const QString& family, double points, bool bold, bool italic,
                      bool underline) {
    QFont font(family);
    font.setPixelSize(std::max(1, int(std::lround(points * 20))));
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace brantock::platform
