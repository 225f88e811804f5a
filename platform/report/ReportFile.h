#pragma once

#include <QByteArray>
#include <QString>

namespace brantock::platform {

// Writes the files of the report engine: the page file and every export. A file is replaced
// whole or not at all (a temporary file beside it, renamed over it), so a failed write
// leaves nothing half-written under the name.
class ReportFile {
public:
    // what names the kind of file in the error's description ("PDF file"). Raises 70 when
    // another program holds the file open (it has a lock on it), 75 when the file is
    // read-only, its folder is missing or cannot be written, or the disk is full, and 52 for
    // an empty name.
    static void write(const QString& fileName, const QByteArray& bytes, const QString& what);

    // True when another program has the file open: LibreOffice's lock file for it lies beside
    // it (".~lock.<name>#"), or another open of it holds an fcntl or flock lock.
    static bool isHeldOpen(const QString& fileName);
};

} // namespace brantock::platform
