#pragma once

#include <QString>

namespace brantock {

// The computer's name (its host name), or the default when it cannot be told.
QString GetLocalComputerName(const QString& defaultName);

} // namespace brantock
