#pragma once

#include <QString>

namespace brantock::multiport {

// The counter's file name, looked for in the launcher's folder and then on the search path.
inline const QString CounterFileName = QStringLiteral("brantock");

// The launcher: reads the two-port settings and starts two counters, one per port, each
// with its port, tag and sensor offset, in the launcher's own folder. A start that fails
// is reported and the other is still tried; the counters are not watched afterwards.
void Main();

} // namespace brantock::multiport
