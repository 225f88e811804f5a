#include "multiport/config/ConfigChoice.h"

#include "runtime/Conversions.h"

#include <cmath>

namespace brantock::multiport {

QString ConfigChoice::StoredPort(const QString& typed) {
    const double n = LeadingNumber(typed);
    // A typed keystroke must never end the program, so an overflowing number is no number;
    // adding 0 turns "-0" into "0".
    return QString::number(std::isfinite(n) ? n + 0.0 : 0.0, 'g', 15);
}

} // namespace brantock::multiport
