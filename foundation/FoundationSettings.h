#pragma once

#include "foundation/Setting.h"

namespace brantock::settings {

// The settings of the shared modules.

// The data file's path; looked up in the machine's hive when the user has none.
inline const Setting DatabasePath{QString(), QStringLiteral("DatabasePath"), QString(), true};

} // namespace brantock::settings
