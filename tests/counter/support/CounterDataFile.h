#pragma once

#include "tests/support/TestEnvironment.h"

#include <QString>
#include <QVariantList>

#include <string>
#include <vector>

namespace brantock::counter::testsupport {

// A data file in a scratch folder made the current one, checked so that DataVersion gives
// its format; and its rows read back through a connection of its own.
class CounterDataFile {
public:
    enum class Format { Full, First };

    explicit CounterDataFile(Format format = Format::Full);
    ~CounterDataFile();

    QString path() const { return path_; }
    // Every row of the query, its values in column order joined by "|" (a null as "NULL").
    std::vector<std::string> rows(const QString& sql) const;
    void execute(const QString& sql, const QVariantList& values = {}) const;

private:
    brantock::testsupport::ScratchFolder folder_;
    QString path_;
};

} // namespace brantock::counter::testsupport
