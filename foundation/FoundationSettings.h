#pragma once

#include "foundation/Setting.h"

namespace brantock::settings {

// The settings of the shared modules.

// The data file's path; looked up in the machine's hive when the user has none.
inline const Setting DatabasePath{QString(), QStringLiteral("DatabasePath"), QString(), true};

// The web addresses the about box opens: the product's and its maker's.
inline const Setting BrantockURL{QString(), QStringLiteral("BrantockURL"),
                                 QStringLiteral("https://www.halvern.example/brantock/"), true};
inline const Setting HalvernURL{QString(), QStringLiteral("HalvernURL"),
                                QStringLiteral("https://www.halvern.example/"), true};

} // namespace brantock::settings
