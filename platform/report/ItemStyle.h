#pragma once

#include <QRgb>
#include <QString>

namespace brantock::platform {

// How a page item is drawn: the font, colour and alignment of a text; the colour and weight
// of a line or box.
struct ItemStyle {
    QString fontFamily;
    double fontSize = 8; // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QRgb color = 0xff000000;
    int alignment = int(Qt::AlignLeft | Qt::AlignTop);
    int lineWeight = 15; // twips

    bool operator==(const ItemStyle&) const = default;
};

} // namespace brantock::platform
