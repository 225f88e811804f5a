#pragma once

#include "tests/support/TestEnvironment.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace brantock::testsupport {

// A program that stands in for a real one: a shell script that records every start, its
// arguments and the folder it was started in, and ends.
class StandInProgram {
public:
    struct Start {
        QStringList arguments;
        QString folder; // the physical path of the working folder
    };

    // Writes the script as `name` into folder.
    StandInProgram(const QString& folder, const QString& name);

    QString path() const { return path_; }
    // The starts recorded so far, sorted by their arguments.
    std::vector<Start> starts() const;
    // Waits (at most ten seconds) until count starts are recorded, then gives them all.
    std::vector<Start> waitForStarts(int count) const;

private:
    QString path_;
    ScratchFolder records_;
};

} // namespace brantock::testsupport
