#include "tests/support/EnvironmentVariable.h"

#include <QtGlobal>

namespace brantock::testsupport {

EnvironmentVariable::EnvironmentVariable(const char* name, const QByteArray& value)
    : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), previous_(qgetenv(name)) {
    qputenv(name, value);
}

EnvironmentVariable::~EnvironmentVariable() {
    if (wasSet_)
        qputenv(name_, previous_);
    else
        qunsetenv(name_);
}

} // namespace brantock::testsupport
