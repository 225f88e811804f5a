#pragma once

#include <QByteArray>
#include <QString>

namespace brantock::testsupport {

// Points the program search path (PATH) at one folder for its lifetime, so that a test
// decides what a bare program name finds.
class SearchPath {
public:
    explicit SearchPath(const QString& folder);
    ~SearchPath();
    SearchPath(const SearchPath&) = delete;
    SearchPath& operator=(const SearchPath&) = delete;

private:
    bool wasSet_;
    QByteArray previous_;
};

} // namespace brantock::testsupport
