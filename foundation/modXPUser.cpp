#include "foundation/modXPUser.h"

#include "runtime/RuntimeError.h"

#include <QSysInfo>

namespace brantock {

namespace {
// The name field holds 32 characters with its terminator.
constexpr qsizetype NameBufferLength = 32;
} // namespace

QString GetLocalComputerName(const QString& defaultName) {
    return withTrail("GetLocalComputerName&", [&] {
        const QString name = QSysInfo::machineHostName();
        if (name.isEmpty() || name.size() >= NameBufferLength)
            return defaultName;
        return name;
    });
}

} // namespace brantock
