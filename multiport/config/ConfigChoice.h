#pragma once

#include <QString>

namespace brantock::multiport {

// The configuration window's rules without a window.
class ConfigChoice {
public:
    // What a port box stores for its text: the text's leading number as decimal text ("3x"
    // stores "3", "" and "x" store "0"). A number too large to hold also stores "0".
    static QString StoredPort(const QString& typed);
};

} // namespace brantock::multiport
