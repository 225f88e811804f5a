#pragma once

#include <QString>

namespace brantock::platform {

// Makes a new data file: the statements of a schema text (which must create the
// BrantockFile table) and the password record for password. The file is built in memory and
// then put in place whole (DataFileReplacer), so a failure never leaves half a file behind and
// nothing of a file it replaces lives on.
class DataFileCreator {
public:
    static void create(const QString& path, const QString& schemaSql, const QString& password);
};

} // namespace brantock::platform
