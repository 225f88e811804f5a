#pragma once

#include <QString>

namespace brantock {

// One setting of a program: its section below the product key ("" for the key itself), its
// value name, the default read when it is missing or empty, and whether its text is stored
// encoded (characters 0 and 1 as pairs). Each program lists its settings once, as constants
// of this type, and reads and writes them through modRegistry.
struct Setting {
    QString section;
    QString name;
    QString defaultValue;
    bool encoded = false;
};

} // namespace brantock
