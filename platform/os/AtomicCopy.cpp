#include "platform/os/AtomicCopy.h"

#include "runtime/RuntimeError.h"

#include <QFile>
#include <QSaveFile>

namespace brantock::platform {

void AtomicCopy::copy(const QString& from, const QString& to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        throw RuntimeError(err::FileNotFound,
                           QStringLiteral("Cannot read %1: %2").arg(from, source.errorString()));
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly))
        throw RuntimeError(err::PathFileAccessError,
                           QStringLiteral("Cannot write %1: %2").arg(to, target.errorString()));
    char buffer[65536];
    for (;;) {
        const qint64 n = source.read(buffer, sizeof buffer);
        if (n < 0)
            throw RuntimeError(
                err::PathFileAccessError,
                QStringLiteral("Cannot read %1: %2").arg(from, source.errorString()));
        if (n == 0)
            break;
        if (target.write(buffer, n) != n)
            throw RuntimeError(err::PathFileAccessError,
                               QStringLiteral("Cannot write %1: %2").arg(to, target.errorString()));
    }
    if (!target.commit())
        throw RuntimeError(err::PathFileAccessError,
                           QStringLiteral("Cannot write %1: %2").arg(to, target.errorString()));
}

} // namespace brantock::platform
