#pragma once

#include <QByteArray>
#include <QString>

namespace brantock::platform {

// Puts a whole new data file in place of whatever is at a path. An old file there is replaced
// under its lock (waiting for it as a connection does), and its journal, WAL and shared-memory
// files are removed in the same step as the rename, so nothing of the old file, such as the
// unfinished changes of a killed program, is ever played into the new one. The new file is
// written beside the target and synced before the rename, so a failure leaves the old file.
class DataFileReplacer {
public:
    static void replace(const QString& path, const QByteArray& content, int lockWaitMs = 15000);
    // replace with the bytes of the file from (a template).
    static void copy(const QString& from, const QString& to, int lockWaitMs = 15000);
};

} // namespace brantock::platform
