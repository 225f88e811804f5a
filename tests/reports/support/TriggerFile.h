#pragma once

#include "tests/support/TestEnvironment.h"

#include <QString>
#include <QVariantList>

#include <cstdint>
#include <vector>

namespace brantock::reports::testsupport {

// One Triggers row: its day number, its minute and its direction.
struct Trigger {
    std::int32_t date;
    std::int32_t minute;
    bool countUp = true;
};

// One AppActivity row: a period of a counter on one day.
struct Activity {
    std::int32_t date;
    std::int32_t from;
    std::int32_t to;
    QString machine = QStringLiteral("COUNTER1");
};

// A data file in a scratch folder, made the current one (as the command line's "datapath"
// makes it), holding the rows the test gives.
class TriggerFile {
public:
    enum class Format { Full, First };
    // What can be wrong with the file a report opens.
    enum class Fault { Missing, NotADataFile };
    static constexpr Fault Faults[] = {Fault::Missing, Fault::NotADataFile};

    explicit TriggerFile(Format format = Format::Full);

    QString path() const { return path_; }
    const QString& folder() const { return folderPath_; }
    void add(const std::vector<Trigger>& triggers) const;
    void add(const std::vector<Activity>& periods) const;
    void execute(const QString& sql, const QVariantList& values = {}) const;
    // Spoils the file; returns the error number that opening it then gives.
    int spoil(Fault fault) const;
    // SQLite's plan of the statement, its steps joined by "; ".
    QString plan(const QString& sql, const QVariantList& values) const;

private:
    brantock::testsupport::ScratchFolder folder_;
    QString folderPath_;
    QString path_;
    Format format_;
};

} // namespace brantock::reports::testsupport
