#pragma once

#include <QProcessEnvironment>
#include <QString>

namespace brantock::testsupport {

// The environment for a program a test starts: offscreen, its home and every XDG folder and
// its runtime folder (made, closed to others) below home, so it reaches nothing of the
// user's nor of another test's.
class ProgramEnvironment {
public:
    static QProcessEnvironment under(const QString& home);
};

} // namespace brantock::testsupport
