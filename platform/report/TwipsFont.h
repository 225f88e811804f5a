#pragma once

#include <QFont>
#include <QString>

namespace brantock::platform {

// Pages and charts are drawn in twips whatever the device, so fonts are sized in twips too
// (20 to the point) and left unhinted: a text then takes the same room on the screen, on a
// printer and in a PDF.
class TwipsFont {
public:
    static QFont make(const QString& family, double points, bool bold = false, bool italic = false,
                      bool underline = false);
};

} // namespace brantock::platform
