#include "counter/core/CounterState.h"
#include "counter/core/modMain.h"
#include "runtime/Clock.h"
#include "runtime/DateMath.h"
#include "runtime/RuntimeError.h"

namespace brantock::counter {

QString UpTimeString() {
    return withTrail("UpTimeString&", [] {
        // Minute boundaries passed, as the calendar counts them: 10:00:59 to 10:01:00 is one.
        const qint64 d =
            DateMath::DateDiff(QStringLiteral("n"), CountingStartTime, Clock::current().now());
        const qint64 m = d % 60;
        const qint64 h = d / 60;
        QString hours;
        if (h == 1)
            hours = QStringLiteral("1 hour and ");
        else if (h != 0)
            hours = QString::number(h) + QStringLiteral(" hours and ");
        const QString minutes =
            m == 1 ? QStringLiteral("1 minute") : QString::number(m) + QStringLiteral(" minutes");
        return hours + minutes;
    });
}

} // namespace brantock::counter
