#pragma once

#include "runtime/ProductConfig.h"

#include <QString>

namespace brantock::testsupport {

// Data files for tests: the built template, copies of it, first-format files, and the
// connection text the programs use.
class DataFiles {
public:
    static inline const QString Password = QString::fromLatin1(config::DataPassword);

    // The folder the programs and the template are built into.
    static QString programFolder();
    static QString templatePath();
    // "Provider=...; Data Source=<path>; Jet OLEDB:Database Password = <password>".
    static QString connectionText(const QString& path, const QString& password = Password);
    // A writable copy of the template at path (replacing a file there); false when it fails.
    static bool copyTemplate(const QString& path);
    // A data file of the first format: Triggers with only TriggerDate and TriggerTime,
    // AppActivity with only ActiveDate, ActiveFrom and ActiveTo, and the password record.
    static void createFirstFormat(const QString& path, const QString& password = Password);
    // Leaves at path what a program killed inside a transaction leaves: a data file holding
    // rowCount triggers and beside it the hot journal of an unfinished delete of them all,
    // which the next connection to the file rolls back.
    static void createCrashed(const QString& path, int rowCount = 3000);
};

} // namespace brantock::testsupport
