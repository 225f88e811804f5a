#pragma once

#include <QByteArray>

namespace brantock::testsupport {

// Sets one environment variable for its lifetime, then puts back what was there (or unsets it).
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const QByteArray& value);
    ~EnvironmentVariable();
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
    const char* name_;
    bool wasSet_;
    QByteArray previous_;
};

} // namespace brantock::testsupport
