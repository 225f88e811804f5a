#include "tests/support/SearchPath.h"

namespace brantock::testsupport {

SearchPath::SearchPath(const QString& folder)
    : wasSet_(qEnvironmentVariableIsSet("PATH")), previous_(qgetenv("PATH")) {
    qputenv("PATH", folder.toLocal8Bit());
}

SearchPath::~SearchPath() {
    if (wasSet_)
        qputenv("PATH", previous_);
    else
        qunsetenv("PATH");
}

} // namespace brantock::testsupport
