#pragma once

#include "tests/support/EnvironmentVariable.h"

#include <QString>

namespace brantock::testsupport {

// Points the program search path (PATH) at one folder for its lifetime, so that a test
// decides what a bare program name finds.
class SearchPath {
public:
    explicit SearchPath(const QString& folder) : path_("PATH", folder.toLocal8Bit()) {}

private:
    EnvironmentVariable path_;
};

} // namespace brantock::testsupport
