#pragma once

#include <QString>

#include <optional>

namespace brantock::platform {

// The "baud,parity,data bits,stop bits" text of the control, such as "9600,n,8,1".
struct SerialSettings {
    int baud = 9600;
    char parity = 'n'; // n, e, o, m (mark) or s (space)
    int dataBits = 8;  // 5 to 8
    int stopBits = 1;  // 1 or 2; "1.5" reads as 2, the nearest the tty driver offers

    // Nothing for a text that is not of that form or names a rate the system lacks.
    static std::optional<SerialSettings> parse(const QString& text);
};

} // namespace brantock::platform
